// kvt-desk-tour DATABASE OUT_DIR — a scripted buyer walks through the
// purchasing desk on the demo database made afresh at DATABASE and writes
// a PNG of every screen and dialog it meets into OUT_DIR. It runs the real
// window, the component's dialogs and the printing, clicking and typing
// through Qt; scripts/screenshots.sh runs it under Xvfb. Exits 1 when a
// step did not find what it expected (the shots taken so far are kept).
#include <QAbstractButton>
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>

#include "apps/kvt-host/desk/audit_page.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/access/login_gate.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "apps/kvt-host/desk/login_dialog.h"
#include "apps/kvt-host/desk/main_window.h"
#include "apps/kvt-host/desk/order_editor.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "apps/kvt-host/desk/voucher_page.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/report/output.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

constexpr int kStepMillis = 450;

// Xvfb runs no window manager: each window gets a plain title bar drawn
// over the picture, so a reader sees which window is which and its title.
void DrawTitleBars(QImage& picture) {
  constexpr int kBar = 22;
  QPainter painter(&picture);
  std::vector<QWidget*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = widget->windowType();
    if (widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip) {
      windows.push_back(widget);
    }
  }
  // Modal dialogs are on top of the windows they block.
  std::stable_partition(windows.begin(), windows.end(),
                        [](QWidget* widget) { return !widget->isModal(); });
  const QColor frame(52, 58, 70);
  for (QWidget* widget : windows) {
    const QRect area = widget->geometry();
    const QRect bar(area.left() - 1, area.top() - kBar, area.width() + 2, kBar);
    painter.fillRect(bar, frame);
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     widget->windowTitle());
    painter.setPen(frame);
    painter.drawRect(area.adjusted(-1, -1, 0, 0));
  }
}

class Tour {
 public:
  explicit Tour(std::string out_dir) : out_dir_(std::move(out_dir)) {}

  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  // A picture named after its place in the tour ("07-<name>.png").
  void Shot(const std::string& name) {
    ++shots_;
    const std::string numbered = (shots_ < 10 ? "0" : "") + std::to_string(shots_) + "-" + name;
    Then([this, numbered] { Grab(numbered); });
  }
  void Start() {
    QTimer::singleShot(kStepMillis, [this] { Tick(); });
  }
  int Failures() const { return failures_; }

  // The window on top: the innermost modal dialog, else `fallback`.
  static QWidget* Top(QWidget* fallback) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : fallback;
  }
  template <class W>
  W* Find(QWidget* root, const char* name) {
    W* widget = root ? root->findChild<W*>(name) : nullptr;
    if (widget == nullptr) Fail(std::string("no ") + name);
    return widget;
  }
  // Clicks the button of the top dialog whose text (less its "&") is `text`.
  void Press(const QString& text) {
    QWidget* top = QApplication::activeModalWidget();
    if (top != nullptr) {
      for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == text) {
          button->click();
          return;
        }
      }
    }
    Fail("no button " + text.toStdString());
  }
  void Fail(const std::string& what) {
    std::cerr << "kvt-desk-tour: " << what << "\n";
    ++failures_;
  }

 private:
  void Tick() {
    if (steps_.empty()) {
      // Whatever is still open is closed so the program can end.
      while (QWidget* modal = QApplication::activeModalWidget()) {
        Fail(std::string("left open: ") + modal->windowTitle().toStdString());
        modal->close();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        QApplication::processEvents();
      }
      QApplication::exit(failures_ == 0 ? 0 : 1);
      return;
    }
    std::function<void()> step = std::move(steps_.front());
    steps_.pop_front();
    // The next step is due even while this one waits in a modal dialog.
    QTimer::singleShot(kStepMillis, [this] { Tick(); });
    try {
      step();
    } catch (const vb::Error& error) {
      Fail(error.description());
    } catch (const std::exception& error) {
      Fail(error.what());
    }
  }
  void Grab(const std::string& name) {
    QImage picture;
    if (QGuiApplication::platformName() == "xcb") {
      picture = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
      DrawTitleBars(picture);
    } else if (QWidget* top = Top(QApplication::activeWindow())) {
      picture = top->grab().toImage();
    }
    const std::string path = out_dir_ + "/" + name + ".png";
    if (picture.isNull() || !picture.save(QString::fromStdString(path))) {
      Fail("could not write " + path);
      return;
    }
    std::cout << path << "\n";
  }

  std::string out_dir_;
  std::deque<std::function<void()>> steps_;
  int shots_ = 0;
  int failures_ = 0;
};

