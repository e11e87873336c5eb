// The desk's audit trail: what the user types becomes the trail's filter,
// and the trail is read a page at a time, newest first, without losing or
// repeating a row between pages.
#include "apps/kvt-host/sessions/audit_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/date.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::host {
namespace {

TEST(AuditDocumentTest, ABareNumberIsTakenForItsKindOfDocument) {
  const struct {
    const char* typed;
    const char* document;
  } cases[] = {
      {"PO000111", "order PO000111"},
      {" po000111 ", "order PO000111"},
      {"GRV000208", "voucher GRV000208"},
      {"crv000002", "voucher CRV000002"},
      {"order PO000111", "order PO000111"},
      {"user dana", "user dana"},
      {"", ""},
      {"   ", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(AuditDocument(c.typed), c.document);
  }
}

TEST(AuditFilterOfTest, DatesAreReadAsTheUserWritesThemAndMustRunForwards) {
  const struct {
    const char* from;
    const char* to;
    const char* iso_from;
    const char* iso_to;
    const char* refusal;  // how it begins; "" when accepted
  } cases[] = {
      {"2026-11-02", "2026-11-30", "2026-11-02", "2026-11-30", ""},
      {"02/11/2026", "", "2026-11-02", "", ""},
      {"", " 2026-11-02 ", "", "2026-11-02", ""},
      {"2026-11-02", "2026-11-02", "2026-11-02", "2026-11-02", ""},  // one day
      {"2026-11-30", "2026-11-02", "", "", "The dates run backwards"},
      {"yesterday", "", "", "", "\"yesterday\" is no date"},
      {"", "2026-02-30", "", "", "\"2026-02-30\" is no date"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
    AuditSearch search;
    search.from = c.from;
    search.to = c.to;
    if (*c.refusal == '\0') {
      const access::AuditFilter filter = AuditFilterOf(search);
      EXPECT_EQ(filter.from, c.iso_from);
      EXPECT_EQ(filter.to, c.iso_to);
    } else {
      const vb::Error error = test_support::ErrorOf([&] { AuditFilterOf(search); });
      EXPECT_EQ(error.number(), vb::err::kInvalidCall);
      EXPECT_EQ(error.description().rfind(c.refusal, 0), 0u) << error.description();
    }
  }
}

class AuditListTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  void SetUp() override {
    connection_ = db_.Open();
    for (int step = 1; step <= 5; ++step) {
      access::Audit(*connection_, "clerk",
                    {0, "order saved", "order PO000101", "step " + std::to_string(step)});
    }
    access::Audit(*connection_, "clerk", {0, "voucher posted", "voucher GRV000208", "posted"});
  }
  // The Details column of what `list` shows.
  static std::vector<std::string> Details(const AuditList& list) {
    std::vector<std::string> details;
    for (const auto& row : list.Table().rows) details.push_back(row[AuditList::kDetailsColumn]);
    return details;
  }

  test_support::TempDemoDatabase db_{"kvt_audit_list", GetParam()};
  data::ConnectionRef connection_;
};

TEST_P(AuditListTest, PagesFollowEachOtherNewestFirstAndEndWhenTheTrailDoes) {
  AuditList list(*connection_, 2);
  AuditSearch search;
  search.document = "PO000101";
  list.Search(search);
  EXPECT_EQ(Details(list), (std::vector<std::string>{"step 5", "step 4"}));
  EXPECT_TRUE(list.HasMore());
  list.More();
  list.More();
  EXPECT_EQ(Details(list),
            (std::vector<std::string>{"step 5", "step 4", "step 3", "step 2", "step 1"}));
  EXPECT_FALSE(list.HasMore());
  list.More();  // nothing older: the list stays
  EXPECT_EQ(list.Table().rows.size(), 5u);

  // Exactly a page: nothing more is offered.
  AuditList exact(*connection_, 5);
  exact.Search(search);
  EXPECT_EQ(exact.Table().rows.size(), 5u);
  EXPECT_FALSE(exact.HasMore());
}

TEST_P(AuditListTest, UserAndDatesNarrowTheTrail) {
  AuditList list(*connection_);
  list.Search({});
  ASSERT_FALSE(list.Table().rows.empty());
  // On a server the database names the login itself: take who it recorded.
  const std::string who = list.Table().rows[0][1];
  EXPECT_EQ(list.Table().rows[0][4], "voucher GRV000208");

  const std::string today = vb::Format(vb::Date::Today(), "yyyy-mm-dd");
  const std::string yesterday =
      vb::Format(vb::Date::FromSerial(vb::Date::Today().serial() - 1), "yyyy-mm-dd");
  const std::string tomorrow =
      vb::Format(vb::Date::FromSerial(vb::Date::Today().serial() + 1), "yyyy-mm-dd");
  const struct {
    std::string user, from, to;
    size_t rows;
  } cases[] = {
      {who, "", "", 6},      {"nobody", "", "", 0},  {"", today, today, 6},
      {"", tomorrow, "", 0}, {"", "", yesterday, 0}, {who, yesterday, tomorrow, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user + " " + c.from + " .. " + c.to);
    AuditSearch search{c.user, "", c.from, c.to};
    for (const char* document : {"PO000101", "GRV000208"}) {
      search.document = document;
      list.Search(search);
      const size_t expected = c.rows == 0 ? 0 : (document[0] == 'P' ? 5 : 1);
      EXPECT_EQ(list.Table().rows.size(), expected) << document;
    }
  }
}

TEST_P(AuditListTest, ASearchThatFailsKeepsWhatWasShown) {
  AuditList list(*connection_);
  list.Search({"", "GRV000208", "", ""});
  EXPECT_EQ(test_support::ErrorNumberOf([&] {
              list.Search({"", "", "2026-13-01", ""});
            }),
            vb::err::kInvalidCall);
  EXPECT_EQ(Details(list), std::vector<std::string>{"posted"});
}

KVT_INSTANTIATE_BACKENDS(AuditListTest);

// A statement the server refused to a login through another client shows
// in that login's name, with what it went to and why.
TEST(AuditListServerTest, AStatementTheServerRefusedShowsInTheLoginsName) {
  if (test_support::TestBackends().size() < 2) GTEST_SKIP() << "built without PostgreSQL";
  test_support::TempDemoDatabase db("kvt_audit_refused", data::Backend::kPostgreSQL);
  test_support::ServerLogins logins(db);
  const std::string clerk = logins.Add("clerk", "clerk");
  EXPECT_THROW(logins.Open("clerk")->Execute("UPDATE PurchaseOrders SET OurRef = 'x'"),
               data::PermissionDenied);
  auto owner = db.Open();
  AuditList list(*owner);
  list.Search({clerk, "", "", ""});
  ASSERT_EQ(list.Table().rows.size(), 1u);
  const std::vector<std::string>& row = list.Table().rows[0];
  EXPECT_EQ(row[3], "refused");
  EXPECT_EQ(row[AuditList::kDocumentColumn], "table purchaseorders");
}

}  // namespace
}  // namespace kvt::host
