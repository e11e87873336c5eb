#include "orders/order_detail_rows.h"

#include <functional>
#include <string>

#include "orders/frmEditOrderDetail.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/failure_style.h"

namespace kvt::orders {
namespace {

enum class Mode { kAdd, kUpdate };

// What goes into each column, in table order. `write` is called once per
// column with its name and value; how failures are handled is its business.
void WriteLine(frmEditOrderDetail& form, Mode mode,
               const std::function<void(const char*, std::function<vb::Variant()>)>& write) {
  auto text_or = [](const std::string& text, vb::Variant if_empty) {
    return text.empty() ? if_empty : vb::Variant(text);
  };
  auto entry = [&form, text_or](int index) { return text_or(form.txtODEdit(index).Text(), 0); };
  auto quantity = [&form, mode](int index) -> vb::Variant {
    const std::string& text = form.txtODEdit(index).Text();
    if (text.empty()) return 0;
    // Adding converts the shown quantity itself; updating leaves it to the
    // record set.
    return mode == Mode::kAdd ? vb::Variant(vb::CDbl(text)) : vb::Variant(text);
  };
  auto list = [&form, text_or](int index) { return text_or(form.dbcODEdit(index).BoundText(), 1); };
  auto calculated = [&form, text_or](int index) {
    return text_or(form.lblODCalc(index).Caption(), 0);
  };

  write("Products ID", [&] { return vb::Variant(form.lblODEdit(0).Caption()); });
  write("Product", [&] { return vb::Variant(form.lblPDDisplay(0).Caption()); });
  if (mode == Mode::kAdd) {
    write("Lead Time", [&] { return text_or(form.lblPDDisplay(3).Caption(), 0); });
  }
  write("Qty", [&] { return quantity(0); });
  write("B/O Qty", [&] { return quantity(5); });
  write("Free Qty", [&] { return quantity(6); });
  write("Unit Price", [&] { return entry(1); });
  write("Trade_Discount_Formula_ID", [&] { return list(1); });
  write("Trade Disc", [&] { return entry(2); });
  write("Rebate_Formula_ID", [&] { return list(2); });
  write("Rebate Disc", [&] { return entry(3); });
  write("Other_Discount_Formula_ID", [&] { return list(3); });
  write("Other Disc", [&] { return entry(4); });
  write("Net Amount", [&] { return calculated(3); });
  write("Tax_Codes_ID", [&] { return list(4); });
  write("Tax", [&] { return calculated(4); });
  write("Total Cost", [&] { return calculated(6); });
}

void Warn(const vb::Error& error) {
  ui::MsgBox(error.description(), ui::vbOKOnly | ui::vbExclamation);
}

}  // namespace

data::RecordSetRef NewOrderDetailSet() {
  auto rows = std::make_shared<data::RecordSet>();
  for (const std::string column : kOrderDetailColumns) {
    data::DataType type = data::DataType::kCurrency;
    if (column == "Product") {
      type = data::DataType::kVarWChar;
    } else if (column.find("Qty") != std::string::npos) {
      type = data::DataType::kDouble;
    } else if (column.find("ID") != std::string::npos || column == "Lead Time") {
      type = data::DataType::kInteger;
    }
    rows->Fields().Append(column, type);
  }
  rows->Open();
  return rows;
}

void AddOrderDetailToRS(frmEditOrderDetail& form, data::RecordSet& destination) {
  auto attempt = [](auto&& statement) { vb::WarnAndGoOn(Warn, statement); };
  attempt([&] { destination.AddNew(); });
  WriteLine(form, Mode::kAdd, [&](const char* column, std::function<vb::Variant()> value) {
    attempt([&] { destination.Item(column).Value(value()); });
  });
  attempt([&] {
    if (destination.RecordCount() < 2) {
      destination.MoveFirst();
    } else {
      destination.MoveLast();
    }
  });
}

void UpdateOrderDetailRS(frmEditOrderDetail& form, data::RecordSet& destination) {
  WriteLine(form, Mode::kUpdate, [&](const char* column, std::function<vb::Variant()> value) {
    destination.Item(column).Value(value());
  });
}

}  // namespace kvt::orders
