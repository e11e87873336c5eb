#include "vouchers/voucher_line.h"

#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::vouchers {
namespace {

using component::Access;
using component::Facet;
using component::FormatTwoDecimals;
using component::ParseNumber;
using Array = frmEditGRVDetail::Array;
using Row = component::DialogProperty<frmEditGRVDetail>;

constexpr int kTaxCodeList = 4;  // KvFormulaType KvTAXCODE

constexpr Access kLetGet = Access::kLetGet;
constexpr Access kLetOnly = Access::kLetOnly;

// clang-format off
const Row kProperties[] = {
    {"FK_ID", kLetGet, Array::kLblODEdit, 0},
    {"Product_ID", kLetGet, Array::kLblODEdit, 1},
    {"Product_Name", kLetGet, Array::kLblPDDisplay, 0},
    {"Product_Code", kLetGet, Array::kLblPDProductCode, 0},
    {"Price1", kLetGet, Array::kLblPDSellingPrice, 0},
    {"Total_Ordered", kLetOnly, Array::kLblODCalc, 5},
    {"Total_Received", kLetOnly, Array::kLblODCalc, 6},
    // The quantity the line was opened with stays in lblODEdit(2).
    {.name = "Received_Qty", .access = kLetGet, .array = Array::kTxtODEdit, .index = 0,
     .also_array = Array::kLblODEdit, .also_index = 2},
    {"Returned_Qty", kLetGet, Array::kLblODEdit, 3},
    {"Sold_Qty", kLetGet, Array::kLblODEdit, 4},
    {"Left_Qty", kLetGet, Array::kLblODEdit, 5},
    {"Unit_Price", kLetGet, Array::kTxtODEdit, 1},
    {"Trade_Discount", kLetGet, Array::kTxtODEdit, 2},
    {"Rebate_Discount", kLetGet, Array::kTxtODEdit, 3},
    {"Other_Discount", kLetGet, Array::kTxtODEdit, 4},
    {"Trade_Discount_Percentage", kLetOnly, Array::kTxtODPercentage, 0},
    {"Rebate_Discount_Percentage", kLetOnly, Array::kTxtODPercentage, 1},
    {"Other_Discount_Percentage", kLetOnly, Array::kTxtODPercentage, 2},
    {"Net_Amount", kLetGet, Array::kTxtODEdit, 5},
    {"Tax_Code_ID", kLetGet, Array::kDbcODEdit, 4},
    {"Tax_Code", kLetGet, Array::kDbcODEdit, 4, Facet::kShownText},
    {"Tax_Amount", kLetGet, Array::kLblODCalc, 3},
    {"Total_Cost", kLetGet, Array::kLblODCalc, 4},
};
// clang-format on

std::string Amount(const vb::Variant& value) {
  return component::ThreadStore().NumberFormat().FormatAmount(value, 2, -1, 0, -1);
}

// The column's value as text; `if_null` when it is Null.
std::string TextOr(data::RecordSet& row, const char* column, const std::string& if_null) {
  vb::Variant value = row.Item(column).Value();
  return value.IsNull() ? if_null : vb::CStr(value);
}

// The column formatted with two decimals; a zero amount when it is Null.
std::string FormattedOrZero(data::RecordSet& row, const char* column) {
  vb::Variant value = row.Item(column).Value();
  return Amount(value.IsNull() ? vb::Variant(0) : value);
}

double NumberOf(const std::string& text) { return vb::CDbl(ParseNumber(text)); }

// `part` as a percentage of `base`; 0 when the base is 0.
double PercentOf(double part, double base) { return base == 0 ? 0 : part / base * 100; }

}  // namespace

std::shared_ptr<component::Dialog> MakeReceiveItemDialog() {
  return std::make_shared<frmEditGRVDetail>();
}

frmEditGRVDetail& SharedReceiveItemDialog() {
  auto& slot = component::ThreadStore().Slot(component::DialogKind::kReceiveItem);
  if (!slot.instance) slot.instance = MakeReceiveItemDialog();
  auto* dialog = dynamic_cast<frmEditGRVDetail*>(slot.instance.get());
  if (dialog == nullptr) throw vb::Error::ObjectNotSet("frmEditGRVDetail");
  if (!dialog->IsLoaded()) dialog->Load();
  return *dialog;
}

