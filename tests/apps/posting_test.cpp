#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/posting/consignment_sale.h"
#include "apps/kvt-host/posting/post_voucher.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "services/data_gateway.h"
#include "tests/support/posting_voucher.h"
#include "tests/support/rows.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::posting {
namespace {

using test_support::ErrorNumberOf;

using test_support::DetailRow;
using test_support::VoucherOf;

class PostingTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  vb::Variant Value(const std::string& sql) { return connection_->Query(sql)->Item(0).Value(); }
  double Number(const std::string& sql) { return vb::CDbl(Value(sql)); }

  data::RecordSetRef Run(const std::string& command) {
    int32_t status = 0;
    return services::DataGateway().OpenRecordset(command, 1, 3, 3, connection_, status);
  }

  // Every row of every table, by table, to prove that nothing was written.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> tables;
    auto names =
        connection_->Query(GetParam() == data::Backend::kSQLite
                               ? "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"
                               : "SELECT table_name FROM information_schema.tables "
                                 "WHERE table_schema = current_schema() ORDER BY 1");
    for (; !names->IsEOF(); names->MoveNext()) {
      const std::string table = vb::CStr(names->Item(0).Value());
      auto rows = connection_->Query("SELECT * FROM " + table + " ORDER BY 1");
      for (; !rows->IsEOF(); rows->MoveNext()) {
        for (int i = 0; i < rows->Fields().Count(); ++i) {
          const vb::Variant value = rows->Item(i).Value();
          tables[table] += (value.IsNull() ? "Null" : vb::CStr(value)) + "|";
        }
      }
    }
    return tables;
  }

  void ExpectBooksBalance() {
    EXPECT_EQ(StockInvariantBreaches(*connection_), std::vector<std::string>{});
  }

  test_support::TempDemoDatabase db_{"kvt_posting_test", GetParam()};
  data::ConnectionRef connection_ = db_.Open();
};

TEST_P(PostingTest, ReceiptRaisesOrderLinesStockAndTheInvoice) {
  constexpr char kBolts[] = "SELECT StockOnHand FROM Products WHERE ID = 1";
  const double bolts = Number(kBolts);
  Voucher voucher =
      VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "10", "575.00"}, {18, 0, "5", "1,113.85"}});
  voucher.create_supplier_document = true;
  voucher.supplier_document_number = "INV-88610";
  const PostedVoucher posted = PostVoucher(*connection_, voucher);
  EXPECT_EQ(posted.voucher_number, "GRV000208");
  EXPECT_EQ(posted.total, vb::Currency::FromRaw(16888500));
  EXPECT_EQ(Number("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 17"), 30);
  EXPECT_EQ(Number(kBolts), bolts + 10);
  EXPECT_EQ(Number("SELECT Amount FROM SupplierDocuments WHERE ID = " +
                   std::to_string(posted.supplier_document_id)),
            1688.85);

  auto report = Run("Exec sp_AO_Select_GRV_Report_Data " + std::to_string(posted.voucher_id));
  EXPECT_EQ(report->RecordCount(), 2);
  EXPECT_EQ(report->Item("Order Number").Value(), vb::Variant("PO000110"));
  EXPECT_EQ(report->Item("Username").Value(), vb::Variant("clerk"));
  report->MoveNext();  // the row without a product key took the order's
  EXPECT_EQ(report->Item("Product Code").Value(), vb::Variant("WSH-M10"));
  ExpectBooksBalance();
  EXPECT_EQ(vb::CStr(Value("SELECT Details FROM AuditTrail WHERE Document = 'voucher GRV000208'")),
            "2 lines, total 1,688.85, to November 2026, supplier document INV-88610");
}

