#include "apps/kvt-host/sessions/audit_list.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/locale.h"

namespace kvt::host {
namespace {

std::string Trimmed(const std::string& text) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  const auto begin = std::find_if_not(text.begin(), text.end(), blank);
  const auto end = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return begin < end ? std::string(begin, end) : std::string();
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

[[noreturn]] void Refuse(const std::string& why) {
  throw vb::Error(vb::err::kInvalidCall, "Audit", why);
}

std::string IsoOf(const std::optional<vb::Date>& date) {
  return date ? vb::Format(*date, "yyyy-mm-dd") : std::string();
}

}  // namespace

std::optional<vb::Date> TypedDay(const std::string& typed, const char* which) {
  const std::string text = Trimmed(typed);
  if (text.empty()) return std::nullopt;
  const std::optional<vb::Date> date = vb::Date::Parse(text, vb::Locale::Active());
  if (!date)
    Refuse(std::string("\"") + text + "\" is no date: write the " + which +
           " date as 2026-11-02 or 02/11/2026.");
  return date->DateOnly();
}

std::string AuditDocument(const std::string& typed) {
  const std::string text = Trimmed(typed);
  if (text.empty() || text.find(' ') != std::string::npos) return text;
  const std::string number = Upper(text);
  return (number.rfind("PO", 0) == 0 ? "order " : "voucher ") + number;
}

access::AuditFilter AuditFilterOf(const AuditSearch& search) {
  access::AuditFilter filter;
  filter.user = Trimmed(search.user);
  filter.document = AuditDocument(search.document);
  const std::optional<vb::Date> from = TypedDay(search.from, "first");
  const std::optional<vb::Date> to = TypedDay(search.to, "last");
  if (from && to && *to < *from) {
    Refuse("The dates run backwards: " + vb::Format(*from, "dd mmm yyyy") + " is after " +
           vb::Format(*to, "dd mmm yyyy") + ".");
  }
  filter.from = IsoOf(from);
  filter.to = IsoOf(to);
  return filter;
}

void AuditList::Search(const AuditSearch& search) {
  const access::AuditFilter filter = AuditFilterOf(search);
  // Read into a fresh list so that a failure leaves what was shown.
  AuditList fresh(connection_, page_size_);
  fresh.filter_ = filter;
  fresh.ReadPage();
  filter_ = fresh.filter_;
  table_ = std::move(fresh.table_);
  oldest_id_ = fresh.oldest_id_;
  has_more_ = fresh.has_more_;
}

void AuditList::More() {
  if (has_more_) ReadPage();
}

void AuditList::ReadPage() {
  if (table_.columns.empty()) {
    table_.columns = {{"When", CellKind::kText},     {"User", CellKind::kText},
                      {"Machine", CellKind::kText},  {"Action", CellKind::kText},
                      {"Document", CellKind::kText}, {"Details", CellKind::kText}};
  }
  access::AuditFilter page = filter_;
  page.before_id = oldest_id_;
  page.limit = page_size_ + 1;  // one more tells whether older rows remain
  std::vector<access::AuditRow> rows = access::ReadAudit(connection_, page);
  has_more_ = rows.size() > static_cast<size_t>(page_size_);
  if (has_more_) rows.pop_back();
  for (const access::AuditRow& row : rows) {
    table_.rows.push_back({vb::Format(row.at, "dd mmm yyyy hh:nn:ss"), row.user, row.client,
                           row.action, row.document, row.details});
    oldest_id_ = row.id;
  }
}

}  // namespace kvt::host
