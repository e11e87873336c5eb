#include "apps/kvt-host/serve/draft_voucher.h"

#include <functional>

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/json_rows.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

constexpr struct {
  const char* name;
  posting::TransactionType type;
} kKinds[] = {{"goods-received", posting::kGoodsReceived},
              {"goods-returned", posting::kGoodsReturned},
              {"consignment-received", posting::kConsignmentReceived},
              {"consignment-returned", posting::kConsignmentReturned}};

double Number(data::RecordSet& rows, const char* column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? 0.0 : vb::CDbl(value);
}

std::string Text(data::RecordSet& rows, const char* column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

// Runs `work` with a clerk who plays `script` and answers what is not
// scripted with the default button; what the message boxes said goes to
// `told`.
template <class Work>
auto AsClerk(const std::function<void(ui::HeadlessDriver&)>& script, std::vector<std::string>& told,
             Work&& work) {
  auto clerk = std::make_shared<ui::HeadlessDriver>();
  if (script) script(*clerk);
  ui::ScopedDriver scoped(clerk);
  auto result = work();
  for (const auto& message : clerk->Messages()) told.push_back(message.prompt);
  return result;
}

// The clerk types `qty` into the dialog's quantity box and confirms.
void TypeQty(ui::HeadlessDriver& clerk, double qty) {
  clerk.Replace("txtODEdit(0)", posting::QtyText(qty)).Press(ui::vbKeyReturn).Click("cmdAction(0)");
}

std::string Joined(const std::vector<std::string>& told, const std::string& otherwise) {
  std::string text;
  for (const std::string& line : told) text += (text.empty() ? "" : " ") + line;
  return text.empty() ? otherwise : text;
}

}  // namespace

std::optional<posting::TransactionType> VoucherKindNamed(const std::string& name) {
  for (const auto& kind : kKinds) {
    if (name == kind.name) return kind.type;
  }
  return std::nullopt;
}

const char* VoucherKindName(posting::TransactionType type) {
  for (const auto& kind : kKinds) {
    if (type == kind.type) return kind.name;
  }
  return "";
}

DraftVoucher::DraftVoucher(const host::HostContext& context, const Draft& draft)
    : session_(context, draft.type) {
  session_.ChooseSupplier(draft.supplier_id);
  try {
    session_.ChooseSource(draft.source_id);
  } catch (const vb::Error& error) {
    Refuse(404, "source_id", error.description());
  }
  session_.Header().DelNoteNumber(draft.del_note_number);
  if (!draft.supplier_ref.empty()) session_.Header().SupplierRef(draft.supplier_ref);
  for (const DraftLine& line : draft.lines) Take(line.source_line_id, line.qty);
}

std::optional<int> DraftVoucher::RowOf(int32_t source_line_id) {
  data::RecordSet& lines = session_.Lines();
  if (lines.RecordCount() == 0) return std::nullopt;
  int row = 0;
  for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext(), ++row) {
    if (vb::CLng(lines.Item("FK ID").Value()) == source_line_id) return row;
  }
  return std::nullopt;
}

double DraftVoucher::LeftOnSource(int32_t source_line_id) {
  data::RecordSet& source = session_.SourceLines();
  if (source.RecordCount() == 0) return 0;
  for (source.MoveFirst(); !source.IsEOF(); source.MoveNext()) {
    if (vb::CLng(source.Item("ID").Value()) != source_line_id) continue;
    switch (session_.Type()) {
      case posting::kGoodsReturned: return Number(source, "Qty") - Number(source, "Qty Returned");
      case posting::kConsignmentReturned: return Number(source, "Qty Left");
      default:
        return Number(source, "Qty") + Number(source, "B/O Qty") - Number(source, "Received Qty");
    }
  }
  return 0;
}

void DraftVoucher::RefuseLine(int32_t source_line_id, double qty,
                              const std::vector<std::string>& told) {
  const bool beyond = qty > LeftOnSource(source_line_id) + posting::kQtySlack;
  Refuse(beyond ? 409 : 422, "qty", Joined(told, "The line was not taken."));
}

void DraftVoucher::Take(int32_t source_line_id, double qty) {
  std::vector<std::string> told;
  bool known = false;
  data::RecordSet& source = session_.SourceLines();
  if (source.RecordCount() > 0) {
    for (source.MoveFirst(); !source.IsEOF() && !known; source.MoveNext()) {
      known = vb::CLng(source.Item("ID").Value()) == source_line_id;
    }
  }
  if (!known) Refuse(422, "source_line_id", "That line is not on what this voucher is made from.");
  const bool taken = AsClerk([qty](ui::HeadlessDriver& clerk) { TypeQty(clerk, qty); }, told,
                             [&] { return session_.ReceiveLine(source_line_id); });
  if (!taken) RefuseLine(source_line_id, qty, told);
}

