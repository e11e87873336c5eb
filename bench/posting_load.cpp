// Load test of the voucher posting: clerk processes post 50-line goods
// received vouchers against the same orders at once, for a fixed time, and
// then the books are checked. Not a unit test and not run in CI:
// scripts/load-test.sh runs it on SQLite and on a throwaway server.
//
//   posting_load [--db PATH|CONNECTION-TEXT] [--clerks 8] [--seconds 30]
//                [--warmup 10] [--orders 20] [--lines 50]
//                [--route function|statements]
//
// Without --db the database is the connection text in KVT_LOAD_DB (so that
// a server's password stays off the command line). An SQLite path must not
// exist yet: the demo database is made there. On a server, the
// connection's schema is rebuilt with the demo data. Prints
// vouchers per second and the p50 and p99 posting latency of the timed run,
// which follows --warmup seconds of the same load (0: none); exits 1 when a
// clerk failed or the books do not add up, 2 on bad arguments. --route
// statements posts on a server statement by statement from the host, as
// before the server's posting function, to compare the two in one run.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "apps/kvt-host/posting/post_voucher.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "platform/value/number_text.h"
#include "services/connection_text.h"

namespace {

using Clock = std::chrono::steady_clock;
using kvt::data::Connection;

constexpr int32_t kFirstOrder = 1001;
constexpr int32_t kFirstProduct = 1001;
constexpr int32_t kProducts = 100;  // orders share the catalogue's products
constexpr int32_t kCompany = 1;
constexpr int32_t kSupplier = 1;

struct Settings {
  std::string connection_text;
  int clerks = 8;
  int seconds = 30;
  int orders = 20;
  int lines = 50;
  int warmup = 10;      // seconds, not timed
  std::string run_tag;  // in the run's document numbers, unique per run
  kvt::posting::PostingRoute route = kvt::posting::PostingRoute::kServerFunction;
};

int32_t LineId(int order, int line) { return (kFirstOrder + order) * 1000 + line; }

int32_t ProductOf(int order, int line) { return kFirstProduct + (order * 13 + line) % kProducts; }

// The orders the clerks receive against, with more ordered than any run
// receives, and their products.
void AddLoadOrders(Connection& connection, const Settings& settings) {
  connection.RunInTransaction([&] {
    for (int32_t p = 0; p < kProducts; ++p) {
      connection.Execute(
          "INSERT INTO Products (ID, CompanyID, Code, Description, "
          "StockOnHand, ConsignmentStock) VALUES (?1, ?2, ?3, ?4, 0, 0)",
          {vb::Variant(kFirstProduct + p), vb::Variant(kCompany),
           vb::Variant("LD-" + vb::ZeroPadded(p, 3)),
           vb::Variant("Load test product " + std::to_string(p))});
    }
    for (int o = 0; o < settings.orders; ++o) {
      connection.Execute(
          "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, "
          "DateOrdered, Status) VALUES (?1, ?2, ?3, ?4, ?5, 1)",
          {vb::Variant(kFirstOrder + o), vb::Variant(kCompany), vb::Variant(kSupplier),
           vb::Variant("PL" + vb::ZeroPadded(kFirstOrder + o, 6)), vb::Variant(vb::Date::Today())});
      for (int k = 0; k < settings.lines; ++k) {
        connection.Execute(
            "INSERT INTO PurchaseOrderDetails (ID, PurchaseOrderID, "
            "ProductID, Qty, BOQty, QtyReceived, UnitPrice) VALUES (?1, ?2, "
            "?3, 1000000000, 0, 0, 10.00)",
            {vb::Variant(LineId(o, k)), vb::Variant(kFirstOrder + o),
             vb::Variant(ProductOf(o, k))});
      }
    }
  });
}

// What one clerk did: counts, each posted voucher's latency, and the
// quantity its posted vouchers received on each order line.
struct Tally {
  int64_t posted = 0;
  int64_t refused = 0;
  int64_t failed = 0;
  std::vector<int64_t> latencies_us;
  std::vector<double> received;  // by order * lines + line
};

// `document`: the supplier's invoice number, booked once per supplier.
kvt::posting::Voucher MakeVoucher(const Settings& settings, int order,
                                  const std::vector<double>& qty, const std::string& document) {
  kvt::posting::Voucher voucher;
  voucher.company_id = kCompany;
  voucher.supplier_id = kSupplier;
  voucher.purchase_order_id = kFirstOrder + order;
  voucher.period_month = 11;
  voucher.period_year_key = 7;
  voucher.user_id = 2;
  voucher.create_supplier_document = true;
  voucher.supplier_document_number = document;
  auto rows = std::make_shared<kvt::data::RecordSet>();
  for (const char* name :
       {"FK ID", "ProductsID", "Qty", "Unit Price", "Trade Disc", "Rebate Disc", "Other Disc",
        "Net Amount", "Tax_Codes_ID", "Tax Amount", "Total Cost"}) {
    rows->Fields().Append(name, kvt::data::DataType::kVariant);
  }
  rows->Open();
  const vb::Currency price = vb::Currency::FromRaw(100000);  // 10.00
  for (int k = 0; k < settings.lines; ++k) {
    const vb::Currency net = price * vb::Currency::FromInt(static_cast<int64_t>(qty[k]));
    rows->AddNew();
    const vb::Variant values[] = {vb::Variant(LineId(order, k)),
                                  vb::Variant(ProductOf(order, k)),
                                  vb::Variant(qty[k]),
                                  vb::Variant(price),
                                  vb::Variant(vb::Currency()),
                                  vb::Variant(vb::Currency()),
                                  vb::Variant(vb::Currency()),
                                  vb::Variant(net),
                                  vb::Variant(),
                                  vb::Variant(vb::Currency()),
                                  vb::Variant(net)};
    for (int i = 0; i < rows->Fields().Count(); ++i) {
      rows->Item(i).Value(values[i]);
    }
    rows->Update();
  }
  voucher.lines = rows;
  return voucher;
}

// One clerk: posts vouchers for `seconds` from when it is told to start,
// each against an order picked at random, 1 to 3 units a line.
Tally RunClerk(const Settings& settings, int clerk, int ready_fd, int go_fd) {
  auto connection =
      kvt::services::OpenConnection(kvt::services::ParseConnectionText(settings.connection_text));
  char byte = 'r';
  if (write(ready_fd, &byte, 1) != 1 || read(go_fd, &byte, 1) != 1) {
    throw vb::Error(vb::err::kInternalError, "posting_load", "no start");
  }
  Tally tally;
  tally.received.assign(static_cast<size_t>(settings.orders * settings.lines), 0);
  std::mt19937 pick(static_cast<uint32_t>(clerk + 1));
  const Clock::time_point end = Clock::now() + std::chrono::seconds(settings.seconds);
  std::vector<double> qty(static_cast<size_t>(settings.lines));
  while (Clock::now() < end) {
    const int order = static_cast<int>(pick() % settings.orders);
    for (double& q : qty) q = 1 + static_cast<double>(pick() % 3);
    const kvt::posting::Voucher voucher =
        MakeVoucher(settings, order, qty,
                    "INV-L" + settings.run_tag + std::to_string(clerk) + "-" +
                        std::to_string(tally.posted + tally.refused + tally.failed));
    const Clock::time_point start = Clock::now();
    try {
      kvt::posting::PostVoucher(*connection, voucher, 3, settings.route);
    } catch (const vb::Error& error) {
      ++(error.number() == kvt::posting::kPostingRefused ? tally.refused : tally.failed);
      std::cerr << "clerk " + std::to_string(clerk) + ": " + error.description() + "\n";
      continue;
    }
    tally.latencies_us.push_back(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
    ++tally.posted;
    for (int k = 0; k < settings.lines; ++k) {
      tally.received[static_cast<size_t>(order * settings.lines + k)] += qty[k];
    }
  }
  return tally;
}

// A clerk's tally through a pipe, as raw bytes: `io` is read or write.
template <class Io, class Byte>
bool Transfer(Io io, int fd, Byte* bytes, size_t size) {
  while (size > 0) {
    const ssize_t done = io(fd, bytes, size);
    if (done <= 0) return false;
    bytes += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

template <class T>
bool WriteAll(int fd, const T* data, size_t count) {
  return Transfer(write, fd, reinterpret_cast<const char*>(data), count * sizeof(T));
}

template <class T>
bool ReadAll(int fd, T* data, size_t count) {
  return Transfer(read, fd, reinterpret_cast<char*>(data), count * sizeof(T));
}

bool SendTally(int fd, const Tally& tally) {
  const int64_t head[] = {tally.posted, tally.refused, tally.failed,
                          static_cast<int64_t>(tally.latencies_us.size())};
  return WriteAll(fd, head, 4) &&
         WriteAll(fd, tally.latencies_us.data(), tally.latencies_us.size()) &&
         WriteAll(fd, tally.received.data(), tally.received.size());
}

bool ReceiveTally(int fd, size_t lines, Tally& tally) {
  int64_t head[4];
  if (!ReadAll(fd, head, 4)) return false;
  tally.posted = head[0];
  tally.refused = head[1];
  tally.failed = head[2];
  tally.latencies_us.resize(static_cast<size_t>(head[3]));
  tally.received.resize(lines);
  return ReadAll(fd, tally.latencies_us.data(), tally.latencies_us.size()) &&
         ReadAll(fd, tally.received.data(), lines);
}

// The clerks as processes of their own, started together; their tallies
// summed. False when one of them did not come back whole.
bool RunClerks(const Settings& settings, Tally& total, double& seconds) {
  int ready[2], go[2];
  if (pipe(ready) != 0 || pipe(go) != 0) return false;
  std::vector<std::pair<pid_t, int>> clerks;  // pid, tally pipe
  for (int c = 0; c < settings.clerks; ++c) {
    int out[2];
    if (pipe(out) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
      close(out[0]);
      int status = 1;
      try {
        status = SendTally(out[1], RunClerk(settings, c, ready[1], go[0])) ? 0 : 1;
      } catch (const vb::Error& error) {
        std::cerr << "clerk " + std::to_string(c) + ": " + error.description() + "\n";
      }
      std::cerr.flush();
      _exit(status);
    }
    close(out[1]);
    clerks.emplace_back(pid, out[0]);
  }
  bool whole = true;
  char byte = 0;
  for (int c = 0; c < settings.clerks; ++c) {
    whole = whole && read(ready[0], &byte, 1) == 1;
  }
  const Clock::time_point start = Clock::now();
  for (int c = 0; c < settings.clerks; ++c) {
    whole = whole && write(go[1], "g", 1) == 1;
  }
  total.received.assign(static_cast<size_t>(settings.orders * settings.lines), 0);
  for (const auto& [pid, fd] : clerks) {
    Tally tally;
    whole = ReceiveTally(fd, total.received.size(), tally) && whole;
    close(fd);
    int status = 0;
    whole =
        waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && whole;
    total.posted += tally.posted;
    total.refused += tally.refused;
    total.failed += tally.failed;
    total.latencies_us.insert(total.latencies_us.end(), tally.latencies_us.begin(),
                              tally.latencies_us.end());
    for (size_t i = 0; i < tally.received.size(); ++i) {
      total.received[i] += tally.received[i];
    }
  }
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
  return whole;
}

std::string Figure(double value, int decimals) {
  return vb::PlainText(vb::RoundHalfEven(value, decimals));
}

// The latency that `quantile` of the postings stayed within (nearest rank).
std::string Millis(const std::vector<int64_t>& sorted_us, double quantile) {
  if (sorted_us.empty()) return "-";
  const double count = static_cast<double>(sorted_us.size());
  const size_t rank = static_cast<size_t>(std::max(1.0, std::ceil(quantile * count))) - 1;
  return Figure(static_cast<double>(sorted_us[rank]) / 1000.0, 1) + " ms";
}

// The last number of the company's goods received voucher series.
int64_t LastVoucherNumber(Connection& connection) {
  auto rows =
      connection.Query("SELECT VoucherNumber FROM GRVs WHERE CompanyID = ?1 AND TranTypeID = 19",
                       {vb::Variant(kCompany)});
  int64_t last = 0;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    const std::string number = vb::CStr(rows->Item(0).Value());
    last = std::max(last, vb::ReadPlainInteger(number.substr(3)).value_or(0));
  }
  return last;
}

// What the books must show after the run; each breach is one line of text.
std::vector<std::string> CheckBooks(Connection& connection, const Settings& settings,
                                    const Tally& total, int64_t last_before) {
  std::vector<std::string> breaches = kvt::posting::StockInvariantBreaches(connection);
  auto lines = connection.Query(
      "SELECT ID, QtyReceived FROM PurchaseOrderDetails WHERE ID >= ?1 AND "
      "ID <= ?2 ORDER BY ID",
      {vb::Variant(LineId(0, 0)), vb::Variant(LineId(settings.orders - 1, settings.lines - 1))});
  for (; !lines->IsEOF(); lines->MoveNext()) {
    const int32_t id = vb::CLng(lines->Item(0).Value());
    const int order = id / 1000 - kFirstOrder, line = id % 1000;
    const double posted = total.received[static_cast<size_t>(order * settings.lines + line)];
    const double received = vb::CDbl(lines->Item(1).Value());
    if (received != posted) {
      breaches.push_back("order line " + std::to_string(id) + ": received " +
                         vb::PlainText(received) + ", clerks posted " + vb::PlainText(posted));
    }
  }
  // The run's numbers follow the last one before it, each once, no gaps.
  auto numbers = connection.Query(
      "SELECT VoucherNumber FROM GRVs WHERE PurchaseOrderID >= ?1 AND "
      "PurchaseOrderID < ?2",
      {vb::Variant(kFirstOrder), vb::Variant(kFirstOrder + settings.orders)});
  std::vector<int64_t> seen;
  for (; !numbers->IsEOF(); numbers->MoveNext()) {
    const std::string number = vb::CStr(numbers->Item(0).Value());
    seen.push_back(vb::ReadPlainInteger(number.substr(3)).value_or(-1));
  }
  std::sort(seen.begin(), seen.end());
  for (size_t i = 0; i < seen.size(); ++i) {
    if (seen[i] != last_before + 1 + static_cast<int64_t>(i)) {
      breaches.push_back("voucher numbers: GRV" + vb::ZeroPadded(seen[i], 6) + " where GRV" +
                         vb::ZeroPadded(last_before + 1 + static_cast<int64_t>(i), 6) + " was due");
      break;
    }
  }
  if (static_cast<int64_t>(seen.size()) != total.posted) {
    breaches.push_back(std::to_string(seen.size()) + " vouchers in the books, " +
                       std::to_string(total.posted) + " posted by the clerks");
  }
  return breaches;
}

bool ReadSettings(int argc, char** argv, Settings& settings) {
  if (const char* text = std::getenv("KVT_LOAD_DB")) {
    settings.connection_text = kvt::db::DatabaseConnectionText(text);
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const std::string value = argv[i + 1];
    if (key == "--route" && (value == "function" || value == "statements")) {
      settings.route = value == "function" ? kvt::posting::PostingRoute::kServerFunction
                                           : kvt::posting::PostingRoute::kStatements;
      continue;
    }
    if (key == "--db") {
      settings.connection_text = kvt::db::DatabaseConnectionText(value);
      continue;
    }
    const auto number = vb::ReadPlainInteger(value);
    if (!number || *number < (key == "--warmup" ? 0 : 1) || *number > 100000) return false;
    int* slot = key == "--clerks"    ? &settings.clerks
                : key == "--seconds" ? &settings.seconds
                : key == "--warmup"  ? &settings.warmup
                : key == "--orders"  ? &settings.orders
                : key == "--lines"   ? &settings.lines
                                     : nullptr;
    if (slot == nullptr) return false;
    *slot = static_cast<int>(*number);
  }
  return argc % 2 == 1 && !settings.connection_text.empty() && settings.orders <= 999 &&
         settings.lines <= 999;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ReadSettings(argc, argv, settings)) {
    std::cerr << "usage: posting_load [--db PATH|CONNECTION-TEXT] [--clerks N] "
                 "[--seconds N] [--warmup N] [--orders N] [--lines N] "
                 "[--route function|statements]\n"
                 "(without --db: the connection text in KVT_LOAD_DB)\n";
    return 2;
  }
  try {
    const auto target = kvt::services::ParseConnectionText(settings.connection_text);
    const std::string backend = kvt::data::BackendName(target.backend);
    if (target.backend == kvt::data::Backend::kSQLite) {
      kvt::db::CreateDemoDatabase(target.path);
    } else {
      kvt::db::BuildDatabase(*kvt::services::OpenConnection(target), true);
    }
    int64_t last_before = 0;
    {
      auto connection = kvt::services::OpenConnection(target);
      AddLoadOrders(*connection, settings);
      last_before = LastVoucherNumber(*connection);
    }  // closed before the clerks fork
    // A warm-up first, then the tables analysed as a live server's would
    // be: sessions planned on the demo's few vouchers scan the tables they
    // check while the run grows them to thousands, which measures a cold
    // start, not posting. The timed clerks are new sessions.
    Tally warm;
    double seconds = 0;
    bool whole = true;
    if (settings.warmup > 0) {
      Settings warmup = settings;
      warmup.seconds = settings.warmup;
      warmup.run_tag = "W";
      whole = RunClerks(warmup, warm, seconds);
      kvt::services::OpenConnection(target)->ExecuteScript("ANALYZE");
    }
    Tally total;
    whole = RunClerks(settings, total, seconds) && whole;
    std::sort(total.latencies_us.begin(), total.latencies_us.end());
    using std::to_string;
    std::cout << backend + ": " + to_string(settings.clerks) + " clerks, " +
                     to_string(settings.seconds) + " s, " + to_string(settings.lines) +
                     "-line vouchers on " + to_string(settings.orders) + " orders" +
                     (settings.route == kvt::posting::PostingRoute::kStatements
                          ? ", statement by statement"
                          : "") +
                     "\n  posted " + to_string(total.posted) + " vouchers (" +
                     to_string(total.refused) + " refused, " + to_string(total.failed) +
                     " failed): " + Figure(static_cast<double>(total.posted) / seconds, 1) +
                     " vouchers/s\n" + "  posting latency p50 " + Millis(total.latencies_us, 0.50) +
                     ", p99 " + Millis(total.latencies_us, 0.99) + "\n";
    auto connection = kvt::services::OpenConnection(target);
    // The books hold what both runs posted.
    Tally booked = total;
    booked.posted += warm.posted;
    for (size_t i = 0; i < warm.received.size(); ++i) booked.received[i] += warm.received[i];
    const std::vector<std::string> breaches =
        CheckBooks(*connection, settings, booked, last_before);
    for (const std::string& breach : breaches) {
      std::cout << "  BREACH " << breach << "\n";
    }
    const bool ok = whole && breaches.empty() && total.failed + warm.failed == 0 &&
                    total.refused + warm.refused == 0 && total.posted > 0;
    std::cout << "  books " + std::string(ok ? "consistent" : "NOT consistent") +
                     ": received = posted voucher lines on " +
                     std::to_string(settings.orders * settings.lines) +
                     " order lines, none over-received, stock = movements, " +
                     std::to_string(booked.posted) + " voucher numbers without gaps\n";
    if (target.backend == kvt::data::Backend::kPostgreSQL) {
      // Each one cost a clerk the server's deadlock timeout and a rerun.
      std::cout << "  deadlocks the server broke: " +
                       vb::CStr(connection
                                    ->Query("SELECT deadlocks FROM "
                                            "pg_stat_database WHERE datname = "
                                            "current_database()")
                                    ->Item(0)
                                    .Value()) +
                       "\n";
    }
    if (!whole) std::cout << "  a clerk did not finish (see above)\n";
    return ok ? 0 : 1;
  } catch (const vb::Error& error) {
    std::cerr << "posting_load: " << error.description() << " (" << error.context() << ")\n";
    return 1;
  }
}
