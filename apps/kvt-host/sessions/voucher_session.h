// A voucher being captured at one of the host's voucher screens: goods
// received against an outstanding order, goods returned against a received
// voucher, consignment received against an order, consignment returned
// against a received consignment voucher. The session drives CGRV exactly
// as the suite's host does (the component's queries, header operations,
// receive item dialog, detail-row writers, save voucher dialog and printed
// vouchers) and posts through the host's posting library.
//
// Toolkit-free: dialogs and message boxes go through the thread's ui
// driver, so a Qt screen shows them to a person and a HeadlessDriver plays a
// scripted clerk. Typical use:
//
//   VoucherSession session(context, posting::kGoodsReceived);
//   session.ChooseSupplier(1);
//   session.ChooseSource(order_id);            // one of session.Sources()
//   session.Header().DelNoteNumber("DN-1");
//   session.ReceiveLine(order_line_id);        // one of SourceLines()' "ID"
//   if (auto posted = session.Save()) session.Print(posted->voucher_id);
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/sessions/voucher_header_strip.h"
#include "kvt/CGRV.h"
#include "platform/data/record_set.h"
#include "platform/value/date.h"

namespace kvt::host {

// Who works, on which database: what every screen of the host shares.
struct HostContext {
  // The component's connection text: db::ConnectionTextFor(path) for a file.
  std::string connection_text;
  int32_t company_id = 1;
  int32_t user_id = 0;  // the voucher's user when posted; 0: nobody named
  // The database name printing reads the user's saved preferences under.
  std::string database_name = "KvtDemo";
  int32_t qty_decimals = 2;
  int32_t price_decimals = 2;
};

class VoucherSession {
 public:
  // `type`: 19, 20, 31 or 32; raises 5 for any other.
  VoucherSession(HostContext context, posting::TransactionType type);
  ~VoucherSession();
  VoucherSession(const VoucherSession&) = delete;
  VoucherSession& operator=(const VoucherSession&) = delete;

  posting::TransactionType Type() const { return type_; }
  bool IsReturn() const;
  bool IsConsignment() const;
  // "Goods received", "Goods returned", "Consignment received",
  // "Consignment returned".
  const char* Title() const;

  // ---- Lists, read afresh on every call.
  // The company's suppliers: "ID", "Code", "Supplier".
  data::RecordSetRef Suppliers() const;
  // Starts over for `supplier_id`: no source, no lines, an empty header.
  void ChooseSupplier(int32_t supplier_id);
  int32_t SupplierId() const { return supplier_id_; }
  // What the chosen supplier's voucher can be captured against: its
  // outstanding orders ("ID", "Order Number", "Outstanding Lines"...) for
  // receipts, its goods received vouchers or consignment received vouchers
  // ("ID", "GRV Number" / "CRV Number", "Del Note No"...) for returns.
  data::RecordSetRef Sources();
  // Starts a voucher against source `source_id` (an "ID" of Sources()):
  // reads its lines, empties the lines and the header, and shows the
  // order's number and supplier reference (receipts) or the returned
  // voucher's delivery note number (returns). Raises 5 when the supplier
  // has no such source.
  void ChooseSource(int32_t source_id);
  int32_t SourceId() const { return source_id_; }
  // The source's lines as the component's query gave them at ChooseSource:
  // outstanding order lines, or the received voucher's lines with what was
  // returned (and, for consignment, sold and left).
  data::RecordSet& SourceLines();

  // ---- The voucher being captured.
  VoucherHeaderStrip& Header() { return *header_; }
  // The detail rows the component writes (see vouchers::NewVoucherDetailSet).
  data::RecordSet& Lines() { return *lines_; }
  // Dated today unless set (the voucher and its supplier document).
  void VoucherDate(const vb::Date& date) { date_ = date; }
  void Notes(const std::string& notes) { notes_ = notes; }

  // Takes source line `source_line_id` onto the voucher through the receive
  // item dialog, filled for this kind. The host refuses, with a message
  // naming the product and the quantities, more than is outstanding on an
  // order line or more than a received line has left to return, and shows
  // the dialog again with what the clerk typed. A consignment return above
  // what is left is the dialog's own refusal. Returns true when the line was
  // added; false when the clerk cancelled or the line is already on the
  // voucher (said in a message). Raises 5 for a line the source lacks.
  bool ReceiveLine(int32_t source_line_id);
  // Corrects line `row` (0 = first) through the dialog, with the same
  // checks; true when changed. Raises 9 for a row the voucher lacks.
  bool EditLine(int row);
  // Removes line `row` once the clerk confirms; true when removed.
  bool RemoveLine(int row);
  // Whether the screen may switch to voucher function `function` now
  // (CGRV::CanChangeFunction on the lines).
  bool CanChangeFunction(uint8_t function);

  // Saves the voucher: the save voucher dialog bound with the month and
  // year lists and the company's posting rules, shown for this type; on a
  // confirmed save, posts the voucher with the clerk's answers and starts
  // over (no source, no lines). A refusal of the posting is shown as its
  // message and the voucher stays open, as it does when the clerk cancels;
  // both give nothing.
  std::optional<posting::PostedVoucher> Save();

  // Shows posted voucher `voucher_id` through the component's printed
  // vouchers (a preview from which the user prints, on the report output
  // the thread has); `reprint` marks it "Copy".
  void Print(int32_t voucher_id, bool reprint = false);

 private:
  // Shows the filled receive item dialog until the clerk confirms a
  // quantity the host accepts (true) or cancels (false).
  bool RunLineDialog(data::RecordSet& source_row);
  // The host's refusal of `qty` on the source row, empty when accepted.
  std::string OverLimit(data::RecordSet& source_row, double qty) const;
  bool PositionOnSource(int32_t source_line_id);
  void PositionOnLine(int row);
  bool IsOnVoucher(int32_t source_line_id);
  void ClearVoucher();
  void ShowTotals();
  void Tell(const std::string& message, int icon) const;
  std::string SourceLabel() const;

  HostContext context_;
  posting::TransactionType type_;
  CGRV grv_;
  std::shared_ptr<VoucherHeaderStrip> header_;
  data::RecordSetRef lines_;
  data::RecordSetRef source_lines_;
  int32_t supplier_id_ = 0;
  int32_t source_id_ = 0;
  std::string source_number_;
  vb::Date date_ = vb::Date::Today();
  std::string notes_;
};

}  // namespace kvt::host
