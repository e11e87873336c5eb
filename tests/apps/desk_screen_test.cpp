// The purchasing desk driven offscreen through Qt as a buyer works it: a
// line edited from the grid in the order item dialog, the order saved with
// its delivery details and opened again, a close with unsaved edits, and
// goods received against an order, posted and numbered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "apps/kvt-host/desk/main_window.h"
#include "apps/kvt-host/desk/order_editor.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "apps/kvt-host/desk/settings_page.h"
#include "apps/kvt-host/desk/voucher_page.h"
#include "apps/kvt-host/sessions/voucher_screen_session.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/value/conversions.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

using qt::testing::WhenModal;

void Replace(QWidget* dialog, const char* name, const char* text) {
  auto* edit = dialog->findChild<QLineEdit*>(name);
  ASSERT_NE(edit, nullptr) << name;
  // Offscreen windows are never activated by themselves; the focus must be
  // in the box before its text is selected, as a user's click puts it.
  QApplication::setActiveWindow(dialog);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

void Click(QWidget* root, const char* name) {
  auto* button = root->findChild<QAbstractButton*>(name);
  ASSERT_NE(button, nullptr) << name;
  button->click();
}

// Calls `act` once a message box is up whose text begins with `text`.
void WhenBox(const std::string& text, std::function<void(QMessageBox*)> act, int tries = 300) {
  QTimer::singleShot(10, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box != nullptr && box->isVisible() && box->text().toStdString().rfind(text, 0) == 0) {
      act(box);
    } else if (tries > 0) {
      WhenBox(text, act, tries - 1);
    }
  });
}

// The row of `grid` whose first cell is `text`, or -1.
int RowOf(GridView* grid, const char* text) {
  for (int row = 0; row < grid->model()->rowCount(); ++row) {
    if (grid->model()->index(row, 0).data().toString() == text) return row;
  }
  return -1;
}

class DeskScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    component::ResetThreadStore();
    desk_ = OpenDesk(db_.ConnectionText(), "", db::kDemoCompanyID, db::kDemoDatabaseName);
    window_ = std::make_unique<MainWindow>(desk_, output_);
    window_->show();
  }
  void TearDown() override {
    window_.reset();
    component::ResetThreadStore();
  }
  OrderEditor& Editor() { return window_->Orders().Editor(); }
  std::string Cell(int row, int column) {
    auto* grid = Editor().findChild<GridView*>("orderLines");
    return grid->model()->index(row, column).data().toString().toStdString();
  }
  std::string Saved(const char* sql) {
    return vb::CStr(desk_.connection->Query(sql)->Item(0).Value());
  }
  // Closes the window, answering its question about unsaved changes with
  // `button`; the question.
  QString CloseAnswering(const QString& button) {
    auto asked = std::make_shared<QString>();  // outlives a question never asked
    WhenModal([asked, button](QWidget* box) {
      *asked = static_cast<QMessageBox*>(box)->text();
      for (QAbstractButton* each : box->findChildren<QAbstractButton*>()) {
        if (each->text() == button) each->click();
      }
    });
    window_->close();
    return *asked;
  }

  test_support::TempDemoDatabase db_{"kvt_desk_screen"};
  ui::ScopedDriver driver_{std::make_shared<qt::QtDriver>()};
  DeskOutput output_;
  DeskContext desk_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(DeskScreenTest, LineEditedFromTheGridIsSavedWithDeliveryDetailsAndKept) {
  ASSERT_TRUE(window_->Orders().OpenOrder(3));  // PO000103, pending, one line
  EXPECT_EQ(Cell(0, 0), "BLT-M10");
  EXPECT_EQ(Cell(0, 7), "0.00");  // rebate
  bool edited = false;
  WhenModal([&](QWidget* dialog) {
    edited = true;
    Replace(dialog, "txtODEdit(3)", "7");
    Click(dialog, "cmdAction(0)");
  });
  auto* grid = Editor().findChild<GridView*>("orderLines");
  grid->SelectRow(0);
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_TRUE(edited);
  EXPECT_EQ(Cell(0, 7), "7.00");
  EXPECT_TRUE(Editor().Session()->Dirty());

  QTest::keyClicks(Editor().findChild<QLineEdit*>("supplierRef"), "HF-Q-3400");
  bool delivered = false;
  WhenModal([&](QWidget* dialog) {
    delivered = true;
    EXPECT_EQ(dialog->findChild<QLineEdit*>("txtDelAddr(0)")->text(), "Kestrel Bellville");
    Replace(dialog, "txtDelAddr(3)", "Western Cape");
    Click(dialog, "optChoice(1)");  // save as a pending order: nothing printed
    Click(dialog, "cmdAction(0)");
  });
  EXPECT_TRUE(Editor().SaveOrder());
  ASSERT_TRUE(delivered);
  EXPECT_FALSE(Editor().Session()->Dirty());
  EXPECT_EQ(Saved("SELECT DelAddr3 || '|' || SuppRef || '|' || Status FROM PurchaseOrders "
                  "WHERE ID = 3"),
            "Western Cape|HF-Q-3400|0");

  Editor().CloseOrder();
  ASSERT_TRUE(window_->Orders().OpenOrder(3));
  EXPECT_EQ(Cell(0, 7), "7.00");
  EXPECT_EQ(Editor().findChild<QLineEdit*>("supplierRef")->text(), "HF-Q-3400");
}