// A buyer is refused by the host before anything is written, with the
// reason, in the trail (which roles may post is the roles' own table; a
// clerk's login posting end to end is the API's test). On a server the
// buyer works through a login of their own; on a file the system's user
// holds the role.
TEST_P(PostingTest, ABuyerIsRefusedPostingAVoucherAndTheRefusalIsAudited) {
  test_support::ServerLogins logins(db_);
  std::string buyer = access::OperatingSystemUser();
  data::ConnectionRef as_buyer = connection_;
  if (GetParam() == data::Backend::kPostgreSQL) {
    buyer = logins.Add("buyer", "buyer");
    as_buyer = logins.Open("buyer");
  } else {
    connection_->Execute("INSERT INTO UserRoles VALUES ('boss', 'admin'), (?1, 'buyer')",
                         {vb::Variant(buyer)});
  }
  const double vouchers = Number("SELECT COUNT(*) FROM GRVs");
  const vb::Error error = test_support::ErrorOf([&] {
    PostVoucher(*as_buyer, VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "1", "57.50"}}));
  });
  EXPECT_EQ(error.number(), access::kPermissionDenied);
  EXPECT_EQ(error.description(),
            "Only a clerk or an accountant may post vouchers; " + buyer + " holds buyer.");
  EXPECT_EQ(Number("SELECT COUNT(*) FROM GRVs"), vouchers);
  EXPECT_EQ(Number("SELECT COUNT(*) FROM AuditTrail WHERE Action = 'refused' AND UserName = '" +
                   buyer + "'"),
            1);
}

TEST_P(PostingTest, RefusedOrFailedVouchersWriteNothing) {
  struct Case {
    const char* name;
    int32_t type, supplier, owner;
    std::vector<DetailRow> rows;
    const char* message;
  };
  // clang-format off
  const Case cases[] = {
      {"over-receipt on the second line", kGoodsReceived, 1, 10, {{18, 3, "5"}, {17, 1, "11"}},
       "Cannot receive 11 of BLT-M10 (Hex bolt M10 x 50, box of 100): only 10 "
       "outstanding on order PO000110 (30 ordered, 20 received)."},
      {"one order line twice", kGoodsReceived, 1, 10, {{17, 1, "6"}, {17, 1, "5"}},
       "Cannot receive 5 of BLT-M10 (Hex bolt M10 x 50, box of 100): only 4 "
       "outstanding on order PO000110 (30 ordered, 26 received)."},
      {"return above received less returned", kGoodsReturned, 1, 1, {{1, 1, "11"}},
       "Cannot return 11 of BLT-M10 (Hex bolt M10 x 50, box of 100): only 10 "
       "returnable on voucher GRV000201 (12 received, 2 already returned)."},
      {"consignment return above left", kConsignmentReturned, 3, 4, {{5, 7, "8"}},
       "Cannot return 8 of TMB-PINE (Pine beam 38 x 114 x 3.6 m): only 7 left "
       "on consignment on voucher CRV000401 (20 received, 10 sold, 3 returned)."},
      {"line of another order", kGoodsReceived, 1, 10, {{1, 0, "1"}},
       "Line 1 is not a line of order PO000110."},
      {"line of another product", kGoodsReceived, 1, 10, {{17, 2, "1"}},
       "Line 1 is for product 2, but its line on order PO000110 is for BLT-M10 "
       "(Hex bolt M10 x 50, box of 100)."},
      {"order of another supplier", kGoodsReceived, 2, 10, {{17, 1, "1"}},
       "Order 10 is not an open order of the voucher's supplier."},
      {"goods return against a consignment voucher", kGoodsReturned, 3, 4, {{5, 7, "1"}},
       "Voucher 4 is not a voucher of the voucher's supplier to return against."},
  };
  // clang-format on
  const auto before = Snapshot();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const vb::Error error = test_support::ErrorOf(
        [&] { PostVoucher(*connection_, VoucherOf(c.type, c.supplier, c.owner, c.rows)); });
    EXPECT_EQ(error.number(), kPostingRefused);
    EXPECT_EQ(error.description(), c.message);
  }
  Voucher voucher = VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "10"}, {18, 3, "5"}});
  voucher.create_supplier_document = true;  // but no number
  EXPECT_EQ(ErrorNumberOf([&] { PostVoucher(*connection_, voucher); }), kPostingRefused);
  EXPECT_EQ(Snapshot(), before);

  // A failure half way: the supplier document is written last, after the
  // lines, the order lines and the stock.
  connection_->ExecuteScript(
      GetParam() == data::Backend::kSQLite
          ? "CREATE TRIGGER documents_closed BEFORE INSERT ON SupplierDocuments "
            "BEGIN SELECT RAISE(ABORT, 'documents are closed'); END"
          : "CREATE FUNCTION documents_closed() RETURNS trigger LANGUAGE plpgsql AS "
            "$$ BEGIN RAISE EXCEPTION 'documents are closed'; END $$; "
            "CREATE TRIGGER documents_closed BEFORE INSERT ON SupplierDocuments "
            "FOR EACH ROW EXECUTE FUNCTION documents_closed()");
  voucher.supplier_document_number = "INV-1";
  EXPECT_EQ(ErrorNumberOf([&] { PostVoucher(*connection_, voucher); }), data::kCommandError);
  voucher.lines = test_support::RowsOf(  // no amounts
      {{"FK ID", data::DataType::kVariant}, {"Qty", data::DataType::kVariant}}, {{17, 1}});
  EXPECT_EQ(ErrorNumberOf([&] { PostVoucher(*connection_, voucher); }), vb::err::kAdoItemNotFound);
  EXPECT_EQ(Snapshot(), before);
}