void ReplaceText(QLineEdit* edit, const QString& text) {
  if (edit == nullptr) return;
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// The orders, one order through edit, save and print, a new order, then
// the other screens.
void PlanOrders(Tour& tour, MainWindow& window) {
  OrdersPage& orders = window.Orders();
  OrderEditor& editor = orders.Editor();
  tour.Shot("purchase-orders");
  tour.Then([&] { orders.OpenOrder(2); });  // PO000102
  tour.Shot("order-PO000102");
  tour.Then([&] {
    GridView* lines = tour.Find<GridView>(&editor, "orderLines");
    lines->SelectRow(1);
    lines->setFocus();
    QTest::keyClick(lines, Qt::Key_Return);  // the order item dialog
  });
  tour.Shot("order-item-dialog");
  tour.Then([&] {
    QWidget* dialog = Tour::Top(nullptr);
    ReplaceText(tour.Find<QLineEdit>(dialog, "txtODEdit(3)"), "7");
  });
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdAction(0)")->click(); });
  tour.Shot("order-line-edited");
  tour.Then([&] {
    auto* picker = tour.Find<QComboBox>(&editor, "productPicker");
    picker->setFocus();
    QTest::keyClicks(picker->lineEdit(), "pnt");
  });
  tour.Shot("product-picker-type-ahead");
  tour.Then([&] {
    auto* picker = tour.Find<QComboBox>(&editor, "productPicker");
    if (picker->completer()->popup()) picker->completer()->popup()->hide();
    picker->setEditText("XYZ-99");
    tour.Find<QAbstractButton>(&editor, "addLine")->click();
  });
  tour.Shot("product-no-match");
  tour.Then([&] { tour.Press("OK"); });
  tour.Then([&] {
    tour.Find<QComboBox>(&editor, "productPicker")->setEditText("anc");
    tour.Find<QAbstractButton>(&editor, "addLine")->click();
  });
  tour.Shot("order-item-dialog-new-line");
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdAction(0)")->click(); });
  tour.Then([&] {
    GridView* lines = tour.Find<GridView>(&editor, "orderLines");
    lines->SelectRow(0);
    QTest::keyClick(lines, Qt::Key_Delete);
  });
  tour.Shot("remove-line-confirm");
  tour.Then([&] { tour.Press("No"); });
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "previewOrder")->click(); });
  tour.Shot("preview-of-unsaved-order");
  tour.Then([&] { tour.Press("Use last saved"); });
  tour.Shot("print-preview");
  tour.Then([&] { Tour::Top(nullptr)->close(); });
  tour.Then([&] {
    ReplaceText(tour.Find<QLineEdit>(&editor, "supplierRef"), "HF-Q-3340");
    tour.Find<QAbstractButton>(&editor, "saveOrder")->click();  // the delivery dialog
  });
  tour.Then([&] {
    ReplaceText(tour.Find<QLineEdit>(Tour::Top(nullptr), "txtDelAddr(3)"), "Western Cape");
  });
  tour.Shot("delivery-dialog");
  // Saved and processed; printing finds no printer.
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdAction(0)")->click(); });
  tour.Shot("print-without-printer");
  tour.Then([&] { tour.Press("Save"); });
  tour.Shot("save-as-pdf");
  tour.Then([&] {
    if (auto* files = qobject_cast<QFileDialog*>(Tour::Top(nullptr))) {
      static_cast<QDialog*>(files)->accept();
    } else {
      tour.Fail("no file dialog");
    }
  });
  tour.Shot("pdf-saved");
  tour.Then([&] { tour.Press("OK"); });
  tour.Shot("order-saved");
  // Printed again later: the copy says it is a reprint.
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "previewOrder")->click(); });
  tour.Shot("order-reprint-preview");
  tour.Then([&] { Tour::Top(nullptr)->close(); });
  tour.Then([&] {
    ReplaceText(tour.Find<QLineEdit>(&editor, "ourRef"), "KH-2291-B");
    tour.Find<QAbstractButton>(&editor, "closeOrder")->click();
  });
  tour.Shot("close-with-unsaved-changes");
  tour.Then([&] { tour.Press("Discard"); });
  tour.Then([&] { tour.Find<QAbstractButton>(&orders, "newOrder")->click(); });
  tour.Shot("new-order-supplier");
  tour.Then([&] { tour.Press("OK"); });
  tour.Shot("new-order");
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "closeOrder")->click(); });
  tour.Then([&] { tour.Press("Discard"); });
}

