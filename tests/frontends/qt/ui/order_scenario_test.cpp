#include "apps/kvt-host/order_scenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include "component/mod_publics.h"

namespace kvt::host {
namespace {

TEST(OrderScenarioTest, SavesThePendingOrderAndReportsWhatTheHostRead) {
  component::ResetThreadStore();
  std::ostringstream transcript;
  EXPECT_EQ(RunOrderScenario(transcript), 0) << transcript.str();
  const std::string text = transcript.str();
  for (const char* line : {"dialog: \"Delivery Details\" shown",
                           "  confirmed            yes",
                           "  process order now    no",
                           "  show report preview  yes",
                           "\"Receiving Bay 3\", \"14 Dock Road\"",
                           "host: saves the order as pending",
                           "scenario passed"}) {
    SCOPED_TRACE(line);
    EXPECT_NE(text.find(line), std::string::npos) << text;
  }
  component::ResetThreadStore();
}

}  // namespace
}  // namespace kvt::host
