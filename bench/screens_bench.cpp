// Every screen of the host read headless through its sessions, timed on
// databases with histories of different lengths (scripts/make-history.sh
// makes them): the order list and its filters, a 200-line order, the goods
// received and returned pages of a busy supplier, an order's outstanding
// lines, consignment lines, the audit page and a voucher's document.
//
//   screens_bench [--runs N] [--fastest] [--only TEXT] [--fresh-connections] LABEL=DATABASE ...
//
// DATABASE is an SQLite file or "pg:SCHEMA", a schema of the server in
// KVT_TEST_POSTGRES (scripts/with-postgres.sh), whose password stays in the
// environment. Prints the median of N runs (after one to warm the caches)
// in milliseconds (--fastest: the fastest run, the one least disturbed when
// others share the machine), one column per database; given in pairs, one year then
// ten, it adds each pair's ratio; --only keeps the screens whose name holds
// TEXT. The screens share their connections as the desk does;
// --fresh-connections opens one for every query instead. Exits 1 when a
// screen fails.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/sessions/audit_list.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "db/list_indexes.h"
#include "db/orders_to_come.h"
#include "db/procedure_catalogue.h"
#include "services/connection_text.h"
#include "platform/report/output.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"

namespace {

using Clock = std::chrono::steady_clock;
using kvt::host::DeskContext;
using kvt::host::VoucherSession;
namespace posting = kvt::posting;

constexpr int32_t kCompany = kvt::db::kDemoCompanyID;
constexpr int32_t kBusySupplier = 101;  // the generator's busiest

// Counts the pages of the documents it is given, and shows nothing.
class CountingOutput : public kvt::report::Output {
 public:
  void Preview(const kvt::report::Document& document, const std::string&) override {
    pages += document.pages.size();
  }
  bool Print(const kvt::report::Document& document, const std::string&) override {
    pages += document.pages.size();
    return true;
  }
  void ExportPdf(const kvt::report::Document&, const std::string&) override {}
  size_t pages = 0;
};

struct Database {
  std::string label;
  std::string connection_text;
};

// What the screens are shown on, found once per database.
struct Subjects {
  int32_t long_order = 0;         // a 200-line order
  int32_t outstanding_order = 0;  // an order of the busy supplier with lines to come
  int32_t voucher = 0;            // the newest goods received voucher
  int32_t voucher_supplier = 0;
  int32_t consignment = 0;  // the newest consignment receipt with stock left
  int32_t consignment_supplier = 0;
  vb::Date month_from, month_to;  // a month half a year back
};

int32_t Key(kvt::data::Connection& connection, const std::string& sql) {
  const vb::Variant value = connection.Query(sql)->Item(0).Value();
  return value.IsNull() ? 0 : vb::CLng(value);
}

Subjects FindSubjects(kvt::data::Connection& connection) {
  Subjects subjects;
  subjects.long_order = Key(connection,
                            "SELECT MAX(po.ID) FROM PurchaseOrders po WHERE (SELECT COUNT(*) "
                            "FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID) = 200 "
                            "AND po.ID % 1000 = 500");
  subjects.voucher = Key(connection, "SELECT MAX(ID) FROM GRVs WHERE TranTypeID = 19");
  subjects.voucher_supplier =
      Key(connection, "SELECT SupplierID FROM GRVs WHERE ID = " + std::to_string(subjects.voucher));
  subjects.consignment = Key(connection,
                             "SELECT MAX(g.ID) FROM GRVs g WHERE g.TranTypeID = 31 AND EXISTS "
                             "(SELECT 1 FROM GRVDetails gd WHERE gd.GRVID = g.ID AND "
                             "gd.QtyLeft > 0)");
  subjects.consignment_supplier = Key(
      connection, "SELECT SupplierID FROM GRVs WHERE ID = " + std::to_string(subjects.consignment));
  const vb::Date last =
      vb::CDate(connection.Query("SELECT MAX(DateOrdered) FROM PurchaseOrders")->Item(0).Value());
  const int month = (last.Month() + 5) % 12 + 1;
  const int year = last.Year() - (last.Month() <= 6 ? 1 : 0);
  subjects.month_from = vb::Date::FromYmd(year, month, 1);
  subjects.month_to = vb::Date::FromYmd(year, month, 28);
  return subjects;
}

struct Screen {
  const char* name;
  std::function<size_t(DeskContext&, const Subjects&)> show;  // rows or pages shown
};

kvt::host::HostContext HostOf(const DeskContext& desk) {
  kvt::host::HostContext host;
  host.connection_text = desk.connection_text;
  host.company_id = desk.company_id;
  host.user_id = desk.user_id;
  host.database_name = desk.database_name;
  return host;
}

size_t ListRows(DeskContext& desk, const kvt::host::OrderListFilter& filter) {
  return kvt::host::ReadOrderList(*desk.connection, kCompany, filter).order_ids.size();
}

std::string only;                // --only
bool fastest = false;            // --fastest
bool fresh_connections = false;  // --fresh-connections

std::vector<Screen> AllScreens() {
  using kvt::host::OrderListFilter;
  using kvt::host::OrderProgress;
  return {
      {"order list, first page",
       [](DeskContext& desk, const Subjects&) { return ListRows(desk, {}); }},
      {"order list, one supplier",
       [](DeskContext& desk, const Subjects&) {
         return ListRows(desk, {kBusySupplier, std::nullopt, std::nullopt, std::nullopt});
       }},
      {"order list, part received",
       [](DeskContext& desk, const Subjects&) {
         return ListRows(desk, {0, OrderProgress::kPartReceived, std::nullopt, std::nullopt});
       }},
      {"order list, received",
       [](DeskContext& desk, const Subjects&) {
         return ListRows(desk, {0, OrderProgress::kReceived, std::nullopt, std::nullopt});
       }},
      {"order list, cancelled",
       [](DeskContext& desk, const Subjects&) {
         return ListRows(desk, {0, OrderProgress::kCancelled, std::nullopt, std::nullopt});
       }},
      {"order list, one month",
       [](DeskContext& desk, const Subjects& s) {
         return ListRows(desk, {0, std::nullopt, s.month_from, s.month_to});
       }},
      {"order list, next page",
       [](DeskContext& desk, const Subjects&) {
         kvt::host::OrderList list = kvt::host::ReadOrderList(*desk.connection, kCompany, {});
         kvt::host::ReadMoreOrders(*desk.connection, kCompany, {}, list);
         return list.order_ids.size();
       }},
      {"a 200-line order",
       [](DeskContext& desk, const Subjects& s) {
         kvt::host::OrderSession session(desk);
         session.Open(s.long_order);
         const size_t rows = session.LinesGrid().rows.size();
         session.Totals();
         return rows;
       }},
      {"goods received, busy supplier",
       [](DeskContext& desk, const Subjects&) {
         VoucherSession session(HostOf(desk), posting::kGoodsReceived);
         session.ChooseSupplier(kBusySupplier);
         return static_cast<size_t>(session.Sources()->RecordCount());
       }},
      {"outstanding lines of an order",
       [](DeskContext& desk, const Subjects&) {
         VoucherSession session(HostOf(desk), posting::kGoodsReceived);
         session.ChooseSupplier(kBusySupplier);
         auto sources = session.Sources();
         session.ChooseSource(vb::CLng(sources->Item("ID").Value()));
         return static_cast<size_t>(session.SourceLines().RecordCount());
       }},
      {"received vouchers of a supplier",
       [](DeskContext& desk, const Subjects&) {
         VoucherSession session(HostOf(desk), posting::kGoodsReturned);
         session.ChooseSupplier(kBusySupplier);
         return static_cast<size_t>(session.Sources()->RecordCount());
       }},
      {"consignment lines",
       [](DeskContext& desk, const Subjects& s) {
         VoucherSession session(HostOf(desk), posting::kConsignmentReturned);
         session.ChooseSupplier(s.consignment_supplier);
         session.ChooseSource(s.consignment);
         return static_cast<size_t>(session.SourceLines().RecordCount());
       }},
      {"audit page",
       [](DeskContext& desk, const Subjects&) {
         kvt::host::AuditList audit(*desk.connection);
         audit.Search({});
         return audit.Table().rows.size();
       }},
      {"a voucher's document",
       [](DeskContext& desk, const Subjects& s) {
         auto output = std::make_shared<CountingOutput>();
         kvt::report::ScopedOutput scoped(output);
         VoucherSession session(HostOf(desk), posting::kGoodsReceived);
         session.ChooseSupplier(s.voucher_supplier);
         session.Print(s.voucher);
         return output->pages;
       }},
  };
}

std::vector<Screen> Screens() {
  std::vector<Screen> screens;
  for (Screen& screen : AllScreens()) {
    if (std::string(screen.name).find(only) != std::string::npos) screens.push_back(screen);
  }
  return screens;
}

double SummaryMs(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return fastest ? times.front() : times[times.size() / 2];
}

std::string Ms(double ms) { return vb::PlainText(vb::RoundHalfEven(ms, ms < 10 ? 2 : 1)); }

// One database's column: each screen's median time, and how much it showed.
std::vector<std::pair<double, size_t>> Measure(const Database& database, int runs) {
  {
    // What the host adds on opening a database an earlier build made.
    auto connection =
        kvt::services::OpenConnection(kvt::services::ParseConnectionText(database.connection_text));
    kvt::db::RefreshProcedureCatalogue(*connection);
    kvt::db::AddOrdersToCome(*connection);
    kvt::db::AddListIndexes(*connection);
  }
  // The desk keeps its connections for as long as its window is open
  // (--fresh-connections: a new connection for every query, as before).
  std::optional<kvt::services::ScopedConnectionReuse> reuse;
  if (!fresh_connections) reuse.emplace();
  DeskContext desk =
      kvt::host::OpenDesk(database.connection_text, "", kCompany, kvt::db::kDemoDatabaseName);
  const Subjects subjects = FindSubjects(*desk.connection);
  std::vector<std::pair<double, size_t>> column;
  for (const Screen& screen : Screens()) {
    std::vector<double> times;
    size_t shown = 0;
    for (int run = 0; run <= runs; ++run) {
      kvt::component::ResetThreadStore();
      const auto started = Clock::now();
      shown = screen.show(desk, subjects);
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
      if (run > 0) times.push_back(ms);
    }
    column.emplace_back(SummaryMs(times), shown);
  }
  return column;
}

std::string ConnectionTextOf(const std::string& source) {
  if (source.rfind("pg:", 0) != 0) return kvt::db::ConnectionTextFor(source);
  const char* server = std::getenv("KVT_TEST_POSTGRES");
  if (server == nullptr) {
    throw vb::Error(vb::err::kInvalidCall, "screens_bench",
                    "pg:SCHEMA needs the server in KVT_TEST_POSTGRES");
  }
  return std::string("Provider=PostgreSQL;") + server + ";Database=kvt;Schema=" + source.substr(3);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::vector<Database> databases;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--fresh-connections") {
      fresh_connections = true;
      continue;
    }
    if (arg == "--fastest") {
      fastest = true;
      continue;
    }
    if (arg == "--only" && i + 1 < argc) {
      only = argv[++i];
      continue;
    }
    if (arg == "--runs" && i + 1 < argc) {
      runs = static_cast<int>(vb::ReadPlainInteger(argv[++i]).value_or(0));
      continue;
    }
    const size_t equals = arg.find('=');
    if (equals == std::string::npos || runs < 1) {
      std::cerr << "usage: screens_bench [--runs N] LABEL=DATABASE ... (DATABASE: an SQLite "
                   "file, or pg:SCHEMA on the server in KVT_TEST_POSTGRES)\n";
      return 2;
    }
    databases.push_back({arg.substr(0, equals), arg.substr(equals + 1)});
  }
  if (databases.empty()) {
    std::cerr << "usage: screens_bench [--runs N] LABEL=DATABASE ...\n";
    return 2;
  }
  std::vector<std::vector<std::pair<double, size_t>>> columns;
  try {
    for (Database& database : databases) {
      database.connection_text = ConnectionTextOf(database.connection_text);
      columns.push_back(Measure(database, runs));
    }
  } catch (const vb::Error& error) {
    std::cerr << "screens_bench: " << error.description() << " (" << error.context() << ")\n";
    return 1;
  }
  const std::vector<Screen> screens = Screens();
  std::cout << "| screen (" << (fastest ? "fastest" : "median") << " of " << runs << ", ms) |";
  for (const Database& database : databases) std::cout << " " << database.label << " |";
  for (size_t pair = 1; pair < databases.size(); pair += 2) {
    std::cout << " " << databases[pair].label << " / " << databases[pair - 1].label << " |";
  }
  std::cout << "\n|---|";
  for (size_t i = 0; i < databases.size() + databases.size() / 2; ++i) std::cout << "---|";
  std::cout << "\n";
  for (size_t s = 0; s < screens.size(); ++s) {
    std::cout << "| " << screens[s].name << " |";
    for (const auto& column : columns) {
      std::cout << " " << Ms(column[s].first) << " (" << column[s].second << ") |";
    }
    for (size_t pair = 1; pair < columns.size(); pair += 2) {
      std::cout << " " << Ms(columns[pair][s].first / columns[pair - 1][s].first) << " |";
    }
    std::cout << "\n";
  }
  std::cout << "(in brackets: the rows, lines or pages the screen showed)\n";
  return 0;
}
