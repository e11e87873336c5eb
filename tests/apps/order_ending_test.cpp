// How far an order has come, a buyer closing or cancelling one (recorded
// with who and when, and no longer offered for receiving), a pending order
// saved again staying pending, and reprints marked as such.
#include "apps/kvt-host/sessions/order_ending.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "platform/report/output.h"
#include "platform/report/recording_output.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"
#include "platform/value/date.h"
#include "services/data_gateway.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::host {
namespace {

TEST(OrderProgressTest, StatusAndReceiptsTellHowFarAnOrderHasCome) {
  struct Case {
    int32_t status, lines_to_come, lines_with_receipts;
    OrderProgress progress;
  };
  const Case cases[] = {
      {kOrderPending, 2, 0, OrderProgress::kPending},
      {kOrderProcessed, 3, 0, OrderProgress::kOpen},
      {kOrderProcessed, 0, 0, OrderProgress::kOpen},  // no lines yet
      {kOrderProcessed, 3, 1, OrderProgress::kPartReceived},
      {kOrderProcessed, 1, 1, OrderProgress::kPartReceived},  // one line, part of it
      {kOrderProcessed, 0, 2, OrderProgress::kReceived},
      {kOrderClosed, 1, 1, OrderProgress::kClosed},
      {kOrderCancelled, 2, 0, OrderProgress::kCancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ProgressText(c.progress) + " " + std::to_string(c.lines_to_come));
    EXPECT_EQ(ProgressOf(c.status, c.lines_to_come, c.lines_with_receipts), c.progress);
  }
}

TEST(OrderProgressTest, OnlyAnOpenOrderClosesAndOnlyOneWithNothingReceivedCancels) {
  struct Case {
    int32_t status;
    double received;
    OrderEnd end;
    const char* refusal;  // how it begins; "" when allowed
  };
  const Case cases[] = {
      {kOrderProcessed, 4, OrderEnd::kClose, ""},
      {kOrderProcessed, 0, OrderEnd::kClose, ""},
      {kOrderPending, 0, OrderEnd::kClose, "PO000123 is pending: nothing is expected yet"},
      {kOrderProcessed, 0, OrderEnd::kCancel, ""},
      {kOrderPending, 0, OrderEnd::kCancel, ""},
      {kOrderProcessed, 0.5, OrderEnd::kCancel, "Goods were received against PO000123"},
      {kOrderClosed, 4, OrderEnd::kClose, "PO000123 is already closed."},
      {kOrderCancelled, 0, OrderEnd::kCancel, "PO000123 is already cancelled."},
      {kOrderCancelled, 0, OrderEnd::kClose, "PO000123 is already cancelled."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.status) + (c.end == OrderEnd::kClose ? " close" : " cancel"));
    const std::string refusal = EndRefusal("PO000123", c.status, c.received, c.end);
    EXPECT_EQ(refusal.substr(0, std::string(c.refusal).size()), c.refusal) << refusal;
    EXPECT_EQ(refusal.empty(), std::string(c.refusal).empty());
  }
}

class OrderEndingTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  void SetUp() override {
    component::ResetThreadStore();
    desk_ = OpenDesk(db_.ConnectionText(), "clerk", db::kDemoCompanyID, db::kDemoDatabaseName);
  }
  void TearDown() override {
    ui::SetDriver(nullptr);
    component::ResetThreadStore();
  }
  int32_t OutstandingLines(int32_t order_id) {
    int32_t status = 0;
    return services::DataGateway()
        .OpenRecordset(
            "Exec sp_AO_GRV_Select_Outstanding_Order_Details " + std::to_string(order_id), 1, 3, 3,
            desk_.connection, status)
        ->RecordCount();
  }
  std::vector<std::string> Listed(OrderProgress progress) {
    OrderListFilter filter;
    filter.progress = progress;
    std::vector<std::string> numbers;
    for (const auto& row :
         ReadOrderList(*desk_.connection, db::kDemoCompanyID, filter).table.rows) {
      numbers.push_back(row[0]);
    }
    return numbers;
  }

  test_support::TempDemoDatabase db_{"kvt_order_ending", GetParam()};
  DeskContext desk_;
};

