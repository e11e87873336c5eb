#include "apps/kvt-host/sessions/order_store.h"

#include <ctime>

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/sessions/order_audit.h"

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

// How the audit trail names the order.
std::string OrderDocument(const OrderHeader& header) {
  return "order " + (header.order_number.empty() ? std::string("(new)") : header.order_number);
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

// Inserts the new lines and updates the saved ones that differ from
// `opened`.
void WriteLines(data::Connection& connection, int32_t order_id, data::RecordSet& lines,
                const SavedLines& opened) {
  if (lines.RecordCount() == 0) return;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
    std::vector<vb::Variant> values = LineValues(lines);
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
      continue;
    }
    const auto before = opened.find(vb::CLng(id));
    if (before != opened.end() && SameValues(before->second, values)) continue;
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

}  // namespace

std::string OrderStatusText(int32_t status) {
  switch (status) {
    case kOrderPending: return "Pending";
    case kOrderProcessed: return "Processed";
    case kOrderClosed: return "Closed";
    case kOrderCancelled: return "Cancelled";
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
  header.row_version = vb::CLng(row->Item("RowVersion").Value());
  header.ended_by = Text(*row, "EndedBy");
  header.ended_at = row->Item("EndedAt").Value();
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
  // Highest first, through the index on the numbers: the first of the
  // series' own form ("PO" and six digits) is the highest, so years of
  // orders are not read to find it. Numbers of other forms sort among them
  // only when typed so by hand; a hundred of them in a row is not expected.
  data::RecordSetRef numbers = connection.Query(
      "SELECT OrderNumber FROM PurchaseOrders WHERE CompanyID = ?1 AND OrderNumber >= "
      "'PO000000' AND OrderNumber <= 'PO999999' ORDER BY OrderNumber DESC LIMIT 100",
      {company_id});
  int64_t highest = 0;
  for (; !numbers->IsEOF() && highest == 0; numbers->MoveNext()) {
    const std::string number = Text(*numbers, "OrderNumber");
    if (number.size() != 8 || number.compare(0, 2, "PO") != 0) continue;
    if (number.find_first_not_of("0123456789", 2) != std::string::npos) continue;
    for (size_t i = 2; i < number.size(); ++i) highest = highest * 10 + (number[i] - '0');
  }
  return "PO" + vb::ZeroPadded(highest + 1, 6);
}

std::vector<vb::Variant> LineValues(data::RecordSet& lines) {
  std::vector<vb::Variant> values;
  for (const char* column : kLineColumns) values.push_back(lines.Item(column).Value());
  return values;
}

bool SameValues(const std::vector<vb::Variant>& a, const std::vector<vb::Variant>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].IsNull() != b[i].IsNull()) return false;
    if (!a[i].IsNull() && vb::CStr(a[i]) != vb::CStr(b[i])) return false;
  }
  return true;
}

SavedLines ReadSavedLines(data::RecordSet& lines) {
  SavedLines saved;
  if (lines.RecordCount() == 0) return saved;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
    const vb::Variant id = lines.Item("ID").Value();
    if (!id.IsNull()) saved[vb::CLng(id)] = LineValues(lines);
  }
  return saved;
}

std::string LinesRefusal(data::Connection& connection, data::RecordSet& lines) {
  if (lines.RecordCount() == 0) return {};
  const bool placed = !lines.IsBOF() && !lines.IsEOF();
  const vb::Variant bookmark = placed ? lines.Bookmark() : vb::Variant();
  std::string refusal;
  int number = 0;
  for (lines.MoveFirst(); !lines.IsEOF() && refusal.empty(); lines.MoveNext()) {
    ++number;
    const vb::Variant id = lines.Item("ID").Value();
    const std::string product = Text(lines, "Product");
    const std::string label =
        "Line " + std::to_string(number) + (product.empty() ? "" : " (" + product + ")");
    refusal =
        posting::OrderLineRefusal(label, {lines.Item("Qty").Value(), lines.Item("B/O Qty").Value(),
                                          lines.Item("Unit Price").Value(),
                                          id.IsNull() ? 0 : QtyReceived(connection, vb::CLng(id))});
  }
  if (placed) lines.Bookmark(bookmark);
  return refusal;
}

