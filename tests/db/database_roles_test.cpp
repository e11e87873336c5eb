// The roles as the server enforces them: each person logs in with their
// own login and may write what their roles allow, whatever program they
// use (these tests use plain SQL, as psql would).
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

#if KVT_WITH_POSTGRES

namespace kvt::db {
namespace {

using test_support::ServerLogins;
using test_support::TempDemoDatabase;

// A received voucher of the demo's first order, written directly, in the
// current period (November 2026, year key 7).
constexpr char kInsertVoucher[] =
    "INSERT INTO GRVs (CompanyID, SupplierID, TranTypeID, VoucherNumber, PurchaseOrderID, "
    "DateReceived, AccPeriodMonth, AccPeriodYearID) VALUES (1, 1, 19, '~test', 1, "
    "'2026-11-20', 11, 7)";

std::string SetRule(const char* name, int index, const char* value) {
  return std::string("UPDATE CompanyControlValues SET ControlValue = '") + value +
         "' WHERE CompanyID = 1 AND ControlName = '" + name +
         "' AND ControlIndex = " + std::to_string(index);
}

// One unit received on the demo's order PO000110 (line 17: 30 ordered, 20
// received), through the posting function, to the period `month` of 2026.
std::string PostedInPeriod(int month) {
  return "SELECT * FROM kvt_post_voucher(19, 1, 1, 10, 0, '2026-11-20', '', '', '', '', 0, " +
         std::to_string(month) +
         ", 7, FALSE, '', '2026-11-20', '[{\"source_line\": 17, \"qty\": 1}]')";
}

// What posting writes, written directly as psql would.
constexpr char kMoveStock[] =
    "INSERT INTO StockMovements (CompanyID, ProductID, Qty, MovementType, MovementDate) "
    "VALUES (1, 1, 5, 19, '2026-11-20')";
constexpr char kRaiseStock[] = "UPDATE Products SET StockOnHand = StockOnHand + 5 WHERE ID = 1";
constexpr char kAddSupplierDocument[] =
    "INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType, DocNumber, DocDate, "
    "Amount, AccPeriodMonth, AccPeriodYearID) VALUES (1, 1, 1, 'Invoice', 'X-1', '2026-11-20', "
    "1, 11, 7)";
constexpr char kSellDirectly[] =
    "UPDATE GRVDetails SET QtySold = QtySold + 1, QtyLeft = QtyLeft - 1 WHERE ID = 5";
constexpr char kSellThroughFunction[] = "SELECT kvt_sell_consignment(1, 5, 1, '2026-11-20', 0)";

constexpr char kSetDecimals[] =
    "INSERT INTO CompanyControlValues (CompanyID, ControlKind, ControlName, ControlIndex, "
    "ControlValue) VALUES (1, 'TextBox', 'txtDecimals', 0, '3') ON CONFLICT (CompanyID, "
    "ControlKind, ControlName, ControlIndex) DO UPDATE SET ControlValue = excluded.ControlValue";
constexpr char kEditOrder[] = "UPDATE PurchaseOrders SET OurRef = 'edited' WHERE ID = 1";
constexpr char kAddOrderLine[] =
    "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, Qty) VALUES (1, 1, 2)";
constexpr char kReceiveOnLine[] =
    "UPDATE PurchaseOrderDetails SET QtyReceived = QtyReceived + 1 "
    "WHERE ID = (SELECT MIN(ID) FROM PurchaseOrderDetails)";
constexpr char kAddPeriod[] =
    "INSERT INTO AccountingPeriods (CompanyID, MonthID, YearID, PeriodName, Status) "
    "VALUES (1, 2, 8, 'February 2027', 'Future')";
constexpr char kAddUserCompany[] = "INSERT INTO UserCompanies VALUES ('someone', 1)";

// The first column of the first row of `sql`.
vb::Variant Scalar(data::Connection& connection, const std::string& sql,
                   const std::vector<vb::Variant>& parameters = {}) {
  return connection.Query(sql, parameters)->Item(0).Value();
}

class DatabaseRolesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    database_ = new TempDemoDatabase("kvt_roles", data::Backend::kPostgreSQL);
    logins_ = new ServerLogins(*database_);
    for (const char* role : {"buyer", "clerk", "accountant", "admin", "reader"}) {
      logins_->Add(role, role);
    }
    logins_->Add("other_company", "buyer,clerk,accountant,admin", "2");
  }
  static void TearDownTestSuite() {
    delete logins_;
    delete database_;
  }

