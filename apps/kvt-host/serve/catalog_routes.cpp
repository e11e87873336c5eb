#include "apps/kvt-host/serve/catalog_routes.h"

#include <algorithm>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/sessions/order_ending.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/host_call.h"
#include "apps/kvt-host/serve/json_body.h"
#include "apps/kvt-host/serve/json_rows.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

constexpr int32_t kMaxPageSize = 200;

json Suppliers(Call& call) {
  json list = json::array();
  for (const auto& [id, name] : host::ReadSuppliers(call.Db(), call.options.company_id)) {
    list.push_back({{"id", id}, {"name", name}});
  }
  return list;
}

// Products by code or barcode: the one whose barcode is `barcode`; the
// one whose code (any case) or barcode is `code`, else those whose code
// begins with it; all when neither is given.
json Products(Call& call) {
  const std::string barcode = vb::Trim(QueryText("barcode", call.Query("barcode"), 50));
  const std::string typed = vb::Trim(QueryText("code", call.Query("code"), 50));
  const std::string code = vb::UCase(typed);
  const int32_t limit = QueryInteger("limit", call.Query("limit"), 1, kMaxPageSize, 50);
  auto rows = call.Db().Query(
      "SELECT ID, Code, Barcode, Description, StockOnHand FROM Products WHERE CompanyID = ?1 "
      "ORDER BY Code",
      {vb::Variant(call.options.company_id)});
  static constexpr JsonColumn kColumns[] = {{"id", "ID", JsonKind::kKey},
                                            {"code", "Code", JsonKind::kText},
                                            {"barcode", "Barcode", JsonKind::kText},
                                            {"description", "Description", JsonKind::kText},
                                            {"on_hand", "StockOnHand", JsonKind::kQuantity}};
  json all = JsonRows(*rows, kColumns);
  json exact = json::array(), begun = json::array();
  for (json& product : all) {
    const std::string its_barcode = product["barcode"].is_string() ? product["barcode"] : "";
    if (!barcode.empty()) {
      if (its_barcode == barcode) exact.push_back(product);
      continue;
    }
    const std::string upper = vb::UCase(product.value("code", ""));
    if (upper == code || (!typed.empty() && its_barcode == typed)) exact.push_back(product);
    if (upper.rfind(code, 0) == 0 && begun.size() < static_cast<size_t>(limit)) {
      begun.push_back(product);
    }
  }
  return !barcode.empty() || (!code.empty() && !exact.empty()) ? exact : begun;
}

json OutstandingOrders(Call& call) {
  host::VoucherSession session(VoucherContext(call), posting::kGoodsReceived);
  session.ChooseSupplier(call.Key(0));
  static constexpr JsonColumn kColumns[] = {
      {"id", "ID", JsonKind::kKey},
      {"number", "Order Number", JsonKind::kText},
      {"date", "Date Ordered", JsonKind::kDate},
      {"supplier_ref", "Supplier Ref", JsonKind::kText},
      {"outstanding_lines", "Outstanding Lines", JsonKind::kKey}};
  return JsonRows(*session.Sources(), kColumns);
}

// The order a delivery note's number names, when it still has goods to
// come: what a scanner at the dock reads first.
json OrderByNumber(Call& call) {
  const std::string number = vb::Trim(QueryText("number", call.Query("number"), 30));
  if (number.empty()) Refuse(400, "number", "number is required");
  auto rows = call.Db().Query(
      "SELECT ID, SupplierID FROM PurchaseOrders WHERE CompanyID = ?1 AND UPPER(OrderNumber) = ?2",
      {vb::Variant(call.options.company_id), vb::Variant(vb::UCase(number))});
  if (rows->IsEOF()) Refuse(404, "number", "There is no order " + number + ".");
  const int32_t order = vb::CLng(rows->Item(0).Value());
  const int32_t supplier = vb::CLng(rows->Item(1).Value());
  host::VoucherSession session(VoucherContext(call), posting::kGoodsReceived);
  session.ChooseSupplier(supplier);
  auto sources = session.Sources();
  if (sources->RecordCount() > 0) {
    for (sources->MoveFirst(); !sources->IsEOF(); sources->MoveNext()) {
      if (vb::CLng(sources->Item("ID").Value()) == order) {
        return json{{"order_id", order},
                    {"supplier_id", supplier},
                    {"number", vb::CStr(sources->Item("Order Number").Value())}};
      }
    }
  }
  Refuse(409, "number", "Order " + number + " has nothing still to come.");
}