void DraftVoucher::Change(int row, double qty) {
  std::vector<std::string> told;
  data::RecordSet& lines = session_.Lines();
  if (row < 0 || row >= lines.RecordCount()) Refuse(404, "path", "The voucher has no such line.");
  lines.MoveFirst();
  for (int i = 0; i < row; ++i) lines.MoveNext();
  const int32_t source_line_id = vb::CLng(lines.Item("FK ID").Value());
  const bool changed = AsClerk([qty](ui::HeadlessDriver& clerk) { TypeQty(clerk, qty); }, told,
                               [&] { return session_.EditLine(row); });
  if (!changed) RefuseLine(source_line_id, qty, told);
}

void DraftVoucher::Remove(int row) {
  if (row < 0 || row >= session_.Lines().RecordCount()) {
    Refuse(404, "path", "The voucher has no such line.");
  }
  std::vector<std::string> told;
  AsClerk([](ui::HeadlessDriver& clerk) { clerk.Answer(ui::vbYes); }, told,
          [&] { return session_.RemoveLine(row); });
}

int32_t DraftVoucher::SourceLineOf(const std::string& code) {
  data::RecordSet& source = session_.SourceLines();
  const std::string wanted = vb::UCase(vb::Trim(code));
  if (source.RecordCount() > 0) {
    for (source.MoveFirst(); !source.IsEOF(); source.MoveNext()) {
      if (vb::UCase(Text(source, "Code")) == wanted) return vb::CLng(source.Item("ID").Value());
    }
  }
  Refuse(422, "code", code + " is not a line still open on what this voucher is made from.");
}

posting::PostedVoucher DraftVoucher::Post(const std::optional<std::string>& document) {
  std::vector<std::string> told;
  auto posted = AsClerk(
      [&document](ui::HeadlessDriver& clerk) {
        if (document) {
          clerk.Click("optSaveGRV(1)").Replace("txtGRV(0)", *document);
        } else {
          clerk.Click("optSaveGRV(0)");
        }
        clerk.Click("cmdDo(1)").Answer(ui::vbYes);
      },
      told, [&] { return session_.Save(); });
  if (!posted) Refuse(409, "", Joined(told, "The voucher was not posted."));
  return *posted;
}

json DraftVoucher::Json(const Draft& draft) {
  std::map<int32_t, double> on_voucher;
  json lines = json::array();
  data::RecordSet& rows = session_.Lines();
  vb::Currency total;
  if (rows.RecordCount() > 0) {
    int row = 0;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext(), ++row) {
      const int32_t source_line = vb::CLng(rows.Item("FK ID").Value());
      const double qty = Number(rows, "Qty");
      on_voucher[source_line] += qty;
      const vb::Currency line_total = vb::CCur(rows.Item("Total Cost").Value());
      total = total + line_total;
      lines.push_back({{"row", row},
                       {"source_line_id", source_line},
                       {"code", Text(rows, "Code")},
                       {"product", Text(rows, "Product")},
                       {"qty", qty},
                       {"total", line_total.ToDecimalText()}});
    }
  }
  json to_come = json::array();
  data::RecordSet& source = session_.SourceLines();
  if (source.RecordCount() > 0) {
    for (source.MoveFirst(); !source.IsEOF(); source.MoveNext()) {
      const int32_t id = vb::CLng(source.Item("ID").Value());
      const double left = LeftOnSource(id);
      // LeftOnSource moved the set: find the row again for its texts.
      for (source.MoveFirst(); vb::CLng(source.Item("ID").Value()) != id; source.MoveNext()) {
      }
      to_come.push_back({{"source_line_id", id},
                         {"code", Text(source, "Code")},
                         {"product", Text(source, "Product")},
                         {"left", left},
                         {"on_voucher", on_voucher[id]},
                         {"still_to_come", left - on_voucher[id]}});
    }
  }
  json answer = {{"id", draft.id},
                 {"kind", VoucherKindName(draft.type)},
                 {"supplier_id", draft.supplier_id},
                 {"source_id", draft.source_id},
                 {"source", session_.Header().SourceCaption()},
                 {"delivery_note", draft.del_note_number},
                 {"supplier_ref", session_.Header().SupplierRef()},
                 {"lines", lines},
                 {"source_lines", to_come},
                 {"total", total.ToDecimalText()}};
  if (draft.posted) answer["posted"] = *draft.posted;
  return answer;
}

}  // namespace kvt::serve
