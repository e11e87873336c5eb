// The order item dialog driven as a buyer drives it: fills from product
// rows of the demo database, typing, Tab, Enter, list picks and buttons
// through the headless driver.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "component/mod_publics.h"
#include "orders/frmEditOrderDetail.h"
#include "orders/order_detail_rows.h"
#include "orders/order_line.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "tests/support/rows.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::orders {
namespace {

using data::DataType;
using vb::Variant;

// A product row as the host's product search yields it; `without` leaves
// one column out.
struct Product {
  Variant id = 101;
  Variant trade_formula = Variant::Null();
  Variant rebate_formula = Variant::Null();
  Variant tax_code = Variant::Null();
  Variant last_cost = vb::Currency::FromDecimalText("1234.5");
  Variant lead_time = 7;
  Variant last_sale = vb::Date::FromYmd(2026, 10, 3);
};

std::shared_ptr<data::RecordSet> ProductRows(const Product& p, const std::string& without = {}) {
  auto rows = std::make_shared<data::RecordSet>();
  struct Column {
    const char* name;
    DataType type;
    Variant value;
  } columns[] = {
      // clang-format off
      {"ID", DataType::kInteger, p.id}, {"Product", DataType::kVarWChar, "Widget 40mm"},
      {"Price 1", DataType::kCurrency, 1999.5}, {"Price 2", DataType::kCurrency, Variant::Null()},
      {"Lead Time", DataType::kInteger, p.lead_time}, {"Service Level", DataType::kDouble, 95},
      {"Last Sale", DataType::kDate, p.last_sale}, {"Stock On Hand", DataType::kDouble, 12},
      {"Stock Reserved", DataType::kDouble, 2}, {"Qty on order", DataType::kDouble, 0},
      {"Orders Pending", DataType::kDouble, 1}, {"Shopping List Qty", DataType::kDouble, 0},
      {"Last_Cost", DataType::kCurrency, p.last_cost},
      {"Trade_Discount_Formula_ID", DataType::kInteger, p.trade_formula},
      {"Rebate_Discount_Formula_ID", DataType::kInteger, p.rebate_formula},
      {"Tax_Codes_ID", DataType::kInteger, p.tax_code},
      // clang-format on
  };
  for (const auto& c : columns) {
    if (c.name != without) rows->Fields().Append(c.name, c.type);
  }
  rows->Open();
  rows->AddNew();
  for (const auto& c : columns) {
    if (c.name != without) rows->Item(c.name).Value(c.value);
  }
  rows->Update();
  return rows;
}

// The host's order-detail set; `without` leaves one column out.
std::shared_ptr<data::RecordSet> DetailRows(const std::string& without = {}) {
  if (without.empty()) return NewOrderDetailSet();
  auto rows = std::make_shared<data::RecordSet>();
  auto full = NewOrderDetailSet();
  for (int i = 0; i < full->Fields().Count(); ++i) {
    data::Field field = full->Fields().Item(i);
    if (field.Name() != without) rows->Fields().Append(field.Name(), field.Type());
  }
  rows->Open();
  return rows;
}

// Each pair is (shown, expected).
void ExpectEach(const std::vector<std::pair<std::string, std::string>>& pairs) {
  for (size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].first, pairs[i].second) << "#" << i;
}

// The current row holds each (column, value).
void ExpectColumns(data::RecordSet& rows,
                   const std::vector<std::pair<const char*, Variant>>& want) {
  for (const auto& [column, value] : want) EXPECT_EQ(rows.Item(column).Value(), value) << column;
}

class OrderItemDialogTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  static void TearDownTestSuite() { test_support::ReleaseSharedDemoDatabases(); }
  void SetUp() override {
    component::ResetThreadStore();
    component::ThreadStore().settings.connection_string =
        test_support::SharedDemoDatabase(GetParam()).ConnectionText();
    component::ThreadStore().settings.company_id = db::kDemoCompanyID;
    form_ = std::make_shared<frmEditOrderDetail>();
    form_->Load();
  }
  void TearDown() override { component::ResetThreadStore(); }

  // Fills for adding and shows the dialog to a scripted user.
  void AddAndShow(const Product& product, double qty,
                  const std::function<void(ui::HeadlessDriver&)>& script) {
    OrderLine(*form_).AssignAllForAdding(*ProductRows(product), qty, "PO-0042");
    Show(script);
  }
  void Show(const std::function<void(ui::HeadlessDriver&)>& script) {
    driver_ = std::make_shared<ui::HeadlessDriver>();
    script(*driver_);
    ui::ScopedDriver scoped(driver_);
    form_->Show();
  }
  std::string Entry(int i) { return form_->txtODEdit(i).Text(); }
  std::string Calc(int i) { return form_->lblODCalc(i).Caption(); }

  std::shared_ptr<frmEditOrderDetail> form_;
  std::shared_ptr<ui::HeadlessDriver> driver_;
};
KVT_INSTANTIATE_BACKENDS(OrderItemDialogTest);

