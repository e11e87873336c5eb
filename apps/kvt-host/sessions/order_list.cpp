#include "apps/kvt-host/sessions/order_list.h"

#include "platform/value/conversions.h"

namespace kvt::host {

OrderList ReadOrderList(data::Connection& connection, int32_t company_id,
                        const OrderListFilter& filter) {
  data::RecordSetRef rows = connection.Query(
      "SELECT po.ID, po.OrderNumber, s.Name AS Supplier, po.DateOrdered, po.Status, "
      "(SELECT SUM(d.TotalCost) FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID) "
      "AS Total, (SELECT COUNT(*) FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID "
      "AND COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) > COALESCE(d.QtyReceived, 0)) AS ToCome, "
      "(SELECT COUNT(*) FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID "
      "AND COALESCE(d.QtyReceived, 0) > 0) AS WithReceipts "
      "FROM PurchaseOrders po JOIN Suppliers s ON s.ID = po.SupplierID "
      "WHERE po.CompanyID = ?1 AND (?2 = 0 OR po.SupplierID = ?2) "
      "ORDER BY po.DateOrdered DESC, po.ID DESC",
      {company_id, filter.supplier_id}, {{"Total", data::DataType::kCurrency}});
  OrderList list;
  list.table.columns = {{"Number", CellKind::kText},
                        {"Supplier", CellKind::kText},
                        {"Date", CellKind::kDate},
                        {"Status", CellKind::kText},
                        {"Total", CellKind::kMoney}};
  const Decimals decimals;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    const OrderProgress progress =
        ProgressOf(vb::CLng(rows->Item("Status").Value()), vb::CLng(rows->Item("ToCome").Value()),
                   vb::CLng(rows->Item("WithReceipts").Value()));
    if (filter.progress && *filter.progress != progress) continue;
    list.order_ids.push_back(vb::CLng(rows->Item("ID").Value()));
    list.table.rows.push_back(
        {FormatCell(rows->Item("OrderNumber").Value(), CellKind::kText, decimals),
         FormatCell(rows->Item("Supplier").Value(), CellKind::kText, decimals),
         FormatCell(rows->Item("DateOrdered").Value(), CellKind::kDate, decimals),
         ProgressText(progress),
         FormatCell(rows->Item("Total").Value(), CellKind::kMoney, decimals)});
  }
  return list;
}

std::vector<std::pair<int32_t, std::string>> ReadSuppliers(data::Connection& connection,
                                                           int32_t company_id) {
  data::RecordSetRef rows = connection.Query(
      "SELECT ID, Name FROM Suppliers WHERE CompanyID = ?1 ORDER BY Name", {company_id});
  std::vector<std::pair<int32_t, std::string>> suppliers;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    suppliers.emplace_back(vb::CLng(rows->Item(0).Value()), vb::CStr(rows->Item(1).Value()));
  }
  return suppliers;
}

}  // namespace kvt::host