TEST_P(OrderEndingTest, AnEndedOrderIsRecordedWithWhoAndWhenAuditedAndOffersNothingMore) {
  OrderHeader order = ReadOrderHeader(*desk_.connection, 2);  // PO000102, open
  ASSERT_GT(OutstandingLines(2), 0);
  OrderHeader stale = order;
  EndOrder(*desk_.connection, order, OrderEnd::kClose, "clerk");
  EXPECT_EQ(order.status, kOrderClosed);
  const OrderHeader saved = ReadOrderHeader(*desk_.connection, 2);
  EXPECT_EQ(saved.status, kOrderClosed);
  EXPECT_EQ(saved.ended_by, "clerk");
  EXPECT_EQ(vb::CDate(saved.ended_at).DateOnly(), vb::Date::Today());
  EXPECT_EQ(OutstandingLines(2), 0);
  EXPECT_EQ(Listed(OrderProgress::kClosed), std::vector<std::string>{"PO000102"});
  OrderHeader pending = ReadOrderHeader(*desk_.connection, 3);  // PO000103
  EndOrder(*desk_.connection, pending, OrderEnd::kCancel, "clerk");
  EXPECT_EQ(Listed(OrderProgress::kCancelled), std::vector<std::string>{"PO000103"});
  const struct {
    const char* document;
    const char* action;
    const char* details;
  } audited[] = {{"order PO000102", "order closed", " -> Closed"},
                 {"order PO000103", "order cancelled", "Pending -> Cancelled"}};
  for (const auto& c : audited) {
    SCOPED_TRACE(c.document);
    access::AuditFilter filter;
    filter.document = c.document;
    const std::vector<access::AuditRow> rows = access::ReadAudit(*desk_.connection, filter);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].action, c.action);
    EXPECT_NE(rows[0].details.find(c.details), std::string::npos) << rows[0].details;
  }

  EXPECT_EQ(test_support::ErrorNumberOf(
                [&] { EndOrder(*desk_.connection, stale, OrderEnd::kCancel, "clerk"); }),
            kOrderChangedElsewhere);
  // One refusal of EndRefusal's table end to end.
  const vb::Error twice =
      test_support::ErrorOf([&] { EndOrder(*desk_.connection, order, OrderEnd::kClose, "clerk"); });
  EXPECT_EQ(twice.description(), "PO000102 is already closed.");
}

TEST_P(OrderEndingTest, APendingOrderSavedAgainStaysPendingAndReprintsAreMarked) {
  auto recording = std::make_shared<report::RecordingOutput>();
  report::ScopedOutput installed(recording);
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  ui::SetDriver(buyer);
  OrderSession session(desk_);
  session.Open(3);  // PO000103, pending
  session.SetReferences("KH-2330-B", "", "");
  buyer->Click("cmdAction(0)");  // the delivery dialog as it is proposed
  const OrderSession::SaveResult result = session.Save();
  ASSERT_TRUE(result.saved);
  EXPECT_FALSE(result.print_now);
  EXPECT_EQ(session.Header().status, kOrderPending);
  EXPECT_FALSE(session.PrintsAsReprint());

  struct Case {
    int32_t order_id;
    bool first_print;
    const char* mark;
  } cases[] = {{3, false, ""}, {2, true, ""}, {2, false, "Re-Print"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.order_id) + (c.first_print ? " first" : " later"));
    session.Open(c.order_id);
    session.Print(true, c.first_print);
    ASSERT_FALSE(recording->Calls().empty());
    const auto* flag = recording->Calls().back().document.pages.at(0).FindText("RePrintFlag");
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->text, c.mark);
  }
}

KVT_INSTANTIATE_BACKENDS(OrderEndingTest);

// Only a buyer ends an order; anyone else is refused and the order stays as
// it was (how a refusal is audited is the access checks' own test).
TEST(OrderEndingRolesTest, AClerkMayNotCloseAnOrder) {
  test_support::TempDemoDatabase db{"kvt_order_ending_roles"};
  auto connection = db.Open();
  access::UserAdmin admin(*connection, access::UserAccess::Of(*connection, "boss"));
  admin.Add("boss", {access::Role::kAdmin}, "", db::kDemoCompanyID);
  admin.Add(access::OperatingSystemUser(), {access::Role::kClerk}, "", db::kDemoCompanyID);
  OrderHeader order = ReadOrderHeader(*connection, 2);
  EXPECT_EQ(
      test_support::ErrorNumberOf([&] { EndOrder(*connection, order, OrderEnd::kClose, "clerk"); }),
      access::kPermissionDenied);
  EXPECT_EQ(ReadOrderHeader(*connection, 2).status, kOrderProcessed);
}

}  // namespace
}  // namespace kvt::host
