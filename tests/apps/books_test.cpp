// The books on both backends: what the books cannot hold is refused by the
// desk and by the database; a supplier's document number is booked once,
// also when two clerks race for it. Random work through every path, with
// the books checked after each step, is the books simulator's.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/post_voucher.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "component/mod_publics.h"
#include "db/books_checks.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "tests/support/posting_voucher.h"
#include "tests/support/vb_error.h"
#include "tests/support/voucher_desk.h"

namespace kvt::host {
namespace {

using test_support::ErrorOf;
using Breaches = std::vector<std::string>;

// A receipt of one line on PO000110 (supplier 1's, order 10).
posting::Voucher OneLineReceipt(int32_t line, const char* qty) {
  return test_support::VoucherOf(posting::kGoodsReceived, 1, 10, {{line, 0, qty, "1.00"}});
}

class BooksTest : public test_support::VoucherDeskTest<::testing::TestWithParam<data::Backend>> {
 protected:
  BooksTest() : VoucherDeskTest("kvt_books", GetParam()) {}
};

// What the books cannot hold, straight into the database: each statement
// is refused and the line stays as it was.
TEST_P(BooksTest, TheDatabaseRefusesOrderLinesTheBooksCannotHold) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    const char* set;
    vb::Variant value;
  } cases[] = {
      {"no quantity", "Qty = ?1", vb::Variant(0.0)},
      {"a negative quantity", "Qty = ?1", vb::Variant(-1.0)},
      {"below one unit", "Qty = ?1", vb::Variant(posting::kQtyUnit / 10)},
      {"an endless quantity", "Qty = ?1", vb::Variant(inf)},
      {"a negative back order", "BOQty = ?1", vb::Variant(-2.0)},
      {"a negative price", "UnitPrice = ?1", vb::Variant(-0.01)},
      {"letters for a price", "UnitPrice = ?1", vb::Variant(std::string("abc"))},
      {"ordered below received (12)", "Qty = 5, BOQty = ?1", vb::Variant(6.0)},
  };
  const double qty = Number("SELECT Qty FROM PurchaseOrderDetails WHERE ID = 1");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NE(test_support::ErrorNumberOf([&] {
                connection_->Execute(
                    std::string("UPDATE PurchaseOrderDetails SET ") + c.set + " WHERE ID = 1",
                    {c.value});
              }),
              0);
    EXPECT_EQ(Number("SELECT Qty FROM PurchaseOrderDetails WHERE ID = 1"), qty);
  }
  // New lines are held to the same.
  EXPECT_NE(test_support::ErrorNumberOf([&] {
              connection_->Execute(
                  "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, Qty, UnitPrice) "
                  "VALUES (3, 1, 0.0000001, 1)");
            }),
            0);
  // One unit, and exactly what was received, are fine.
  connection_->Execute("UPDATE PurchaseOrderDetails SET Qty = 12, BOQty = 0 WHERE ID = 1");
  connection_->Execute("UPDATE PurchaseOrderDetails SET Qty = ?1 WHERE ID = 2",
                       {vb::Variant(posting::kQtyUnit)});
}

TEST_P(BooksTest, ADatabaseMadeWithoutTheChecksGetsThemWhenOpened) {
  const bool sqlite = GetParam() == data::Backend::kSQLite;
  connection_->ExecuteScript(sqlite ? "DROP TRIGGER PurchaseOrderDetails_Bookable_Insert; "
                                      "DROP TRIGGER PurchaseOrderDetails_Bookable_Update; "
                                      "DROP INDEX SupplierDocuments_Number"
                                    : "DROP TRIGGER PurchaseOrderDetails_Bookable_Update ON "
                                      "PurchaseOrderDetails; DROP INDEX SupplierDocuments_Number");
  auto cut = [&] {
    return test_support::ErrorNumberOf([&] {
      connection_->Execute("UPDATE PurchaseOrderDetails SET Qty = 5, BOQty = 0 WHERE ID = 1");
    });
  };
  EXPECT_EQ(cut(), 0);  // nothing stops it
  connection_->Execute("UPDATE PurchaseOrderDetails SET Qty = 10, BOQty = 5 WHERE ID = 1");
  EXPECT_TRUE(db::AddBooksChecks(*connection_));
  EXPECT_NE(cut(), 0);
  EXPECT_TRUE(db::AddBooksChecks(*connection_));  // and again: nothing to add

  // Documents sharing a number keep the index out, and the database opens.
  connection_->ExecuteScript("DROP INDEX SupplierDocuments_Number");
  connection_->Execute(
      "UPDATE SupplierDocuments SET DocNumber = 'INV-88120' WHERE DocNumber = 'INV-88433'");
  EXPECT_FALSE(db::AddBooksChecks(*connection_));
}

TEST_P(BooksTest, PostingRefusesAQuantityBelowOneUnitNamingTheLine) {
  const vb::Error refusal =
      ErrorOf([&] { posting::PostVoucher(*connection_, OneLineReceipt(17, "0.0000001")); });
  EXPECT_EQ(refusal.number(), posting::kPostingRefused);
  EXPECT_EQ(refusal.description().rfind("Line 1", 0), 0u) << refusal.description();
  EXPECT_EQ(Number("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 17"), 20);
}