// Two clerks on two connections draw one unit at a time on the same line
// until it is exhausted: exactly what the line held goes through.
TEST_P(PostingTest, ClerksAtOnceNeverOverdrawALine) {
  using Draw = std::function<void(data::Connection&, int)>;
  const auto post = [](int32_t type, int32_t supplier, int32_t owner, DetailRow row) -> Draw {
    return [=](data::Connection& connection, int) {
      PostVoucher(connection, VoucherOf(type, supplier, owner, {row}));
    };
  };
  struct Case {
    const char* name;
    Draw draw;  // the clerk's try number decides, where two kinds race
    int available;
    const char* figure;
    double final_figure;
  };
  const Case cases[] = {
      {"receipts", post(kGoodsReceived, 1, 10, {17, 1, "1"}), 10,
       "SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 17", 30},
      {"returns", post(kGoodsReturned, 1, 1, {1, 1, "1"}), 10,
       "SELECT QtyReturned FROM GRVDetails WHERE ID = 1", 12},
      {"consignment returns and sales",
       [&](data::Connection& connection, int i) {
         if (i % 2 == 0) return post(kConsignmentReturned, 3, 4, {5, 7, "1"})(connection, i);
         RecordConsignmentSale(connection, {1, 5, 1});
       },
       7, "SELECT QtyLeft FROM GRVDetails WHERE ID = 5", 0},
  };
  constexpr int kTriesPerClerk = 7;
  constexpr char kBeams[] = "SELECT ConsignmentStock FROM Products WHERE ID = 7";
  const double beams = Number(kBeams);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::atomic<int> posted = 0, refused = 0, failed = 0;
    const auto clerk = [&] {
      auto connection = db_.Open();
      for (int i = 0; i < kTriesPerClerk; ++i) {
        const int32_t error = ErrorNumberOf([&] { c.draw(*connection, i); });
        ++(error == 0 ? posted : error == kPostingRefused ? refused : failed);
      }
    };
    std::thread first(clerk), second(clerk);
    first.join();
    second.join();
    EXPECT_EQ(posted, c.available);
    EXPECT_EQ(refused, 2 * kTriesPerClerk - c.available);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(Number(c.figure), c.final_figure);
  }
  // Among the books' rules: each series numbered once, without gaps.
  ExpectBooksBalance();
  EXPECT_EQ(Number(kBeams), beams - 7);  // line 5's, sold or returned
}