TEST_P(OrderItemDialogTest, AddingFillsFromTheProductAndCalculates) {
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({}), 12.5, "PO-0042");
  EXPECT_FALSE(form_->BindingState());
  // Null price 2 shows empty; null formula columns select formula 1 and tick
  // nothing; tax code 1.
  // clang-format off
  ExpectEach({{line.Get("Order_Qty"), "12.50"}, {line.Get("Unit_Price"), "1,234.50"},
              {form_->lblPDDisplay(11).Caption(), "1,234.50"},
              {form_->lblPDDisplay(1).Caption(), "1,999.50"},
              {form_->lblPDDisplay(2).Caption(), ""},
              {form_->lblPDDisplay(5).Caption(), "03/10/2026"}, {line.Get("Product_ID"), "101"},
              {form_->dbcODEdit(1).BoundText(), "1"}, {form_->dbcODEdit(2).BoundText(), "1"},
              {form_->dbcODEdit(3).BoundText(), "1"}, {line.Get("Tax_Code"), "1"},
              {Calc(0), "15,431.25"}, {line.Get("Tax"), "2,314.69"},
              {line.Get("Total_Cost"), "17,745.94"}, {Calc(7), "1,234.50"},
              {form_->Caption(), "Adding Order Item"}, {form_->cmdAction(0).Caption(), "Add"}});
  // clang-format on
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(form_->chkUseFormula(i).Value(), ui::vbUnchecked);
  EXPECT_EQ(form_->PendingTrigger(), 0);  // changes during a fill move no trigger
}

TEST_P(OrderItemDialogTest, FormulaIdsAboveOneTickTheirBoxes) {
  // Trade formula 2 is X*0.05, formula 1 never ticks, tax code 2 is zero rated.
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({.trade_formula = 2, .rebate_formula = 1, .tax_code = 2}),
                          10, "PO-1");
  EXPECT_EQ(form_->chkUseFormula(1).Value(), ui::vbChecked);
  EXPECT_EQ(form_->chkUseFormula(2).Value(), ui::vbUnchecked);
  // 5% of 12,345.00 traded off.
  // clang-format off
  ExpectEach({{line.Get("Trade_Discount"), "617.25"}, {line.Get("Net_Amount"), "11,727.75"},
              {line.Get("Tax"), "0.00"}, {form_->txtODPercentage(0).Text(), "5.00"}});
  // clang-format on
  EXPECT_THROW(line.Let("Trade_Disc_Formula", "two"), vb::Error);
}

// The range's own limits are the calculation's; here, what the box shows
// after each kind of refusal. An accepted quantity closing the dialog is
// the other tests' Add.
TEST_P(OrderItemDialogTest, QuantityOutsideTheRangeKeepsTheDialogOpen) {
  const std::pair<const char*, const char*> cases[] = {{"abc", "0"}, {"1000000", "1000000"}};
  for (const auto& [typed, box_after] : cases) {
    SCOPED_TRACE(typed);
    SetUp();
    bool visible_after_click = false;
    std::string box_after_click;
    AddAndShow({}, 1, [&](ui::HeadlessDriver& user) {
      user.Replace("txtODEdit(0)", typed)
          .Click("cmdAction(0)")
          .Inspect([&](ui::Form& form) {
            visible_after_click = form.Visible();
            box_after_click = Entry(0);
          })
          .Close();
    });
    EXPECT_EQ(box_after_click, box_after);
    EXPECT_TRUE(visible_after_click);
    const auto& messages = driver_->Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt,
              "The Order Qty exceeds the allowable range.\r\n\r\nPlease change the Order Qty.");
    EXPECT_EQ(messages[0].buttons, ui::vbInformation);
  }
}

TEST_P(OrderItemDialogTest, EnterAppliesAndCancelUnloadsLeavingNothingForTheNextLine) {
  bool open_after_enter = false;
  std::string gross_after_enter;
  AddAndShow({.trade_formula = 2}, 1, [&](ui::HeadlessDriver& user) {
    user.Replace("txtODEdit(0)", "4")
        .Press(ui::vbKeyReturn)
        .Inspect([&](ui::Form& form) {
          open_after_enter = form.Visible();
          gross_after_enter = Calc(0);
        })
        .Replace("txtODEdit(5)", "5")
        .Press(ui::vbKeyTab)
        .Click("cmdAction(1)");
  });
  EXPECT_TRUE(open_after_enter);
  EXPECT_EQ(gross_after_enter, "4,938.00");
  EXPECT_FALSE(form_->IsLoaded());
  form_->Load();
  OrderLine(*form_).AssignAllForAdding(*ProductRows({}), 10, "PO-0042");
  EXPECT_EQ(Entry(5), "0.00");
  EXPECT_EQ(form_->chkUseFormula(1).Value(), ui::vbUnchecked);
  EXPECT_EQ(Calc(0), "12,345.00");  // 10 units, not 15
}