json OutstandingLines(Call& call) {
  const int32_t order = call.Key(0);
  const host::OrderHeader header = host::ReadOrderHeader(call.Db(), order);
  host::VoucherSession session(VoucherContext(call), posting::kGoodsReceived);
  session.ChooseSupplier(header.supplier_id);
  session.ChooseSource(order);
  data::RecordSet& lines = session.SourceLines();
  json list = json::array();
  if (lines.RecordCount() == 0) return list;
  const vb::Locale invariant;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
    auto number = [&](const char* column) {
      const vb::Variant value = lines.Item(column).Value();
      return value.IsNull() ? 0.0 : vb::CDbl(value, invariant);
    };
    const double ordered = number("Qty") + number("B/O Qty");
    list.push_back({{"id", vb::CLng(lines.Item("ID").Value())},
                    {"code", JsonValue(lines.Item("Code").Value(), JsonKind::kText)},
                    {"product", JsonValue(lines.Item("Product").Value(), JsonKind::kText)},
                    {"ordered", ordered},
                    {"received", number("Received Qty")},
                    {"outstanding", ordered - number("Received Qty")}});
  }
  return list;
}

std::optional<host::OrderProgress> ProgressNamed(const std::string& name) {
  for (auto progress : {host::OrderProgress::kPending, host::OrderProgress::kOpen,
                        host::OrderProgress::kPartReceived, host::OrderProgress::kReceived,
                        host::OrderProgress::kClosed, host::OrderProgress::kCancelled}) {
    std::string text = vb::LCase(host::ProgressText(progress));
    std::replace(text.begin(), text.end(), ' ', '-');
    if (text == name) return progress;
  }
  return std::nullopt;
}

json Orders(Call& call) {
  host::OrderListFilter filter;
  filter.supplier_id = QueryInteger("supplier_id", call.Query("supplier_id"), 1, INT32_MAX, 0);
  const std::string status = QueryText("status", call.Query("status"), 20);
  if (!status.empty()) {
    filter.progress = ProgressNamed(status);
    if (!filter.progress) {
      Refuse(400, "status",
             "status must be pending, open, part-received, received, closed or cancelled");
    }
  }
  const int32_t page = QueryInteger("page", call.Query("page"), 1, 1000000, 1);
  const int32_t size = QueryInteger("page_size", call.Query("page_size"), 1, kMaxPageSize, 50);
  const host::OrderList list = host::ReadOrderList(call.Db(), call.options.company_id, filter);
  json orders = json::array();
  const size_t first = static_cast<size_t>(page - 1) * static_cast<size_t>(size);
  for (size_t i = first; i < list.order_ids.size() && i < first + static_cast<size_t>(size); ++i) {
    const auto& cells = list.table.rows[i];
    orders.push_back({{"id", list.order_ids[i]},
                      {"number", cells[0]},
                      {"supplier", cells[1]},
                      {"date", cells[2]},
                      {"status", cells[3]},
                      {"total", cells[4]}});
  }
  return {{"orders", orders},
          {"page", page},
          {"page_size", size},
          {"total_count", list.order_ids.size()}};
}

json EndOrder(Call& call, host::OrderEnd end) {
  host::OrderHeader header = host::ReadOrderHeader(call.Db(), call.Key(0));
  host::EndOrder(call.Db(), header, end, call.Access().User());
  return OrderJson(call.Db(), header.order_id);
}

