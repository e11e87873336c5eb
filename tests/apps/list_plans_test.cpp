// The plans of the screens' list queries: none may read a history table
// (orders, their lines, vouchers, their lines, movements, documents, the
// audit trail) from end to end, nor sort a whole history to show a page of
// it, or a screen slows as the years add up. The
// demo database is small, so the planner is told what to prefer: SQLite
// says SCAN where it reads a table whole and SEARCH where it seeks; the
// server is asked for a plan with sequential scans priced out, so one that
// is left has no index to take instead.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

constexpr int32_t kCompany = 1;
// The audit page between two dates: a seek on the trail's times.
constexpr char kAuditByDates[] = "audit page, dates";

struct Statement {
  std::string name;
  std::string sql;
  std::vector<vb::Variant> parameters;
};

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
                              query.sql, query.parameters});
      }
    }
    return statements;
  }

  // The plan's steps that read a history table whole; empty when none does.
  std::vector<std::string> FullScans(data::Connection& connection, const Statement& statement) {
    std::vector<std::string> scans;
    if (OnSQLite()) {
      auto plan = connection.Query("EXPLAIN QUERY PLAN " + statement.sql, statement.parameters);
      for (; !plan->IsEOF(); plan->MoveNext()) {
        const std::string step = vb::CStr(plan->Item("detail").Value());
        // A subquery's or a named row set's own rows, or the lines still to
        // come (a partial index: the open tail, not the history).
        const bool bounded = step.find("ToCome") != std::string::npos ||
                             step.rfind("SCAN (", 0) == 0 || step.rfind("SCAN b", 0) == 0 ||
                             step.find("CONSTANT ROW") != std::string::npos;
        if (step.rfind("SCAN ", 0) == 0 && !bounded) scans.push_back(step);
        // A page sorted after reading: every order under the filter read first.
        if (statement.name.rfind("order list", 0) == 0 &&
            step.find("TEMP B-TREE FOR ORDER BY") != std::string::npos) {
          scans.push_back(step);
        }
      }
      return scans;
    }
    connection.Execute("SET enable_seqscan = off");
    auto plan = connection.Query("EXPLAIN " + statement.sql, statement.parameters);
    bool inlined = false, seeks_times = false;
    for (; !plan->IsEOF(); plan->MoveNext()) {
      const std::string step = vb::CStr(plan->Item(0).Value());
      if (step.find("Index") != std::string::npos) inlined = true;
      seeks_times = seeks_times || step.find("audittrail_at") != std::string::npos;
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
    if (statement.name == kAuditByDates && !seeks_times) {
      scans.push_back("the trail walked back from its newest row, not sought by its times");
    }
    return scans;
  }

  test_support::TempDemoDatabase db_{"kvt_list_plans", GetParam()};
};

TEST_P(ListPlansTest, NoScreenListReadsAHistoryTableWhole) {
  auto connection = db_.Open();
  std::vector<Statement> statements = OrderLists();
  for (Statement& procedure : Procedures(*connection)) statements.push_back(procedure);
  const access::AuditQuery audit = access::AuditSql({"", "", "2026-10-01", "2026-10-31"});
  statements.push_back({kAuditByDates, audit.sql, audit.parameters});
  for (const Statement& statement : statements) {
    SCOPED_TRACE(statement.name);
    const std::vector<std::string> scans = FullScans(*connection, statement);
    EXPECT_TRUE(scans.empty()) << scans.front() << "\n" << statement.sql;
  }
}

KVT_INSTANTIATE_BACKENDS(ListPlansTest);

}  // namespace
}  // namespace kvt::host