std::span<const component::DialogProperty<frmEditGRVDetail>> VoucherLineProperties() {
  return kProperties;
}

std::string VoucherLine::Get(std::string_view property) const {
  return vb::CStr(
      component::GetProperty(form_, component::FindProperty(VoucherLineProperties(), property)));
}

void VoucherLine::Let(std::string_view property, const std::string& text) {
  component::LetProperty(form_, component::FindProperty(VoucherLineProperties(), property), text);
}

void VoucherLine::SetTotalsVisible(bool visible) {
  form_.lblODCalc(5).Visible(visible);
  form_.lblODCalc(6).Visible(visible);
  form_.lblOrderDetail(3).Visible(visible);
  form_.lblOrderDetail(2).Visible(visible);
}

void VoucherLine::BindTaxCodes() { component::BindLookupList(form_.dbcODEdit(), kTaxCodeList); }

void VoucherLine::SetPercentages(double trade, double rebate, double other) {
  Let("Trade_Discount_Percentage", FormatTwoDecimals(trade));
  Let("Rebate_Discount_Percentage", FormatTwoDecimals(rebate));
  Let("Other_Discount_Percentage", FormatTwoDecimals(other));
}

void VoucherLine::AssignAllForAdding(data::RecordSet& source) {
  SetTotalsVisible(true);
  const bool has_rows = source.RecordCount() >= 1;
  vb::Variant bookmark;
  if (has_rows) bookmark = source.Bookmark();
  Let("FK_ID", TextOr(source, "ID", "0"));
  Let("Product_ID", TextOr(source, "Products ID", "0"));
  Let("Product_Name", TextOr(source, "Product", ""));
  Let("Product_Code", TextOr(source, "Code", ""));
  const vb::Variant qty = source.Item("Qty").Value();
  double ordered = 0;
  if (!qty.IsNull()) {
    const vb::Variant back_order = source.Item("B/O Qty").Value();
    ordered = vb::CDbl(qty) + (back_order.IsNull() ? 0 : vb::CDbl(back_order));
  }
  Let("Total_Ordered", vb::CStr(ordered));
  const vb::Variant received_value = source.Item("Received Qty").Value();
  const double received = received_value.IsNull() ? 0 : vb::CDbl(received_value);
  Let("Total_Received", vb::CStr(received));
  // What is still to come is proposed as received now.
  Let("Received_Qty", vb::CStr(ordered - received));
  Let("Unit_Price", FormattedOrZero(source, "Unit Price"));
  double discounts[3];
  const char* discount_columns[3] = {"Trade Disc", "Rebate Disc", "Other Disc"};
  const char* discount_properties[3] = {"Trade_Discount", "Rebate_Discount", "Other_Discount"};
  for (int i = 0; i < 3; ++i) {
    const std::string shown = FormattedOrZero(source, discount_columns[i]);
    Let(discount_properties[i], shown);
    discounts[i] = NumberOf(shown);
  }
  Let("Net_Amount", FormattedOrZero(source, "Net Amount"));
  BindTaxCodes();
  Let("Tax_Code_ID", TextOr(source, "Tax_Codes_ID", "1"));
  Let("Tax_Code", TextOr(source, "Tax Code", ""));
  Let("Tax_Amount", FormattedOrZero(source, "Tax"));
  Let("Total_Cost", TextOr(source, "Total Cost", Amount(0)));
  if (has_rows) source.Bookmark(bookmark);

  // The order line's discount amounts become percentages of the proposed
  // quantity's value, in double precision; the calculation works from them.
  const double base1 = NumberOf(Get("Received_Qty")) * NumberOf(Get("Unit_Price"));
  const double base2 = base1 - discounts[0];
  const double base3 = base2 - discounts[1];
  SetPercentages(PercentOf(discounts[0], base1), PercentOf(discounts[1], base2),
                 PercentOf(discounts[2], base3));
  form_.Calculate(0);
}

void VoucherLine::FillAmounts(data::RecordSet& row, const char* net_column,
                              const char* tax_column) {
  const std::pair<const char*, const char*> amounts[] = {
      {"Unit_Price", "Unit Price"},       {"Trade_Discount", "Trade Disc"},
      {"Rebate_Discount", "Rebate Disc"}, {"Other_Discount", "Other Disc"},
      {"Net_Amount", net_column},         {"Tax_Amount", tax_column},
      {"Total_Cost", "Total Cost"}};
  for (const auto& [property, column] : amounts) Let(property, FormattedOrZero(row, column));
}

