#include "apps/kvt-host/order_printing_scenario.h"

#include <QGuiApplication>
#include <filesystem>
#include <memory>

#include "apps/kvt-host/order_screen.h"
#include "db/demo_database.h"
#include "frontends/qt/report/qt_outputs.h"
#include "kvt/COrder.h"
#include "platform/data/connection.h"
#include "platform/report/output.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/value/error.h"
#include "services/connection_text.h"

namespace kvt::host {

namespace {

// PO000102: a null supplier reference, and a product never sold yet.
constexpr int32_t kOrderId = 2;
constexpr char kOrderNumber[] = "PO000102";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What one row of the screen shows: its caption label and the control.
void WriteShown(std::ostream& out, const char* caption, const ui::Control& control) {
  std::string shown;
  if (auto* label = dynamic_cast<const ui::Label*>(&control)) shown = label->Caption();
  if (auto* box = dynamic_cast<const ui::TextBox*>(&control)) shown = box->Text();
  if (auto* combo = dynamic_cast<const ui::DataCombo*>(&control)) shown = combo->Text();
  out << "  " << caption << " " << Quoted(shown) << "\n";
}

void WriteScreen(std::ostream& out, OrderScreen& screen) {
  out << "screen: order header\n";
  WriteShown(out, "Supplier:", screen.Ctl("dbcOHeaderEdit", 4));
  WriteShown(out, "Branch:", screen.Ctl("dbcOHeaderEdit", 3));
  const char* texts[] = {"Order No:", "Rep:", "Supplier Type:", "Our Ref:", "Supplier Ref:"};
  for (int i = 1; i <= 5; ++i) WriteShown(out, texts[i - 1], screen.Ctl("txtOHeaderEdit", i));
  const char* totals[] = {"Trade Discount:", "Rebate Discount:", "Other Discount:", "Net Amount:",
                          "Tax Total:",      "Order Total:",     "Order Qty:"};
  for (int i = 1; i <= 7; ++i) WriteShown(out, totals[i - 1], screen.Ctl("lblOHeaderEdit", i));
  out << "  order lines in the grid: "
      << screen.Ctl<ui::DataGrid>("sugOrderDetails", 0).Rows().size() << "\n";

  out << "screen: product details\n";
  const char* stock[] = {"Product:",      "Stock on Hand:",  "Stock Reserved:",     "Last Sale:",
                         "Qty on Order:", "Orders Pending:", "Candidates Pending:"};
  for (int i = 0; i <= 6; ++i) WriteShown(out, stock[i], screen.Ctl("lblProdDetails", i));
  const char* ordering[] = {"Lead Time:", "Min Order Qty:", "Max Order Qty:", "Service Level:"};
  for (int i = 0; i <= 3; ++i) WriteShown(out, ordering[i], screen.Ctl("txtProdDetails", i));
  const char* stats[] = {"Mean:", "Median:", "Std Dev:"};
  for (int i = 0; i <= 2; ++i) WriteShown(out, stats[i], screen.Ctl("lblStats", i));
}

// Prints the order through COrder by name, as a host holding the class
// late-bound would, into `pdf_path`; true when the file was written.
bool PrintToPdf(COrder& order, const std::string& pdf_path, bool reprint, std::ostream& out) {
  std::error_code ignored;
  std::filesystem::remove(pdf_path, ignored);
  report::ScopedOutput installed(std::make_shared<qt::HeadlessOutput>(pdf_path));
  vb::Variant args[] = {kOrderId, true, std::string(db::kDemoDatabaseName), reprint};
  order.Invoke("ShowPurchaseOrder", CallKind::kCall, args);
  if (!std::filesystem::exists(pdf_path)) {
    out << "host: no document was written to " << pdf_path << "\n";
    return false;
  }
  out << "host: " << (reprint ? "reprint" : "purchase order") << " written to " << pdf_path
      << "\n";
  return true;
}

}  // namespace

int RunPurchaseOrderPrinting(const std::string& connection_text, const std::string& out_dir,
                             std::ostream& out) {
  // The headless output paints with Qt, which needs an application object.
  std::unique_ptr<QGuiApplication> application;
  if (QGuiApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "kvt-host";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }

  out << "== Purchase order " << kOrderNumber << ": order screen and printed order ==\n";
  data::ConnectionRef connection;
  try {
    connection = services::OpenConnection(services::ParseConnectionText(connection_text));
  } catch (const vb::Error& error) {
    out << "host: cannot open the database: " << error.description() << "\n";
    return 1;
  }

  COrder order;
  order.ConnectionString(connection_text);
  order.CompanyID(db::kDemoCompanyID);
  order.QtyDecimals(2);
  order.PriceDecimals(2);

  auto screen = std::make_shared<OrderScreen>(connection, db::kDemoCompanyID);
  const vb::Variant form = vb::ObjectRef(screen);
  // As when the user opens another order: the previous one goes first.
  order.ClearHeaderControls(form);
  screen->ShowOrderLines(kOrderId);
  order.BindOrderHeader(form);
  const int32_t product_id = screen->FirstProductOfOrder();
  if (product_id != 0) {
    order.SetProductDetails(form, vb::ObjectRef(std::make_shared<ProductForecaster>(
                                      *connection, product_id)));
  }
  WriteScreen(out, *screen);
  const bool bound = screen->Ctl<ui::TextBox>("txtOHeaderEdit", 1).Text() == kOrderNumber;
  if (!bound) out << "host: the order header was not bound\n";

  std::error_code created;
  std::filesystem::create_directories(out_dir, created);
  const std::filesystem::path dir(out_dir);
  const std::string first =
      (dir / ("purchase-order-" + std::string(kOrderNumber) + ".pdf")).string();
  const std::string second =
      (dir / ("purchase-order-" + std::string(kOrderNumber) + "-reprint.pdf")).string();
  const bool printed = PrintToPdf(order, first, false, out);
  const bool reprinted = PrintToPdf(order, second, true, out);
  return bound && printed && reprinted ? 0 : 1;
}

}  // namespace kvt::host
