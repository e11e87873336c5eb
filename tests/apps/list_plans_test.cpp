// The plans of the screens' list queries: none may read a history table
// (orders, their lines, vouchers, their lines, movements, documents, the
// audit trail) from end to end, nor sort a whole history to show a page of
// it, or a screen slows as the years add up. The
// demo database is small, so the planner is told what to prefer: SQLite
// says SCAN where it reads a table whole and SEARCH where it seeks; the
// server is asked for a plan with sequential scans priced out, so one that
// is left has no index to take instead.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/posting/voucher_kind.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "db/list_indexes.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

constexpr int32_t kCompany = 1;
struct Statement {
  std::string name;
  std::string sql;
  std::vector<vb::Variant> parameters;
  // The index the plan must seek through, when one is not enough.
  std::string seeks = {};
  // Rows read in the order shown, never sorted after reading: a page of
  // orders, or a series' last number.
  bool unsorted = false;
};

// Whether a plan's step names `index`, whatever the case.
bool Names(std::string step, const std::string& index) {
  std::string wanted = index;
  for (std::string* text : {&step, &wanted}) {
    for (char& c : *text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return !wanted.empty() && step.find(wanted) != std::string::npos;
}

class ListPlansTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  bool OnSQLite() const { return GetParam() == data::Backend::kSQLite; }

  // The list procedures the voucher and order screens call, as the
  // backend holds them: the catalogue's bodies, or the server's functions
  // (SQL functions, which the server plans inline).
  std::vector<Statement> Procedures(data::Connection& connection) const {
    const std::vector<std::pair<std::string, std::vector<vb::Variant>>> calls = {
        {"sp_AO_GRV_Select_Outstanding_Orders", {vb::Variant(1), vb::Variant(kCompany)}},
        {"sp_AO_GRV_Select_Outstanding_Order_Details", {vb::Variant(10)}},
        {"sp_AO_Select_Received_GRV", {vb::Variant(1), vb::Variant(kCompany)}},
        {"sp_AO_Select_Received_CRV", {vb::Variant(3), vb::Variant(kCompany)}},
        {"sp_AO_Select_ReceivedCRV_Details", {vb::Variant(4)}},
        {"sp_AO_Select_GRV_Report_Data", {vb::Variant(1)}},
    };
    std::vector<Statement> statements;
    for (const auto& [name, arguments] : calls) {
      if (OnSQLite()) {
        auto body = connection.Query("SELECT body FROM kvt_procedures WHERE name = ?1",
                                     {vb::Variant(name)});
        EXPECT_FALSE(body->IsEOF()) << name;
        if (body->IsEOF()) continue;
        statements.push_back({name, vb::CStr(body->Item(0).Value()), arguments});
      } else {
        std::string call = "SELECT * FROM " + name + "(";
        for (size_t i = 0; i < arguments.size(); ++i) {
          call += (i == 0 ? "?" : ", ?") + std::to_string(i + 1);
        }
        statements.push_back({name, call + ")", arguments});
      }
    }
    return statements;
  }

  // Every order-list statement: the first page and the next, under each
  // filter alone.
  static std::vector<Statement> OrderLists() {
    std::vector<std::pair<std::string, OrderListFilter>> filters = {
        {"all orders", {}},
        {"one supplier", {1, std::nullopt, std::nullopt, std::nullopt}},
        {"dates",
         {0, std::nullopt, vb::Date::FromYmd(2026, 10, 1), vb::Date::FromYmd(2026, 10, 31)}}};
    for (OrderProgress progress :
         {OrderProgress::kPending, OrderProgress::kOpen, OrderProgress::kPartReceived,
          OrderProgress::kReceived, OrderProgress::kClosed, OrderProgress::kCancelled}) {
      filters.push_back({ProgressText(progress), {0, progress, std::nullopt, std::nullopt}});
    }
    OrderList first, next;
    next.last_id = 5;
    next.last_date = vb::Variant(vb::Date::FromYmd(2026, 11, 10));
    std::vector<Statement> statements;
    for (const auto& [name, filter] : filters) {
      for (const OrderList* after : {&first, &next}) {
        const OrderListQuery query = OrderListSql(kCompany, filter, *after, kOrderPageSize);
        statements.push_back({"order list, " + name + (after == &next ? ", next page" : ""),
                              query.sql, query.parameters, "", true});
      }
    }
    return statements;
  }

  // The plan's steps that read a history table whole; empty when none does.
  std::vector<std::string> FullScans(data::Connection& connection, const Statement& statement) {
    std::vector<std::string> scans;
    bool sought = statement.seeks.empty();
    if (OnSQLite()) {
      auto plan = connection.Query("EXPLAIN QUERY PLAN " + statement.sql, statement.parameters);
      for (; !plan->IsEOF(); plan->MoveNext()) {
        const std::string step = vb::CStr(plan->Item("detail").Value());
        // A subquery's or a named row set's own rows, or the orders still
        // to come (the open tail, not the history).
        const bool bounded = step.find("ToCome") != std::string::npos ||
                             step.rfind("SCAN (", 0) == 0 || step.rfind("SCAN b", 0) == 0 ||
                             step.find("CONSTANT ROW") != std::string::npos;
        if (step.rfind("SCAN ", 0) == 0 && !bounded) scans.push_back(step);
        sought = sought || Names(step, statement.seeks);
        // Sorted after reading: every row under the filter read first.
        if (statement.unsorted && step.find("TEMP B-TREE FOR ORDER BY") != std::string::npos) {
          scans.push_back(step);
        }
      }
      if (!sought) scans.push_back("not sought through " + statement.seeks);
      return scans;
    }
    connection.Execute("SET enable_seqscan = off");
    auto plan = connection.Query("EXPLAIN " + statement.sql, statement.parameters);
    bool inlined = false;
    for (; !plan->IsEOF(); plan->MoveNext()) {
      const std::string step = vb::CStr(plan->Item(0).Value());
      if (step.find("Index") != std::string::npos) inlined = true;
      sought = sought || Names(step, statement.seeks);
      // A subquery hashed whole: every row it could match read first.
      if (step.find("hashed SubPlan") != std::string::npos) scans.push_back(step);
      for (const char* table : {"purchaseorders ", "purchaseorderdetails ", "grvs ", "grvdetails ",
                                "stockmovements ", "supplierdocuments ", "audittrail "}) {
        if (step.find(std::string("Seq Scan on ") + table) != std::string::npos) {
          scans.push_back(step);
        }
      }
    }
    if (!inlined) scans.push_back("no index read at all (a function the server did not inline?)");
    if (!sought) scans.push_back("not sought through " + statement.seeks);
    return scans;
  }

  test_support::TempDemoDatabase db_{"kvt_list_plans", GetParam()};
};

// The audit page between two dates seeks the trail's times, not walks back
// from its newest row; a voucher's number is the series' last plus one, not
// the last of every voucher sorted.
std::vector<Statement> Seeks() {
  const access::AuditQuery audit = access::AuditSql({"", "", "2026-10-01", "2026-10-31"});
  return {{"audit page, dates", audit.sql, audit.parameters, "AuditTrail_At"},
          {"a voucher series' last number",
           posting::kLastVoucherNumberSql,
           {vb::Variant(kCompany), vb::Variant("GRV")},
           "GRVs_Series",
           true}};
}

TEST_P(ListPlansTest, NoScreenListReadsAHistoryTableWhole) {
  auto connection = db_.Open();
  std::vector<Statement> statements = OrderLists();
  for (Statement& procedure : Procedures(*connection)) statements.push_back(procedure);
  for (Statement& seek : Seeks()) statements.push_back(seek);
  for (const Statement& statement : statements) {
    SCOPED_TRACE(statement.name);
    const std::vector<std::string> scans = FullScans(*connection, statement);
    EXPECT_TRUE(scans.empty()) << scans.front() << "\n" << statement.sql;
  }
}

// And loses the partial index of the lines still to come, which kept a
// server from updating a line a receipt draws on in place.
TEST_P(ListPlansTest, AnEarlierDatabaseGetsTheSeekingIndexesOnOpen) {
  auto connection = db_.Open();
  connection->ExecuteScript(
      "DROP INDEX AuditTrail_At; DROP INDEX GRVs_Series; "
      "CREATE INDEX PurchaseOrderDetails_ToCome ON PurchaseOrderDetails(PurchaseOrderID) "
      "WHERE QtyReceived < COALESCE(Qty, 0) + COALESCE(BOQty, 0)");
  EXPECT_TRUE(db::AddListIndexes(*connection));
  for (const auto& [index, count] : {std::pair{"AuditTrail_At", 1}, std::pair{"GRVs_Series", 1},
                                     std::pair{"PurchaseOrderDetails_ToCome", 0}}) {
    const std::string sql = OnSQLite() ? "SELECT COUNT(*) FROM sqlite_master WHERE name = ?1"
                                       : "SELECT COUNT(*) FROM pg_indexes WHERE schemaname = "
                                         "current_schema() AND indexname = lower(?1)";
    EXPECT_EQ(vb::CLng(connection->Query(sql, {vb::Variant(index)})->Item(0).Value()), count)
        << index;
  }
}

KVT_INSTANTIATE_BACKENDS(ListPlansTest);

}  // namespace
}  // namespace kvt::host
