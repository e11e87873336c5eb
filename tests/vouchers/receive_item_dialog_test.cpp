// The receive item dialog driven through CGRV as a host and a clerk drive
// it: fills from voucher rows, typing, Tab, Enter and the buttons.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "component/mod_publics.h"
#include "kvt/CGRV.h"
#include "platform/data/connection.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "tests/support/rows.h"
#include "tests/support/temp_demo_database.h"
#include "vouchers/voucher_line.h"

namespace kvt::vouchers {
namespace {

using data::DataType;
using vb::Currency;
using vb::Variant;

constexpr const char* kRedo = "\r\n\r\nPlease redo the item.";

Variant Cur(const char* text) { return Currency::FromDecimalText(text); }

// Each pair is (shown, expected).
void ExpectEach(const std::vector<std::pair<std::string, std::string>>& pairs) {
  for (size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].first, pairs[i].second) << "#" << i;
}

// An outstanding purchase-order line as GetOutstandingOrdersDetails gives it.
struct OrderLine {
  Variant qty = 3.0, back_order = Variant::Null(), received = Variant::Null();
  Variant price = Cur("100"), trade = Cur("30"), rebate = Cur("13.5");
  Variant tax_code = 5, product = 7;
};

// clang-format off
Variant Outstanding(const OrderLine& l) {
  return vb::ObjectRef(test_support::RowsOf(
      {{"ID", DataType::kInteger}, {"Products ID", DataType::kInteger},
       {"Product", DataType::kVarWChar}, {"Code", DataType::kVarWChar},
       {"Qty", DataType::kDouble}, {"B/O Qty", DataType::kDouble},
       {"Received Qty", DataType::kDouble}, {"Unit Price", DataType::kCurrency},
       {"Trade Disc", DataType::kCurrency}, {"Rebate Disc", DataType::kCurrency},
       {"Other Disc", DataType::kCurrency}, {"Net Amount", DataType::kCurrency},
       {"Tax_Codes_ID", DataType::kInteger}, {"Tax Code", DataType::kVarWChar},
       {"Tax", DataType::kCurrency}, {"Total Cost", DataType::kCurrency}},
      {{41, l.product, "Hex bolt M10", "BLT-M10", l.qty, l.back_order, l.received, l.price,
        l.trade, l.rebate, Cur("0"), Cur("256.5"), l.tax_code,
        l.tax_code.IsNull() ? Variant::Null() : Variant("VAT 14%"), Cur("35.91"),
        Cur("292.41")}}));
}
// clang-format on

// A line of a received voucher (GetReceivedGRVDetails, or with the
// consignment quantities GetReceivedCRVDetails).
// clang-format off
Variant Received(Variant qty, Variant price, Variant trade, Variant rebate,
                 Variant left = Variant::Null(), Variant product = 7, Variant tax_code = 5) {
  return vb::ObjectRef(test_support::RowsOf(
      {{"ID", DataType::kInteger}, {"Tax_Codes_ID", DataType::kInteger},
       {"Products ID", DataType::kInteger}, {"Product", DataType::kVarWChar},
       {"Code", DataType::kVarWChar}, {"Qty", DataType::kDouble},
       {"Qty Left", DataType::kDouble}, {"Qty Returned", DataType::kDouble},
       {"Qty Sold", DataType::kDouble}, {"Unit Price", DataType::kCurrency},
       {"Trade Disc", DataType::kCurrency}, {"Rebate Disc", DataType::kCurrency},
       {"Other Disc", DataType::kCurrency}, {"Net", DataType::kCurrency},
       {"Tax", DataType::kCurrency}, {"Total Cost", DataType::kCurrency}},
      {{90, tax_code, product, "Flat washer", "WSH-M10", qty, left, 3.0, 10.0,
        price, trade, rebate, Cur("0"), Cur("0"), Cur("0"), Cur("0")}}));
}
// clang-format on

class ReceiveItemTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  static void TearDownTestSuite() { test_support::ReleaseSharedDemoDatabases(); }
  void SetUp() override {
    bool made = false;
    db_ = &test_support::SharedDemoDatabase(GetParam(), &made);
    if (made) {
      db_->Open()->Execute(
          "INSERT INTO TaxCodes (ID, CompanyID, Code, Rate) VALUES (5, 1, 'VAT 14%', 14)");
    }
    component::ResetThreadStore();
    grv_.ConnectionString(db_->ConnectionText());
    grv_.CompanyID(1);
    grv_.QtyDecimals(2);
    grv_.PriceDecimals(2);
    grv_.LoadGRVDetailForm();
  }
  void TearDown() override { component::ResetThreadStore(); }

