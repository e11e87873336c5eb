#include "voucher_db.h"

#include "platform/data/connection.h"

namespace kvt::documents::testing {

VoucherDb::VoucherDb(data::Backend backend) : db_("kvt_voucher_print", backend) {
  db_.Open()->ExecuteScript("INSERT INTO TransactionTypes (ID, Description) VALUES (99, 'Other')");
}

void VoucherDb::AddVoucher(int32_t id, int32_t tran_type, int count, const VoucherLine& line) {
  auto connection = db_.Open();
  const bool is_return = tran_type == 20 || tran_type == 32;
  const vb::Variant one(int32_t{1});
  connection->Execute(
      "INSERT INTO GRVs (ID, CompanyID, SupplierID, TranTypeID, VoucherNumber, "
      "PurchaseOrderID, SourceGRVID, DateReceived, DelNoteNumber, OurRef, SuppRef, "
      "UserID, Notes) VALUES (?1, 1, 1, ?2, 'V' || ?1, ?3, ?4, '2026-12-11', "
      "'DN-' || ?1, 'KH-' || ?1, 'Q-' || ?1, 2, 'Counted at the dock.')",
      {vb::Variant(id), vb::Variant(tran_type), is_return ? vb::Variant::Null() : one,
       is_return ? one : vb::Variant::Null()});
  connection->Execute(
      "INSERT INTO Products (CompanyID, Code, Description) VALUES (1, 'T-' || ?1, ?2)",
      {vb::Variant(id), vb::Variant(line.description)});
  std::vector<vb::Variant> values{vb::Variant(id), vb::Variant(count), vb::Variant(line.qty)};
  for (const char* amount : line.amounts) {
    values.emplace_back(vb::Currency::FromDecimalText(amount));
  }
  connection->Execute(
      "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < ?2) "
      "INSERT INTO GRVDetails (GRVID, ProductID, Qty, UnitPrice, TradeDisc, RebateDisc, "
      "OtherDisc, NetAmount, TaxAmount, TotalCost) "
      "SELECT ?1, (SELECT MAX(ID) FROM Products), ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10 FROM n",
      values);
}

void VoucherDb::DropColumn(const std::string& column) {
  db_.RenameProcedureColumn("sp_AO_Select_GRV_Report_Data", column, "Gone " + column);
}

}  // namespace kvt::documents::testing