void WriteOrder(data::Connection& connection, int32_t company_id, OrderHeader& header,
                data::RecordSet& lines, const SavedLines& opened,
                const std::vector<int32_t>& removed_line_ids, const std::string& user_name) try {
  OrderHeader written = header;
  const access::UserAccess access = access::UserAccess::Of(connection);
  access.Require(connection, access::Action::kEditOrder, OrderDocument(header), company_id);
  if (header.status == kOrderProcessed) {
    access.Require(connection, access::Action::kProcessOrder, OrderDocument(header), company_id);
  }
  connection.RunInTransaction([&] {
    if (const std::string refusal = LinesRefusal(connection, lines); !refusal.empty()) {
      throw vb::Error(vb::err::kInvalidCall, kSource, refusal);
    }
    const OrderHeader before =
        header.order_id == 0 ? OrderHeader{} : ReadOrderHeader(connection, header.order_id);
    const DeliveryAddress& d = written.delivery;
    std::vector<vb::Variant> values = {
        written.date_ordered,         written.status,     OrNull(written.our_ref),
        OrNull(written.supplier_ref), OrNull(d.name),     OrNull(d.address1),
        OrNull(d.address2),           OrNull(d.address3), OrNull(d.post_code),
        OrNull(written.message),      OrNull(user_name),  vb::Date::Now()};
    if (written.order_id == 0) {
      written.order_number = NextOrderNumber(connection, company_id);
      values.insert(values.end(), {company_id, written.supplier_id, written.order_number});
      connection.Execute(
          "INSERT INTO PurchaseOrders (DateOrdered, Status, OurRef, SuppRef, DelName, "
          "DelAddr1, DelAddr2, DelAddr3, DelPostCode, Message, ChangedBy, ChangedAt, "
          "CompanyID, SupplierID, OrderNumber, RowVersion) VALUES (?1, ?2, ?3, ?4, ?5, ?6, "
          "?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, 1)",
          values);
      data::RecordSetRef added = connection.Query(
          "SELECT ID FROM PurchaseOrders WHERE CompanyID = ?1 AND OrderNumber = ?2",
          {company_id, written.order_number});
      written.order_id = vb::CLng(added->Item(0).Value());
      written.row_version = 1;
    } else {
      // The version test and the write are one statement: of two saves
      // from the same version only the first finds it.
      values.insert(values.end(), {written.order_id, written.row_version});
      if (connection.Execute(
              "UPDATE PurchaseOrders SET DateOrdered = ?1, Status = ?2, OurRef = ?3, "
              "SuppRef = ?4, DelName = ?5, DelAddr1 = ?6, DelAddr2 = ?7, DelAddr3 = ?8, "
              "DelPostCode = ?9, Message = ?10, ChangedBy = ?11, ChangedAt = ?12, "
              "RowVersion = RowVersion + 1 WHERE ID = ?13 AND RowVersion = ?14",
              values) == 0) {
        throw vb::Error(kOrderChangedElsewhere, kSource, ChangeRefusal(connection, written));
      }
      ++written.row_version;
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
    WriteLines(connection, written.order_id, lines, opened);
    access::Audit(connection, access.User(),
                  OrderSaveEntry(company_id, before, written, lines, opened, removed_line_ids));
  });
  header = written;
} catch (const data::PermissionDenied& denied) {
  // The database's own check, where the host's was passed by.
  access::RaiseRefusal(connection, access::UserAccess::Of(connection).User(), denied,
                       {company_id, "order saved", OrderDocument(header), ""});
}

std::string ChangeRefusal(data::Connection& connection, const OrderHeader& header) {
  if (header.order_id == 0) return {};
  data::RecordSetRef saved =
      connection.Query("SELECT RowVersion, ChangedBy, ChangedAt FROM PurchaseOrders WHERE ID = ?1",
                       {header.order_id});
  if (saved->IsEOF()) {
    return header.order_number + " was deleted by someone else; it cannot be saved again.";
  }
  if (vb::CLng(saved->Item(0).Value()) == header.row_version) return {};
  return ChangedElsewhereMessage(header.order_number, Text(*saved, "ChangedBy"),
                                 saved->Item(2).Value(), vb::Date::Today());
}

std::string ChangedElsewhereMessage(const std::string& order_number, const std::string& who,
                                    const vb::Variant& when, const vb::Date& today) {
  std::string text = order_number + " was changed by " + (who.empty() ? "someone else" : who);
  if (!when.IsNull() && !when.IsEmpty()) {
    const vb::Date at = vb::CDate(when);
    if (at.DateOnly() != today) text += " on " + vb::Format(at, "dd mmm yyyy");
    text += " at " + vb::Format(at, "hh:nn");
  }
  return text + "; reload it";
}

double QtyReceived(data::Connection& connection, int32_t line_id) {
  data::RecordSetRef row =
      connection.Query("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = ?1", {line_id});
  if (row->IsEOF() || row->Item(0).IsNull()) return 0;
  return vb::CDbl(row->Item(0).Value());
}

}  // namespace kvt::host