  // Shows the dialog to a scripted clerk; returns the messages shown.
  std::vector<ui::HeadlessDriver::Message> Show(
      const std::function<void(ui::HeadlessDriver&)>& script) {
    auto driver = std::make_shared<ui::HeadlessDriver>();
    script(*driver);
    ui::ScopedDriver scoped(driver);
    grv_.ShowGRVDetailForm();
    for (const std::string& problem : driver->Problems()) ADD_FAILURE() << problem;
    return driver->Messages();
  }
  frmEditGRVDetail& Form() { return SharedReceiveItemDialog(); }

  test_support::TempDemoDatabase* db_ = nullptr;
  CGRV grv_;
};

TEST_P(ReceiveItemTest, AddingProposesWhatIsStillToCome) {
  struct Case {
    Variant qty, back_order, received;
    const char *now, *ordered, *to_date;
  } cases[] = {
      {10.0, 5.0, 12.0, "3", "15", "12"},
      {10.0, Variant::Null(), 4.0, "6", "10", "4"},
      {Variant::Null(), 5.0, Variant::Null(), "0", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ordered);
    grv_.AssignAllForAdding(
        Outstanding({.qty = c.qty, .back_order = c.back_order, .received = c.received}));
    EXPECT_EQ(Form().lblODEdit(2).Caption(), c.now);
    EXPECT_EQ(Form().lblODCalc(5).Caption(), c.ordered);
    EXPECT_EQ(Form().lblODCalc(6).Caption(), c.to_date);
  }
  EXPECT_TRUE(Form().lblODCalc(5).Visible());
}

TEST_P(ReceiveItemTest, AddingTurnsTheOrderDiscountsIntoPercentagesAndCalculates) {
  grv_.AssignAllForAdding(Outstanding({}));
  // clang-format off
  ExpectEach({{grv_.Received_Qty(), "3.00"}, {Form().txtODPercentage(0).Text(), "10.00"},
              {Form().txtODPercentage(1).Text(), "5.00"}, {grv_.Net_Amount(), "256.50"},
              {grv_.Tax_Amount(), "35.91"}, {grv_.Total_Cost(), "292.41"},
              {grv_.Tax_Code(), "VAT 14%"}});
  // clang-format on
  EXPECT_TRUE(Form().cmdAction(0).Enabled());

  grv_.AssignAllForAdding(Outstanding(
      {.price = Cur("1234.5"), .tax_code = Variant::Null(), .product = Variant::Null()}));
  // clang-format off
  ExpectEach({{grv_.Unit_Price(), "1,234.50"}, {grv_.Tax_Code_ID(), "1"}, {grv_.Product_ID(), "0"}});
  // clang-format on
  grv_.AssignAllForAdding(Outstanding({.price = Cur("0")}));
  EXPECT_EQ(Form().txtODPercentage(0).Text(), "0.00");
}

// clang-format off
TEST_P(ReceiveItemTest, BadEntriesAreRefusedWithTheirMessages) {
  const char* kZero = "You cannot receive a zero quantity. \r\n\r\nPlease supply "
                      "'Qty Received' and 'Unit Price' values\r\nor press Cancel";
  struct Case {
    const char *box, *text, *message;
  } cases[] = {
      {"txtODEdit(0)", "-1", "Please insert a positive Quantity Received"},
      {"txtODEdit(1)", "-5", "Please insert a positive Unit Price"},
      {"txtODEdit(0)", "", kZero},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    grv_.AssignAllForAdding(Outstanding({}));
    bool open = false;
    auto messages = Show([&](ui::HeadlessDriver& clerk) {
      clerk.Replace(c.box, c.text)
          .Click("cmdAction(0)")
          .Inspect([&](ui::Form& form) { open = form.Visible(); })
          .Close();
    });
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0].prompt, c.message);
    EXPECT_EQ(messages[0].title, "Stock Receipts");
    EXPECT_TRUE(open);
  }
}
// clang-format on

