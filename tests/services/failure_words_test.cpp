#include "services/failure_words.h"

#include <gtest/gtest.h>

#include "platform/data/data_errors.h"

namespace kvt::services {
namespace {

TEST(FailureWordsTest, EnginesMessagesBecomeACauseAndWhatToDo) {
  struct Case {
    vb::Error error;
    const char* told;  // after "Saving PO000103 did not work: "
  };
  const char* kBusy = "another clerk or program was changing the same data. Try again in a moment.";
  const Case cases[] = {
      {data::CommandError("database or disk is full", "INSERT ..."),
       "the disk that holds the database is full. Free some space on that disk, then try again."},
      {vb::Error(75, "Report", "The file /out/a.pdf could not be written: No space left on device"),
       "the disk is full. Free some space on that disk, then try again."},
      {data::CommandError("attempt to write a readonly database", ""),
       "the database may not be written to. Ask whoever looks after the database for the right "
       "to change it."},
      {data::LockConflict("canceling statement due to lock timeout", ""), kBusy},
      {data::ProviderError("server closed the connection unexpectedly", ""),
       "the connection to the database server was lost. Check the network, then close the desk "
       "and start it again."},
      // Words of our own are kept as they are.
      {vb::Error(5, "kvt-host", "An order needs at least one line before it can be saved."),
       "An order needs at least one line before it can be saved."},
      // Never a number alone.
      {vb::Error(-2147217900, "Connection", ""),
       "an unexpected failure (error -2147217900 in Connection). Try again; if it happens again, "
       "tell whoever looks after the program."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error.description());
    EXPECT_EQ(PlainFailure("Saving PO000103", c.error),
              "Saving PO000103 did not work: " + std::string(c.told));
  }
}

}  // namespace
}  // namespace kvt::services
