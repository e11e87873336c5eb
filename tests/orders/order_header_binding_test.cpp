#include "orders/order_header_binding.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "platform/value/currency.h"
#include "tests/support/rows.h"

namespace kvt::orders {
namespace {

using data::DataType;
using data::RecordSet;
using data::RecordSetRef;
using ui::DataCombo;
using ui::Label;
using ui::TextBox;

// KvtDBC: element 0 of the host's array serves the named record sets it
// holds; any other name fails.
class Provider : public object::Object {
 public:
  std::string TypeName() const override { return "KvtDBC"; }
  vb::Variant Get(std::string_view name, object::Args args) override {
    // clang-format off
    if (name.empty() && args.size() == 1 && vb::CLng(args[0]) == 0) {
      return vb::ObjectRef(shared_from_this());
    }
    // clang-format on
    throw vb::Error::SubscriptOutOfRange("KvtDBC");
  }
  vb::Variant Call(std::string_view name, object::Args args) override {
    if (!object::SameName(name, "MemberGet") || args.size() != 1) ThrowNoSuchMember(name);
    auto found = members.find(vb::CStr(args[0]));
    if (found == members.end()) throw vb::Error::InvalidCall("KvtDBC");
    return vb::ObjectRef(found->second);
  }
  std::map<std::string, RecordSetRef> members;
};

// The host's order screen as far as the binding reaches it.
class OrderScreen : public ui::Form {
 public:
  OrderScreen() : Form("frmPurchaseOrders") {}

  std::shared_ptr<Provider> provider = std::make_shared<Provider>();

  vb::Variant Get(std::string_view name, object::Args args) override {
    if (!object::SameName(name, "KvtDBC")) return Form::Get(name, args);
    return args.empty() ? vb::Variant(vb::ObjectRef(provider)) : provider->Get("", args);
  }

  DataCombo& Combo(int i) { return Ctl<DataCombo>("dbcOHeaderEdit", i); }
  TextBox& Text(int i) { return Ctl<TextBox>("txtOHeaderEdit", i); }
  Label& Total(int i) { return Ctl<Label>("lblOHeaderEdit", i); }
  ui::DataGrid& Grid() { return Ctl<ui::DataGrid>("sugOrderDetails", 0); }

 protected:
  void Build() override {
    Add<DataCombo>("dbcOHeaderEdit", 3);
    Add<DataCombo>("dbcOHeaderEdit", 4);
    for (int i = 1; i <= 5; ++i) Add<TextBox>("txtOHeaderEdit", i);
    for (int i = 1; i <= 7; ++i) Add<Label>("lblOHeaderEdit", i);
    Add<ui::DataGrid>("sugOrderDetails", 0);
    for (int i = 0; i <= 6; ++i) Add<Label>("lblProdDetails", i);
    for (int i = 0; i <= 3; ++i) Add<TextBox>("txtProdDetails", i);
    for (int i = 0; i <= 2; ++i) Add<Label>("lblStats", i);
  }
};

vb::Variant Money(const char* text) { return vb::Currency::FromDecimalText(text); }

class OrderHeaderBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    component::ResetThreadStore();
    Serve(*screen_);
  }
  void TearDown() override { component::ResetThreadStore(); }

  // Order PO000105 of supplier 2 at branch 20; "Supplier Ref" and "Tax
  // Total" are Null.
  static void Serve(OrderScreen& screen) {
    using test_support::RowsOf;
    auto& members = screen.provider->members;
    members["Suppliers_In_Orders"] =
        RowsOf({{"ID", DataType::kInteger}, {"Supplier", DataType::kVarWChar}},
               {{1, std::string("Harbour Fasteners CC")}, {2, std::string("Ridgeway Paints Ltd")}});
    members["Branch_Codes"] =
        RowsOf({{"Branch_ID", DataType::kInteger}, {"Branch", DataType::kVarWChar}},
               {{10, std::string("Bellville")}, {20, std::string("Durbanville")}});
    members["Branch_Codes"]->MoveNext();
    // clang-format off
    members["Order_Headers"] =
        RowsOf({{"ID", DataType::kInteger}, {"Order No", DataType::kVarWChar},
                {"Date Ordered", DataType::kVarWChar}, {"Branch_Codes_ID", DataType::kInteger},
                {"Supplier Rep", DataType::kVarWChar}, {"Supplier Type", DataType::kVarWChar},
                {"SupplierID", DataType::kInteger}, {"Our Ref", DataType::kVarWChar},
                {"Supplier Ref", DataType::kVarWChar}, {"Trade Discount", DataType::kCurrency},
                {"Rebate Discount", DataType::kCurrency}, {"Other Discount", DataType::kCurrency},
                {"Net Amount", DataType::kCurrency}, {"Tax Total", DataType::kCurrency},
                {"Order Total", DataType::kCurrency}, {"Order Qty", DataType::kDouble}},
               {{5, std::string("PO000105"), std::string("2026-11-10"), 20,
                 std::string("Pieter van Wyk"), std::string("Local"), 2, std::string("KH-2302"),
                 vb::Variant::Null(), Money("774.62"), Money("45.68"), Money("0"),
                 Money("14251.10"), vb::Variant::Null(), Money("16337.7656"), 62.5}});
    // clang-format on
  }

  vb::Variant Form() { return vb::ObjectRef(screen_); }

