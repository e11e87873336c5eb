#include "apps/kvt-host/story/story_log.h"

#include <algorithm>

#include "apps/kvt-host/posting/refusal.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"

namespace kvt::host {

namespace {

// A prompt's line breaks continue it on the next line, under its start.
std::string Indented(const std::string& text, const std::string& indent) {
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      shown += "\n" + indent;
    } else {
      shown += text[i];
    }
  }
  return shown;
}

}  // namespace

void StoryLog::Heading(const std::string& title) {
  out_ << "\n== " << ++steps_ << ". " << title << " ==\n";
}

void StoryLog::Line(const std::string& text, int indent) {
  out_ << std::string(static_cast<size_t>(indent), ' ') << text << "\n";
}

bool StoryLog::Check(bool ok, const std::string& what) {
  if (!ok) ++failures_;
  out_ << (ok ? "  checked: " : "  FAILED: ") << what << "\n";
  return ok;
}

void StoryLog::Saw(const ui::HeadlessDriver& user) {
  prompts_.clear();
  for (const auto& message : user.Messages()) {
    prompts_.push_back(message.prompt);
    out_ << "  message box \"" << message.title << "\": " << Indented(message.prompt, "    ")
         << "\n";
  }
  for (const auto& problem : user.Problems()) {
    ++failures_;
    out_ << "  FAILED: the script did not fit: " << problem << "\n";
  }
}

void StoryLog::Table(const std::vector<std::string>& headers,
                     const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::string> titles;
  std::vector<bool> right;
  for (const std::string& header : headers) {
    right.push_back(!header.empty() && header[0] == '>');
    titles.push_back(right.back() ? header.substr(1) : header);
  }
  std::vector<size_t> widths;
  for (const std::string& title : titles) widths.push_back(title.size());
  for (const auto& row : rows) {
    for (size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
  }
  auto print = [&](const std::vector<std::string>& cells) {
    std::string line = " ";
    for (size_t c = 0; c < widths.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : std::string();
      const std::string pad(widths[c] - cell.size(), ' ');
      line += " " + (right[c] ? pad + cell : cell + pad);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out_ << line << "\n";
  };
  print(titles);
  for (const auto& row : rows) print(row);
}

std::string Shown(const vb::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (value.get_if<vb::Currency>() != nullptr) return Money(value);
  return vb::CStr(value);
}

std::string Qty(double qty) { return posting::QtyText(qty); }

std::string Money(const vb::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  return services::NumberFormatService().FormatAmount(value, 2, -1, 0, -1);
}

}  // namespace kvt::host
