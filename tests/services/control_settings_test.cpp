#include "services/control_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/value/error.h"

namespace kvt::services {
namespace {

TEST(ControlSettingsTest, PeriodKeysSortInPeriodOrderAcrossYears) {
  // (month, year key) in period order, across two year boundaries.
  const std::pair<int32_t, int32_t> periods[] = {
      {1, 6}, {2, 6},  {9, 6},  {10, 6}, {11, 6}, {12, 6}, {1, 7},
      {2, 7}, {10, 7}, {12, 7}, {1, 8},  {3, 10}, {1, 100}};
  std::vector<std::string> keys;
  for (const auto& [month, year_key] : periods) {
    keys.push_back(ControlSettings::PeriodKey(month, year_key));
  }
  for (size_t i = 1; i < keys.size(); ++i) {
    SCOPED_TRACE(keys[i - 1] + " < " + keys[i]);
    EXPECT_LT(keys[i - 1], keys[i]);
  }
  EXPECT_NE(ControlSettings::PeriodKey(1, 12),
            ControlSettings::PeriodKey(11, 2));
}

TEST(ControlSettingsTest, PeriodKeyRefusesImpossiblePeriods) {
  const std::pair<int32_t, int32_t> refused[] = {
      {0, 7}, {13, 7}, {-1, 7}, {1, -1}, {1, 100000000}};
  for (const auto& [month, year_key] : refused) {
    SCOPED_TRACE(std::to_string(month) + "/" + std::to_string(year_key));
    try {
      ControlSettings::PeriodKey(month, year_key);
      ADD_FAILURE() << "accepted";
    } catch (const vb::Error& error) {
      EXPECT_EQ(error.number(), vb::err::kInvalidCall);
    }
  }
}

TEST(ControlSettingsTest, ReadingBeforeConnectIsRefused) {
  ControlSettings settings;
  try {
    settings.ReadControlValue("CheckBox", "chkPOGRVForm", 0, "KvtDemo");
    FAIL() << "no error";
  } catch (const vb::Error& error) {
    EXPECT_EQ(error.number(), vb::err::kAdoObjectClosed);
  }
}

}  // namespace
}  // namespace kvt::services