TEST_F(DeskScreenTest, NewOrderGetsTheNextNumberTheCompanyAddressAndItsLine) {
  WhenModal([&](QWidget* dialog) {  // the supplier: Ridgeway Paints
    auto* list = dialog->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    list->setCurrentText("Ridgeway Paints Ltd");
    static_cast<QDialog*>(dialog)->accept();
  });
  window_->Orders().NewOrder();
  ASSERT_NE(Editor().Session(), nullptr);
  EXPECT_TRUE(Editor().Session()->IsNew());
  Editor().findChild<QComboBox*>("productPicker")->setEditText("pnt-w");
  WhenModal([&](QWidget* dialog) { Click(dialog, "cmdAction(0)"); });
  Click(&Editor(), "addLine");
  ASSERT_EQ(Editor().Session()->LineCount(), 1);
  EXPECT_EQ(Cell(0, 0), "PNT-WHT5");

  WhenModal([&](QWidget* dialog) {
    EXPECT_EQ(dialog->findChild<QLineEdit*>("txtDelAddr(0)")->text(), "Kestrel Hardware Supplies");
    Click(dialog, "optChoice(1)");
    Click(dialog, "cmdAction(0)");
  });
  EXPECT_TRUE(Editor().SaveOrder());
  EXPECT_EQ(Editor().Session()->Header().order_number, "PO000111");
  EXPECT_EQ(Saved("SELECT s.Name || '|' || COUNT(d.ID) FROM PurchaseOrders po "
                  "JOIN Suppliers s ON s.ID = po.SupplierID "
                  "JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID "
                  "WHERE po.OrderNumber = 'PO000111'"),
            "Ridgeway Paints Ltd|1");
}

TEST_F(DeskScreenTest, ClosingWithUnsavedEditsAsksAndGoingBackKeepsThem) {
  ASSERT_TRUE(window_->Orders().OpenOrder(2));
  QTest::keyClicks(Editor().findChild<QLineEdit*>("ourRef"), "-B");
  EXPECT_EQ(CloseAnswering("Go back"), "Order PO000102 has changes that are not saved.");
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Editor().findChild<QLineEdit*>("ourRef")->text(), "KH-2291-B");
  CloseAnswering("Discard");
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(Saved("SELECT OurRef FROM PurchaseOrders WHERE ID = 2"), "KH-2291");
}