void VoucherLine::FillConsignmentQuantities(data::RecordSet& row) {
  Let("Returned_Qty", TextOr(row, "Qty Returned", "0"));
  Let("Sold_Qty", TextOr(row, "Qty Sold", "0"));
  Let("Left_Qty", TextOr(row, "Qty Left", "0"));
}

void VoucherLine::FillReturnedProduct(data::RecordSet& received) {
  SetTotalsVisible(false);
  // A returned line keeps the key of the received line it returns.
  Let("FK_ID", TextOr(received, "ID", "0"));
  BindTaxCodes();
  Let("Tax_Code_ID", TextOr(received, "Tax_Codes_ID", "1"));
  Let("Product_ID", TextOr(received, "Products ID", ""));
  Let("Product_Name", TextOr(received, "Product", ""));
  Let("Product_Code", TextOr(received, "Code", ""));
}

void VoucherLine::DerivePercentages(Bases bases) {
  auto amount = [&](const char* property) { return vb::CCur(ParseNumber(Get(property))); };
  const vb::Currency sub_total =
      vb::Currency::FromDouble(NumberOf(Get("Unit_Price")) * NumberOf(Get("Received_Qty")));
  const vb::Currency trade = amount("Trade_Discount");
  const vb::Currency rebate = amount("Rebate_Discount");
  const vb::Currency other = amount("Other_Discount");
  vb::Currency after_trade = sub_total - trade;
  if (bases == Bases::kCascadeRoundedToCents) {
    after_trade = vb::CCur(ParseNumber(FormatTwoDecimals(after_trade)));
  }
  vb::Currency after_rebate = after_trade - rebate;
  if (bases == Bases::kCascadeRoundedToCents) {
    after_rebate = vb::CCur(ParseNumber(FormatTwoDecimals(after_rebate)));
  }
  if (bases == Bases::kSubTotal) after_trade = after_rebate = sub_total;
  SetPercentages(PercentOf(trade.ToDouble(), sub_total.ToDouble()),
                 PercentOf(rebate.ToDouble(), after_trade.ToDouble()),
                 PercentOf(other.ToDouble(), after_rebate.ToDouble()));
}

void VoucherLine::AssignAllForEditing(data::RecordSet& detail, bool consignment) {
  SetTotalsVisible(false);
  BindTaxCodes();
  Let("Tax_Code_ID", TextOr(detail, "Tax_Codes_ID", "1"));
  Let("Product_ID", TextOr(detail, "ProductsID", ""));
  Let("Product_Name", TextOr(detail, "Product", ""));
  Let("Product_Code", TextOr(detail, "Code", ""));
  Let("Received_Qty", TextOr(detail, "Qty", "0"));
  if (consignment) FillConsignmentQuantities(detail);
  FillAmounts(detail, "Net Amount", "Tax Amount");
  DerivePercentages(Bases::kCascadeRoundedToCents);
  form_.Calculate(0);
}

void VoucherLine::AssignAllForReturnAdding(data::RecordSet& received) {
  FillReturnedProduct(received);
  // The whole received quantity is proposed for return.
  Let("Received_Qty", TextOr(received, "Qty", "0"));
  FillAmounts(received, "Net", "Tax");
  DerivePercentages(Bases::kCascade);
  form_.Calculate(0);
}

void VoucherLine::AssignAllForCRVAdding(data::RecordSet& source) {
  AssignAllForAdding(source);
  // A consignment receipt takes the order's figures unchanged.
  for (int i = 1; i <= 5; ++i) form_.txtODEdit(i).Enabled(false);
  form_.dbcODEdit().Enabled(false);
  for (int i = 0; i <= 2; ++i) form_.txtODPercentage(i).Enabled(false);
}

void VoucherLine::AssignAllForCRVReturnAdding(data::RecordSet& received) {
  FillReturnedProduct(received);
  // All that is still on consignment is proposed for return.
  Let("Received_Qty", TextOr(received, "Qty Left", "0"));
  FillConsignmentQuantities(received);
  FillAmounts(received, "Net", "Tax");
  DerivePercentages(Bases::kSubTotal);
  form_.Calculate(0);
}

}  // namespace kvt::vouchers
