#include "apps/kvt-host/desk/order_store.h"

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"

namespace kvt::host {
namespace {

constexpr char kSource[] = "kvt-host";

std::string Text(data::RecordSet& rows, const char* field) {
  const vb::Variant value = rows.Item(field).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

vb::Variant OrNull(const std::string& text) {
  return text.empty() ? vb::Variant::Null() : vb::Variant(text);
}

// The lines' columns in the order the statements below bind them.
constexpr const char* kLineColumns[] = {"Products ID",
                                        "Lead Time",
                                        "Qty",
                                        "B/O Qty",
                                        "Free Qty",
                                        "Unit Price",
                                        "Trade_Discount_Formula_ID",
                                        "Trade Disc",
                                        "Rebate_Formula_ID",
                                        "Rebate Disc",
                                        "Other_Discount_Formula_ID",
                                        "Other Disc",
                                        "Net Amount",
                                        "Tax_Codes_ID",
                                        "Tax",
                                        "Total Cost"};

void AppendRows(std::string& text, data::RecordSet& rows) {
  for (; !rows.IsEOF(); rows.MoveNext()) {
    for (int i = 0; i < rows.Fields().Count(); ++i) {
      const vb::Variant value = rows.Item(i).Value();
      text += value.IsNull() ? "\x01" : vb::CStr(value);
      text += '\x1f';
    }
    text += '\x1e';
  }
}

}  // namespace

std::string OrderStatusText(int32_t status) {
  switch (status) {
    case kOrderPending: return "Pending";
    case kOrderProcessed: return "Processed";
    case kOrderClosed: return "Closed";
    default: return std::to_string(status);
  }
}

OrderHeader ReadOrderHeader(data::Connection& connection, int32_t order_id) {
  data::RecordSetRef row = connection.Query(
      "SELECT po.*, s.Name AS SupplierName, s.Rep AS SupplierRep FROM PurchaseOrders po "
      "JOIN Suppliers s ON s.ID = po.SupplierID WHERE po.ID = ?1",
      {order_id});
  if (row->IsEOF()) {
    throw vb::Error::Numbered(vb::err::kAdoNoCurrentRecord, kSource,
                              "order " + std::to_string(order_id));
  }
  OrderHeader header;
  header.order_id = order_id;
  header.supplier_id = vb::CLng(row->Item("SupplierID").Value());
  header.supplier_name = Text(*row, "SupplierName");
  header.supplier_rep = Text(*row, "SupplierRep");
  header.order_number = Text(*row, "OrderNumber");
  header.date_ordered = vb::CDate(row->Item("DateOrdered").Value());
  header.status = vb::CLng(row->Item("Status").Value());
  header.our_ref = Text(*row, "OurRef");
  header.supplier_ref = Text(*row, "SuppRef");
  header.message = Text(*row, "Message");
  header.delivery = {Text(*row, "DelName"), Text(*row, "DelAddr1"), Text(*row, "DelAddr2"),
                     Text(*row, "DelAddr3"), Text(*row, "DelPostCode")};
  return header;
}

OrderHeader NewOrderHeader(data::Connection& connection, int32_t company_id, int32_t supplier_id) {
  data::RecordSetRef row = connection.Query(
      "SELECT s.Name, s.Rep, c.Name AS CompanyName, c.Address1, c.Address2, c.PostCode "
      "FROM Suppliers s JOIN Companies c ON c.ID = s.CompanyID "
      "WHERE s.ID = ?1 AND s.CompanyID = ?2",
      {supplier_id, company_id});
  if (row->IsEOF()) {
    throw vb::Error::Numbered(vb::err::kAdoNoCurrentRecord, kSource,
                              "supplier " + std::to_string(supplier_id));
  }
  OrderHeader header;
  header.supplier_id = supplier_id;
  header.supplier_name = Text(*row, "Name");
  header.supplier_rep = Text(*row, "Rep");
  header.order_number = NextOrderNumber(connection, company_id);
  header.date_ordered = vb::Date::Today();
  header.delivery = {Text(*row, "CompanyName"), Text(*row, "Address1"), Text(*row, "Address2"), "",
                     Text(*row, "PostCode")};
  return header;
}

std::string NextOrderNumber(data::Connection& connection, int32_t company_id) {
  data::RecordSetRef numbers =
      connection.Query("SELECT OrderNumber FROM PurchaseOrders WHERE CompanyID = ?1", {company_id});
  int64_t highest = 0;
  for (; !numbers->IsEOF(); numbers->MoveNext()) {
    const std::string number = Text(*numbers, "OrderNumber");
    if (number.size() != 8 || number.compare(0, 2, "PO") != 0) continue;
    if (number.find_first_not_of("0123456789", 2) != std::string::npos) continue;
    int64_t value = 0;
    for (size_t i = 2; i < number.size(); ++i) value = value * 10 + (number[i] - '0');
    if (value > highest) highest = value;
  }
  return "PO" + vb::ZeroPadded(highest + 1, 6);
}

void WriteOrderLines(data::Connection& connection, int32_t order_id, data::RecordSet& lines) {
  if (lines.RecordCount() == 0) return;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
    std::vector<vb::Variant> values;
    for (const char* column : kLineColumns) values.push_back(lines.Item(column).Value());
    const vb::Variant id = lines.Item("ID").Value();
    if (id.IsNull()) {
      values.push_back(order_id);
      connection.Execute(
          "INSERT INTO PurchaseOrderDetails (ProductID, LeadTime, Qty, BOQty, FreeQty, "
          "UnitPrice, TradeDiscountFormulaID, TradeDisc, RebateFormulaID, RebateDisc, "
          "OtherDiscountFormulaID, OtherDisc, NetAmount, TaxCodesID, Tax, TotalCost, "
          "PurchaseOrderID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
          "?13, ?14, ?15, ?16, ?17)",
          values);
    } else {
      values.push_back(id);
      connection.Execute(
          "UPDATE PurchaseOrderDetails SET ProductID = ?1, LeadTime = ?2, Qty = ?3, "
          "BOQty = ?4, FreeQty = ?5, UnitPrice = ?6, TradeDiscountFormulaID = ?7, "
          "TradeDisc = ?8, RebateFormulaID = ?9, RebateDisc = ?10, "
          "OtherDiscountFormulaID = ?11, OtherDisc = ?12, NetAmount = ?13, "
          "TaxCodesID = ?14, Tax = ?15, TotalCost = ?16 WHERE ID = ?17",
          values);
    }
  }
}

void WriteOrder(data::Connection& connection, int32_t company_id, OrderHeader& header,
                data::RecordSet& lines, const std::vector<int32_t>& removed_line_ids) {
  OrderHeader written = header;
  connection.RunInTransaction([&] {
    const DeliveryAddress& d = written.delivery;
    std::vector<vb::Variant> values = {written.date_ordered,    written.status,
                                       OrNull(written.our_ref), OrNull(written.supplier_ref),
                                       OrNull(d.name),          OrNull(d.address1),
                                       OrNull(d.address2),      OrNull(d.address3),
                                       OrNull(d.post_code),     OrNull(written.message)};
    if (written.order_id == 0) {
      written.order_number = NextOrderNumber(connection, company_id);
      values.insert(values.end(), {company_id, written.supplier_id, written.order_number});
      connection.Execute(
          "INSERT INTO PurchaseOrders (DateOrdered, Status, OurRef, SuppRef, DelName, "
          "DelAddr1, DelAddr2, DelAddr3, DelPostCode, Message, CompanyID, SupplierID, "
          "OrderNumber) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)",
          values);
      data::RecordSetRef added = connection.Query(
          "SELECT ID FROM PurchaseOrders WHERE CompanyID = ?1 AND OrderNumber = ?2",
          {company_id, written.order_number});
      written.order_id = vb::CLng(added->Item(0).Value());
    } else {
      values.push_back(written.order_id);
      connection.Execute(
          "UPDATE PurchaseOrders SET DateOrdered = ?1, Status = ?2, OurRef = ?3, "
          "SuppRef = ?4, DelName = ?5, DelAddr1 = ?6, DelAddr2 = ?7, DelAddr3 = ?8, "
          "DelPostCode = ?9, Message = ?10 WHERE ID = ?11",
          values);
    }
    for (int32_t line_id : removed_line_ids) {
      if (connection.Execute("DELETE FROM PurchaseOrderDetails WHERE ID = ?1 AND "
                             "PurchaseOrderID = ?2 AND QtyReceived = 0",
                             {line_id, written.order_id}) == 0 &&
          QtyReceived(connection, line_id) != 0) {
        throw vb::Error(vb::err::kInvalidCall, kSource,
                        "A line you removed has had goods received against it since; "
                        "the order was not saved.");
      }
    }
    WriteOrderLines(connection, written.order_id, lines);
  });
  header = written;
}

double QtyReceived(data::Connection& connection, int32_t line_id) {
  data::RecordSetRef row =
      connection.Query("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = ?1", {line_id});
  if (row->IsEOF() || row->Item(0).IsNull()) return 0;
  return vb::CDbl(row->Item(0).Value());
}

std::string OrderFingerprint(data::Connection& connection, int32_t order_id) {
  if (order_id == 0) return {};
  std::string text;
  data::RecordSetRef header =
      connection.Query("SELECT * FROM PurchaseOrders WHERE ID = ?1", {order_id});
  AppendRows(text, *header);
  data::RecordSetRef lines = connection.Query(
      "SELECT * FROM PurchaseOrderDetails WHERE PurchaseOrderID = ?1 ORDER BY ID", {order_id});
  AppendRows(text, *lines);
  return text;
}

}  // namespace kvt::host