  // Runs `sql` as `who` in a transaction that is then rolled back: true
  // when the server let it through, false when it refused it for want of
  // a right. Any other failure fails the test.
  static bool Allowed(const std::string& who, const std::string& sql) {
    struct Undo {};
    auto connection = logins_->Open(who);
    try {
      connection->RunInTransaction([&] {
        connection->ExecuteScript(sql);
        throw Undo{};
      });
    } catch (const Undo&) {
      return true;
    } catch (const data::PermissionDenied&) {
      return false;
    }
    return true;
  }

  static TempDemoDatabase* database_;
  static ServerLogins* logins_;
};

TempDemoDatabase* DatabaseRolesTest::database_ = nullptr;
ServerLogins* DatabaseRolesTest::logins_ = nullptr;

TEST_F(DatabaseRolesTest, EachRoleWritesWhatItsWorkNeedsAndNothingElse) {
  struct Case {
    std::string sql;
    const char* allowed;  // the roles the server lets through
    const char* refused;  // the roles it refuses
  };
  const Case cases[] = {
      {kEditOrder, "buyer", "clerk accountant admin reader"},  // a clerk may lock it, not change it
      {kAddOrderLine, "buyer", "clerk"},
      {kReceiveOnLine, "", "buyer clerk accountant"},
      {kInsertVoucher, "", "buyer clerk accountant"},
      // A clerk posts only through the posting functions, never writes what they write.
      {PostedInPeriod(11), "clerk accountant", "buyer admin reader"},
      {kSellThroughFunction, "clerk", ""},
      {kMoveStock, "", "clerk"},
      {kRaiseStock, "", "clerk"},
      {kAddSupplierDocument, "", "clerk"},
      {kSellDirectly, "", "clerk"},
      {"SELECT * FROM GRVDetails, StockMovements LIMIT 1", "clerk", ""},
      {"SELECT * FROM VoucherDrafts", "", "clerk"},  // the API's, typed by others
      {"SELECT * FROM ApiSaleKeys", "", "clerk"},
      {PostedInPeriod(10), "", "clerk"},  // an earlier period: the accountant's
      {PostedInPeriod(12), "", "clerk"},
      {SetRule("chkAccountant", 0, "1"), "accountant", "buyer clerk"},
      {SetRule("chkAccountant", 0, "0"), "accountant", ""},  // unchanged: no check
      {kAddPeriod, "accountant", ""},
      {kSetDecimals, "admin", "accountant reader"},  // a setting, not a posting rule
      {kAddUserCompany, "admin", ""},
      {SetRule("chkNonInvoiceGRV", 0, "0"), "", "admin"},
      {"SELECT * FROM PurchaseOrders", "reader", ""},
      {"DELETE FROM PurchaseOrderDetails", "", "reader"},
      {"UPDATE AuditTrail SET Details = 'x'", "", "clerk admin"},
      {"DELETE FROM AuditTrail", "", "clerk admin"},
  };
  for (const Case& c : cases) {
    for (const auto& [roles, allowed] : {std::pair{c.allowed, true}, std::pair{c.refused, false}}) {
      std::istringstream words(roles);
      for (std::string who; words >> who;) {
        EXPECT_EQ(Allowed(who, c.sql), allowed) << who << ": " << c.sql;
      }
    }
  }
}