TEST_P(OrderItemDialogTest, TypingATradeAmountReplacesItsFormula) {
  // Rebate formula 6 is x*0.02, on the subtotal after trade.
  AddAndShow({.trade_formula = 2, .rebate_formula = 6}, 10, [](ui::HeadlessDriver& user) {
    user.Replace("txtODEdit(2)", "1000").Click("cmdAction(0)");
  });
  EXPECT_EQ(form_->chkUseFormula(1).Value(), ui::vbUnchecked);
  // The ticked rebate formula is evaluated again on 12,345 - 1,000.
  // clang-format off
  ExpectEach({{form_->dbcODEdit(1).BoundText(), "1"}, {Entry(2), "1,000.00"}, {Entry(3), "226.90"},
              {Calc(1), "11,345.00"}});
  // clang-format on
  EXPECT_TRUE(form_->IsLoaded());
  EXPECT_FALSE(form_->Visible());
}

TEST_P(OrderItemDialogTest, InvalidFormulaIsReportedOnceAndKeepsTheAmount) {
  // A rebate list whose second formula cannot give an amount (which errors
  // the engine raises is its own tests' business).
  auto formulas = test_support::RowsOf({{"ID", DataType::kInteger},
                                        {"Description", DataType::kVarWChar},
                                        {"Formula", DataType::kVarWChar}},
                                       {{1, "None", "0"}, {2, "Broken", "X/0"}});
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({.trade_formula = 2}), 10, "PO-1");
  // Set up as a fill would, so that nothing recalculates yet.
  form_->BindingState(true);
  form_->dbcODEdit(2).RowSource(formulas);
  line.Let("Rebate_Discount", "7.00");
  line.Let("Rebate_Disc_Formula", "2");
  line.Let("Other_Disc_Formula", "7");  // freight levy 1%, still evaluated after
  form_->BindingState(false);

  Show([](ui::HeadlessDriver& user) { user.Replace("txtODEdit(0)", "10").Click("cmdAction(0)"); });
  ASSERT_EQ(driver_->Messages().size(), 1u);
  EXPECT_EQ(driver_->Messages()[0].prompt, "Invalid Formula. Please select another one");
  EXPECT_EQ(driver_->Messages()[0].title, "Purchase Orders");
  EXPECT_EQ(line.Get("Rebate_Discount"), "7.00");
  EXPECT_EQ(line.Get("Other_Discount"), "117.21");  // 1% of 12,345 - 617.25 - 7
}

// How text reads as a number is ParseNumber's; here, what the price box
// keeps and shows.
TEST_P(OrderItemDialogTest, OddPricesAreShownAsTypedOrRoundedAndKeepTheirDigits) {
  struct Case {
    const char* typed;
    const char* box_after;
    const char* net_after;
  } cases[] = {
      {"1.234567", "1.23", "12.35"},    // six decimals shown as two, reckoned as four
      {"12abc", "12abc", "12,345.00"},  // not a number: nothing recalculated
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    SetUp();
    std::string box, net;
    AddAndShow({}, 10, [&](ui::HeadlessDriver& user) {
      user.Replace("txtODEdit(1)", c.typed).Click("cmdAction(2)").Inspect([&](ui::Form&) {
        box = Entry(1);
        net = Calc(3);
      });
      user.Close();
    });
    EXPECT_EQ(box, c.box_after);
    EXPECT_EQ(net, c.net_after);
    EXPECT_TRUE(driver_->Messages().empty());
  }
}

TEST_P(OrderItemDialogTest, FailedLookupsAndMissingColumnsLeaveTheDialogUsable) {
  // The lists cannot be bound without a database: the fill still fills.
  component::ThreadStore().settings.connection_string = "Provider=SQLite;Data Source=/nowhere.db";
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({}), 2, "PO-1");
  EXPECT_EQ(form_->dbcODEdit(4).Rows().size(), 0u);
  EXPECT_EQ(line.Get("Net_Amount"), "2,469.00");
  EXPECT_FALSE(form_->BindingState());

  // A product row without "Price 2" ends the fill there, in binding state.
  EXPECT_THROW(line.AssignAllForAdding(*ProductRows({.id = 202}, "Price 2"), 4, "PO-2"), vb::Error);
  EXPECT_TRUE(form_->BindingState());
  EXPECT_EQ(line.Get("Product_ID"), "202");
  EXPECT_EQ(line.Get("Order_Qty"), "2.00");  // the earlier line's, untouched
}