TEST_F(DeskScreenTest, ClosingWithUnsavedSettingsAsksAndSavesThemWhenTold) {
  window_->Navigate(DeskScreen::kSettings);
  auto* decimals = window_->Settings().findChild<QSpinBox*>("qtyDecimals");
  ASSERT_NE(decimals, nullptr);
  const int changed = decimals->value() == 3 ? 2 : 3;
  decimals->setValue(changed);
  EXPECT_EQ(CloseAnswering("Go back"), "The settings have changes that are not saved.");
  EXPECT_TRUE(window_->isVisible());
  CloseAnswering("Save\u2026");
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(ReadCompanySettings(desk_.connection_text, desk_.company_id).qty_decimals, changed);
}

TEST(DeskReadOnlyScreenTest, ABannerSaysWhyTheDatabaseIsReadOnlyAndWhatStillWorks) {
  component::ResetThreadStore();
  {
    test_support::ReadOnlyFolderDatabase db("kvt_read_only_screen", true);
    const DeskContext desk =
        OpenDesk(db::ConnectionTextFor(db.Path()), "", db::kDemoCompanyID, db::kDemoDatabaseName);
    DeskOutput output;
    MainWindow window(desk, output);
    auto* banner = window.findChild<QLabel*>("readOnlyBanner");
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->text().toStdString(),
              "Read-only: its folder " + db.Folder() +
                  " takes no new files, and a change needs its log file beside it. Orders, "
                  "vouchers and settings can be looked at and printed; nothing can be saved.");
    EXPECT_TRUE(window.Orders().OpenOrder(1));
  }
  component::ResetThreadStore();
}

TEST_F(DeskScreenTest, GoodsReceivedAgainstAnOrderArePostedAndTheVoucherNumberShown) {
  window_->Navigate(DeskScreen::kGoodsReceived);
  VoucherPage& page = window_->Vouchers(DeskScreen::kGoodsReceived);
  auto* supplier = page.findChild<QComboBox*>("voucherSupplier");
  const int harbour = supplier->findData(1);
  supplier->setCurrentIndex(harbour);
  emit supplier->activated(harbour);
  auto* sources = page.findChild<GridView*>("voucherSources");
  sources->SelectRow(RowOf(sources, "PO000110"));
  QTest::keyClick(sources, Qt::Key_Return);
  auto* order_lines = page.findChild<GridView*>("sourceLines");
  const int washers = RowOf(order_lines, "WSH-M10");
  ASSERT_GE(washers, 0);
  WhenModal([&](QWidget* dialog) { Click(dialog, "cmdAction(0)"); });  // the 25 to come
  order_lines->SelectRow(washers);
  QTest::keyClick(order_lines, Qt::Key_Return);
  auto* lines = page.findChild<GridView*>("voucherLines");
  ASSERT_EQ(lines->model()->rowCount(), 1);
  EXPECT_EQ(lines->model()->index(0, 2).data().toString(), "25.00");
  QTest::keyClicks(page.findChild<QLineEdit*>("delNote"), "DN-7781");

  WhenModal([&](QWidget* dialog) {  // the save voucher dialog
    Replace(dialog, "txtGRV(0)", "INV-7781");
    WhenBox("Confirm", [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    Click(dialog, "cmdDo(1)");
  });
  std::string told;
  WhenBox("The voucher is posted", [&](QMessageBox* box) {
    told = box->text().toStdString();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Not now") button->click();
    }
  });
  Click(&page, "saveVoucher");
  EXPECT_EQ(told, "The voucher is posted as GRV000208.");
  EXPECT_EQ(page.findChild<QLabel*>("postedVoucher")->text(), "Posted GRV000208");
  EXPECT_EQ(lines->model()->rowCount(), 0);
  EXPECT_EQ(Saved("SELECT DelNoteNumber FROM GRVs WHERE VoucherNumber = 'GRV000208'"), "DN-7781");
  EXPECT_EQ(Saved("SELECT QtyReceived FROM PurchaseOrderDetails WHERE ID = 18"), "40");
}

}  // namespace
}  // namespace kvt::host