// The posting rules bind an accountant too: another period only as far as
// the company's rules open it.
TEST_F(DatabaseRolesTest, AnAccountantPostsToAnotherPeriodOnlyWhereTheRulesAllow) {
  struct Case {
    const char* prior;         // chkAccountant 0
    const char* future;        // chkAccountant 1
    const char* before_close;  // chkPriorPeriodGRVPosting 0
    int month;
    bool allowed;
  };
  const Case cases[] = {
      {"0", "0", "0", 10, false}, {"1", "0", "0", 10, false},  // October is closed
      {"1", "0", "1", 10, true},  {"0", "0", "1", 10, false},
      {"0", "0", "0", 12, false}, {"0", "1", "0", 12, true},
  };
  for (const Case& c : cases) {
    const std::string sql =
        SetRule("chkAccountant", 0, c.prior) + "; " + SetRule("chkAccountant", 1, c.future) + "; " +
        SetRule("chkPriorPeriodGRVPosting", 0, c.before_close) + "; " + PostedInPeriod(c.month);
    EXPECT_EQ(Allowed("accountant", sql), c.allowed)
        << "rules " << c.prior << c.future << c.before_close << ", month " << c.month;
  }
}

TEST_F(DatabaseRolesTest, ThePostingFunctionPostsInTheClerksNameAndRefusesABuyerInTheHostsWords) {
  auto clerk = logins_->Open("clerk");
  const vb::Variant posted = clerk->Query(PostedInPeriod(11))->Item("posted_id").Value();
  const std::string number = vb::CStr(Scalar(*clerk, "SELECT kvt_voucher_number(?1)", {posted}));
  EXPECT_EQ(number.substr(0, 3), "GRV");
  EXPECT_EQ(vb::CDbl(Scalar(*clerk, "SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 17")),
            21);
  EXPECT_EQ(vb::CStr(Scalar(*clerk, "SELECT UserName FROM AuditTrail WHERE Document = ?1",
                            {vb::Variant("voucher " + number)})),
            logins_->Login("clerk"));
  EXPECT_EQ(test_support::ErrorOf([] {
              logins_->Open("buyer")->Query(PostedInPeriod(11));
            }).description(),
            "Only a clerk or an accountant may post vouchers; " + logins_->Login("buyer") +
                " holds buyer.");
}

TEST_F(DatabaseRolesTest, ALoginSeesOnlyTheRowsOfItsOwnCompanies) {
  auto count = [](const std::string& who, const std::string& from) {
    auto connection = who.empty() ? database_->Open() : logins_->Open(who);
    return vb::CLng(Scalar(*connection, "SELECT COUNT(*) FROM " + from));
  };
  const int32_t all_orders = count("", "PurchaseOrders");
  const int32_t second_company_orders = count("", "PurchaseOrders WHERE CompanyID = 2");
  ASSERT_GT(all_orders, second_company_orders);
  EXPECT_EQ(count("reader", "PurchaseOrders"), all_orders - second_company_orders);
  EXPECT_EQ(count("other_company", "PurchaseOrders"), second_company_orders);
  EXPECT_EQ(count("other_company", "Companies"), 1);
  // Lines go with their orders.
  EXPECT_EQ(count("other_company", "PurchaseOrderDetails"),
            count("",
                  "PurchaseOrderDetails d JOIN PurchaseOrders o ON o.ID = d.PurchaseOrderID "
                  "WHERE o.CompanyID = 2"));
  // Nor can it write into another company's.
  EXPECT_EQ(logins_->Open("other_company")->Execute(kEditOrder), 0);
}

TEST_F(DatabaseRolesTest, TheAuditTrailTakesRowsInTheLoginsOwnNameAndNeverChanges) {
  auto clerk = logins_->Open("clerk");
  clerk->Execute(
      "INSERT INTO AuditTrail (At, UserName, CompanyID, Action) "
      "VALUES ('2000-01-01', 'somebody else', 1, 'tried')");
  auto row =
      clerk->Query("SELECT UserName, At > '2020-01-01' FROM AuditTrail WHERE Action = 'tried'");
  EXPECT_EQ(vb::CStr(row->Item(0).Value()), logins_->Login("clerk"));
  EXPECT_TRUE(vb::CBool(row->Item(1).Value()));
  // Not even the schema's owner, short of dropping the trigger.
  EXPECT_THROW(database_->Open()->ExecuteScript("TRUNCATE AuditTrail"), data::PermissionDenied);
}

