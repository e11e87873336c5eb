#include "apps/kvt-host/sessions/order_list.h"

#include "platform/value/conversions.h"

namespace kvt::host {
namespace {

// An open order with lines still to come, as the orders-to-come table's
// triggers keep it: one probe of its key, where counting the order's lines
// would read them all. (Only open orders are in it, and only they are
// judged by it.)
constexpr char kToComeLines[] =
    "(SELECT t.Lines FROM OrdersToCome t WHERE t.PurchaseOrderID = po.ID)";

// The progress filter in SQL, judged order by order as the list goes back
// in time.
std::string ProgressCondition(OrderProgress progress) {
  const std::string to_come =
      "EXISTS (SELECT 1 FROM OrdersToCome t WHERE t.PurchaseOrderID = po.ID)";
  // Written as EXISTS, not NOT NOT EXISTS: under a NOT the server cannot
  // make it a join, and hashes every line ever received instead.
  const std::string receipts =
      "EXISTS (SELECT 1 FROM PurchaseOrderDetails r WHERE r.PurchaseOrderID = po.ID AND "
      "r.QtyReceived > 0)";
  switch (progress) {
    case OrderProgress::kPending: return "po.Status = 0";
    case OrderProgress::kClosed: return "po.Status = 2";
    case OrderProgress::kCancelled: return "po.Status = 3";
    case OrderProgress::kOpen: return "po.Status = 1 AND " + to_come + " AND NOT " + receipts;
    case OrderProgress::kPartReceived: return "po.Status = 1 AND " + to_come + " AND " + receipts;
    case OrderProgress::kReceived: return "po.Status = 1 AND NOT " + to_come + " AND " + receipts;
  }
  return "1 = 1";
}

}  // namespace

OrderListQuery OrderListSql(int32_t company_id, const OrderListFilter& filter,
                            const OrderList& after, int32_t page_size) {
  std::string sql = std::string(
                        "SELECT po.ID, po.OrderNumber, s.Name AS Supplier, po.DateOrdered, "
                        "po.Status, (SELECT SUM(d.TotalCost) FROM PurchaseOrderDetails d WHERE "
                        "d.PurchaseOrderID = po.ID) AS Total, COALESCE(") +
                    kToComeLines +
                    ", 0) AS ToCome, (SELECT COUNT(*) FROM PurchaseOrderDetails d WHERE "
                    "d.PurchaseOrderID = po.ID AND d.QtyReceived > 0) AS WithReceipts "
                    "FROM PurchaseOrders po JOIN Suppliers s ON s.ID = po.SupplierID "
                    "WHERE po.CompanyID = ?1";
  std::vector<vb::Variant> parameters = {vb::Variant(company_id)};
  const auto bind = [&](const vb::Variant& value) {
    parameters.push_back(value);
    return "?" + std::to_string(parameters.size());
  };
  if (filter.supplier_id != 0) sql += " AND po.SupplierID = " + bind(filter.supplier_id);
  if (filter.from) sql += " AND po.DateOrdered >= " + bind(filter.from->DateOnly());
  if (filter.to) sql += " AND po.DateOrdered <= " + bind(filter.to->DateOnly());
  if (filter.progress) sql += " AND " + ProgressCondition(*filter.progress);
  if (after.last_id != 0) {
    const std::string date = bind(after.last_date);
    sql += " AND (po.DateOrdered < " + date + " OR (po.DateOrdered = " + date + " AND po.ID < " +
           bind(after.last_id) + "))";
  }
  // One more than a page tells whether older orders follow.
  sql += " ORDER BY po.DateOrdered DESC, po.ID DESC LIMIT " + std::to_string(page_size + 1);
  return {sql, parameters};
}

namespace {

void ReadPage(data::Connection& connection, int32_t company_id, const OrderListFilter& filter,
              OrderList& list, int32_t page_size) {
  const OrderListQuery query = OrderListSql(company_id, filter, list, page_size);
  data::RecordSetRef rows =
      connection.Query(query.sql, query.parameters, {{"Total", data::DataType::kCurrency}});
  if (list.table.columns.empty()) {
    list.table.columns = {{"Number", CellKind::kText},
                          {"Supplier", CellKind::kText},
                          {"Date", CellKind::kDate},
                          {"Status", CellKind::kText},
                          {"Total", CellKind::kMoney}};
  }
  const Decimals decimals;
  int32_t read = 0;
  list.has_more = false;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    if (++read > page_size) {
      list.has_more = true;
      break;
    }
    const OrderProgress progress =
        ProgressOf(vb::CLng(rows->Item("Status").Value()), vb::CLng(rows->Item("ToCome").Value()),
                   vb::CLng(rows->Item("WithReceipts").Value()));
    list.order_ids.push_back(vb::CLng(rows->Item("ID").Value()));
    list.last_id = list.order_ids.back();
    list.last_date = rows->Item("DateOrdered").Value();
    list.table.rows.push_back(
        {FormatCell(rows->Item("OrderNumber").Value(), CellKind::kText, decimals),
         FormatCell(rows->Item("Supplier").Value(), CellKind::kText, decimals),
         FormatCell(list.last_date, CellKind::kDate, decimals), ProgressText(progress),
         FormatCell(rows->Item("Total").Value(), CellKind::kMoney, decimals)});
  }
}

}  // namespace

OrderList ReadOrderList(data::Connection& connection, int32_t company_id,
                        const OrderListFilter& filter, int32_t page_size) {
  OrderList list;
  ReadPage(connection, company_id, filter, list, page_size);
  return list;
}

void ReadMoreOrders(data::Connection& connection, int32_t company_id, const OrderListFilter& filter,
                    OrderList& list, int32_t page_size) {
  if (!list.has_more) return;
  // Read into a copy so that a failure leaves what was shown.
  OrderList more = list;
  ReadPage(connection, company_id, filter, more, page_size);
  list = std::move(more);
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
