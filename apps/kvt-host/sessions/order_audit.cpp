#include "apps/kvt-host/sessions/order_audit.h"

#include <string>

#include "platform/value/conversions.h"
#include "platform/value/number_text.h"

namespace kvt::host {

namespace {

// The line columns of LineValues, by the names a reader of the trail knows.
constexpr const char* kLineNames[] = {
    "product",       "lead time",     "qty",        "b/o qty",        "free qty",
    "unit price",    "trade formula", "trade disc", "rebate formula", "rebate disc",
    "other formula", "other disc",    "net",        "tax code",       "tax",
    "total"};

std::string Shown(const vb::Variant& value) { return value.IsNull() ? "-" : vb::CStr(value); }

// Amounts with two decimals, as an invoice shows them (a unit price keeps
// the decimals it was given).
bool IsAmount(size_t column) {
  for (size_t amount : {7, 9, 11, 12, 14, 15}) {
    if (column == amount) return true;
  }
  return false;
}
std::string ShownIn(size_t column, const vb::Variant& value) {
  if (value.IsNull() || !IsAmount(column)) return Shown(value);
  return vb::TwoDecimalText(vb::CCur(value));
}

void Add(std::string& text, const std::string& part) {
  if (part.empty()) return;
  text += (text.empty() ? "" : "; ") + part;
}

// "name before -> after" for each value that differs; every value of
// `after` when there was no before.
std::string Differences(const std::vector<vb::Variant>* before,
                        const std::vector<vb::Variant>& after) {
  std::string text;
  for (size_t i = 0; i < after.size() && i < std::size(kLineNames); ++i) {
    const std::string now = ShownIn(i, after[i]);
    if (before == nullptr) {
      if (!after[i].IsNull())
        text += (text.empty() ? "" : ", ") + std::string(kLineNames[i]) + " " + now;
      continue;
    }
    const std::string was = i < before->size() ? ShownIn(i, (*before)[i]) : "-";
    if (was != now)
      text += (text.empty() ? "" : ", ") + std::string(kLineNames[i]) + " " + was + " -> " + now;
  }
  return text;
}

std::string Field(const char* name, const std::string& was, const std::string& now) {
  return was == now ? "" : std::string(name) + " \"" + was + "\" -> \"" + now + "\"";
}

}  // namespace

access::AuditEntry OrderSaveEntry(int32_t company_id, const OrderHeader& before,
                                  const OrderHeader& after, data::RecordSet& lines,
                                  const SavedLines& opened,
                                  const std::vector<int32_t>& removed_line_ids) {
  access::AuditEntry entry;
  entry.company_id = company_id;
  entry.document = "order " + after.order_number;
  const bool created = before.order_id == 0;
  entry.action = created ? "order created"
                 : after.status == kOrderProcessed && before.status != kOrderProcessed
                     ? "order processed"
                     : "order saved";
  std::string& details = entry.details;
  if (created) {
    Add(details, "supplier " + std::to_string(after.supplier_id) + ", status " +
                     OrderStatusText(after.status));
  } else {
    Add(details, Field("status", OrderStatusText(before.status), OrderStatusText(after.status)));
    Add(details, Field("our ref", before.our_ref, after.our_ref));
    Add(details, Field("supplier ref", before.supplier_ref, after.supplier_ref));
    Add(details, Field("message", before.message, after.message));
    Add(details, Field("deliver to", before.delivery.name, after.delivery.name));
    if (!(before.delivery == after.delivery) && before.delivery.name == after.delivery.name) {
      Add(details, "delivery address changed");
    }
  }
  if (lines.RecordCount() != 0) {
    for (lines.MoveFirst(); !lines.IsEOF(); lines.MoveNext()) {
      const std::vector<vb::Variant> values = LineValues(lines);
      const vb::Variant id = lines.Item("ID").Value();
      const auto was = id.IsNull() ? opened.end() : opened.find(vb::CLng(id));
      if (was == opened.end()) {
        Add(details, "line added: " + Differences(nullptr, values));
      } else if (const std::string changed = Differences(&was->second, values); !changed.empty()) {
        Add(details, "line " + std::to_string(was->first) + ": " + changed);
      }
    }
  }
  for (int32_t id : removed_line_ids) Add(details, "line " + std::to_string(id) + " removed");
  return entry;
}

}  // namespace kvt::host
