// What a voucher page of the desk needs from a voucher session (goods
// received or returned, consignment received or returned). The session
// does the work through CGRV and the component's dialogs; the page only
// shows what it answers and passes on the clerk's commands. Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apps/kvt-host/sessions/grid_table.h"

namespace kvt::host {

using Captioned = std::vector<std::pair<std::string, std::string>>;
using Choices = std::vector<std::pair<int32_t, std::string>>;

// The voucher's header strip: the two references the clerk types and what
// the voucher is made from ("Order", "PO000110").
struct VoucherHeader {
  std::string del_note_number;
  std::string supplier_ref;
  std::string source_caption;
  std::string source;
};

struct PostedNumber {
  int32_t voucher_id = 0;
  std::string voucher_number;  // "GRV000208"
};

class VoucherScreenSession {
 public:
  virtual ~VoucherScreenSession() = default;

  // "Goods received", ...: the page's heading.
  virtual std::string Title() const = 0;
  virtual bool IsReturn() const = 0;
  virtual bool IsConsignment() const = 0;
  // Why nothing can be saved here (a read-only database), or empty.
  virtual std::string LockedReason() const = 0;

  // The company's suppliers, by name.
  virtual Choices Suppliers() = 0;
  // Starts over for the supplier: no source, no lines, an empty header.
  virtual void ChooseSupplier(int32_t supplier_id) = 0;
  // What the voucher is made from, and what the list is called ("Orders
  // with stock to come", "Goods received vouchers").
  virtual std::string SourcesCaption() const = 0;
  virtual GridTable Sources() = 0;
  // Starts the voucher against row `row` of Sources().
  virtual void OpenSource(int row) = 0;
  // The open source's lines with what is left to receive or return; no
  // rows before a source is open.
  virtual GridTable SourceLines() = 0;

  // Through the receive item dialog; false when the clerk cancels or the
  // session refused (it said why).
  virtual bool ReceiveLine(int source_row) = 0;
  virtual bool EditLine(int row) = 0;
  // Asks the clerk first; true when removed.
  virtual bool RemoveLine(int row) = 0;
  virtual GridTable Lines() = 0;
  virtual int LineCount() const = 0;

  virtual VoucherHeader Header() = 0;
  virtual void SetReferences(const std::string& del_note_number,
                             const std::string& supplier_ref) = 0;
  // The six totals as (caption, value), the voucher total last.
  virtual Captioned Totals() = 0;

  // Through the save voucher dialog, then posted. Nothing when the clerk
  // cancelled or the posting was refused (the session showed why); the
  // voucher stays open then.
  virtual std::optional<PostedNumber> Save() = 0;
  // The supplier's posted vouchers of this kind, newest first.
  virtual Choices PostedVouchers() = 0;
  // Previews posted voucher `voucher_id`; `reprint` marks it "Copy".
  virtual void Print(int32_t voucher_id, bool reprint) = 0;

  // Consignment only: the supplier's consignment lines with what was
  // received, sold, returned and is left, and when it last sold; and the
  // sale of `qty` off line `row` of that grid on `date` (false when
  // refused, said to the clerk).
  virtual GridTable ConsignmentStock() = 0;
  virtual bool RecordSale(int row, double qty, const vb::Date& date) = 0;
};

}  // namespace kvt::host