// Selects the row of `grid` whose first cell is `first`, and with `enter`
// presses Enter on it as a clerk would.
void PickRow(Tour& tour, GridView* grid, const QString& first, bool enter) {
  if (grid == nullptr) return;
  for (int row = 0; row < grid->model()->rowCount(); ++row) {
    if (grid->model()->index(row, 0).data().toString() != first) continue;
    grid->setFocus();
    grid->SelectRow(row);
    if (enter) QTest::keyClick(grid, Qt::Key_Return);
    return;
  }
  tour.Fail("no row " + first.toStdString());
}

// Opens `source` of `supplier` on the voucher page of `screen`, then takes
// the line of product `code` through the receive item dialog, typing
// `qty` when given.
void PlanVoucherLine(Tour& tour, MainWindow& window, DeskScreen screen, int32_t supplier,
                     const char* source, const char* code, const char* qty,
                     const std::string& dialog_shot = {}) {
  VoucherPage& page = window.Vouchers(screen);
  tour.Then([&tour, &window, &page, screen, supplier, source] {
    window.Navigate(screen);
    page.ChooseSupplier(supplier);
    PickRow(tour, tour.Find<GridView>(&page, "voucherSources"), source, true);
  });
  tour.Then([&tour, &page, code] {
    PickRow(tour, tour.Find<GridView>(&page, "sourceLines"), code, true);
  });
  if (!dialog_shot.empty()) tour.Shot(dialog_shot);
  tour.Then([&tour, qty] {
    QWidget* dialog = Tour::Top(nullptr);
    if (qty != nullptr) ReplaceText(tour.Find<QLineEdit>(dialog, "txtODEdit(0)"), qty);
    tour.Find<QAbstractButton>(dialog, "cmdAction(0)")->click();
  });
}

// The four voucher pages with lines: goods received saved (a period the
// company may not post to refused first), posted, printed and reprinted;
// a return, a consignment receipt with a sale, and a consignment return.
void PlanVouchers(Tour& tour, MainWindow& window) {
  VoucherPage& received = window.Vouchers(DeskScreen::kGoodsReceived);
  PlanVoucherLine(tour, window, DeskScreen::kGoodsReceived, 1, "PO000110", "WSH-M10", "20",
                  "receive-item-dialog");
  tour.Then([&] { PickRow(tour, tour.Find<GridView>(&received, "sourceLines"), "BLT-M10", true); });
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdAction(0)")->click(); });
  tour.Then([&] { ReplaceText(tour.Find<QLineEdit>(&received, "delNote"), "DN-4520"); });
  tour.Shot("goods-received");
  tour.Then([&] { tour.Find<QAbstractButton>(&received, "saveVoucher")->click(); });
  tour.Then([&] {  // October: before the current period, which the company refuses
    auto* months = tour.Find<QComboBox>(Tour::Top(nullptr), "dbcGRV(0)");
    if (months == nullptr) return;
    months->setCurrentIndex(9);
    emit months->activated(9);
  });
  tour.Shot("save-voucher-period-refused");
  tour.Then([&] { tour.Press("OK"); });
  tour.Then([&] {
    if (qobject_cast<QMessageBox*>(Tour::Top(nullptr)) != nullptr) tour.Press("OK");
  });
  tour.Then(
      [&] { ReplaceText(tour.Find<QLineEdit>(Tour::Top(nullptr), "txtGRV(0)"), "INV-88560"); });
  tour.Shot("save-voucher-dialog");
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdDo(1)")->click(); });
  tour.Then([&] { tour.Press("Yes"); });
  tour.Shot("voucher-posted");
  tour.Then([&] { tour.Press("Print…"); });
  tour.Shot("voucher-print-preview");
  tour.Then([&] { Tour::Top(nullptr)->close(); });
  tour.Then([&] { tour.Find<QAbstractButton>(&received, "reprintVoucher")->click(); });
  tour.Shot("voucher-reprint-choose");
  tour.Then([&] { tour.Press("OK"); });
  tour.Shot("voucher-reprint-copy");
  tour.Then([&] { Tour::Top(nullptr)->close(); });
  tour.Then([&] { tour.Find<QAbstractButton>(&received, "voucherHistory")->click(); });
  tour.Shot("voucher-history");
  tour.Then([&] { tour.Press("Close"); });

  PlanVoucherLine(tour, window, DeskScreen::kGoodsReturned, 1, "GRV000201", "BLT-M10", "2");
  tour.Then([&] {
    VoucherPage& page = window.Vouchers(DeskScreen::kGoodsReturned);
    ReplaceText(tour.Find<QLineEdit>(&page, "delNote"), "RN-0019");
  });
  tour.Shot("goods-returned");
  PlanVoucherLine(tour, window, DeskScreen::kConsignmentReceived, 3, "PO000106", "TMB-PINE",
                  nullptr);
  tour.Shot("consignment-received");
  tour.Then([&] {
    VoucherPage& page = window.Vouchers(DeskScreen::kConsignmentReceived);
    tour.Find<GridView>(&page, "consignmentStock")->SelectRow(0);
    tour.Find<QAbstractButton>(&page, "recordSale")->click();
  });
  tour.Shot("record-consignment-sale");
  tour.Then([&] { tour.Press("Record sale"); });
  PlanVoucherLine(tour, window, DeskScreen::kConsignmentReturned, 3, "CRV000401", "TMB-PINE", "2");
  tour.Shot("consignment-returned");
  tour.Then([&] {  // another supplier while the return has a line
    VoucherPage& page = window.Vouchers(DeskScreen::kConsignmentReturned);
    page.ChooseSupplier(1);
  });
  tour.Shot("voucher-unsaved-lines");
  tour.Then([&] { tour.Press("Go back"); });
  tour.Then([&] { window.Navigate(DeskScreen::kSettings); });
  tour.Shot("settings");
}