// What the server refused is read from its log into the audit trail:
// the refused transaction took its own record with it.
std::vector<std::string> FoldedSince(data::Connection& owner, int32_t after_id,
                                     const std::string& login, const char* action) {
  EXPECT_TRUE(vb::CBool(Scalar(owner, "SELECT kvt_read_server_log()")));
  std::vector<std::string> details;
  for (auto rows = owner.Query(
           "SELECT Details || ' @' || Client FROM AuditTrail WHERE ID > ?1 AND UserName = ?2 "
           "AND Action = ?3 ORDER BY ID",
           {vb::Variant(after_id), vb::Variant(login), vb::Variant(std::string(action))});
       !rows->IsEOF(); rows->MoveNext()) {
    details.push_back(vb::CStr(rows->Item(0).Value()));
  }
  return details;
}

int32_t LastAuditID(data::Connection& owner) {
  owner.Query("SELECT kvt_read_server_log()");
  return vb::CLng(Scalar(owner, "SELECT COALESCE(MAX(ID), 0) FROM AuditTrail"));
}

TEST_F(DatabaseRolesTest, EveryStatementRefusedToALoginLeavesAnAuditRowInItsName) {
  auto owner = database_->Open();
  const int32_t before = LastAuditID(*owner);
  const std::string secret = "Sekret-" + std::to_string(::getpid());
  const std::string refused[] = {
      SetRule("chkAccountant", 0, "1"), kAddOrderLine, PostedInPeriod(10),
      "ALTER ROLE \"" + logins_->Login("admin") + "\" PASSWORD '" + secret + "'"};
  for (size_t i = 0; i < std::size(refused); ++i) {
    EXPECT_FALSE(Allowed("clerk", refused[i])) << refused[i];
    // A rotated log loses nothing that was not read yet.
    if (i == 1) owner->Query("SELECT pg_sleep(1.1), pg_rotate_logfile()");
  }
  const std::vector<std::string> rows =
      FoldedSince(*owner, before, logins_->Login("clerk"), "refused");
  ASSERT_EQ(rows.size(), std::size(refused)) << ::testing::PrintToString(rows);
  const std::string expected[] = {
      "permission denied for table companycontrolvalues Statement: " + refused[0] +
          " @local socket",
      "permission denied for table purchaseorderdetails Statement: " + std::string(kAddOrderLine) +
          " @local socket",
      "Only an accountant may post to a period other than the current one; " +
          logins_->Login("clerk") + " holds clerk. Statement: " + refused[2] + " @local socket"};
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(rows[i], expected[i]);
  EXPECT_EQ(rows[3].find(secret), std::string::npos) << rows[3];
  // Read once only.
  EXPECT_TRUE(FoldedSince(*owner, before + 4, logins_->Login("clerk"), "refused").empty());
}

// Guessing through psql, or any client, counts as through the host: the
// fifth wrong password locks the login in the server.
TEST_F(DatabaseRolesTest, FiveWrongPasswordsFromAnyClientLockTheLogin) {
  logins_->Add("guessed", "clerk");
  auto owner = database_->Open();
  const int32_t before = LastAuditID(*owner);
  data::PostgresServer server =
      services::ServerOf(services::ParseConnectionText(database_->ConnectionText()));
  server.user = logins_->Login("guessed");
  for (int attempt = 1; attempt <= 5; ++attempt) {
    server.password = "guess-" + std::to_string(attempt);
    EXPECT_THROW(data::OpenPostgres(server), data::LoginRefused);
  }
  EXPECT_EQ(FoldedSince(*owner, before, server.user, "login failed").size(), 5u);
  EXPECT_EQ(FoldedSince(*owner, before, server.user, "login locked").size(), 1u);
  server.password = ServerLogins::Password("guessed");
  EXPECT_THROW(data::OpenPostgres(server), data::LoginRefused);
  // Refused while locked, and not counted again.
  EXPECT_EQ(FoldedSince(*owner, before, server.user, "login failed").size(), 5u);
}

// Granting and listing through the host is the access tests'; here, that
// the server refuses the function to anyone else.
TEST_F(DatabaseRolesTest, OnlyAnAdministratorManagesUsers) {
  EXPECT_THROW(logins_->Open("clerk")->Query("SELECT kvt_change_roles(?1, ARRAY['admin'], TRUE)",
                                             {vb::Variant(logins_->Login("clerk"))}),
               data::PermissionDenied);
}

}  // namespace
}  // namespace kvt::db

#endif
