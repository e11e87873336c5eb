#include "apps/kvt-host/order_workbench.h"

#include <utility>

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/data_gateway.h"

namespace kvt::host {
namespace {

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

// A value for a database column: Null stays Null, text the record set kept
// as text is converted by the statement's column affinity.
vb::Variant Column(data::RecordSet& rows, const char* name) {
  return rows.Item(name).Value();
}

constexpr const char* kCommands[] = {"&Add line", "&Edit line", "&Save order...",
                                     "Print pre&view", "&Close"};

}  // namespace

OrderWorkbench::OrderWorkbench(data::ConnectionRef connection, std::string connection_text,
                               int32_t company_id, std::string database_name)
    : OrderScreen(connection, company_id),
      db_(std::move(connection)),
      connection_text_(std::move(connection_text)),
      company_id_(company_id),
      database_name_(std::move(database_name)) {
  order_.ConnectionString(connection_text_);
  order_.CompanyID(company_id_);
  order_.QtyDecimals(2);
  order_.PriceDecimals(2);
}

void OrderWorkbench::Build() {
  OrderScreen::Build();
  Size(Width(), Height() + 1080);
  const int32_t top = Height() - 960;

  auto caption = [this](const char* name, const char* text, int32_t left, int32_t line_top,
                        int32_t width) {
    auto& label = Add<ui::Label>(name);
    label.Caption(text);
    label.Move(left, line_top + 30, width, 255);
  };
  caption("lblPickProduct", "Product:", 120, top, 780);
  auto& products = Add<ui::DataCombo>("dbcProduct");
  products.Move(900, top, 4200, 315);
  products.Style(2);
  caption("lblPickQty", "Qty:", 5220, top, 420);
  Add<ui::TextBox>("txtQty").Move(5640, top, 900, 315);
  caption("lblLineNo", "Line:", 6720, top, 480);
  Add<ui::TextBox>("txtLineNo").Move(7200, top, 600, 315);

  for (int i = 0; i < 5; ++i) {
    auto& button = Add<ui::CommandButton>("cmdHost", i);
    button.Caption(kCommands[i]);
    button.Move(120 + i * 2280, top + 480, 2160, 390);
    button.On(ui::Event::kClick, [this, i](ui::EventArgs&) {
      switch (i) {
        case 0: AddLine(); break;
        case 1: EditLine(); break;
        case 2: SaveOrder(); break;
        case 3: PreviewOrder(); break;
        default: Unload(); break;
      }
    });
  }
  Ctl<ui::CommandButton>("cmdHost", 4).Cancel(true);
}

void OrderWorkbench::OpenOrder(int32_t order_id) {
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(connection_text_, -1, 3);
  int32_t status = 0;
  lines_ = gateway.OpenRecordset("Exec sp_AO_Select_Order_Details " + std::to_string(order_id),
                                 1, 3, 3, connection, status);
  auto products = gateway.OpenRecordset(
      "Exec sp_AO_Select_Products " + std::to_string(company_id_), 1, 3, 3, connection, status);
  auto& picker = Ctl<ui::DataCombo>("dbcProduct");
  picker.ListField("Product");
  picker.BoundColumn("ID");
  picker.RowSource(products);

  order_id_ = order_id;
  Provider().CurrentOrder(order_id);
  vb::Variant self = AsVariant(shared_from_this());
  order_.ClearHeaderControls(self);
  order_.BindOrderHeader(self);
  order_number_ = Ctl<ui::TextBox>("txtOHeaderEdit", 1).Text();
  Caption(std::string(kWorkbenchTitle) + " - " + order_number_);
  Refresh(FirstProductOfOrder());
}

void OrderWorkbench::Refresh(int32_t product_id) {
  auto& grid = Ctl<ui::DataGrid>("sugOrderDetails", 0);
  grid.DataSource(lines_);
  vb::Variant self = AsVariant(shared_from_this());
  order_.CalculateHeaderTotals(AsVariant(lines_), Get("lblOHeaderEdit"));
  if (product_id != 0) {
    auto forecaster = std::make_shared<ProductForecaster>(*db_, product_id);
    order_.SetProductDetails(self, AsVariant(forecaster));
  }
}

vb::Variant OrderWorkbench::ProductRow(int32_t product_id) {
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(connection_text_, -1, 3);
  int32_t status = 0;
  return AsVariant(gateway.OpenRecordset(
      "Exec sp_AO_Select_Product_Details " + std::to_string(product_id), 1, 3, 3, connection,
      status));
}

void OrderWorkbench::Tell(const std::string& text) {
  ui::MsgBox(text, ui::vbOKOnly | ui::vbInformation, kWorkbenchTitle);
}

void OrderWorkbench::AddLine() {
  const std::string product = Ctl<ui::DataCombo>("dbcProduct").BoundText();
  const std::string quantity = Ctl<ui::TextBox>("txtQty").Text();
  if (product.empty() || !vb::IsNumeric(quantity)) {
    Tell("Choose a product and type the quantity to order first.");
    return;
  }
  const int32_t product_id = vb::CLng(product);
  order_.LoadDetailForm();
  order_.AssignAllForAdding(ProductRow(product_id), vb::CDbl(quantity), order_number_);
  order_.ShowDetailForm();
  if (!order_.IsEditFormLoaded()) return;  // the buyer cancelled
  order_.AddOrderDetailToRS(AsVariant(lines_));
  Refresh(product_id);
}

void OrderWorkbench::EditLine() {
  const std::string line_text = Ctl<ui::TextBox>("txtLineNo").Text();
  const int32_t count = lines_ ? lines_->RecordCount() : 0;
  const int32_t line = vb::IsNumeric(line_text) ? vb::CLng(line_text) : 0;
  if (line < 1 || line > count) {
    Tell("Type the number of the line to edit, 1 to " + std::to_string(count) + ".");
    return;
  }
  lines_->MoveFirst();
  for (int32_t i = 1; i < line; ++i) lines_->MoveNext();
  const int32_t product_id = vb::CLng(lines_->Item("Products ID").Value());
  order_.LoadDetailForm();
  order_.AssignAllForEditing(ProductRow(product_id), AsVariant(lines_), order_number_);
  order_.ShowDetailForm();
  if (!order_.IsEditFormLoaded()) return;
  order_.UpdateOrderDetailRS(AsVariant(lines_));
  lines_->Update();  // committing the row is the host's part
  Refresh(product_id);
}

void OrderWorkbench::SaveOrder() {
  order_.LoadDeliveryForm();
  order_.Order_No(order_number_);
  order_.Supplier_Name(Ctl<ui::DataCombo>("dbcOHeaderEdit", 4).Text());
  order_.Del_Name(Ctl<ui::DataCombo>("dbcOHeaderEdit", 3).Text());
  order_.Created_By("buyer");
  order_.ShowDeliveryForm();
  if (!order_.IsDeliveryFormLoaded()) return;  // cancelled: nothing saved
  const bool print_now = order_.OrderNow();
  const bool preview = order_.Show_Report_Preview();
  try {
    SaveLines();
  } catch (const vb::Error& error) {
    ui::MsgBox("The order could not be saved:\r\n" + error.description(),
               ui::vbOKOnly | ui::vbCritical, kWorkbenchTitle);
    return;
  }
  order_.UnloadDeliveryForm();
  OpenOrder(order_id_);  // new lines now carry their database IDs
  if (print_now) {
    order_.ShowPurchaseOrder(order_id_, preview, database_name_);
  } else {
    Tell("Order " + order_number_ + " saved as a pending order.");
  }
}

void OrderWorkbench::PreviewOrder() {
  order_.ShowPurchaseOrder(order_id_, true, database_name_);
}

void OrderWorkbench::SaveLines() {
  db_->RunInTransaction([&] {
    for (lines_->MoveFirst(); !lines_->IsEOF(); lines_->MoveNext()) {
      data::RecordSet& row = *lines_;
      std::vector<vb::Variant> values = {
          Column(row, "Products ID"),  Column(row, "Lead Time"),
          Column(row, "Qty"),          Column(row, "B/O Qty"),
          Column(row, "Free Qty"),     Column(row, "Unit Price"),
          Column(row, "Trade_Discount_Formula_ID"), Column(row, "Trade Disc"),
          Column(row, "Rebate_Formula_ID"), Column(row, "Rebate Disc"),
          Column(row, "Other_Discount_Formula_ID"), Column(row, "Other Disc"),
          Column(row, "Net Amount"),   Column(row, "Tax_Codes_ID"),
          Column(row, "Tax"),          Column(row, "Total Cost")};
      vb::Variant id = Column(row, "ID");
      if (id.IsNull()) {
        values.push_back(order_id_);
        db_->Execute(
            "INSERT INTO PurchaseOrderDetails (ProductID, LeadTime, Qty, BOQty, FreeQty, "
            "UnitPrice, TradeDiscountFormulaID, TradeDisc, RebateFormulaID, RebateDisc, "
            "OtherDiscountFormulaID, OtherDisc, NetAmount, TaxCodesID, Tax, TotalCost, "
            "PurchaseOrderID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
            "?13, ?14, ?15, ?16, ?17)",
            values);
      } else {
        values.push_back(id);
        db_->Execute(
            "UPDATE PurchaseOrderDetails SET ProductID = ?1, LeadTime = ?2, Qty = ?3, "
            "BOQty = ?4, FreeQty = ?5, UnitPrice = ?6, TradeDiscountFormulaID = ?7, "
            "TradeDisc = ?8, RebateFormulaID = ?9, RebateDisc = ?10, "
            "OtherDiscountFormulaID = ?11, OtherDisc = ?12, NetAmount = ?13, "
            "TaxCodesID = ?14, Tax = ?15, TotalCost = ?16 WHERE ID = ?17",
            values);
      }
    }
  });
}

}  // namespace kvt::host