// clang-format off
TEST_P(ReceiveItemTest, ANetAmountWithNoQuantityAsksToRedoTheItem) {
  grv_.AssignAllForAdding(Outstanding({}));
  auto messages = Show([](ui::HeadlessDriver& clerk) {
    clerk.Replace("txtODEdit(0)", "0").Press(ui::vbKeyTab).Replace("txtODEdit(5)", "100")
        .Press(ui::vbKeyTab).Click("cmdAction(1)");
  });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, std::string("An exception occurred while changing amounts.") +
                                    kRedo);
  EXPECT_FALSE(grv_.IsGRVDetailFormLoaded());
}
// clang-format on

TEST_P(ReceiveItemTest, OnlyAChangedBoxRecalculatesAndEnterMovesOn) {
  grv_.AssignAllForAdding(Outstanding({}));
  grv_.Total_Cost("999.99");  // out of step with the line on purpose
  std::string total_after_tab, focus_after_enter;
  Show([&](ui::HeadlessDriver& clerk) {
    clerk.Focus("txtODEdit(0)").Press(ui::vbKeyTab).Inspect([&](ui::Form&) {
      total_after_tab = Form().lblODCalc(4).Caption();
    });
    clerk.Focus("txtODEdit(0)").Press(ui::vbKeyReturn).Inspect([&](ui::Form& form) {
      focus_after_enter = form.ActiveControl()->Name();
    });
    clerk.Replace("txtODEdit(0)", "4").Press(ui::vbKeyTab).Click("cmdAction(0)");
  });
  EXPECT_EQ(total_after_tab, "999.99");
  EXPECT_EQ(focus_after_enter, "txtODEdit");
  EXPECT_EQ(grv_.Net_Amount(), "342.00");  // 400 less 10% and 5%
}

// clang-format off
TEST_P(ReceiveItemTest, AConsignmentReturnStaysWithinWhatIsLeft) {
  grv_.AssignAllForAdding(Outstanding({}));
  grv_.Returned_Qty("5");
  grv_.Left_Qty("7");
  grv_.mbIsCRN(true);
  auto messages = Show([](ui::HeadlessDriver& clerk) {
    clerk.Replace("txtODEdit(0)", "9").Press(ui::vbKeyTab).Replace("txtODEdit(0)", "2")
        .Press(ui::vbKeyTab).Click("cmdAction(0)");
  });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt,
            "Return amount may not be greater than amount left on CRV. \rPlease insert an "
            "amount less than or equal to 7");
  EXPECT_EQ(messages[0].title, "Consignment Stock Returns");
  ExpectEach({{grv_.Returned_Qty(), "7"}, {grv_.Left_Qty(), "5"}});
}
// clang-format on

// The captions of each state are a table of the dialog's; a state it does
// not know leaves the last one's.
TEST_P(ReceiveItemTest, AnUnknownFormStateLeavesTheCaptionsOfTheLast) {
  grv_.Set_Form_State(kvFormState::kvAdding);
  const std::string adding = Form().lblState().Caption();
  grv_.Set_Form_State(kvFormState::kvReturning);
  const std::string returning = Form().lblState().Caption();
  EXPECT_NE(returning, adding);
  grv_.Set_Form_State(static_cast<kvFormState>(7));
  EXPECT_EQ(Form().lblState().Caption(), returning);
}