// Through the desk's order session (the figures' rules are OrderLineRefusal's
// below): the buyer's line is refused before the delivery dialog, naming the
// line and its figures; nothing is written.
TEST_P(BooksTest, TheDeskRefusesToSaveALineTheBooksCannotHold) {
  const DeskContext desk =
      OpenDesk(db_.ConnectionText(), "admin", db::kDemoCompanyID, db::kDemoDatabaseName);
  OrderSession session(desk);
  session.Open(1);
  Clerk().Replace("txtODEdit(0)", "5").Click("cmdAction(0)");  // below the 12 received
  ASSERT_TRUE(session.EditLine(0));
  const vb::Error refusal = ErrorOf([&] { session.Save(); });
  EXPECT_EQ(refusal.description().rfind("Line 1 (", 0), 0u) << refusal.description();
  EXPECT_NE(refusal.description().find(": 10 ordered is below the 12 already received"),
            std::string::npos)
      << refusal.description();
  EXPECT_EQ(Number("SELECT Qty FROM PurchaseOrderDetails WHERE ID = 1"), 10);
}

TEST(BookableTest, AnOrderLineIsRefusedNamingTheFigureTheBooksCannotHold) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const vb::Variant null = vb::Variant::Null();
  struct Case {
    vb::Variant qty, back_order, price;
    double received;
    const char* refusal;  // how it ends; empty: accepted
  } cases[] = {
      {10.0, 5.0, 50.0, 12, ""},
      {10.0, null, 50.0, 10, ""},
      {posting::kQtyUnit, null, 0.0, 0, ""},
      {10.0, 0.0, 922337203685477.0, 0,
       "comes to more than the largest amount, "
       "922337203685477.5807."},
      {5.0, 5.0, 50.0, 12, ": 10 ordered is below the 12 already received; order at least 12."},
      {0.0, 5.0, 50.0, 0, ": a quantity of 0 cannot be booked; the least is 0.000001."},
      {nan, 0.0, 50.0, 0, ": the quantity is not a number."},
      {inf, 0.0, 50.0, 0, ": the quantity is not a number."},
      {std::string("ten"), 0.0, 50.0, 0, ": the quantity \"ten\" is not a number."},
      {1.0, -1.0, 50.0, 0, ": the back order \"-1\" is not a quantity of 0 or more."},
      {1.0, 0.0, std::string("abc"), 0, ": the unit price \"abc\" is not a number."},
      {1.0, 0.0, -0.01, 0, ": the unit price \"-0.01\" is below zero."},
      {1.0, 0.0, 1e16, 0, "is beyond the largest amount, 922337203685477.5807."},
      {1.0, 0.0, null, 0, " has no unit price."},
  };
  for (const Case& c : cases) {
    const std::string refusal =
        posting::OrderLineRefusal("Line 3", {c.qty, c.back_order, c.price, c.received});
    SCOPED_TRACE(refusal);
    if (std::string(c.refusal).empty()) {
      EXPECT_EQ(refusal, "");
    } else {
      EXPECT_EQ(refusal.rfind("Line 3", 0), 0u);
      EXPECT_NE(refusal.find(c.refusal), std::string::npos);
    }
  }
}

TEST_P(BooksTest, ASuppliersDocumentNumberIsBookedOncePerKind) {
  // INV-88120 is on GRV000201, supplier 1's.
  const int32_t vouchers = static_cast<int32_t>(Number("SELECT COUNT(*) FROM GRVs"));
  EXPECT_EQ(Post(posting::kGoodsReceived, 1, 10, {{17, "1"}}, "INV-88120"), 0);
  ASSERT_FALSE(user_->Messages().empty());
  EXPECT_EQ(user_->Messages().back().prompt,
            "Invoice INV-88120 of this supplier is already booked on voucher GRV000201; it "
            "cannot be booked twice.");
  EXPECT_EQ(Number("SELECT COUNT(*) FROM GRVs"), vouchers);
  // Another supplier's, and a credit note of the same number, are other
  // documents.
  EXPECT_NE(Post(posting::kGoodsReceived, 2, 5, {{8, "1"}}, "INV-88120"), 0);
  EXPECT_NE(Post(posting::kGoodsReturned, 1, 1, {{1, "1"}}, "INV-88120"), 0);

  // The index stands behind the host.
  EXPECT_NE(test_support::ErrorNumberOf([&] {
              connection_->Execute(
                  "INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType, "
                  "DocNumber, DocDate, Amount, AccPeriodMonth, AccPeriodYearID) SELECT "
                  "CompanyID, SupplierID, ID, 'Invoice', 'INV-88120', DateReceived, 0, 11, 7 "
                  "FROM GRVs WHERE VoucherNumber = 'GRV000207'");
            }),
            0);
  EXPECT_EQ(posting::StockInvariantBreaches(*connection_), Breaches{});
}

TEST_P(BooksTest, TwoClerksRacingOneDocumentNumberBookItOnce) {
  constexpr int kRounds = 4;
  for (int round = 0; round < kRounds; ++round) {
    const std::string number = "INV-RACE-" + std::to_string(round);
    std::atomic<int> posted = 0, refused = 0, failed = 0;
    auto clerk = [&](int32_t line) {
      auto connection = db_.Open();
      posting::Voucher voucher = OneLineReceipt(line, "1");
      voucher.create_supplier_document = true;
      voucher.supplier_document_number = number;
      const int32_t error =
          test_support::ErrorNumberOf([&] { posting::PostVoucher(*connection, voucher, 20); });
      ++(error == 0 ? posted : error == posting::kPostingRefused ? refused : failed);
    };
    std::thread first(clerk, 17), second(clerk, 18);
    first.join();
    second.join();
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(failed, 0);
  }
  EXPECT_EQ(posting::StockInvariantBreaches(*connection_), Breaches{});
}

KVT_INSTANTIATE_BACKENDS(BooksTest);

}  // namespace
}  // namespace kvt::host