json Audit(Call& call) {
  access::AuditFilter filter;
  filter.user = QueryText("user", call.Query("user"), 63);
  filter.document = QueryText("document", call.Query("document"), 100);
  filter.from = QueryText("from", call.Query("from"), 10);
  filter.to = QueryText("to", call.Query("to"), 10);
  filter.before_id = QueryInteger("before", call.Query("before"), 1, INT32_MAX, 0);
  filter.limit = QueryInteger("limit", call.Query("limit"), 1, kMaxPageSize, 50);
  json rows = json::array();
  for (const access::AuditRow& row : access::ReadAudit(call.Db(), filter)) {
    rows.push_back({{"id", row.id},
                    {"at", vb::CStr(vb::Variant(row.at), vb::Locale())},
                    {"user", row.user},
                    {"client", row.client},
                    {"action", row.action},
                    {"document", row.document},
                    {"details", row.details}});
  }
  return rows;
}

}  // namespace

json OrderJson(data::Connection& connection, int32_t order_id) {
  const host::OrderHeader header = host::ReadOrderHeader(connection, order_id);
  auto rows = connection.Query(
      "SELECT d.ID, p.Code, p.Description, d.Qty, d.BOQty, d.QtyReceived, d.UnitPrice, "
      "d.TotalCost FROM PurchaseOrderDetails d LEFT JOIN Products p ON p.ID = d.ProductID "
      "WHERE d.PurchaseOrderID = ?1 ORDER BY d.ID",
      {vb::Variant(order_id)});
  static constexpr JsonColumn kColumns[] = {{"id", "ID", JsonKind::kKey},
                                            {"code", "Code", JsonKind::kText},
                                            {"product", "Description", JsonKind::kText},
                                            {"qty", "Qty", JsonKind::kQuantity},
                                            {"back_order", "BOQty", JsonKind::kQuantity},
                                            {"received", "QtyReceived", JsonKind::kQuantity},
                                            {"unit_price", "UnitPrice", JsonKind::kMoney},
                                            {"total", "TotalCost", JsonKind::kMoney}};
  return {{"id", header.order_id},
          {"number", header.order_number},
          {"supplier_id", header.supplier_id},
          {"supplier", header.supplier_name},
          {"date", JsonValue(vb::Variant(header.date_ordered), JsonKind::kDate)},
          {"status", host::OrderStatusText(header.status)},
          {"our_ref", header.our_ref},
          {"supplier_ref", header.supplier_ref},
          {"ended_by", header.ended_by},
          {"lines", JsonRows(*rows, kColumns)}};
}

std::string ScannedCode(data::Connection& connection, int32_t company_id,
                        const std::string& scanned) {
  const std::string barcode = vb::Trim(scanned);
  if (barcode.empty()) return scanned;
  auto found = connection.Query("SELECT Code FROM Products WHERE CompanyID = ?1 AND Barcode = ?2",
                                {vb::Variant(company_id), vb::Variant(barcode)});
  return found->IsEOF() ? scanned : vb::CStr(found->Item(0).Value());
}

void AddCatalogRoutes(ApiServer& server) {
  server.Add({"GET", "/api/suppliers", Suppliers});
  server.Add({"GET", "/api/suppliers/{id}/outstanding-orders", OutstandingOrders});
  server.Add({"GET", "/api/products", Products});
  server.Add({"GET", "/api/outstanding-orders", OrderByNumber});
  server.Add({"GET", "/api/orders", Orders});
  server.Add(
      {"GET", "/api/orders/{id}", [](Call& call) { return OrderJson(call.Db(), call.Key(0)); }});
  server.Add({"GET", "/api/orders/{id}/outstanding-lines", OutstandingLines});
  server.Add({"POST", "/api/orders/{id}/close",
              [](Call& call) { return EndOrder(call, host::OrderEnd::kClose); }});
  server.Add({"POST", "/api/orders/{id}/cancel",
              [](Call& call) { return EndOrder(call, host::OrderEnd::kCancel); }});
  server.Add({"GET", "/api/audit", Audit});
  server.Add({"GET", "/api/books-check", [](Call& call) {
                const std::vector<std::string> breaches =
                    posting::StockInvariantBreaches(call.Db());
                return json{{"holds", breaches.empty()}, {"breaches", breaches}};
              }});
}

}  // namespace kvt::serve
