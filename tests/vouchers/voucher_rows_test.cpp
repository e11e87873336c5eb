// The voucher's detail rows, its header strip and the voucher queries, as a
// host uses them through CGRV.
#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "component/mod_publics.h"
#include "kvt/CGRV.h"
#include "platform/data/record_set.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "tests/support/rows.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"
#include "vouchers/voucher_detail_rows.h"

namespace kvt::vouchers {
namespace {

using data::DataType;
using test_support::ErrorNumberOf;
using vb::Variant;

Variant Cur(const char* text) { return vb::Currency::FromDecimalText(text); }
Variant Ref(const data::RecordSetRef& rows) { return vb::ObjectRef(rows); }

// The current row holds each (column, value).
void ExpectColumns(data::RecordSet& rows,
                   const std::vector<std::pair<const char*, Variant>>& want) {
  for (const auto& [column, value] : want) EXPECT_EQ(rows.Item(column).Value(), value) << column;
}

// A host control with any property, and an array of them reached by index.
class HostControl : public object::Object {
 public:
  std::string TypeName() const override { return "HostControl"; }
  vb::Variant Get(std::string_view name, object::Args) override {
    return values_[std::string(name)];
  }
  void Let(std::string_view name, const vb::Variant& value, object::Args) override {
    values_[std::string(name)] = value;
  }
  std::string Value(const char* name) { return vb::CStr(values_[name]); }

 private:
  std::map<std::string, vb::Variant> values_;
};

class HostArray : public object::Object {
 public:
  HostArray() {
    for (auto& element : elements_) element = std::make_shared<HostControl>();
  }
  std::string TypeName() const override { return "HostArray"; }
  vb::Variant Get(std::string_view name, object::Args args) override {
    if (!object::SameName(name, "Item") || args.size() != 1) ThrowNoSuchMember(name);
    return vb::ObjectRef(elements_.at(static_cast<size_t>(vb::CLng(args[0]))));
  }
  HostControl& operator[](int index) { return *elements_.at(static_cast<size_t>(index)); }
  std::array<std::shared_ptr<HostControl>, 10> elements_;
};

class VoucherRowsTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  static void TearDownTestSuite() { test_support::ReleaseSharedDemoDatabases(); }
  void SetUp() override {
    component::ResetThreadStore();
    grv_.ConnectionString(test_support::SharedDemoDatabase(GetParam()).ConnectionText());
    grv_.CompanyID(1);
    grv_.LoadGRVDetailForm();
  }
  void TearDown() override { component::ResetThreadStore(); }

  // A line as the dialog would hold it after the clerk confirmed it.
  void Line(const char* qty) {
    // clang-format off
    for (auto [name, text] : {std::pair{"FK_ID", "41"}, {"Product_ID", "7"},
             {"Product_Name", "Hex bolt M10"}, {"Product_Code", "BLT-M10"},
             {"Received_Qty", qty}, {"Unit_Price", "1,234.50"}, {"Trade_Discount", "0.00"},
             {"Rebate_Discount", "0.00"}, {"Other_Discount", "0.00"}, {"Net_Amount", "1,234.50"},
             {"Tax_Amount", "172.83"}, {"Total_Cost", "1,407.33"}}) {
      Variant value(text);
      grv_.Invoke(name, CallKind::kLet, std::span(&value, 1));
    }
    // clang-format on
  }