// Another connection holds what the posting needs (SQLite's write lock, the
// order line's row on a server) longer than the lock timeout: the posting
// runs again until it is free, and fails, writing nothing, when it stays
// held past every attempt.
TEST_P(PostingTest, ALockHeldPastTheTimeoutIsWaitedOutByRunningAgain) {
  auto holder = db_.Open();
  holder->Execute("BEGIN");
  holder->Execute("UPDATE PurchaseOrderDetails SET QtyReceived = QtyReceived WHERE ID = 17");
  connection_->SetLockTimeout(20);
  const Voucher voucher = VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "1"}});
  const auto before = Snapshot();
  EXPECT_EQ(ErrorNumberOf([&] { PostVoucher(*connection_, voucher, 2); }), data::kCommandError);
  EXPECT_EQ(Snapshot(), before);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    holder->Execute("ROLLBACK");
  });
  EXPECT_EQ(ErrorNumberOf([&] { PostVoucher(*connection_, voucher, 20); }), 0);
  release.join();
  EXPECT_EQ(Number("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 17"), 21);
}

KVT_INSTANTIATE_BACKENDS(PostingTest);

#if KVT_WITH_POSTGRES
class PostingOnServerTest : public PostingTest {};

// The server ends a clerk's session after its posting committed, while it
// waits for the voucher's number: the clerk gets the failure, the voucher
// waits unnumbered (the books hold meanwhile), and the next posting of the
// company numbers both in the order they were posted, moves the stranded
// one's stock and writes its audit row.
TEST_P(PostingOnServerTest, AVoucherLeftWithoutItsNumberIsNumberedByTheNextPosting) {
  const double stock = Number("SELECT StockOnHand FROM Products WHERE ID = 1");
  const vb::Variant session = Value("SELECT pg_backend_pid()");
  auto holder = db_.Open();
  holder->Execute("BEGIN");
  holder->Query("SELECT pg_advisory_xact_lock(4937301, 1)");
  int32_t error = 0;
  std::thread clerk([&] {
    error = ErrorNumberOf([&] {
      PostVoucher(*connection_, VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "2"}}));
    });
  });
  auto admin = db_.Open();
  bool waiting = false;
  const char* lock_waits =
      "SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?1 AND wait_event_type = 'Lock'";
  for (int i = 0; i < 400 && !waiting; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    waiting = vb::CLng(admin->Query(lock_waits, {session})->Item(0).Value()) == 1;
  }
  admin->Query("SELECT pg_terminate_backend(?1)", {session});
  clerk.join();
  EXPECT_TRUE(waiting);
  EXPECT_EQ(error, vb::err::kAdoConnectionFailed);
  connection_ = db_.Open();
  EXPECT_EQ(vb::CStr(Value("SELECT LEFT(VoucherNumber, 1) FROM GRVs ORDER BY ID DESC")), "~");
  ExpectBooksBalance();
  holder->Execute("ROLLBACK");

  EXPECT_EQ(
      PostVoucher(*connection_, VoucherOf(kGoodsReceived, 1, 10, {{17, 1, "1"}})).voucher_number,
      "GRV000209");
  EXPECT_EQ(vb::CStr(Value("SELECT VoucherNumber FROM GRVs ORDER BY ID DESC LIMIT 1 OFFSET 1")),
            "GRV000208");
  EXPECT_EQ(Number("SELECT StockOnHand FROM Products WHERE ID = 1"), stock + 3);
  EXPECT_EQ(Number("SELECT COUNT(*) FROM AuditTrail WHERE Document = 'voucher GRV000208'"), 1);
  ExpectBooksBalance();
}

INSTANTIATE_TEST_SUITE_P(Backends, PostingOnServerTest,
                         ::testing::Values(data::Backend::kPostgreSQL),
                         test_support::BackendTestName);
#endif

TEST(VoucherNumberTest, FollowsTheLastNumberOfItsSeries) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "GRV000001"},           {"GRV000205", "GRV000206"}, {"GRV00009", "GRV000010"},
      {"GRV999999", "GRV1000000"}, {"GRV-OLD", "GRV000001"},   {"GRV1000009", "GRV1000010"}};
  for (const auto& [last, next] : cases) {
    SCOPED_TRACE(last);
    EXPECT_EQ(NextVoucherNumber("GRV", last), next);
  }
}

}  // namespace
}  // namespace kvt::posting
