// COrder's order-line members as a host uses them, with the order item
// dialog in the thread's shared slot.
#include <memory>

#include <gtest/gtest.h>

#include "component/mod_publics.h"
#include "kvt/COrder.h"
#include "orders/order_detail_rows.h"
#include "platform/data/connection.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/value/error.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt {
namespace {

// The host's order screen, as far as the header totals need it.
class HostOrderScreen : public ui::Form {
 public:
  HostOrderScreen() : Form("frmHostOrder") {}

 protected:
  void Build() override {
    for (int i = 0; i <= 8; ++i) Add<ui::Label>("lblOHeaderEdit", i).Caption("-");
  }
};

class OrderLineMembersTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  static void TearDownTestSuite() { test_support::ReleaseSharedDemoDatabases(); }
  void SetUp() override {
    component::ResetThreadStore();
    order_.ConnectionString(Db().ConnectionText());
    order_.CompanyID(db::kDemoCompanyID);
  }
  void TearDown() override { component::ResetThreadStore(); }

  // The product row the host's product search would give, from the
  // catalogue's own product-details procedure.
  vb::Variant Product(int id) {
    auto connection = Db().Open();
    auto rows = connection->Query(
        "SELECT ID AS \"ID\", Description AS \"Product\", Price1 AS \"Price 1\", "
        "Price2 AS \"Price 2\", LeadTime AS \"Lead Time\", ServiceLevel AS "
        "\"Service Level\", LastSale AS \"Last Sale\", StockOnHand AS \"Stock On "
        "Hand\", StockReserved AS \"Stock Reserved\", QtyOnOrder AS \"Qty on "
        "order\", OrdersPending AS \"Orders Pending\", ShoppingListQty AS "
        "\"Shopping List Qty\", LastCost AS \"Last_Cost\", TradeDiscountFormulaID "
        "AS \"Trade_Discount_Formula_ID\", RebateDiscountFormulaID AS "
        "\"Rebate_Discount_Formula_ID\", TaxCodesID AS \"Tax_Codes_ID\" FROM "
        "Products WHERE ID = ?1",
        {id});
    return vb::Variant(vb::ObjectRef(rows));
  }
  vb::Variant DetailSet() { return vb::Variant(vb::ObjectRef(orders::NewOrderDetailSet())); }

  test_support::TempDemoDatabase& Db() { return test_support::SharedDemoDatabase(GetParam()); }

  COrder order_;
};
KVT_INSTANTIATE_BACKENDS(OrderLineMembersTest);

TEST_P(OrderLineMembersTest, PropertiesNeedTheDialogAndLoadIt) {
  EXPECT_FALSE(order_.IsEditFormLoaded());
  EXPECT_EQ(test_support::ErrorNumberOf([&] { order_.Order_Qty("3"); }), vb::err::kObjectNotSet);
  order_.LoadDetailForm();
  EXPECT_TRUE(order_.IsEditFormLoaded());
  order_.Product_ID(42);  // reaches the loaded dialog
  EXPECT_EQ(order_.Product_ID(), 42);
  order_.UnloadDetailForm();
  EXPECT_FALSE(order_.IsEditFormLoaded());
  EXPECT_EQ(test_support::ErrorNumberOf([&] { order_.Product_ID(); }), vb::err::kObjectNotSet);
}

TEST_P(OrderLineMembersTest, LinesReachTheDetailSetAndTheHeaderLabels) {
  order_.LoadDetailForm();
  vb::Variant detail = DetailSet();
  for (int product : {1, 2, 3}) {
    order_.AssignAllForAdding(Product(product), 2, "PO-1");
    order_.AddOrderDetailToRS(detail);
  }
  auto screen = std::make_shared<HostOrderScreen>();
  screen->Load();
  vb::Variant labels = screen->Get("lblOHeaderEdit");
  order_.CalculateHeaderTotals(detail, labels);
  auto& rows = dynamic_cast<data::RecordSet&>(**detail.get_if<vb::ObjectRef>());
  EXPECT_EQ(rows.RecordCount(), 3);
  EXPECT_TRUE(rows.IsEOF());
  EXPECT_EQ(screen->Ctl<ui::Label>("lblOHeaderEdit", 7).Caption(), "6.00");
  EXPECT_EQ(screen->Ctl<ui::Label>("lblOHeaderEdit", 0).Caption(), "-");  // untouched
  EXPECT_EQ(screen->Ctl<ui::Label>("lblOHeaderEdit", 8).Caption(), "-");
  EXPECT_NE(screen->Ctl<ui::Label>("lblOHeaderEdit", 6).Caption(), "-");
}

}  // namespace
}  // namespace kvt