  CGRV grv_;
};

TEST_P(VoucherRowsTest, AddingAppendsTheLineAndStandsOnIt) {
  auto rows = NewVoucherDetailSet(DetailLayout::kGoodsReceived);
  Line("1,250");
  grv_.AddGRVDetailToRS(Ref(rows));
  EXPECT_EQ(rows->RecordCount(), 1);
  ExpectColumns(*rows, {{"Qty", 1250.0}, {"Unit Price", Cur("1234.5")}, {"FK ID", 41}});
  for (int i = 0; i < 4; ++i) grv_.AddGRVDetailToRS(Ref(rows));
  grv_.Received_Qty("6");
  grv_.AddGRVDetailToRS(Ref(rows));
  EXPECT_EQ(rows->RecordCount(), 6);
  EXPECT_EQ(rows->Item("Qty").Value(), Variant(6.0));  // on the sixth, new row
}

TEST_P(VoucherRowsTest, UpdatingWritesFixedValuesForEmptyTextAndKeepsTheKey) {
  auto rows = NewVoucherDetailSet(DetailLayout::kConsignment);
  Line("3");
  grv_.Returned_Qty("3");
  grv_.Sold_Qty("10");
  grv_.Left_Qty("1,250");
  grv_.AddCRVDetailToRS(Ref(rows));
  ExpectColumns(*rows, {{"Qty Left", 1250.0}, {"Qty Sold", 10.0}});

  grv_.FK_ID("99");
  grv_.Product_Name("");
  grv_.Tax_Code_ID("");
  grv_.Sold_Qty("");
  grv_.Received_Qty("2.5");
  grv_.UpdateCRVDetailRS(Ref(rows));
  // clang-format off
  ExpectColumns(*rows, {{"FK ID", 41}, {"Product", std::string()}, {"Code", std::string("BLT-M10")},
                        {"Tax_Codes_ID", 1}, {"Qty Sold", 0.0}, {"Qty", 2.5}});
  // clang-format on
  EXPECT_NE(rows->GetEditMode(), data::EditMode::kNone);  // left pending
}

TEST_P(VoucherRowsTest, AWriterStopsAtTheFirstColumnItCannotWrite) {
  // A set without "Qty Returned": the consignment add stops after "Qty".
  // clang-format off
  auto rows = test_support::RowsOf(
      {{"FK ID", DataType::kInteger}, {"ProductsID", DataType::kInteger},
       {"Product", DataType::kVarWChar}, {"Code", DataType::kVarWChar},
       {"Qty", DataType::kDouble}, {"Unit Price", DataType::kCurrency}}, {});
  // clang-format on
  Line("4");
  grv_.AddCRVDetailToRS(Ref(rows));
  EXPECT_EQ(rows->Item("Qty").Value(), Variant(4.0));
  EXPECT_TRUE(rows->Item("Unit Price").Value().IsNull());
  EXPECT_EQ(rows->GetEditMode(), data::EditMode::kAdd);  // not saved

  // A value the column refuses ends the update there.
  auto saved = NewVoucherDetailSet(DetailLayout::kGoodsReceived);
  grv_.AddGRVDetailToRS(Ref(saved));
  grv_.Unit_Price("lots");
  grv_.Net_Amount("1.00");
  grv_.UpdateGRVDetailRS(Ref(saved));
  EXPECT_EQ(saved->Item("Net Amount").Value(), Cur("1234.5"));
}

TEST_P(VoucherRowsTest, HeaderTotalsAddEveryRowAndLeaveTheSetWhereItStood) {
  // clang-format off
  auto rows = test_support::RowsOf(
      {{"Trade Disc", DataType::kDouble}, {"Rebate Disc", DataType::kCurrency},
       {"Other Disc", DataType::kCurrency}, {"Net Amount", DataType::kCurrency},
       {"Tax Amount", DataType::kCurrency}, {"Total Cost", DataType::kCurrency}},
      {{0.125, Cur("1000"), Cur("0"), Cur("1234.5"), Variant::Null(), Cur("-0.25")},
       {0.125, Cur("234.5"), Cur("0"), Cur("0"), Variant::Null(), Cur("0")}});
  // clang-format on
  rows->MoveLast();
  auto totals = std::make_shared<HostArray>();
  grv_.CalculateHeaderTotals(Ref(rows), vb::ObjectRef(totals));
  const char* expected[] = {"0.25", "1,234.50", "0.00", "1,234.50", "0.00", "-0.25"};
  for (int i = 4; i <= 9; ++i) EXPECT_EQ((*totals)[i].Value("Text"), expected[i - 4]) << i;
  EXPECT_EQ(rows->Item("Rebate Disc").Value(), Cur("234.5"));  // still on the last row

  // Nothing is trapped: text in an amount column raises.
  rows->Item("Net Amount").Value(Variant::Null());
  auto text_rows = test_support::RowsOf({{"Trade Disc", DataType::kVarWChar}}, {{"abc"}});
  EXPECT_NE(
      ErrorNumberOf([&] { grv_.CalculateHeaderTotals(Ref(text_rows), vb::ObjectRef(totals)); }), 0);
}

TEST_P(VoucherRowsTest, HeaderTotalsRoundTheRunningSumNotEachValue) {
  // 2.4958 + 0.50915 is 3.00495: 3.0050 rounded as a sum, but 3.0049 when
  // 0.50915 is rounded first (to 0.5091, ties to even).
  // clang-format off
  auto rows = test_support::RowsOf(
      {{"Trade Disc", DataType::kDouble}, {"Rebate Disc", DataType::kCurrency},
       {"Other Disc", DataType::kDouble}, {"Net Amount", DataType::kCurrency},
       {"Tax Amount", DataType::kCurrency}, {"Total Cost", DataType::kCurrency}},
      {{2.4958, Cur("1"), 1.3676, Cur("0"), Cur("0"), Cur("0")},
       {0.50915, Cur("2"), 1.10735, Cur("0"), Cur("0"), Cur("0")}});
  // clang-format on
  auto totals = std::make_shared<HostArray>();
  grv_.CalculateHeaderTotals(Ref(rows), vb::ObjectRef(totals));
  // Other: 2.47495 is 2.4749 as a sum.
  const char* expected[] = {"3.01", "3.00", "2.47"};
  for (int i = 4; i <= 6; ++i) EXPECT_EQ((*totals)[i].Value("Text"), expected[i - 4]) << i;
}

TEST_P(VoucherRowsTest, CanChangeFunctionFollowsTheRowsAndTheFunction) {
  auto empty = NewVoucherDetailSet(DetailLayout::kGoodsReceived);
  auto unknown = NewVoucherDetailSet(DetailLayout::kGoodsReceived);
  unknown->SetRecordCountUnknown(true);
  auto full = NewVoucherDetailSet(DetailLayout::kGoodsReceived);
  full->AddNew();
  full->Update();
  struct Case {
    const char* what;
    Variant rows;
    bool zero, one, two;
  } cases[] = {
      {"no record set", Variant(), true, true, true},
      {"empty", Ref(empty), true, true, false},
      {"count unknown", Ref(unknown), true, true, false},
      {"rows", Ref(full), false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(grv_.CanChangeFunction(0, c.rows), c.zero);
    EXPECT_EQ(grv_.CanChangeFunction(1, c.rows), c.one);
    EXPECT_EQ(grv_.CanChangeFunction(2, c.rows), c.two);
  }
}

TEST_P(VoucherRowsTest, HeaderFieldsFillAndClearOnlyTheirOwnElements) {
  auto labels = std::make_shared<HostArray>();
  auto boxes = std::make_shared<HostArray>();
  for (int i = 1; i <= 9; ++i) {
    (*labels)[i].Let("Text", "label", {});
    (*boxes)[i].Let("Text", "box", {});
  }
  auto order = test_support::RowsOf(
      {{"OrderNo", DataType::kVarWChar}, {"Supplier Ref", DataType::kVarWChar}},
      {{Variant::Null(), "INV-7"}});
  grv_.InsertOrderHeaderValues(Ref(order), vb::ObjectRef(labels), vb::ObjectRef(boxes));
  EXPECT_EQ((*labels)[2].Value("Caption"), "");
  EXPECT_EQ((*boxes)[3].Value("Text"), "INV-7");

  grv_.ClearReturnHeaderControls(vb::ObjectRef(boxes), vb::ObjectRef(labels));
  EXPECT_EQ((*boxes)[1].Value("Text"), "");
  EXPECT_EQ((*boxes)[3].Value("Text"), "INV-7");
  EXPECT_EQ((*labels)[2].Value("Text"), "label");
  EXPECT_EQ((*labels)[9].Value("Text"), "");
  grv_.ClearHeaderControls(vb::ObjectRef(boxes), vb::ObjectRef(labels));
  EXPECT_EQ((*boxes)[3].Value("Text"), "");
  EXPECT_EQ((*labels)[2].Value("Text"), "");

  auto voucher = test_support::RowsOf({{"Del Note No", DataType::kVarWChar}}, {{"DN-88"}});
  auto note = std::make_shared<HostControl>();
  grv_.InsertGRVHeaderValues(Ref(voucher), vb::ObjectRef(note));
  EXPECT_EQ(note->Value("Caption"), "DN-88");
}

TEST_P(VoucherRowsTest, QueriesHandOverTheirRowsOrRaiseWithTheirSource) {
  auto count = [](const vb::Variant& rows) {
    auto* set = dynamic_cast<data::RecordSet*>(rows.get_if<vb::ObjectRef>()->get());
    return set == nullptr ? -2 : set->RecordCount();
  };
  // Each query reaches its procedure with its keys in order (company 3
  // has no vouchers), and no rows is no error.
  EXPECT_GT(count(grv_.GetOutstandingOrders(1, 1)), 0);
  EXPECT_EQ(count(grv_.GetOutstandingOrders(-5, 2)), 0);
  EXPECT_GT(count(grv_.GetOutstandingOrdersDetails(1)), 0);
  EXPECT_GT(count(grv_.GetReceivedGRV(1, 1)), 0);
  EXPECT_GT(count(grv_.GetReceivedCRV(3, 1)), 0);
  EXPECT_GT(count(grv_.GetReceivedGRVDetails(1)), 0);
  EXPECT_GT(count(grv_.GetReceivedCRVDetails(4)), 0);

  grv_.ConnectionString("Provider=SQLite;Data Source=/nonexistent/kvt.sqlite");
  const vb::Error error = test_support::ErrorOf([&] { grv_.GetReceivedCRVDetails(1); });
  EXPECT_EQ(error.number(), -2147219004);
  EXPECT_EQ(error.source(), "VORodevarurUzovove.Crv GetReceivedCRVDetails");
  EXPECT_FALSE(error.description().empty());
}

KVT_INSTANTIATE_BACKENDS(VoucherRowsTest);

}  // namespace
}  // namespace kvt::vouchers
