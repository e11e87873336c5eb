#include "vouchers/voucher_detail_rows.h"

#include <string>

#include "component/mod_general.h"
#include "platform/data/record_set.h"
#include "vouchers/voucher_line.h"

namespace kvt::vouchers {
namespace {

enum class Kind { kText, kQuantity, kAmount, kTaxCodeKey };

struct Column {
  const char* name;
  const char* property;
  Kind kind;
  bool consignment_only = false;
};

constexpr Column kColumns[] = {
    {"FK ID", "FK_ID", Kind::kText},
    {"ProductsID", "Product_ID", Kind::kText},
    {"Product", "Product_Name", Kind::kText},
    {"Code", "Product_Code", Kind::kText},
    {"Qty", "Received_Qty", Kind::kQuantity},
    {"Qty Returned", "Returned_Qty", Kind::kQuantity, true},
    {"Qty Sold", "Sold_Qty", Kind::kQuantity, true},
    {"Qty Left", "Left_Qty", Kind::kQuantity, true},
    {"Unit Price", "Unit_Price", Kind::kAmount},
    {"Trade Disc", "Trade_Discount", Kind::kAmount},
    {"Rebate Disc", "Rebate_Discount", Kind::kAmount},
    {"Other Disc", "Other_Discount", Kind::kAmount},
    {"Net Amount", "Net_Amount", Kind::kAmount},
    {"Tax_Codes_ID", "Tax_Code_ID", Kind::kTaxCodeKey},
    {"Tax Code", "Tax_Code", Kind::kText},
    {"Tax Amount", "Tax_Amount", Kind::kAmount},
    {"Total Cost", "Total_Cost", Kind::kAmount},
};

bool InLayout(const Column& column, DetailLayout layout) {
  return !column.consignment_only || layout == DetailLayout::kConsignment;
}

// What an update writes for a property whose text is empty.
vb::Variant EmptyValue(Kind kind) {
  switch (kind) {
    case Kind::kText: return std::string();
    case Kind::kTaxCodeKey: return vb::Variant::Integer(1);
    case Kind::kQuantity:
    case Kind::kAmount: break;
  }
  return vb::Variant::Integer(0);
}

}  // namespace

data::RecordSetRef NewVoucherDetailSet(DetailLayout layout) {
  auto rows = std::make_shared<data::RecordSet>();
  for (const Column& column : kColumns) {
    if (!InLayout(column, layout)) continue;
    data::DataType type = data::DataType::kCurrency;
    switch (column.kind) {
      case Kind::kQuantity: type = data::DataType::kDouble; break;
      case Kind::kTaxCodeKey: type = data::DataType::kInteger; break;
      case Kind::kText:
        type = std::string(column.name) == "FK ID" || std::string(column.name) == "ProductsID"
                   ? data::DataType::kInteger
                   : data::DataType::kVarWChar;
        break;
      case Kind::kAmount: break;
    }
    rows->Fields().Append(column.name, type);
  }
  rows->Open();
  return rows;
}

void AddVoucherDetail(frmEditGRVDetail& form, data::RecordSet& destination, DetailLayout layout) {
  const VoucherLine line(form);
  destination.AddNew();
  for (const Column& column : kColumns) {
    if (!InLayout(column, layout)) continue;
    const std::string text = line.Get(column.property);
    if (column.kind == Kind::kQuantity) {
      destination.Item(column.name).Value(component::ParseNumber(text));
    } else {
      destination.Item(column.name).Value(text);
    }
  }
  destination.Update();
  if (destination.RecordCount() < 2) {
    destination.MoveFirst();
  } else {
    destination.MoveLast();
  }
}

void UpdateVoucherDetail(frmEditGRVDetail& form, data::RecordSet& destination,
                         DetailLayout layout) {
  const VoucherLine line(form);
  for (const Column& column : kColumns) {
    if (!InLayout(column, layout)) continue;
    // A line keeps the order line it was received against.
    if (std::string(column.name) == "FK ID") continue;
    const std::string text = line.Get(column.property);
    // The product key is written as it stands, empty or not.
    if (text.empty() && std::string(column.name) != "ProductsID") {
      destination.Item(column.name).Value(EmptyValue(column.kind));
    } else {
      destination.Item(column.name).Value(text);
    }
  }
}

}  // namespace kvt::vouchers
