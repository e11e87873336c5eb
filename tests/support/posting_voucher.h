// Test helper: a voucher as a host hands it to posting without the desk:
// its detail rows as display text throughout, in the demo company's
// current period (November 2026), posted by the demo's clerk.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/posting/voucher_kind.h"
#include "platform/data/record_set.h"
#include "platform/value/conversions.h"

namespace kvt::test_support {

struct DetailRow {
  int32_t fk;       // the line drawn on
  int32_t product;  // 0: left empty
  std::string qty;
  const char* total = "0.00";
};

// A voucher of `type` for `supplier` drawing on `owner`: an order, or for
// a return the voucher returned against.
inline posting::Voucher VoucherOf(int32_t type, int32_t supplier, int32_t owner,
                                  const std::vector<DetailRow>& rows) {
  auto set = std::make_shared<data::RecordSet>();
  for (const char* name :
       {"FK ID", "ProductsID", "Qty", "Unit Price", "Trade Disc", "Rebate Disc", "Other Disc",
        "Net Amount", "Tax_Codes_ID", "Tax Amount", "Total Cost"}) {
    set->Fields().Append(name, data::DataType::kVarWChar);
  }
  set->Open();
  for (const DetailRow& row : rows) {
    set->AddNew();
    set->Item("FK ID").Value(vb::Variant(row.fk));
    set->Item("ProductsID").Value(row.product ? vb::CStr(row.product) : "");
    set->Item("Qty").Value(row.qty);
    set->Item("Total Cost").Value(row.total);
    set->Update();
  }
  posting::Voucher voucher;
  voucher.tran_type = type;
  voucher.company_id = 1;
  voucher.supplier_id = supplier;
  (posting::FindVoucherKind(type)->IsReturn() ? voucher.source_voucher_id
                                              : voucher.purchase_order_id) = owner;
  voucher.period_month = 11;
  voucher.period_year_key = 7;
  voucher.user_id = 2;
  voucher.lines = set;
  return voucher;
}

}  // namespace kvt::test_support