  std::shared_ptr<OrderScreen> screen_ = std::make_shared<OrderScreen>();
};

TEST_F(OrderHeaderBindingTest, BindShowsTheHeaderWithNullsAsEmptyAndZero) {
  ASSERT_FALSE(BindOrderHeader(Form()).HasError());
  OrderScreen& s = *screen_;

  DataCombo& supplier = s.Combo(4);
  EXPECT_EQ(supplier.DataSource(), s.provider->members["Order_Headers"]);
  EXPECT_EQ(supplier.Rows().size(), 2u);
  EXPECT_EQ(supplier.BoundText(), "2");
  EXPECT_EQ(supplier.Text(), "Ridgeway Paints Ltd");

  // The branch shown is the branch list's current row, not the header's.
  DataCombo& branch = s.Combo(3);
  EXPECT_EQ(branch.Text(), "Durbanville");

  const char* texts[] = {"PO000105", "Pieter van Wyk", "Local", "KH-2302", ""};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(s.Text(i).Text(), texts[i - 1]) << i;
  const char* totals[] = {"774.62", "45.68", "0.00", "14,251.10", "0.00", "16,337.77", "62.50"};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(s.Total(i).Caption(), totals[i - 1]) << i;
}

TEST_F(OrderHeaderBindingTest, ClearEmptiesTheTotalsAndUnbindsTheGrid) {
  OrderScreen& s = *screen_;
  BindOrderHeader(Form());
  s.Grid().DataSource(s.provider->members["Order_Headers"]);
  s.Text(3).Set("DataSource", s.provider->members["Order_Headers"]);
  s.Text(3).Let("DataMember", "Order_Headers");

  ASSERT_FALSE(ClearHeaderControls(Form()).HasError());
  for (int i : {3, 4}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.Combo(i).DataSource(), nullptr);
    EXPECT_EQ(s.Combo(i).RowSource(), nullptr);
    EXPECT_TRUE(s.Combo(i).Rows().empty());
    EXPECT_EQ(s.Combo(i).Text(), "");
    EXPECT_EQ(s.Combo(i).BoundText(), "");
  }
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(s.Text(i).Text(), "") << i;
  EXPECT_EQ(s.Text(3).Binding().data_source, nullptr);
  EXPECT_EQ(s.Text(3).Binding().data_member, "");
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(s.Total(i).Caption(), "") << i;
  EXPECT_EQ(s.Grid().DataSource(), nullptr);
  EXPECT_TRUE(s.Grid().Rows().empty());
}

TEST_F(OrderHeaderBindingTest, UnknownDataMemberStopsBeforeTheControlNeedingIt) {
  OrderScreen& s = *screen_;
  s.provider->members.erase("Branch_Codes");
  s.Text(2).Text("unchanged");

  // The failure comes back to the caller, and what came before it stays.
  vb::ErrorData failure = BindOrderHeader(Form());
  ASSERT_TRUE(failure.HasError());
  EXPECT_EQ(failure.error().number(), vb::err::kInvalidCall);
  EXPECT_EQ(s.Combo(4).Text(), "Ridgeway Paints Ltd");
  EXPECT_EQ(s.Text(1).Text(), "PO000105");
  EXPECT_EQ(s.Combo(3).RowSource(), nullptr);
  EXPECT_EQ(s.Text(2).Text(), "unchanged");
}

// The host's forecasting object: fixed values by property name.
class Forecaster : public object::Object {
 public:
  std::string TypeName() const override { return "Forecaster"; }
  vb::Variant Get(std::string_view name, object::Args) override {
    auto found = values.find(std::string(name));
    if (found == values.end()) ThrowNoSuchMember(name);
    return found->second;
  }
  // clang-format off
  std::map<std::string, vb::Variant> values = {
      {"ProductDescription", std::string("Sleeve anchor 12 mm")}, {"StockOnHand", 0.0},
      {"StockReserved", 2.5}, {"LastSaleDate", vb::Variant::Null()}, {"QtyOnOrder", 40},
      {"OrdersPending", 1}, {"CandidatesPending", 3}, {"LeadTime", 14}, {"MinOrderQty", 5},
      {"MaxOrderQty", 60}, {"ServiceLevel", 0.9}, {"Mean", 1.25}, {"Median", 1},
      {"StdDev", 0.5}};
  // clang-format on
};

// What each control shows is the order screen's test, on a product never
// sold; here, that a Null other than the last sale ends the fill there.
TEST_F(OrderHeaderBindingTest, ANullOtherThanTheLastSaleEndsTheFill) {
  auto forecaster = std::make_shared<Forecaster>();
  forecaster->values["MinOrderQty"] = vb::Variant::Null();
  OrderScreen& s = *screen_;
  s.Ctl<Label>("lblProdDetails", 3).Caption("2026-01-01");
  vb::ErrorData failure = SetProductDetails(Form(), vb::ObjectRef(forecaster));
  ASSERT_TRUE(failure.HasError());
  EXPECT_EQ(failure.error().number(), vb::err::kInvalidUseOfNull);
  EXPECT_EQ(s.Ctl<Label>("lblProdDetails", 3).Caption(), "");
  EXPECT_EQ(s.Ctl<TextBox>("txtProdDetails", 0).Text(), "14");
  EXPECT_EQ(s.Ctl<Label>("lblStats", 0).Caption(), "");
}

}  // namespace
}  // namespace kvt::orders