TEST_P(OrderItemDialogTest, EditingReadsTheLineAndShowsAverageOverNet) {
  auto detail = DetailRows();
  detail->AddNew();
  // clang-format off
  const std::pair<const char*, Variant> values[] = {
      {"Products ID", 101}, {"Product", "Widget"}, {"Lead Time", 7}, {"Qty", 10}, {"B/O Qty", 0},
      {"Free Qty", 1}, {"Unit Price", "10"}, {"Trade_Discount_Formula_ID", 1}, {"Trade Disc", "10"},
      {"Rebate_Formula_ID", 6}, {"Rebate Disc", "5"}, {"Other_Discount_Formula_ID", 1},
      {"Other Disc", "5"}, {"Net Amount", "80"}, {"Tax_Codes_ID", 2}, {"Tax", "0"},
      {"Total Cost", "80"}};
  // clang-format on
  for (const auto& [column, value] : values) detail->Item(column).Value(value);
  detail->Update();
  OrderLine line(*form_);
  line.AssignAllForEditing(*ProductRows({}), *detail, "PO-7");
  EXPECT_FALSE(form_->BindingState());
  EXPECT_EQ(form_->chkUseFormula(2).Value(), ui::vbChecked);
  // The rebate formula re-ran on 90.00 (2% = 1.80); the average is then
  // over the net amount: (10 + 1.80 + 5) / 83.20.
  // clang-format off
  ExpectEach({{line.Get("Rebate_Disc_Formula"), "6"}, {form_->Caption(), "Editing a product"},
              {form_->lblPDDisplay(5).Caption(), vb::CStr(Variant(vb::Date::FromYmd(2026, 10, 3)))},
              {line.Get("Rebate_Discount"), "1.80"}, {Calc(3), "83.20"}, {Calc(5), "20.19"}});
  // clang-format on
}

TEST_P(OrderItemDialogTest, AddedRowsBecomeCurrentAndEmptyBoxesWriteDefaults) {
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({}), 1250, "PO-1");
  line.Let("Back_Order_Qty", "");
  line.Let("Free_Qty", "");
  auto detail = DetailRows();
  AddOrderDetailToRS(*form_, *detail);
  EXPECT_EQ(detail->RecordCount(), 1);
  // 1,543,125.00 plus 15% tax (the rate is a single: 231,468.76).
  // clang-format off
  ExpectColumns(*detail, {{"Qty", 1250.0}, {"B/O Qty", 0.0}, {"Lead Time", 7},
                          {"Other_Discount_Formula_ID", 1},
                          {"Total Cost", vb::Currency::FromDecimalText("1774593.76")}});
  // clang-format on
  AddOrderDetailToRS(*form_, *detail);
  AddOrderDetailToRS(*form_, *detail);
  EXPECT_EQ(detail->RecordCount(), 3);
  detail->MoveNext();
  EXPECT_TRUE(detail->IsEOF());  // the new row was the last one
}

TEST_P(OrderItemDialogTest, AddWarnsPerFailingColumnAndWritesTheRest) {
  OrderLine(*form_).AssignAllForAdding(*ProductRows({}), 2, "PO-1");
  auto detail = DetailRows("Lead Time");
  auto driver = std::make_shared<ui::HeadlessDriver>();
  ui::ScopedDriver scoped(driver);
  AddOrderDetailToRS(*form_, *detail);
  ASSERT_EQ(driver->Messages().size(), 1u);
  EXPECT_EQ(driver->Messages()[0].buttons, ui::vbExclamation);
  EXPECT_EQ(driver->Messages()[0].prompt,
            vb::Error::StandardDescription(vb::err::kAdoItemNotFound));
  EXPECT_EQ(detail->Item("Net Amount").Value(), Variant(vb::Currency::FromDecimalText("2469")));
}

TEST_P(OrderItemDialogTest, UpdateKeepsLeadTimeAndStopsAtTheFirstFailure) {
  OrderLine line(*form_);
  line.AssignAllForAdding(*ProductRows({}), 2, "PO-1");
  auto detail = DetailRows();
  detail->AddNew();
  detail->Item("Lead Time").Value(30);
  detail->Update();
  line.Let("Order_Qty", "1,250.00");
  UpdateOrderDetailRS(*form_, *detail);
  ExpectColumns(*detail, {{"Lead Time", 30}, {"Qty", 1250.0}});

  line.Let("Unit_Price", "lots");  // the record set refuses it
  line.Let("Net_Amount", "1.00");
  EXPECT_THROW(UpdateOrderDetailRS(*form_, *detail), vb::Error);
  EXPECT_EQ(detail->Item("Net Amount").Value(), Variant(vb::Currency::FromDecimalText("2469")));
}

}  // namespace
}  // namespace kvt::orders
