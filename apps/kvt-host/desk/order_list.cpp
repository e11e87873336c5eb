#include "apps/kvt-host/desk/order_list.h"

#include "apps/kvt-host/desk/order_store.h"
#include "platform/value/conversions.h"

namespace kvt::host {

OrderList ReadOrderList(data::Connection& connection, int32_t company_id,
                        const OrderListFilter& filter) {
  data::RecordSetRef rows = connection.Query(
      "SELECT po.ID, po.OrderNumber, s.Name AS Supplier, po.DateOrdered, po.Status, "
      "(SELECT SUM(d.TotalCost) FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = po.ID) "
      "AS Total FROM PurchaseOrders po JOIN Suppliers s ON s.ID = po.SupplierID "
      "WHERE po.CompanyID = ?1 AND (?2 = 0 OR po.SupplierID = ?2) "
      "AND (?3 = -1 OR po.Status = ?3) ORDER BY po.DateOrdered DESC, po.ID DESC",
      {company_id, filter.supplier_id, filter.status}, {{"Total", data::DataType::kCurrency}});
  OrderList list;
  list.table.columns = {{"Number", CellKind::kText},
                        {"Supplier", CellKind::kText},
                        {"Date", CellKind::kDate},
                        {"Status", CellKind::kText},
                        {"Total", CellKind::kMoney}};
  const Decimals decimals;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    list.order_ids.push_back(vb::CLng(rows->Item("ID").Value()));
    list.table.rows.push_back(
        {FormatCell(rows->Item("OrderNumber").Value(), CellKind::kText, decimals),
         FormatCell(rows->Item("Supplier").Value(), CellKind::kText, decimals),
         FormatCell(rows->Item("DateOrdered").Value(), CellKind::kDate, decimals),
         OrderStatusText(vb::CLng(rows->Item("Status").Value())),
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
