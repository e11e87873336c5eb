#include "orders/order_header_binding.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/value/failure_style.h"
#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"

namespace kvt::orders {
namespace {

using object::ObjectPtr;

// Element `index` of the form's control array `name`, as form(index) reads.
ObjectPtr Element(const ObjectPtr& form, const char* name, int index) {
  vb::Variant arg(static_cast<int32_t>(index));
  return object::AsObject(form->Get(name, object::Args(&arg, 1)));
}

// The record set KvtDBC(0) serves as `member`. Fetched afresh on every use:
// the component keeps no reference to the provider's sets.
data::RecordSetRef Member(const ObjectPtr& form, const char* member) {
  vb::Variant arg(std::string{member});
  vb::Variant served = Element(form, "KvtDBC", 0)->Call("MemberGet", object::Args(&arg, 1));
  const vb::ObjectRef* held = served.get_if<vb::ObjectRef>();
  if (held == nullptr || *held == nullptr) throw vb::Error::ObjectNotSet();
  auto record_set = std::dynamic_pointer_cast<data::RecordSet>(*held);
  if (record_set == nullptr) throw vb::Error::TypeMismatch();
  return record_set;
}

vb::ObjectRef AsRef(data::RecordSetRef record_set) { return record_set; }

std::string NullToEmpty(const vb::Variant& value) {
  return value.IsNull() ? std::string() : vb::CStr(value);
}

void BindList(const ObjectPtr& form, int combo_index, const char* list_member,
              const char* header_column, const std::function<vb::Variant()>& bound_text) {
  ObjectPtr combo = Element(form, "dbcOHeaderEdit", combo_index);
  combo->Set("RowSource", AsRef(Member(form, list_member)));
  combo->Let("ListField", Member(form, list_member)->Item(1).Name());
  combo->Set("DataSource", AsRef(Member(form, "Order_Headers")));
  combo->Let("BoundColumn", Member(form, list_member)->Item(0).Name());
  combo->Let("DataField", Member(form, "Order_Headers")->Item(header_column).Name());
  combo->Let("BoundText", bound_text());
}

void ShowHeaderText(const ObjectPtr& form, int index, const char* column) {
  Element(form, "txtOHeaderEdit", index)
      ->Let("Text", NullToEmpty(Member(form, "Order_Headers")->Item(column).Value()));
}

// Releases what a header control is bound to and empties what it shows.
void Unbind(const ObjectPtr& control, bool has_row_source, const char* shown) {
  control->Set("DataSource", nullptr);
  if (has_row_source) control->Set("RowSource", nullptr);
  control->Let("DataMember", std::string());
  control->Let(shown, std::string());
}

constexpr std::array<const char*, 7> kTotalColumns = {
    "Trade Discount", "Rebate Discount", "Other Discount", "Net Amount",
    "Tax Total",      "Order Total",     "Order Qty"};

}  // namespace

vb::ErrorData BindOrderHeader(const vb::Variant& form) {
  return vb::StopSilently([&] {
    ObjectPtr host = object::AsObject(form);
    BindList(host, 4, "Suppliers_In_Orders", "SupplierID",
             [&] { return Member(host, "Order_Headers")->Item(6).Value(); });
    ShowHeaderText(host, 1, "Order No");
    BindList(host, 3, "Branch_Codes", "Branch_Codes_ID",
             [&] { return Member(host, "Branch_Codes")->Item(0).Value(); });
    ShowHeaderText(host, 2, "Supplier Rep");
    ShowHeaderText(host, 3, "Supplier Type");
    ShowHeaderText(host, 4, "Our Ref");
    ShowHeaderText(host, 5, "Supplier Ref");
    const services::NumberFormatService& formatter = component::ThreadStore().NumberFormat();
    for (size_t i = 0; i < kTotalColumns.size(); ++i) {
      vb::Variant value = Member(host, "Order_Headers")->Item(kTotalColumns[i]).Value();
      if (value.IsNull()) value = 0;
      Element(host, "lblOHeaderEdit", static_cast<int>(i) + 1)
          ->Let("Caption", formatter.FormatAmount(value, 2, -1, 0, -1));
    }
  });
}

vb::ErrorData ClearHeaderControls(const vb::Variant& form) {
  return vb::StopSilently([&] {
    ObjectPtr host = object::AsObject(form);
    Unbind(Element(host, "dbcOHeaderEdit", 4), true, "Text");
    Unbind(Element(host, "txtOHeaderEdit", 1), false, "Text");
    Unbind(Element(host, "dbcOHeaderEdit", 3), true, "Text");
    for (int index = 2; index <= 5; ++index) {
      Unbind(Element(host, "txtOHeaderEdit", index), false, "Text");
    }
    for (int index = 1; index <= 7; ++index) {
      Unbind(Element(host, "lblOHeaderEdit", index), false, "Caption");
    }
    Element(host, "sugOrderDetails", 0)->Set("DataSource", nullptr);
  });
}

vb::ErrorData SetProductDetails(const vb::Variant& form, const vb::Variant& forecaster) {
  struct Shown {
    const char* control;
    int index;
    const char* property;
  };
  // clang-format off
  static constexpr Shown kPanel[] = {
      {"lblProdDetails", 0, "ProductDescription"}, {"lblProdDetails", 1, "StockOnHand"},
      {"lblProdDetails", 2, "StockReserved"},      {"lblProdDetails", 3, "LastSaleDate"},
      {"lblProdDetails", 4, "QtyOnOrder"},         {"lblProdDetails", 5, "OrdersPending"},
      {"lblProdDetails", 6, "CandidatesPending"},  {"txtProdDetails", 0, "LeadTime"},
      {"txtProdDetails", 1, "MinOrderQty"},        {"txtProdDetails", 2, "MaxOrderQty"},
      {"txtProdDetails", 3, "ServiceLevel"},       {"lblStats", 0, "Mean"},
      {"lblStats", 1, "Median"},                   {"lblStats", 2, "StdDev"}};
  // clang-format on
  return vb::StopSilently([&] {
    ObjectPtr host = object::AsObject(form);
    ObjectPtr source = object::AsObject(forecaster);
    for (const Shown& shown : kPanel) {
      vb::Variant value = source->Get(shown.property);
      // Only the last sale date may be missing; any other Null is refused
      // by the control.
      if (value.IsNull() && std::string_view(shown.property) == "LastSaleDate") {
        value = std::string();
      }
      const bool is_label = shown.control[0] == 'l';
      Element(host, shown.control, shown.index)->Let(is_label ? "Caption" : "Text", value);
    }
  });
}

}  // namespace kvt::orders
