// Years of a busy wholesaler's purchasing on top of the demo data: 2,000
// suppliers, 20,000 products and, per year, about 25,000 orders of ten lines
// on average, received on one voucher or two, a quarter of the receipts
// partly returned, consignment stock received, sold off and returned, the
// supplier documents, stock movements and audit rows all of that leaves.
// Set-based: a few INSERT ... SELECT statements in one transaction, over
// helper tables of days and orders, so the same text runs on both backends.
//
//   make_history --years N [--check] (--db PATH | KVT_HISTORY_DB=connection text)
//
// An SQLite path must not exist yet; a server's schema is rebuilt. The
// catalogue and suppliers are the same whatever the years, so that one year
// and ten differ only by their history. --check runs the books' checks
// afterwards. Not run in CI: scripts/make-history.sh.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "apps/kvt-host/posting/stock_invariants.h"
#include "db/books_checks.h"
#include "db/demo_database.h"
#include "db/embedded_sql.h"
#include "db/orders_to_come.h"
#include "db/portable_script.h"
#include "platform/value/conversions.h"
#include "platform/value/date.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "services/connection_text.h"

namespace {

using kvt::data::Backend;
using kvt::data::Connection;
using Clock = std::chrono::steady_clock;

constexpr int kOrdersPerYear = 25000;
constexpr int kSuppliers = 2000;
constexpr int kProducts = 20000;
constexpr int kFirstOrder = 10001;
// The history ends on the last day before the demo's current period ends.
constexpr int kEndYear = 2026, kEndMonth = 11, kEndDay = 30;

struct Settings {
  std::string connection_text;
  int years = 0;
  bool check = false;
};

// Orders per day: busier before the holidays, quiet in January, nothing on
// Sundays and little on Saturdays.
double DayWeight(const vb::Date& day) {
  static constexpr double kMonth[] = {0.7, 0.9, 1.0, 1.0, 1.1, 1.0, 0.9, 1.0, 1.1, 1.2, 1.3, 0.8};
  const int weekday = static_cast<int>(day.serial()) % 7;  // 0: Saturday (serial 0 was one)
  const double week = weekday == 1 ? 0.0 : weekday == 0 ? 0.3 : 1.0;
  return kMonth[day.Month() - 1] * week;
}

std::string Num(int64_t value) { return std::to_string(value); }

// The year keys of `first`..`last`, adding the years the table lacks.
std::map<int, int32_t> YearKeys(Connection& connection, int first, int last) {
  std::map<int, int32_t> keys;
  for (int year = first; year <= last; ++year) {
    auto found = connection.Query("SELECT ID FROM Years WHERE Years = ?1", {vb::Variant(year)});
    if (found->IsEOF()) {
      const int32_t key =
          vb::CLng(connection.Query("SELECT COALESCE(MAX(ID), 0) + 1 FROM Years")->Item(0).Value());
      connection.Execute("INSERT INTO Years (ID, Years) VALUES (?1, ?2)",
                         {vb::Variant(key), vb::Variant(year)});
      keys[year] = key;
    } else {
      keys[year] = vb::CLng(found->Item(0).Value());
    }
  }
  return keys;
}

// One row per day of the history: its date, the times its audit rows
// carry, its period and the orders placed on it (IDs first_order..).
int FillDays(Connection& connection, int years) {
  const vb::Date end = vb::Date::FromYmd(kEndYear, kEndMonth, kEndDay);
  const int days = 365 * years;
  std::vector<vb::Date> dates;
  double total = 0;
  for (int d = 0; d < days; ++d) {
    dates.push_back(vb::Date::FromSerial(end.serial() - (days - 1 - d)));
    total += DayWeight(dates.back());
  }
  const std::map<int, int32_t> keys = YearKeys(connection, dates.front().Year(), kEndYear);
  const double per_weight = static_cast<double>(kOrdersPerYear) * years / total;
  double owed = 0;
  int next_order = kFirstOrder;
  for (int d = 0; d < days; ++d) {
    const vb::Date& day = dates[static_cast<size_t>(d)];
    owed += DayWeight(day) * per_weight;
    const int orders = static_cast<int>(owed);
    owed -= orders;
    const auto at = [&](int hour) {
      return vb::Date::FromYmdHms(day.Year(), day.Month(), day.Day(), hour, d % 60, 0);
    };
    connection.Execute(
        "INSERT INTO h_day (d, day, morning, afternoon, month, year_key, orders, first_order) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
        {vb::Variant(d), vb::Variant(day), vb::Variant(at(9)), vb::Variant(at(15)),
         vb::Variant(day.Month()), vb::Variant(keys.at(day.Year())), vb::Variant(orders),
         vb::Variant(next_order)});
    next_order += orders;
  }
  return days;
}

// The last number of each voucher series, so the history's continue them.
std::map<int, int64_t> LastNumbers(Connection& connection) {
  std::map<int, int64_t> last;
  for (int type : {19, 20, 31, 32}) {
    auto rows = connection.Query("SELECT VoucherNumber FROM GRVs WHERE TranTypeID = ?1",
                                 {vb::Variant(type)});
    int64_t highest = 0;
    for (; !rows->IsEOF(); rows->MoveNext()) {
      const std::string number = vb::CStr(rows->Item(0).Value());
      highest = std::max(highest, vb::ReadPlainInteger(number.substr(3)).value_or(0));
    }
    last[type] = highest;
  }
  return last;
}

struct Step {
  const char* what;
  std::string sql;
};

// The statements, in order. `last_day` is the history's last day index.
std::vector<Step> Steps(int last_day, const std::map<int, int64_t>& last_numbers) {
  const std::string end = Num(last_day);
  // A day index no later than the history's end.
  const auto clamp = [&](const std::string& day) {
    return "CASE WHEN " + day + " > " + end + " THEN " + end + " ELSE " + day + " END";
  };
  const std::string numbered =
      "CASE v.type WHEN 19 THEN 'GRV' WHEN 20 THEN 'GRN' WHEN 31 THEN 'CRV' ELSE 'CRN' END || "
      "SUBSTR(CAST(1000000 + CASE v.type WHEN 19 THEN " +
      Num(last_numbers.at(19)) + " WHEN 20 THEN " + Num(last_numbers.at(20)) + " WHEN 31 THEN " +
      Num(last_numbers.at(31)) + " ELSE " + Num(last_numbers.at(32)) +
      " END + ROW_NUMBER() OVER (PARTITION BY v.type ORDER BY v.d, v.id) AS TEXT), 2)";
  return {
      {"suppliers",
       "INSERT INTO Suppliers (ID, CompanyID, Code, Name, PostBox, PostOffice, PostCode, TelNo, "
       "TaxNo, Rep) SELECT 100 + n, 1, 'SUP' || CAST(10000 + n AS TEXT), 'Supplier ' || "
       "CAST(n AS TEXT) || ' Trading', 'PO Box ' || CAST(n AS TEXT), 'Bellville', '7530', "
       "'021 555 ' || CAST(1000 + n AS TEXT), '4' || CAST(100000000 + n AS TEXT), "
       "'Rep ' || CAST(n % 97 AS TEXT) FROM h_seq WHERE n <= " +
           Num(kSuppliers)},
      {"products",
       "INSERT INTO Products (ID, CompanyID, Code, Description, Price1, Price2, LeadTime, "
       "ServiceLevel, StockOnHand, ConsignmentStock, StockReserved, QtyOnOrder, OrdersPending, "
       "ShoppingListQty, LastCost, TaxCodesID) SELECT 10000 + n, 1, 'P' || CAST(100000 + n AS "
       "TEXT), 'Catalogue item ' || CAST(n AS TEXT), price * 1.4, price * 1.3, 7, 95, 0, 0, 0, "
       "0, 0, 0, price, 1 FROM (SELECT n, 2.50 + ((n * 37) % 400) * 1.25 AS price FROM h_seq "
       "WHERE n <= " +
           Num(kProducts) + ") x"},
      // What each order is: h a hash of its ID; kind < 8 consignment; recv 0
      // nothing received, 1 the first part only, 2 both parts, 3 all at once.
      {"orders to make",
       "INSERT INTO h_order (id, d, h, supplier, nlines, lead, cons, status, recv) "
       "SELECT id, d, h, CASE WHEN h % 10 < 3 THEN 101 + h2 % 20 ELSE 101 + h2 % " +
           Num(kSuppliers) +
           " END, nlines, 2 + h2 % 12, CASE WHEN kind < 8 THEN 1 ELSE 0 END, "
           "CASE WHEN age < 45 AND kind % 10 = 0 THEN 0 "
           "WHEN age >= 45 AND kind BETWEEN 90 AND 93 THEN 2 "
           "WHEN age >= 45 AND kind BETWEEN 94 AND 96 THEN 3 ELSE 1 END, "
           "CASE WHEN age < 45 AND kind % 10 <= 3 THEN 0 "
           "WHEN age >= 45 AND kind BETWEEN 94 AND 96 THEN 0 "
           "WHEN nlines < 2 THEN 3 "
           "WHEN age >= 45 AND kind BETWEEN 90 AND 93 THEN 1 "
           "WHEN age < 45 AND kind % 10 <= 5 THEN 1 "
           "WHEN h % 10 < 4 THEN 2 ELSE 3 END "
           "FROM (SELECT id, d, age, h, h2, kind, CASE WHEN id % 1000 = 500 THEN 200 "
           "ELSE 1 + h % 19 END AS nlines FROM (SELECT dy.first_order + s.n - 1 AS id, "
           "dy.d, " +
           end +
           " - dy.d AS age, ((dy.first_order + s.n - 1) * 4391) % 10007 AS h, "
           "((dy.first_order + s.n - 1) * 2741 + 17) % 9973 AS h2, "
           "((dy.first_order + s.n - 1) * 1913 + 5) % 100 AS kind "
           "FROM h_day dy JOIN h_seq s ON s.n <= dy.orders) x) y"},
      {"orders",
       "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, DateOrdered, "
       "Status, OurRef, SuppRef, DelName, DelAddr1, DelAddr2, DelAddr3, DelPostCode, "
       "RowVersion, ChangedBy, ChangedAt, EndedBy, EndedAt) SELECT o.id, 1, o.supplier, "
       "'PO' || CAST(90000 + o.id AS TEXT), dy.day, o.status, 'KH-' || CAST(o.id AS TEXT), "
       "'S-' || CAST(o.h AS TEXT), 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', "
       "'Cape Town', '7530', 1, 'dana', dy.morning, CASE WHEN o.status >= 2 THEN 'dana' END, "
       "CASE WHEN o.status >= 2 THEN dy.afternoon END "
       "FROM h_order o JOIN h_day dy ON dy.d = o.d"},
      {"order lines",
       "INSERT INTO PurchaseOrderDetails (ID, PurchaseOrderID, ProductID, LeadTime, Qty, "
       "BOQty, FreeQty, QtyReceived, UnitPrice, TradeDiscountFormulaID, TradeDisc, "
       "RebateFormulaID, RebateDisc, OtherDiscountFormulaID, OtherDisc, NetAmount, TaxCodesID, "
       "Tax, TotalCost) SELECT id, order_id, product, 7, qty, 0, 0, received, price, 1, trade, "
       "1, 0, 1, 0, net, 1, ROUND(net * 0.15, 2), net + ROUND(net * 0.15, 2) FROM ("
       "SELECT id, order_id, product, qty, received, price, trade, "
       "ROUND(qty * price - trade, 2) AS net FROM ("
       "SELECT id, order_id, product, qty, received, price, CASE WHEN product % 3 = 0 THEN "
       "ROUND(qty * price * 0.05, 2) ELSE 0 END AS trade FROM ("
       "SELECT order_id * 256 + n AS id, order_id, product, qty, "
       "CASE WHEN recv >= 2 OR (recv = 1 AND n <= (nlines + 1) / 2) THEN qty "
       "ELSE 0 END AS received, 2.50 + ((product - 10000) * 37 % 400) * 1.25 AS price "
       "FROM (SELECT o.id AS order_id, o.recv, o.nlines, s.n, 10001 + (o.h + s.n * 97) % " +
           Num(kProducts) +
           " AS product, 1 + (o.h + s.n * 13) % 48 AS qty FROM h_order o "
           "JOIN h_seq s ON s.n <= o.nlines) a) b) c) e"},
      // Vouchers: the first part of an order's receipt (ID order * 4), the
      // second (+1), and a return of the first (+2).
      {"vouchers to make",
       "INSERT INTO h_voucher (id, order_id, type, d, supplier, src) "
       "SELECT o.id * 4, o.id, CASE WHEN o.cons = 1 THEN 31 ELSE 19 END, " +
           clamp("o.d + o.lead") +
           ", o.supplier, CAST(NULL AS INTEGER) FROM h_order o WHERE o.recv > 0 "
           "UNION ALL SELECT o.id * 4 + 1, o.id, CASE WHEN o.cons = 1 THEN 31 ELSE 19 END, " +
           clamp("o.d + o.lead + 7 + o.h % 8") +
           ", o.supplier, CAST(NULL AS INTEGER) FROM h_order o WHERE o.recv = 2 "
           "UNION ALL SELECT o.id * 4 + 2, o.id, CASE WHEN o.cons = 1 THEN 32 ELSE 20 END, " +
           clamp("o.d + o.lead + 3") +
           ", o.supplier, o.id * 4 FROM h_order o WHERE o.recv > 0 AND "
           "((o.cons = 0 AND o.h % 4 = 0) OR (o.cons = 1 AND o.h % 3 = 0))"},
      {"vouchers",
       "INSERT INTO GRVs (ID, CompanyID, SupplierID, TranTypeID, VoucherNumber, "
       "PurchaseOrderID, SourceGRVID, DateReceived, DelNoteNumber, OurRef, SuppRef, UserID, "
       "SupplierDocNo, SupplierDocDate, AccPeriodMonth, AccPeriodYearID) SELECT v.id, 1, "
       "v.supplier, v.type, " +
           numbered +
           ", v.order_id, v.src, dy.day, 'DN-' || CAST(v.id AS TEXT), "
           "'KH-' || CAST(v.order_id AS TEXT), NULL, 2, CASE WHEN v.type IN (19, 20) AND "
           "v.id % 10 <> 3 THEN CASE v.type WHEN 19 THEN 'INV-' ELSE 'CN-' END || "
           "CAST(v.id AS TEXT) END, CASE WHEN v.type IN (19, 20) AND v.id % 10 <> 3 THEN "
           "dy.day END, dy.month, dy.year_key FROM h_voucher v JOIN h_day dy ON dy.d = v.d"},
      {"received lines",
       "INSERT INTO GRVDetails (ID, GRVID, SourceLineID, ProductID, Qty, UnitPrice, "
       "TradeDisc, RebateDisc, OtherDisc, NetAmount, TaxCodesID, TaxAmount, TotalCost, "
       "QtyReturned, QtySold, QtyLeft) SELECT d.ID, o.id * 4 + CASE WHEN o.recv = 2 AND "
       "d.ID - o.id * 256 > (o.nlines + 1) / 2 THEN 1 ELSE 0 END, d.ID, d.ProductID, d.Qty, "
       "d.UnitPrice, d.TradeDisc, 0, 0, d.NetAmount, 1, d.Tax, d.TotalCost, 0, 0, "
       "CASE WHEN o.cons = 1 THEN d.Qty END FROM h_order o JOIN PurchaseOrderDetails d ON "
       "d.PurchaseOrderID = o.id WHERE d.QtyReceived > 0"},
      // A return takes one of each of the first two lines back.
      {"returned lines",
       "INSERT INTO GRVDetails (ID, GRVID, SourceLineID, ProductID, Qty, UnitPrice, "
       "TradeDisc, RebateDisc, OtherDisc, NetAmount, TaxCodesID, TaxAmount, TotalCost, "
       "QtyReturned, QtySold, QtyLeft) SELECT id, grv, src, product, 1, price, trade, 0, 0, "
       "net, 1, ROUND(net * 0.15, 2), net + ROUND(net * 0.15, 2), 0, 0, NULL FROM ("
       "SELECT id, grv, src, product, price, trade, ROUND(price - trade, 2) AS net FROM ("
       "SELECT 100000000 + gd.ID AS id, v.id AS grv, gd.ID AS src, gd.ProductID AS product, "
       "gd.UnitPrice AS price, ROUND(gd.TradeDisc / gd.Qty, 2) AS trade FROM h_voucher v "
       "JOIN GRVDetails gd ON gd.GRVID = v.src WHERE v.src IS NOT NULL AND "
       "gd.ID - v.order_id * 256 <= 2) a) b"},
      {"returned quantities",
       "UPDATE GRVDetails SET QtyReturned = 1, QtyLeft = CASE WHEN QtyLeft IS NULL THEN NULL "
       "ELSE QtyLeft - 1 END WHERE ID IN (SELECT SourceLineID FROM GRVDetails WHERE ID > "
       "100000000)"},
      // Consignment stock a month old is mostly sold.
      {"consignment sales",
       "UPDATE GRVDetails SET QtySold = CAST((Qty - QtyReturned) * 0.7 AS INTEGER), "
       "QtyLeft = Qty - QtyReturned - CAST((Qty - QtyReturned) * 0.7 AS INTEGER), SoldOn = "
       "(SELECT dy.day FROM h_voucher v JOIN h_day dy ON dy.d = " +
           clamp("v.d + 20") +
           " WHERE v.id = GRVDetails.GRVID) WHERE GRVID IN (SELECT id FROM h_voucher WHERE "
           "type = 31 AND d < " +
           Num(last_day - 30) + ") AND CAST((Qty - QtyReturned) * 0.7 AS INTEGER) > 0"},
      {"supplier documents",
       "INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType, DocNumber, "
       "DocDate, Amount, AccPeriodMonth, AccPeriodYearID) SELECT g.CompanyID, g.SupplierID, "
       "g.ID, CASE g.TranTypeID WHEN 19 THEN 'Invoice' ELSE 'Credit Note' END, "
       "g.SupplierDocNo, g.SupplierDocDate, (SELECT ROUND(SUM(gd.TotalCost), 2) FROM "
       "GRVDetails gd WHERE gd.GRVID = g.ID), g.AccPeriodMonth, g.AccPeriodYearID FROM "
       "h_voucher v JOIN GRVs g ON g.ID = v.id WHERE g.SupplierDocNo IS NOT NULL ORDER BY g.ID"},
      {"stock movements",
       "INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, MovementType, "
       "GRVID, GRVDetailID, MovementDate, UserID) SELECT g.CompanyID, gd.ProductID, "
       "g.TranTypeID IN (31, 32), CASE WHEN g.TranTypeID IN (20, 32) THEN -gd.Qty ELSE "
       "gd.Qty END, g.TranTypeID, g.ID, gd.ID, g.DateReceived, g.UserID FROM h_voucher v "
       "JOIN GRVs g ON g.ID = v.id JOIN GRVDetails gd ON gd.GRVID = g.ID ORDER BY g.DateReceived, "
       "gd.ID"},
      {"sales movements",
       "INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, MovementType, "
       "GRVID, GRVDetailID, MovementDate, UserID) SELECT 1, gd.ProductID, TRUE, -gd.QtySold, "
       "1, gd.GRVID, gd.ID, gd.SoldOn, 2 FROM h_voucher v JOIN GRVDetails gd ON gd.GRVID = "
       "v.id WHERE v.type = 31 AND gd.QtySold > 0 ORDER BY gd.SoldOn, gd.ID"},
      // What was sold of the owned stock, brought forward once a year.
      {"yearly sales",
       "INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, MovementType, "
       "MovementDate) SELECT 1, ProductID, FALSE, -CAST(owned * 0.95 AS INTEGER), 0, last_day "
       "FROM (SELECT m.ProductID, g.AccPeriodYearID, SUM(m.Qty) AS owned, "
       "MAX(m.MovementDate) AS last_day FROM StockMovements m JOIN GRVs g ON g.ID = m.GRVID "
       "JOIN h_voucher v ON v.id = g.ID WHERE m.Consignment = FALSE GROUP BY m.ProductID, "
       "g.AccPeriodYearID) x WHERE CAST(owned * 0.95 AS INTEGER) > 0"},
      {"stock figures",
       "UPDATE Products SET StockOnHand = COALESCE((SELECT SUM(m.Qty) FROM StockMovements m "
       "WHERE m.ProductID = Products.ID AND m.Consignment = FALSE), 0), ConsignmentStock = "
       "COALESCE((SELECT SUM(m.Qty) FROM StockMovements m WHERE m.ProductID = Products.ID AND "
       "m.Consignment = TRUE), 0) WHERE ID > 10000"},
      // Who did it: the buyer saved each order, a clerk posted each voucher,
      // the buyer ended some; in the order they happened.
      {"audit trail",
       "INSERT INTO AuditTrail (At, UserName, Client, CompanyID, Action, Document, Details) "
       "SELECT at_time, who, 'desk-2', 1, action, document, details FROM ("
       "SELECT dy.morning AS at_time, 'dana' AS who, 'order saved' AS action, 'order PO' || "
       "CAST(90000 + o.id AS TEXT) AS document, CAST(o.nlines AS TEXT) || ' line(s), new' "
       "AS details, o.id * 8 AS seq FROM h_order o JOIN h_day dy ON dy.d = o.d "
       "UNION ALL SELECT dy.afternoon, 'sipho', 'voucher posted', 'voucher ' || "
       "g.VoucherNumber, 'type ' || CAST(v.type AS TEXT) || ', period ' || "
       "CAST(dy.month AS TEXT) || '/' || CAST(dy.year_key AS TEXT), v.id * 2 + 1 "
       "FROM h_voucher v JOIN GRVs g ON g.ID = v.id JOIN h_day dy ON dy.d = v.d "
       "UNION ALL SELECT dy.afternoon, 'dana', CASE o.status WHEN 2 THEN 'order closed' ELSE "
       "'order cancelled' END, 'order PO' || CAST(90000 + o.id AS TEXT), "
       "'status 1 -> ' || CAST(o.status AS TEXT), o.id * 8 + 7 FROM h_order o JOIN h_day dy "
       "ON dy.d = o.d WHERE o.status >= 2) x ORDER BY at_time, seq"},
  };
}

constexpr char kHelpers[] =
    "CREATE TABLE h_seq (n INTEGER PRIMARY KEY);\n"
    "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 20000)\n"
    "INSERT INTO h_seq (n) SELECT n FROM s;\n"
    "CREATE TABLE h_day (d INTEGER PRIMARY KEY, day DATE NOT NULL, morning DATETIME NOT NULL,\n"
    "  afternoon DATETIME NOT NULL, month INTEGER NOT NULL, year_key INTEGER NOT NULL,\n"
    "  orders INTEGER NOT NULL, first_order INTEGER NOT NULL);\n"
    "CREATE TABLE h_order (id INTEGER PRIMARY KEY, d INTEGER NOT NULL, h INTEGER NOT NULL,\n"
    "  supplier INTEGER NOT NULL, nlines INTEGER NOT NULL, lead INTEGER NOT NULL,\n"
    "  cons INTEGER NOT NULL, status INTEGER NOT NULL, recv INTEGER NOT NULL);\n"
    "CREATE TABLE h_voucher (id INTEGER PRIMARY KEY, order_id INTEGER NOT NULL,\n"
    "  type INTEGER NOT NULL, d INTEGER NOT NULL, supplier INTEGER NOT NULL, src INTEGER);\n"
    "CREATE INDEX h_voucher_src ON h_voucher(src);\n";

constexpr char kDropHelpers[] =
    "DROP TABLE h_voucher;\nDROP TABLE h_order;\nDROP TABLE h_day;\nDROP TABLE h_seq;\n";

// The tables whose triggers check a clerk's or a buyer's single rows: the
// history is the schema owner's bulk load, checked as a whole instead.
constexpr const char* kTriggered[] = {"PurchaseOrders", "PurchaseOrderDetails", "GRVs",
                                      "AuditTrail"};

void SetTriggers(Connection& connection, bool on) {
  if (connection.GetBackend() == Backend::kSQLite) {
    // The order lines' checks and the orders to come: dropped for the
    // load, put back after it.
    if (!on) {
      connection.ExecuteScript(
          "DROP TRIGGER IF EXISTS PurchaseOrderDetails_Bookable_Insert;\n"
          "DROP TRIGGER IF EXISTS PurchaseOrderDetails_Bookable_Update;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_LineAdded;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_LineChanged;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_LineMoved;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_LineRemoved;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_OrderChanged;\n"
          "DROP TRIGGER IF EXISTS OrdersToCome_OrderRemoved;\n");
    }
    return;
  }
  for (const char* table : kTriggered) {
    connection.Execute(std::string("ALTER TABLE ") + table + (on ? " ENABLE" : " DISABLE") +
                       " TRIGGER USER");
  }
}

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int64_t Count(Connection& connection, const char* table) {
  return static_cast<int64_t>(
      vb::CDbl(connection.Query(std::string("SELECT COUNT(*) FROM ") + table)->Item(0).Value()));
}

bool ReadSettings(int argc, char** argv, Settings& settings) {
  if (const char* text = std::getenv("KVT_HISTORY_DB")) {
    settings.connection_text = kvt::db::DatabaseConnectionText(text);
  }
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    if (key == "--check") {
      settings.check = true;
    } else if (key == "--db" && i + 1 < argc) {
      settings.connection_text = kvt::db::DatabaseConnectionText(argv[++i]);
    } else if (key == "--years" && i + 1 < argc) {
      settings.years = static_cast<int>(vb::ReadPlainInteger(argv[++i]).value_or(0));
    } else {
      return false;
    }
  }
  return settings.years >= 1 && settings.years <= 30 && !settings.connection_text.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ReadSettings(argc, argv, settings)) {
    std::cerr << "usage: make_history --years N (1-30) [--check] [--db PATH|CONNECTION-TEXT]\n"
                 "(without --db: the connection text in KVT_HISTORY_DB)\n";
    return 2;
  }
  try {
    const auto started = Clock::now();
    const auto target = kvt::services::ParseConnectionText(settings.connection_text);
    if (target.backend == Backend::kSQLite) {
      kvt::db::CreateDemoDatabase(target.path);
    } else {
      if (!target.schema.empty()) {
        // A schema of its own on the server: made when it is not there yet.
        std::string quoted = "\"";
        for (char c : target.schema) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        kvt::services::OpenConnection(target)->ExecuteScript("CREATE SCHEMA IF NOT EXISTS " +
                                                             quoted + "\"");
      }
      kvt::db::BuildDatabase(*kvt::services::OpenConnection(target), true);
    }
    auto connection = kvt::services::OpenConnection(target);
    const bool sqlite = connection->GetBackend() == Backend::kSQLite;
    if (sqlite) connection->ExecuteScript("PRAGMA cache_size = -262144;");
    connection->RunInTransaction([&] {
      SetTriggers(*connection, false);
      kvt::db::RunPortableScript(*connection, kHelpers);
      const int days = FillDays(*connection, settings.years);
      for (const Step& step : Steps(days - 1, LastNumbers(*connection))) {
        const auto begun = Clock::now();
        kvt::db::RunPortableScript(*connection, step.sql + ";\n");
        std::cout << "  " << step.what << ": " << vb::PlainText(Seconds(begun)) << " s\n"
                  << std::flush;
      }
      kvt::db::RunPortableScript(*connection, kDropHelpers);
      SetTriggers(*connection, true);
      if (!sqlite) {
        connection->ExecuteScript(kvt::db::PostgresFinishSql());
        kvt::db::FillOrdersToCome(*connection);
      }
    });
    if (sqlite) {
      kvt::db::AddBooksChecks(*connection);
      kvt::db::AddOrdersToCome(*connection);
    }
    connection->ExecuteScript("ANALYZE;");
    constexpr const char* kHistoryTables[] = {
        "Suppliers", "Products",   "PurchaseOrders", "PurchaseOrderDetails",
        "GRVs",      "GRVDetails", "StockMovements", "SupplierDocuments",
        "AuditTrail"};
    if (!sqlite) {
      // A server's database years old has long been vacuumed; one just
      // loaded is vacuumed by the server a minute later, and a big one for
      // a minute more, while whatever is timed on it runs. Vacuumed here,
      // the years are measured as they stand, with the visibility map the
      // index-only reads rely on.
      for (const char* table : kHistoryTables) {
        connection->ExecuteScript(std::string("VACUUM ") + table);
      }
    }
    std::cout << settings.years << " year(s) of history in " << vb::PlainText(Seconds(started))
              << " s:";
    for (const char* table : kHistoryTables) {
      std::cout << " " << table << " " << Count(*connection, table);
    }
    std::cout << "\n";
    if (settings.check) {
      const auto begun = Clock::now();
      const std::vector<std::string> breaches = kvt::posting::StockInvariantBreaches(*connection);
      for (size_t i = 0; i < breaches.size() && i < 20; ++i) {
        std::cout << "  BREACH " << breaches[i] << "\n";
      }
      std::cout << "books " << (breaches.empty() ? "consistent" : "NOT consistent") << " ("
                << breaches.size() << " breaches, checked in " << vb::PlainText(Seconds(begun))
                << " s)\n";
      if (!breaches.empty()) return 1;
    }
    return 0;
  } catch (const vb::Error& error) {
    std::cerr << "make_history: " << error.description() << " (" << error.context() << ")\n";
    return 1;
  }
}