// Orders ended: one cancelled, one refused a cancel in plain words and
// closed for receiving instead; a new one saved as pending; then the list
// with every status, and an order someone else saved meanwhile.
void PlanOrderEnds(Tour& tour, MainWindow& window, data::Connection& other_clerk) {
  OrdersPage& orders = window.Orders();
  OrderEditor& editor = orders.Editor();
  tour.Then([&] {
    window.Navigate(DeskScreen::kPurchaseOrders);
    orders.OpenOrder(3);  // PO000103, pending
  });
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "cancelOrder")->click(); });
  tour.Shot("cancel-order-confirm");
  tour.Then([&] { tour.Press("Yes"); });
  tour.Shot("order-cancelled");
  tour.Then([&] { orders.OpenOrder(5); });  // PO000105, part received
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "cancelOrder")->click(); });
  tour.Then([&] { tour.Press("Yes"); });
  tour.Shot("cancel-refused");
  tour.Then([&] { tour.Press("OK"); });
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "finishOrder")->click(); });
  tour.Shot("close-order-confirm");
  tour.Then([&] { tour.Press("Yes"); });
  // What the trail now holds for the order: the refused cancel, the close.
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "orderHistory")->click(); });
  tour.Shot("order-history");
  tour.Then([&] { tour.Press("Close"); });
  // A new order saved as pending, so that the list has every status.
  tour.Then([&] { tour.Find<QAbstractButton>(&orders, "newOrder")->click(); });
  tour.Then([&] { tour.Press("OK"); });
  tour.Then([&] {
    tour.Find<QComboBox>(&editor, "productPicker")->setEditText("anc");
    tour.Find<QAbstractButton>(&editor, "addLine")->click();
  });
  tour.Then([&] { tour.Find<QAbstractButton>(Tour::Top(nullptr), "cmdAction(0)")->click(); });
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "saveOrder")->click(); });
  tour.Then([&] {
    QWidget* dialog = Tour::Top(nullptr);
    tour.Find<QAbstractButton>(dialog, "optChoice(1)")->click();
    tour.Find<QAbstractButton>(dialog, "cmdAction(0)")->click();
  });
  tour.Then([&] { tour.Find<QAbstractButton>(&editor, "closeOrder")->click(); });
  tour.Shot("order-list-statuses");
  tour.Then([&] {
    auto* status = tour.Find<QComboBox>(&orders, "statusFilter");
    if (status != nullptr) status->setCurrentIndex(status->findText("Part received"));
  });
  tour.Shot("order-list-part-received");
  tour.Then([&] {
    auto* status = tour.Find<QComboBox>(&orders, "statusFilter");
    if (status != nullptr) status->setCurrentIndex(0);
    orders.OpenOrder(1);
    // Another clerk saves the same order meanwhile.
    other_clerk.Execute(
        "UPDATE PurchaseOrders SET OurRef = 'KH-2210-C', RowVersion = RowVersion + 1, "
        "ChangedBy = 'clerk' WHERE ID = 1");
    ReplaceText(tour.Find<QLineEdit>(&editor, "ourRef"), "KH-2210-A");
    tour.Find<QAbstractButton>(&editor, "saveOrder")->click();
  });
  tour.Shot("order-changed-elsewhere");
  tour.Then([&] { tour.Press("Reload"); });
}

