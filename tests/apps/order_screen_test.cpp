#include "apps/kvt-host/sessions/order_screen.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include <string>

#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "kvt/COrder.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/support/temp_demo_database.h"

// Fontconfig keeps caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace kvt::host {
namespace {

class OrderScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = new test_support::TempDemoDatabase("kvt_order_screen"); }
  static void TearDownTestSuite() { delete db_; }

  void SetUp() override {
    component::ResetThreadStore();
    order_.ConnectionString(db_->ConnectionText());
    order_.CompanyID(db::kDemoCompanyID);
    screen_->ShowOrderLines(2);  // PO000102: no supplier reference
  }
  void TearDown() override { component::ResetThreadStore(); }

  static test_support::TempDemoDatabase* db_;
  data::ConnectionRef connection_ = db_->Open();
  std::shared_ptr<OrderScreen> screen_ =
      std::make_shared<OrderScreen>(connection_, db::kDemoCompanyID);
  vb::Variant form_ = vb::ObjectRef(screen_);
  COrder order_;
};

test_support::TempDemoDatabase* OrderScreenTest::db_ = nullptr;

// How binding shows and clears is the component's; here the host's screen
// on a saved order, whose stored totals agree with the component's own sum
// of the lines the grid shows.
TEST_F(OrderScreenTest, TheSavedTotalsAgreeWithTheSumOfTheLinesShown) {
  OrderScreen& s = *screen_;
  order_.BindOrderHeader(form_);
  EXPECT_EQ(s.Ctl<ui::DataCombo>("dbcOHeaderEdit", 4).Text(), "Harbour Fasteners CC");
  std::string bound[8];
  for (int i = 1; i <= 7; ++i) bound[i] = s.Ctl<ui::Label>("lblOHeaderEdit", i).Caption();
  EXPECT_EQ(bound[7], "50.00");
  vb::Variant args[] = {s.Ctl<ui::DataGrid>("sugOrderDetails", 0).DataSource(),
                        s.Get("lblOHeaderEdit")};
  order_.Invoke("CalculateHeaderTotals", CallKind::kCall, args);
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(s.Ctl<ui::Label>("lblOHeaderEdit", i).Caption(), bound[i]) << i;
  }
}

// A supplier nobody has ordered from yet is listed too, by name among the
// others, so that the first order to them shows who it goes to.
TEST_F(OrderScreenTest, TheSupplierListHoldsSuppliersNotOrderedFromYet) {
  connection_->Execute(
      "INSERT INTO Suppliers (CompanyID, Code, Name) VALUES (?1, 'NEW01', 'Aardvark Tools')",
      {db::kDemoCompanyID});
  data::RecordSetRef suppliers = screen_->Provider().Member("Suppliers_In_Orders");
  EXPECT_EQ(vb::CStr(suppliers->Item(1).Value()), "Aardvark Tools");
  connection_->Execute("DELETE FROM Suppliers WHERE Code = 'NEW01'");  // the suite shares the file
}

TEST_F(OrderScreenTest, ForecasterShowsNoLastSaleAsEmptyAndDemandFromOrderLines) {
  // Product 4 was never sold; it was ordered on lines of 6, 6, 8, 8 and 40.
  order_.SetProductDetails(form_, vb::ObjectRef(std::make_shared<ProductForecaster>(
                                      *connection_, screen_->FirstProductOfOrder())));
  struct Expect {
    const char* control;
    int index;
    const char* shown;
  };
  // clang-format off
  const Expect expected[] = {
      {"lblProdDetails", 0, "Sleeve anchor 12 mm, box of 25"},
      {"lblProdDetails", 3, ""}, {"lblProdDetails", 6, "25"},
      {"txtProdDetails", 0, "14"}, {"txtProdDetails", 1, "6"}, {"txtProdDetails", 2, "40"},
      {"lblStats", 0, "13.6"},    {"lblStats", 1, "8"},        {"lblStats", 2, "13.23"}};
  // clang-format on
  for (const Expect& e : expected) {
    SCOPED_TRACE(std::string(e.control) + "(" + std::to_string(e.index) + ")");
    EXPECT_EQ(vb::CStr(screen_->Ctl(e.control, e.index).Get("")), e.shown);
  }
}

TEST_F(OrderScreenTest, QtDriverShowsTheBoundOrderWithItsLinesInATable) {
  order_.BindOrderHeader(form_);
  ui::ScopedDriver installed(std::make_shared<qt::QtDriver>());
  bool looked = false;
  qt::testing::WhenModal([&](QWidget* dialog) {
    looked = true;
    auto* grid = dialog->findChild<QTableWidget*>("sugOrderDetails(0)");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Code");
    EXPECT_EQ(grid->item(0, 1)->text(), "Sleeve anchor 12 mm, box of 25");
    auto* supplier = dialog->findChild<QComboBox*>("dbcOHeaderEdit(4)");
    ASSERT_NE(supplier, nullptr);
    EXPECT_EQ(supplier->currentText(), "Harbour Fasteners CC");
    dialog->close();
  });
  screen_->Show(ui::vbModal);
  EXPECT_TRUE(looked);
}

}  // namespace
}  // namespace kvt::host
