#include "purchase_order_db.h"

#include "db/portable_script.h"
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

PurchaseOrderDb::PurchaseOrderDb(data::Backend backend)
    : db_("kvt_po", backend, test_support::TempDemoDatabase::Content::kSchema) {
  // The suite's own schema and catalogue; only the print-data procedure is
  // pointed at a table of our own so tests control its columns.
  db::RunPortableScript(*db_.Open(), "CREATE TABLE OrderLines (OrderID INTEGER, LineNo INTEGER);");
  WriteProcedure();
  connection_text_ = db_.ConnectionTextAs("tester");
}

void PurchaseOrderDb::AddOrder(report::MemoryTable& data) {
  if (!data.MoveFirst()) return;
  auto connection = db_.Open();
  std::string names = "OrderID, LineNo";
  std::string slots = "?1, ?2";
  for (int index = 0; index < data.FieldCount(); ++index) {
    const std::string name = data.FieldName(index);
    const std::string type = DeclaredType(data.Value(index));
    db::RunPortableScript(*connection,
                          "ALTER TABLE OrderLines ADD COLUMN " + Quoted(name) + " " + type);
    columns_.emplace_back(name, type);
    names += ", " + Quoted(name);
    slots += ", ?" + std::to_string(index + 3);
  }
  connection->ExecuteScript("BEGIN");
  int32_t line = 0;
  do {
    std::vector<vb::Variant> values{vb::Variant(kOrderId), vb::Variant(++line)};
    for (int index = 0; index < data.FieldCount(); ++index) values.push_back(data.Value(index));
    connection->Execute("INSERT INTO OrderLines (" + names + ") VALUES (" + slots + ")", values);
  } while (data.MoveNext());
  connection->ExecuteScript("COMMIT");
  WriteProcedure();
}

void PurchaseOrderDb::WriteProcedure() {
  std::string select = "OrderID";
  for (const auto& [column, type] : columns_) select += ", " + Quoted(column);
  select += " FROM OrderLines WHERE OrderID = ";
  auto connection = db_.Open();
  if (db_.Backend() == data::Backend::kSQLite) {
    connection->Execute(
        "UPDATE kvt_procedures SET body = ?1, column_types = '' "
        "WHERE name = 'sp_AO_Select_Purchase_Order_Data'",
        {vb::Variant("SELECT " + select + "?1 ORDER BY LineNo")});
    return;
  }
  std::string result = "\"OrderID\" INTEGER";
  for (const auto& [column, type] : columns_) result += ", " + Quoted(column) + " " + type;
  connection->ExecuteScript("DROP FUNCTION sp_AO_Select_Purchase_Order_Data(integer)");
  db::RunPortableScript(*connection,
                        "CREATE FUNCTION sp_AO_Select_Purchase_Order_Data(p_order integer) "
                        "RETURNS TABLE (" +
                            result + ") LANGUAGE sql AS $$ SELECT " + select +
                            "p_order ORDER BY LineNo $$");
}

}  // namespace kvt::documents::testing
