#include "purchase_order_db.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "db/demo_database.h"
#include "platform/data/connection.h"

namespace kvt::documents::testing {
namespace {

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string DeclaredType(const vb::Variant& value) {
  if (value.get_if<vb::Currency>() != nullptr) return "CURRENCY";
  if (value.get_if<vb::Date>() != nullptr) return "DATE";
  if (value.get_if<double>() != nullptr) return "REAL";
  if (value.get_if<int32_t>() != nullptr) return "INTEGER";
  return "TEXT";
}

}  // namespace

PurchaseOrderDb::PurchaseOrderDb() {
  static int counter = 0;
  path_ = (std::filesystem::temp_directory_path() /
           ("kvt_po_" + std::to_string(::getpid()) + "_" +
            std::to_string(++counter) + ".sqlite"))
              .string();
  std::filesystem::remove(path_);
  // The suite's own schema and catalogue; only the print-data procedure is
  // pointed at a table of our own so tests control its columns.
  db::CreateEmptyDatabase(path_);
  auto connection = data::Connection::Open(path_);
  connection->ExecuteScript("CREATE TABLE OrderLines (OrderID INTEGER, LineNo INTEGER);");
  WriteProcedure();
}

PurchaseOrderDb::~PurchaseOrderDb() { std::filesystem::remove(path_); }

std::string PurchaseOrderDb::ConnectionText() const {
  return "Provider=SQLite;Data Source=" + path_ + ";User ID=tester";
}

void PurchaseOrderDb::AddOrder(report::MemoryTable& data) {
  if (!data.MoveFirst()) return;
  auto connection = data::Connection::Open(path_);
  std::string names = "OrderID, LineNo";
  std::string slots = "?1, ?2";
  for (int index = 0; index < data.FieldCount(); ++index) {
    const std::string name = data.FieldName(index);
    connection->Execute("ALTER TABLE OrderLines ADD COLUMN " + Quoted(name) + " " +
                        DeclaredType(data.Value(index)));
    columns_.push_back(name);
    names += ", " + Quoted(name);
    slots += ", ?" + std::to_string(index + 3);
  }
  connection->ExecuteScript("BEGIN");
  int32_t line = 0;
  do {
    std::vector<vb::Variant> values{vb::Variant(kOrderId), vb::Variant(++line)};
    for (int index = 0; index < data.FieldCount(); ++index) values.push_back(data.Value(index));
    connection->Execute("INSERT INTO OrderLines (" + names + ") VALUES (" + slots + ")",
                        values);
  } while (data.MoveNext());
  connection->ExecuteScript("COMMIT");
  WriteProcedure();
}

void PurchaseOrderDb::SaveControlValue(const std::string& kind,
                                       const std::string& name, int index,
                                       const char* value) {
  auto connection = data::Connection::Open(path_);
  connection->Execute(
      "DELETE FROM UserControlValues WHERE ControlKind = ?1 AND ControlName = ?2 "
      "AND ControlIndex = ?3",
      {vb::Variant(kind), vb::Variant(name), vb::Variant(static_cast<int32_t>(index))});
  if (value == nullptr) return;
  connection->Execute(
      "INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind, "
      "ControlName, ControlIndex, ControlValue) VALUES (?1, 'tester', ?2, ?3, ?4, ?5)",
      {vb::Variant(kDatabase), vb::Variant(kind), vb::Variant(name),
       vb::Variant(static_cast<int32_t>(index)), vb::Variant(value)});
}

void PurchaseOrderDb::DropColumnFromProcedure(const std::string& column) {
  columns_.erase(std::remove(columns_.begin(), columns_.end(), column), columns_.end());
  WriteProcedure();
}

void PurchaseOrderDb::WriteProcedure() {
  std::string select = "OrderID";
  for (const std::string& column : columns_) select += ", " + Quoted(column);
  auto connection = data::Connection::Open(path_);
  connection->Execute(
      "UPDATE kvt_procedures SET body = ?1, column_types = '' "
      "WHERE name = 'sp_AO_Select_Purchase_Order_Data'",
      {vb::Variant("SELECT " + select +
                   " FROM OrderLines WHERE OrderID = ?1 ORDER BY LineNo")});
}

}  // namespace kvt::documents::testing
