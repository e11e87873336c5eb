#include "apps/kvt-host/sessions/order_session.h"

#include <map>

#include "apps/kvt-host/sessions/order_screen.h"
#include "apps/kvt-host/sessions/host_settings.h"
#include "kvt/host_helpers.h"
#include "platform/ui/controls.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"
#include "services/data_gateway.h"

namespace kvt::host {
namespace {

constexpr char kSource[] = "kvt-host";

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

// The line columns after Code, in the grid's order.
constexpr FieldColumn kLineColumns[] = {
    {"Product", "Product", CellKind::kText},        {"Qty", "Qty", CellKind::kQuantity},
    {"B/O", "B/O Qty", CellKind::kQuantity},        {"Free", "Free Qty", CellKind::kQuantity},
    {"Unit price", "Unit Price", CellKind::kPrice}, {"Trade", "Trade Disc", CellKind::kMoney},
    {"Rebate", "Rebate Disc", CellKind::kMoney},    {"Other", "Other Disc", CellKind::kMoney},
    {"Net", "Net Amount", CellKind::kMoney},        {"Tax", "Tax", CellKind::kMoney},
    {"Total", "Total Cost", CellKind::kMoney}};

// The product panel of the order screen, as the component fills it.
struct PanelEntry {
  const char* caption;
  const char* control;
  int index;
};
constexpr PanelEntry kProductPanel[] = {
    {"Product", "lblProdDetails", 0},        {"Stock on hand", "lblProdDetails", 1},
    {"Reserved", "lblProdDetails", 2},       {"Last sale", "lblProdDetails", 3},
    {"On order", "lblProdDetails", 4},       {"Orders pending", "lblProdDetails", 5},
    {"Shopping list", "lblProdDetails", 6},  {"Lead time (days)", "txtProdDetails", 0},
    {"Smallest order", "txtProdDetails", 1}, {"Largest order", "txtProdDetails", 2},
    {"Service level", "txtProdDetails", 3},  {"Mean order", "lblStats", 0},
    {"Median order", "lblStats", 1},         {"Std deviation", "lblStats", 2}};

}  // namespace

OrderSession::OrderSession(DeskContext desk) : desk_(std::move(desk)) {
  const CompanySettings company = ReadCompanySettings(desk_.connection_text, desk_.company_id);
  decimals_ = {company.qty_decimals, company.price_decimals};
  order_.ConnectionString(desk_.connection_text);
  order_.CompanyID(desk_.company_id);
  order_.UserID(desk_.user_id);
  order_.QtyDecimals(decimals_.quantity);
  order_.PriceDecimals(decimals_.price);
  screen_ = std::make_shared<OrderScreen>(desk_.connection, desk_.company_id);
}

const std::vector<ProductChoice>& OrderSession::Products() const {
  // The whole catalogue only when a line is to be chosen: an order is
  // opened and shown without it.
  if (!products_) {
    services::DataGateway gateway;
    data::ConnectionRef connection = gateway.OpenConnection(desk_.connection_text, -1, 3);
    int32_t status = 0;
    data::RecordSetRef products =
        gateway.OpenRecordset("Exec sp_AO_Select_Products " + std::to_string(desk_.company_id), 1,
                              3, 3, connection, status);
    products_ = ProductChoicesOf(*products);
  }
  return *products_;
}

OrderSession::~OrderSession() = default;

void OrderSession::Open(int32_t order_id) {
  OrderHeader header = ReadOrderHeader(*desk_.connection, order_id);
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(desk_.connection_text, -1, 3);
  int32_t status = 0;
  lines_ = gateway.OpenRecordset("Exec sp_AO_Select_Order_Details " + std::to_string(order_id), 1,
                                 3, 3, connection, status);
  header_ = std::move(header);
  removed_line_ids_.clear();
  opened_lines_ = ReadSavedLines(*lines_);
  dirty_ = false;
  screen_->Provider().CurrentOrder(order_id);
  const vb::Variant form = AsVariant(screen_);
  order_.ClearHeaderControls(form);
  order_.BindOrderHeader(form);
  Recalculate();
}

void OrderSession::StartNew(int32_t supplier_id) {
  OrderHeader header = NewOrderHeader(*desk_.connection, desk_.company_id, supplier_id);
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(desk_.connection_text, -1, 3);
  int32_t status = 0;
  // No order has ID 0: the set comes back empty, in the order-detail layout.
  lines_ = gateway.OpenRecordset("Exec sp_AO_Select_Order_Details 0", 1, 3, 3, connection, status);
  header_ = std::move(header);
  removed_line_ids_.clear();
  opened_lines_.clear();
  dirty_ = true;
  screen_->Provider().CurrentOrder(0);
  order_.ClearHeaderControls(AsVariant(screen_));
  Recalculate();
}

std::string OrderSession::LockedReason() const {
  if (desk_.ReadOnly()) return "The database is read-only: orders can be read but not saved.";
  if (header_.status == kOrderClosed || header_.status == kOrderCancelled) {
    return "Order " + header_.order_number + " is " + vb::LCase(OrderStatusText(header_.status)) +
           ": its lines can be read but not changed.";
  }
  return {};
}

void OrderSession::SetReferences(const std::string& our_ref, const std::string& supplier_ref,
                                 const std::string& message) {
  if (our_ref == header_.our_ref && supplier_ref == header_.supplier_ref &&
      message == header_.message) {
    return;
  }
  header_.our_ref = our_ref;
  header_.supplier_ref = supplier_ref;
  header_.message = message;
  dirty_ = true;
}

int OrderSession::LineCount() const { return lines_ ? lines_->RecordCount() : 0; }

GridTable OrderSession::LinesGrid() {
  GridTable table = GridOf(*lines_, kLineColumns, decimals_);
  table.columns.insert(table.columns.begin(), {"Code", CellKind::kText});
  std::map<int32_t, std::string> codes;
  if (products_) {
    for (const ProductChoice& product : *products_) codes[product.id] = product.code;
  } else if (LineCount() > 0) {
    // The codes of the lines' own products, not the catalogue's.
    std::string ids;
    for (lines_->MoveFirst(); !lines_->IsEOF(); lines_->MoveNext()) {
      const vb::Variant product = lines_->Item("Products ID").Value();
      if (!product.IsNull()) ids += (ids.empty() ? "" : ", ") + std::to_string(vb::CLng(product));
    }
    if (!ids.empty()) {
      for (auto found =
               desk_.connection->Query("SELECT ID, Code FROM Products WHERE ID IN (" + ids + ")");
           !found->IsEOF(); found->MoveNext()) {
        codes[vb::CLng(found->Item(0).Value())] = vb::CStr(found->Item(1).Value());
      }
    }
  }
  size_t row = 0;
  if (LineCount() > 0) {
    for (lines_->MoveFirst(); !lines_->IsEOF(); lines_->MoveNext(), ++row) {
      const vb::Variant product = lines_->Item("Products ID").Value();
      table.rows[row].insert(table.rows[row].begin(),
                             product.IsNull() ? std::string() : codes[vb::CLng(product)]);
    }
  }
  return table;
}

void OrderSession::MoveToRow(int row) {
  if (row < 0 || row >= LineCount()) throw vb::Error::SubscriptOutOfRange(kSource);
  lines_->MoveFirst();
  for (int i = 0; i < row; ++i) lines_->MoveNext();
}

vb::Variant OrderSession::ProductRow(int32_t product_id) {
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(desk_.connection_text, -1, 3);
  int32_t status = 0;
  return AsVariant(
      gateway.OpenRecordset("Exec sp_AO_Select_Product_Details " + std::to_string(product_id), 1, 3,
                            3, connection, status));
}

void OrderSession::Recalculate() {
  order_.CalculateHeaderTotals(AsVariant(lines_), screen_->Get("lblOHeaderEdit"));
}

bool OrderSession::AddLine(int32_t product_id, double quantity) {
  order_.LoadDetailForm();
  order_.AssignAllForAdding(ProductRow(product_id), quantity, header_.order_number);
  order_.ShowDetailForm();
  if (!order_.IsEditFormLoaded()) return false;
  order_.AddOrderDetailToRS(AsVariant(lines_));
  dirty_ = true;
  Recalculate();
  return true;
}

bool OrderSession::EditLine(int row) {
  MoveToRow(row);
  const std::vector<vb::Variant> before = LineValues(*lines_);
  const int32_t product_id = vb::CLng(lines_->Item("Products ID").Value());
  order_.LoadDetailForm();
  order_.AssignAllForEditing(ProductRow(product_id), AsVariant(lines_), header_.order_number);
  order_.ShowDetailForm();
  if (!order_.IsEditFormLoaded()) return false;
  MoveToRow(row);
  order_.UpdateOrderDetailRS(AsVariant(lines_));
  lines_->Update();  // committing the row is the host's part
  const bool changed = !SameValues(before, LineValues(*lines_));
  dirty_ = dirty_ || changed;
  Recalculate();
  return changed;
}

std::string OrderSession::RemovalRefusal(int row) {
  MoveToRow(row);
  const vb::Variant id = lines_->Item("ID").Value();
  if (id.IsNull()) return {};
  const double received = QtyReceived(*desk_.connection, vb::CLng(id));
  if (received == 0) return {};
  return "Goods have been received against this line (" +
         FormatCell(received, CellKind::kQuantity, decimals_) + " so far); it stays on the order.";
}

void OrderSession::RemoveLine(int row) {
  MoveToRow(row);
  const vb::Variant id = lines_->Item("ID").Value();
  if (!id.IsNull()) removed_line_ids_.push_back(vb::CLng(id));
  lines_->Delete();
  dirty_ = true;
  Recalculate();
}

std::vector<std::string> OrderSession::Totals() {
  std::vector<std::string> totals;
  for (int i = 1; i <= 7; ++i) {
    totals.push_back(screen_->Ctl<ui::Label>("lblOHeaderEdit", i).Caption());
  }
  return totals;
}

std::vector<std::pair<std::string, std::string>> OrderSession::ProductDetails(int row) {
  MoveToRow(row);
  const vb::Variant product = lines_->Item("Products ID").Value();
  if (product.IsNull()) return {};
  auto forecaster = std::make_shared<ProductForecaster>(*desk_.connection, vb::CLng(product));
  order_.SetProductDetails(AsVariant(screen_), AsVariant(forecaster));
  std::vector<std::pair<std::string, std::string>> details;
  for (const PanelEntry& entry : kProductPanel) {
    details.emplace_back(entry.caption, vb::CStr(screen_->Ctl(entry.control, entry.index).Get("")));
  }
  return details;
}

std::string OrderSession::ChangeRefusal() const {
  return host::ChangeRefusal(*desk_.connection, header_);
}

void OrderSession::SetDateOrdered(const vb::Date& date) {
  if (date == header_.date_ordered) return;
  header_.date_ordered = date;
  dirty_ = true;
}

OrderSession::SaveResult OrderSession::Save() {
  if (LineCount() == 0) {
    throw vb::Error(vb::err::kInvalidCall, kSource,
                    "An order needs at least one line before it can be saved.");
  }
  // Told before the buyer types the delivery details for nothing; the
  // write checks again.
  if (const std::string refusal = ChangeRefusal(); !refusal.empty()) {
    throw vb::Error(kOrderChangedElsewhere, kSource, refusal);
  }
  if (const std::string refusal = LinesRefusal(*desk_.connection, *lines_); !refusal.empty()) {
    throw vb::Error(vb::err::kInvalidCall, kSource, refusal);
  }
  order_.LoadDeliveryForm();
  order_.Order_No(header_.order_number);
  order_.Date_Ordered(FormatCell(header_.date_ordered, CellKind::kDate, decimals_));
  order_.Supplier_Name(header_.supplier_name);
  order_.Created_By(desk_.user_name);
  const DeliveryAddress& shown = header_.delivery;
  order_.Del_Name(shown.name);
  order_.Del_Address1(shown.address1);
  order_.Del_Address2(shown.address2);
  order_.Del_Address3(shown.address3);
  order_.Del_PostCode(shown.post_code);
  // A processed order is never put back to pending.
  order_.Save_Order_Enabled(header_.status == kOrderPending);
  // A pending order saved again is proposed to stay pending: processing
  // prints it and cannot be undone, so it is never the default then.
  if (!IsNew() && header_.status == kOrderPending) {
    kvt::ProposeSavingWithoutProcessing();
  }
  order_.ShowDeliveryForm();
  if (!order_.IsDeliveryFormLoaded()) return {};
  SaveResult result{true, order_.OrderNow(), order_.Show_Report_Preview()};
  const DeliveryAddress typed = {order_.Del_Name(), order_.Del_Address1(), order_.Del_Address2(),
                                 order_.Del_Address3(), order_.Del_PostCode()};
  order_.UnloadDeliveryForm();
  if (!(typed == header_.delivery)) {
    header_.delivery = typed;  // kept should the save fail
    dirty_ = true;
  }
  OrderHeader written = header_;
  if (result.print_now) written.status = kOrderProcessed;
  WriteOrder(*desk_.connection, desk_.company_id, written, *lines_, opened_lines_,
             removed_line_ids_, desk_.user_name);
  Open(written.order_id);
  return result;
}

void OrderSession::End(OrderEnd end) {
  OrderHeader ended = header_;
  EndOrder(*desk_.connection, ended, end, desk_.user_name);
  Open(ended.order_id);
}

std::string OrderSession::StatusText() const {
  if (IsNew()) return "New, not saved yet";
  std::string text = OrderStatusText(header_.status);
  if (!header_.ended_by.empty()) text += " by " + header_.ended_by;
  if (!header_.ended_at.IsNull() && !header_.ended_at.IsEmpty()) {
    const vb::Date at = vb::CDate(header_.ended_at);
    text += " on " + vb::Format(at, "dd mmm yyyy") + " at " + vb::Format(at, "hh:nn");
  }
  return text;
}

bool OrderSession::PrintsAsReprint() const { return header_.status != kOrderPending; }

void OrderSession::Print(bool preview, bool first_print) {
  order_.ShowPurchaseOrder(header_.order_id, preview, desk_.database_name,
                           !first_print && PrintsAsReprint());
}

}  // namespace kvt::host
