// Posting a voucher: what the host does when the save voucher dialog
// closes with a confirmed save. One database transaction writes the
// voucher and its lines, draws each line on the order line or received
// line it names, moves the stock and raises the supplier document; a
// refusal or any failure leaves every table as it was.
//
// Usage, once the save voucher dialog was closed with a confirmed Save:
//
//   posting::Voucher voucher;
//   voucher.tran_type = 19;  // the type the dialog was shown with
//   voucher.company_id = company;
//   voucher.supplier_id = supplier;
//   voucher.purchase_order_id = order;  // 19, 31 (source_voucher_id: 20, 32)
//   voucher.del_note_number = ...;      // and supplier_ref, user_id, date
//   voucher.create_supplier_document = grv.Save_Supplier_Inv();
//   voucher.supplier_document_number = grv.Supplier_Inv_No();
//   voucher.supplier_document_date = grv.Supplier_Inv_Date();
//   voucher.period_month = grv.Acc_Period_Month();
//   voucher.period_year_key = grv.Acc_Period_Year();
//   voucher.lines = detail_rows;  // the set AddGRVDetailToRS wrote
//   try {
//     const posting::PostedVoucher posted = PostVoucher(*connection, voucher);
//     // show posted.voucher_number; print posted.voucher_id
//   } catch (const vb::Error& error) {
//     // kPostingRefused: show error.description(), which names the product
//     // and the quantities, and keep the voucher open. Other numbers are
//     // the database's. Nothing was written either way.
//   }
//
// What each type does to the lines it draws on ("FK ID"):
//   19  the order line's received quantity and the stock on hand rise;
//   20  the received line's returned quantity rises, stock on hand falls;
//   31  the order line's received quantity and the consignment stock rise,
//       and the new line's left quantity is its quantity;
//   32  the consignment line's quantity moves from left to returned, and the
//       consignment stock falls.
// Each line also becomes a stock movement, so the stock figures stay the
// sums of their movements. The consignment columns of the detail rows are
// the dialog's view; the posting takes the line's own figures from the
// database.
#pragma once

#include "apps/kvt-host/posting/voucher.h"
#include "platform/data/connection.h"

namespace kvt::posting {

// Posts `voucher` on `connection`, which must not be inside a transaction.
// Refuses (kPostingRefused, nothing written) a voucher without lines, a
// known type, a supplier, its order or source voucher, or an accounting
// period; a supplier document without a number, or with one the supplier's
// documents of its kind already carry (the message names that voucher); a
// line that is not on the order or source voucher, is for another product,
// has a quantity below one kQtyUnit, or asks for more than is outstanding,
// returnable or left. The checks run inside the transaction, so two clerks posting
// against the same line at once never overdraw it. `attempts`: see
// RunInWriteTransaction. Other failures raise the database's error (also
// with nothing written); 3265 or 13 for a detail set with a missing column
// or text that is no number.
//
// On a server with the posting functions the whole voucher goes in one
// call (server_posting.h); `route` kStatements keeps to the host's own
// statements there, which only the posting load test asks for, to compare.
enum class PostingRoute { kServerFunction, kStatements };
PostedVoucher PostVoucher(data::Connection& connection, const Voucher& voucher, int attempts = 3,
                          PostingRoute route = PostingRoute::kServerFunction);

}  // namespace kvt::posting