TEST_P(ReceiveItemTest, CancelAndUnloadLeaveAFreshDialog) {
  grv_.AssignAllForAdding(Outstanding({}));
  bool price_shown = false;
  Show([&](ui::HeadlessDriver& clerk) {
    clerk.Inspect([&](ui::Form&) { price_shown = Form().lblPDSellingPrice().Visible(); })
        .Focus("cmdAction(1)")
        .Press('X');  // any key on a focused button clicks it
  });
  EXPECT_TRUE(price_shown);
  EXPECT_FALSE(grv_.IsGRVDetailFormLoaded());
  EXPECT_EQ(grv_.Received_Qty(), "");
  grv_.Product_Name("kept until unloaded");
  grv_.UnloadGRVDetailForm();
  EXPECT_EQ(grv_.Product_Name(), "");
}

TEST_P(ReceiveItemTest, ReturnFillsProposeTheWholeQuantity) {
  // 12 at 50.00 with trade 60.00 and rebate 27.00 (of the after-trade 540).
  grv_.AssignAllForReturnAdding(Received(12.0, Cur("50"), Cur("60"), Cur("27"), Variant::Null(),
                                         Variant::Null(), Variant::Null()));
  // clang-format off
  ExpectEach({{grv_.Received_Qty(), "12.00"}, {Form().txtODPercentage(0).Text(), "10.00"},
              {Form().txtODPercentage(1).Text(), "5.00"}, {grv_.Trade_Discount(), "60.00"},
              {grv_.Rebate_Discount(), "27.00"}, {grv_.Tax_Code_ID(), "1"},
              {grv_.Product_ID(), ""}, {grv_.FK_ID(), "90"}});
  // clang-format on
  EXPECT_FALSE(Form().lblODCalc(5).Visible());

  // A consignment return proposes what is left; every percentage is of the
  // sub total (70.00).
  grv_.AssignAllForCRVReturnAdding(Received(99.0, Cur("10"), Cur("7"), Cur("3.5"), 7.0));
  // clang-format off
  ExpectEach({{grv_.Received_Qty(), "7.00"}, {grv_.Returned_Qty(), "3"}, {grv_.Sold_Qty(), "10"},
              {grv_.Left_Qty(), "7"}, {Form().txtODPercentage(0).Text(), "10.00"},
              {Form().txtODPercentage(1).Text(), "5.00"}});
  // clang-format on
  grv_.AssignAllForCRVReturnAdding(Received(1.0, Cur("10"), Cur("7"), Cur("3.5")));
  EXPECT_EQ(grv_.Left_Qty(), "0");
  EXPECT_EQ(Form().txtODPercentage(0).Text(), "0.00");
}

TEST_P(ReceiveItemTest, AConsignmentReceiptOpensOnlyTheQuantity) {
  grv_.AssignAllForCRVAdding(Outstanding({}));
  EXPECT_TRUE(Form().txtODEdit(0).Enabled());
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(Form().txtODEdit(i).Enabled()) << i;
  EXPECT_FALSE(Form().dbcODEdit().Enabled());
  EXPECT_FALSE(Form().txtODPercentage(2).Enabled());
  // Still closed for the next line in the same dialog instance.
  auto row = Received(4.0, Cur("10"), Cur("0"), Cur("0"));
  grv_.AssignAllForCRVEditing(row);
  EXPECT_FALSE(Form().txtODEdit(1).Enabled());
}

TEST_P(ReceiveItemTest, AFillStopsAtAMissingColumnWithoutCalculating) {
  grv_.AssignAllForAdding(Outstanding({}));
  Variant short_row = vb::ObjectRef(test_support::RowsOf({{"ID", DataType::kInteger},
                                                          {"Products ID", DataType::kInteger},
                                                          {"Product", DataType::kVarWChar}},
                                                         {{42, 8, "Short row"}}));
  grv_.AssignAllForAdding(short_row);
  EXPECT_EQ(grv_.Product_Name(), "Short row");
  EXPECT_EQ(grv_.Total_Cost(), "292.41");  // the previous line's, not recalculated
  grv_.AssignAllForEditing(Variant());     // no record set: nothing happens
  EXPECT_EQ(grv_.Product_Name(), "Short row");
}

KVT_INSTANTIATE_BACKENDS(ReceiveItemTest);

}  // namespace
}  // namespace kvt::vouchers
