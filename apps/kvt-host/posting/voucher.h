// A voucher as the host posts it: the header its voucher screen and the
// save voucher dialog gathered, and the detail record set the component
// wrote the lines into.
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/record_set.h"
#include "platform/value/currency.h"
#include "platform/value/date.h"
#include "platform/value/error.h"

namespace kvt::posting {

// The voucher kinds, numbered as the save voucher dialog's transaction type.
enum TransactionType : int32_t {
  kGoodsReceived = 19,
  kGoodsReturned = 20,
  kConsignmentReceived = 31,
  kConsignmentReturned = 32,
};

// Raised, with a message for the user as description, when the host
// refuses a voucher or a sale; nothing has been written then.
inline constexpr int32_t kPostingRefused = vb::vbObjectError + 3100;
inline constexpr char kPostingSource[] = "KvtHost.Posting";

struct Voucher {
  int32_t tran_type = kGoodsReceived;
  int32_t company_id = 0;
  int32_t supplier_id = 0;
  // Types 19 and 31: the purchase order received against.
  int32_t purchase_order_id = 0;
  // Types 20 and 32: the received voucher (19 or 31) returned against.
  int32_t source_voucher_id = 0;
  std::string del_note_number;
  std::string supplier_ref;
  std::string our_ref;  // empty: the order's (or the source voucher's)
  std::string notes;
  vb::Date date = vb::Date::Today();
  int32_t user_id = 0;  // 0: nobody named
  // Acc_Period_Month and Acc_Period_Year of the save voucher dialog.
  int32_t period_month = 0;
  int32_t period_year_key = 0;
  // Save_Supplier_Inv, Supplier_Inv_No and Supplier_Inv_Date.
  bool create_supplier_document = false;
  std::string supplier_document_number;
  vb::Date supplier_document_date = vb::Date::Today();
  // The voucher detail rows ("FK ID", "ProductsID", "Qty", the amounts,
  // "Tax_Codes_ID"...), text or numbers; read from the first row to the
  // last, and left on the row that was current.
  data::RecordSetRef lines;
};

struct PostedVoucher {
  int32_t voucher_id = 0;
  std::string voucher_number;        // "GRV000206"
  vb::Currency total;                // the sum of the lines' "Total Cost"
  int32_t supplier_document_id = 0;  // 0 when none was raised
};

}  // namespace kvt::posting