// The login a server database asks for, refused once and then locked
// (the answers are the gate's words; the tour has no server).
void PlanLogin(Tour& tour, MainWindow& window) {
  tour.Then([&] {
    window.hide();
    int tries = 0;
    LoginDialog login(
        "kvt on db1 (PostgreSQL)", "dana", [&tries](const std::string& user, const std::string&) {
          return ++tries == 1 ? access::WrongLoginMessage() : access::LockedMessage(user, "16:05");
        });
    login.exec();
    window.show();
  });
  auto type_password = [&tour](const char* password) {
    ReplaceText(tour.Find<QLineEdit>(Tour::Top(nullptr), "loginPassword"), password);
  };
  tour.Then([=] { type_password("guess"); });
  tour.Shot("login");
  tour.Then([&] { tour.Press("Log in"); });
  tour.Shot("login-refused");
  tour.Then([=, &tour] {
    type_password("guess again");
    tour.Press("Log in");
  });
  tour.Shot("login-locked");
  tour.Then([&] { tour.Press("Cancel"); });
}

// The audit trail of everything the tour did, then one order's.
void PlanAudit(Tour& tour, MainWindow& window) {
  tour.Then([&] {
    window.Navigate(DeskScreen::kAudit);
    window.Audit().Search();
  });
  tour.Shot("audit-trail");
  // The longest details, cut off in their column, whole in the tooltip.
  tour.Then([&] {
    auto* grid = tour.Find<GridView>(&window.Audit(), "auditGrid");
    if (grid == nullptr) return;
    QModelIndex longest;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
      const QModelIndex cell = grid->model()->index(row, AuditList::kDetailsColumn);
      if (!longest.isValid() || cell.data().toString().size() > longest.data().toString().size()) {
        longest = cell;
      }
    }
    grid->scrollTo(longest);
    const QRect area = grid->visualRect(longest);
    QToolTip::showText(grid->viewport()->mapToGlobal(area.center()),
                       longest.data(Qt::ToolTipRole).toString(), grid->viewport());
  });
  tour.Shot("audit-details-tooltip");
  tour.Then([&] { window.Audit().Filter({"", "PO000105", "", ""}); });
  tour.Shot("audit-trail-one-order");
}

int RunTour(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kvt-desk-tour DATABASE OUT_DIR\n";
    return 2;
  }
  QApplication app(argc, argv);
  ui::ScopedDriver driver(std::make_shared<qt::QtDriver>());
  auto output = std::make_shared<DeskOutput>();
  report::ScopedOutput installed(output);
  std::filesystem::remove(argv[1]);
  db::CreateDemoDatabase(argv[1]);
  const std::string text = db::ConnectionTextFor(argv[1]);
  const DeskContext desk = OpenDesk(text, "", db::kDemoCompanyID, db::kDemoDatabaseName);
  MainWindow window(desk, *output);
  output->SetWindow(&window);
  // Room above for the drawn title bar.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  window.setGeometry(screen.adjusted(0, 22, 0, 0));
  window.show();

  // The same database opened again, as a user who may only read it sees it.
  DeskContext reader = OpenDesk(text, "clerk", db::kDemoCompanyID, db::kDemoDatabaseName);
  reader.connection->Execute("PRAGMA query_only = ON");
  reader.read_only_reason = ReadOnlyReason(text, WriteRefusal(*reader.connection));
  std::unique_ptr<MainWindow> read_only;
  const data::ConnectionRef reader_writer = data::Connection::Open(argv[1]);

  Tour tour(argv[2]);
  PlanLogin(tour, window);
  PlanOrders(tour, window);
  PlanVouchers(tour, window);
  PlanOrderEnds(tour, window, *reader_writer);
  PlanAudit(tour, window);
  tour.Then([&] {
    window.hide();
    read_only = std::make_unique<MainWindow>(reader, *output);
    read_only->setGeometry(window.geometry());
    read_only->show();
  });
  tour.Shot("read-only-database");
  tour.Then([&] { read_only->Orders().OpenOrder(1); });
  tour.Shot("read-only-order");
  tour.Start();
  const int status = app.exec();
  read_only.reset();
  return status != 0 || tour.Failures() != 0 ? 1 : 0;
}

}  // namespace
}  // namespace kvt::host

int main(int argc, char** argv) {
  try {
    return kvt::host::RunTour(argc, argv);
  } catch (const vb::Error& error) {
    std::cerr << "kvt-desk-tour: " << error.description() << "\n";
    return 1;
  }
}
