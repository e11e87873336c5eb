#include "services/control_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/value/error.h"
#include "services/connection_text.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::services {
namespace {

TEST(ControlSettingsTest, PeriodKeysSortInPeriodOrderAcrossYears) {
  // (month, calendar year) in period order, across year boundaries.
  const std::pair<int32_t, int32_t> periods[] = {{12, 999},  {1, 2019},  {2, 2019}, {9, 2019},
                                                 {10, 2019}, {12, 2019}, {1, 2020}, {11, 2026},
                                                 {12, 2026}, {1, 2027},  {1, 10000}};
  std::vector<std::string> keys;
  for (const auto& [month, year] : periods) {
    keys.push_back(ControlSettings::PeriodKeyOfYear(month, year));
  }
  for (size_t i = 1; i < keys.size(); ++i) {
    SCOPED_TRACE(keys[i - 1] + " < " + keys[i]);
    EXPECT_LT(keys[i - 1], keys[i]);
  }
}

TEST(ControlSettingsTest, PeriodKeyRefusesImpossiblePeriods) {
  const std::pair<int32_t, int32_t> refused[] = {{0, 2026}, {13, 2026}, {-1, 2026},
                                                 {1, 0},    {1, -1},    {1, 100000000}};
  for (const auto& [month, year] : refused) {
    SCOPED_TRACE(std::to_string(month) + "/" + std::to_string(year));
    EXPECT_EQ(test_support::ErrorNumberOf([&] { ControlSettings::PeriodKeyOfYear(month, year); }),
              vb::err::kInvalidCall);
  }
}

TEST(ControlSettingsTest, ReadingBeforeConnectIsRefused) {
  ControlSettings unconnected;
  EXPECT_EQ(test_support::ErrorNumberOf([&] { unconnected.PeriodKey(1, 7); }),
            vb::err::kAdoObjectClosed);
  EXPECT_EQ(test_support::ErrorNumberOf(
                [&] { unconnected.ReadControlValue("CheckBox", "chkPOGRVForm", 0, "KvtDemo"); }),
            vb::err::kAdoObjectClosed);
}

class SavedControlValueTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  test_support::TempDemoDatabase db_{"kvt_control_values", GetParam(),
                                     test_support::TempDemoDatabase::Content::kSchema};
};

// The user's own value wins over the one saved for every user (named ''),
// and nobody reads another user's.
TEST_P(SavedControlValueTest, TheUsersOwnValueWinsOverTheOneForEveryUser) {
  std::string text = db_.ConnectionText();
  // A file takes any user; a server's login is the user.
  if (ParseConnectionText(text).user_id.empty()) text += ";User ID=dana";
  const std::string user = ParseConnectionText(text).user_id;
  struct Case {
    std::vector<std::string> saved_by;  // '' is every user's
    const char* read;
  };
  const Case cases[] = {{{""}, "every"},      {{"", user}, "own"},
                        {{user, ""}, "own"},  {{"", "zz-someone"}, "every"},
                        {{"zz-someone"}, ""}, {{}, ""}};
  auto connection = db_.Open();
  ControlSettings settings;
  settings.Connect(text);
  for (const Case& c : cases) {
    connection->Execute("DELETE FROM UserControlValues");
    for (const std::string& by : c.saved_by) {
      connection->Execute(
          "INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind, ControlName, "
          "ControlIndex, ControlValue) VALUES ('KvtDemo', ?1, 'CheckBox', 'chkPOGRVForm', 1, ?2)",
          {vb::Variant(by), vb::Variant(by.empty()   ? std::string("every")
                                        : by == user ? std::string("own")
                                                     : std::string("theirs"))});
    }
    EXPECT_EQ(settings.ReadControlValue("checkbox", "chkPOGRVForm", 1, "kvtdemo"), c.read)
        << c.saved_by.size() << " saved";
  }
}

KVT_INSTANTIATE_BACKENDS(SavedControlValueTest);

}  // namespace
}  // namespace kvt::services
