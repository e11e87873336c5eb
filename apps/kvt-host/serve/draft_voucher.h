// A draft's voucher taken again through the host's voucher session: the
// supplier and source chosen, the references typed, and each line through
// the receive item dialog with a scripted clerk typing its quantity. Every
// rule is the session's and the component's, and so are the words of a
// refusal (what the clerk's message boxes said). Lives for one request, on
// the worker's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/kvt-host/serve/voucher_drafts.h"
#include "apps/kvt-host/sessions/voucher_session.h"

namespace kvt::serve {

class DraftVoucher {
 public:
  // Raises ApiError 409 with the session's words when a line of the draft
  // no longer goes (received meanwhile by someone else); 404 when the
  // source is no longer open for the supplier.
  DraftVoucher(const host::HostContext& context, const Draft& draft);

  // The voucher's row holding source line `source_line_id`, or nothing.
  std::optional<int> RowOf(int32_t source_line_id);
  // Takes `qty` of source line `source_line_id` onto the voucher, or sets
  // row `row` to `qty`: refused (ApiError 409 when more than the source
  // line has left, 422 otherwise) with the words the clerk was shown.
  void Take(int32_t source_line_id, double qty);
  void Change(int row, double qty);
  void Remove(int row);
  // The source line whose product code is `code` (any case); 422 naming
  // the source when none is.
  int32_t SourceLineOf(const std::string& code);

  // Posts the voucher through the save voucher dialog (with the supplier's
  // document when `document` is given). Refused (409) with the words shown.
  posting::PostedVoucher Post(const std::optional<std::string>& document);

  // The draft as the API shows it: its lines, what each source line still
  // has to come (after this voucher), and the totals.
  nlohmann::json Json(const Draft& draft);

 private:
  // Left on source line `source_line_id` before this voucher.
  double LeftOnSource(int32_t source_line_id);
  [[noreturn]] void RefuseLine(int32_t source_line_id, double qty,
                               const std::vector<std::string>& told);

  host::VoucherSession session_;
};

// "goods-received", "goods-returned", "consignment-received",
// "consignment-returned" and their transaction types.
std::optional<posting::TransactionType> VoucherKindNamed(const std::string& name);
const char* VoucherKindName(posting::TransactionType type);

}  // namespace kvt::serve
