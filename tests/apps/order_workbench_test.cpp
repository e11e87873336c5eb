// The host's workbench played by a scripted buyer: a line added and one
// edited through the order item dialog, the order saved through the
// delivery dialog, and the lines found in the database afterwards.
#include "apps/kvt-host/order_workbench.h"

#include <gtest/gtest.h>

#include <string>

#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "platform/data/connection.h"
#include "platform/ui/controls.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

class OrderWorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    component::ResetThreadStore();
    connection_ = data::Connection::Open(db_.Path());
    workbench_ = std::make_shared<OrderWorkbench>(connection_, db_.ConnectionText(),
                                                  db::kDemoCompanyID, db::kDemoDatabaseName);
    workbench_->OpenOrder(2);
  }
  void TearDown() override {
    workbench_.reset();
    connection_.reset();
    component::ResetThreadStore();
  }
  std::string Total(int index) {
    return workbench_->Ctl<ui::Label>("lblOHeaderEdit", index).Caption();
  }
  int SavedLines() {
    auto rows = connection_->Query(
        "SELECT COUNT(*) AS n FROM PurchaseOrderDetails WHERE PurchaseOrderID = 2");
    return vb::CLng(rows->Item("n").Value());
  }

  test_support::TempDemoDatabase db_{"kvt_workbench"};
  data::ConnectionRef connection_;
  std::shared_ptr<OrderWorkbench> workbench_;
};

TEST_F(OrderWorkbenchTest, BuyerAddsEditsAndSavesLines) {
  ASSERT_EQ(workbench_->Lines().RecordCount(), 2);
  EXPECT_EQ(Total(7), "50.00");
  std::string quantity_after_add, rebate_after_edit;
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  buyer->SelectRow("dbcProduct", 0)  // ANC-12
      .Replace("txtQty", "6")
      .Click("cmdHost(0)")            // the order item dialog opens
      .Click("cmdAction(0)")          // ... and is accepted as proposed
      .Inspect([&](ui::Form&) { quantity_after_add = Total(7); })
      .Replace("txtLineNo", "3")
      .Click("cmdHost(1)")
      .Replace("txtODEdit(3)", "7")
      .Click("cmdAction(0)")
      .Inspect([&](ui::Form&) {
        workbench_->Lines().MoveLast();
        rebate_after_edit = vb::CStr(workbench_->Lines().Item("Rebate Disc").Value());
      })
      .Click("cmdHost(2)")            // the delivery dialog
      .Click("optChoice(1)")          // save as pending
      .Click("cmdAction(0)")
      .Click("cmdHost(4)");
  ui::ScopedDriver scoped(buyer);
  workbench_->Show();
  EXPECT_TRUE(buyer->Problems().empty()) << buyer->Problems().front();
  EXPECT_EQ(quantity_after_add, "56.00");
  EXPECT_EQ(rebate_after_edit, "7");
  ASSERT_EQ(buyer->Messages().size(), 1u);
  EXPECT_EQ(buyer->Messages()[0].prompt, "Order PO000102 saved as a pending order.");
  EXPECT_EQ(SavedLines(), 3);
}

TEST_F(OrderWorkbenchTest, CommandsWithoutTheirInputsAskForThem) {
  auto buyer = std::make_shared<ui::HeadlessDriver>();
  buyer->Click("cmdHost(0)").Replace("txtLineNo", "9").Click("cmdHost(1)").Click("cmdHost(4)");
  ui::ScopedDriver scoped(buyer);
  workbench_->Show();
  ASSERT_EQ(buyer->Messages().size(), 2u);
  EXPECT_EQ(buyer->Messages()[0].prompt,
            "Choose a product and type the quantity to order first.");
  EXPECT_EQ(buyer->Messages()[1].prompt, "Type the number of the line to edit, 1 to 2.");
  EXPECT_EQ(workbench_->Lines().RecordCount(), 2);
}

}  // namespace
}  // namespace kvt::host
