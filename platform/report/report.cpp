#include "platform/report/report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/report/text_fit.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::report {
namespace {

std::string DisplayText(const vb::Variant& value, const std::string& format) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (!format.empty()) return vb::Format(value, format);
  return vb::CStr(value);
}

// A value a sum can add: numbers, and text that reads as one. Anything else
// (Null, blanks, words) counts as nothing rather than failing the document.
void AddToSum(const vb::Variant& value, vb::Currency& sum) {
  if (value.IsNull() || value.IsEmpty()) return;
  vb::Currency amount;
  try {
    amount = vb::CCur(value);
  } catch (const vb::Error& error) {
    if (error.number() == vb::err::kTypeMismatch) return;
    throw;
  }
  sum += amount;
}

}  // namespace

// Lays one run out. Rows are read once into `rows_` (only the columns that
// some field uses), so the layout pass never touches the data source again.
class Paginator {
 public:
  Paginator(Report& report, const TextMetrics& metrics) : report_(report), metrics_(metrics) {}

  Document Run() {
    Bind();
    Document document{report_.title_, report_.page_setup_, {}};
    document_ = &document;

    const Section* report_header = Visible(SectionKind::ReportHeader);
    const Section* page_header = Visible(SectionKind::PageHeader);
    const Section* detail = Visible(SectionKind::Detail);
    const Section* page_footer = Visible(SectionKind::PageFooter);
    const Section* report_footer = Visible(SectionKind::ReportFooter);
    const int32_t footer_height = page_footer ? page_footer->Height() : 0;
    body_bottom_ = report_.page_setup_.PrintBottom() - footer_height;
    const auto row_count = static_cast<int64_t>(rows_.size());
    const int64_t last_row = row_count - 1;

    StartPage(report_header, page_header, 0);
    if (detail != nullptr) {
      const bool sums_in_detail = HasSummaries(*detail);
      for (int64_t row = 0; row < row_count; ++row) {
        Lay(*detail, row, band_);
        if (!Fits(band_.height)) {
          EndPage(page_footer, row - 1);
          StartPage(nullptr, page_header, row);
        }
        Accumulate(row);
        // A summary in the band shows this row and this page.
        if (sums_in_detail) Lay(*detail, row, band_);
        Put(band_);
        bands_on_page_++;
      }
    }
    if (report_footer != nullptr) {
      Lay(*report_footer, last_row, band_);
      if (!Fits(band_.height)) {
        EndPage(page_footer, last_row);
        StartPage(nullptr, page_header, last_row);
        Lay(*report_footer, last_row, band_);
      }
      Put(band_);
    }
    EndPage(page_footer, last_row);
    return document;
  }

 private:
  // A band laid out with its top at 0, before it is put on a page.
  struct LaidBand {
    std::vector<DisplayItem> items;
    int32_t height = 0;
  };
  // A text box of the band being laid out that needs `extra` more height.
  struct Growth {
    int32_t top, bottom, extra;
    int32_t shift;  // how far its top moves
  };

  struct FieldBinding {
    int slot = -1;       // column within rows_, -1 when unbound or missing
    int sum_index = -1;  // index into sums_ for Sum fields
  };

  const Section* Visible(SectionKind kind) const {
    const Section* section = report_.FindSection(kind);
    return section != nullptr && section->Visible() ? section : nullptr;
  }

  void Bind() {
    std::shared_ptr<DataSource> source;
    if (!report_.data_controls_.empty()) {
      source = report_.data_controls_.front().Recordset();
    }
    std::unordered_map<std::string, int> column_of;  // lower-case name
    if (source) {
      const int count = source->FieldCount();
      for (int index = 0; index < count; ++index) {
        column_of.emplace(vb::LCase(source->FieldName(index)), index);
      }
    }
    std::vector<int> columns;  // source column of each slot
    std::unordered_map<int, int> slot_of_column;
    for (const Section& section : report_.sections_) {
      for (const ReportControl& control : section.Controls()) {
        if (control.Kind() != ControlKind::Field) continue;
        FieldBinding binding;
        if (!control.DataField().empty()) {
          const auto column = column_of.find(vb::LCase(control.DataField()));
          if (column != column_of.end()) {
            auto [slot, added] =
                slot_of_column.emplace(column->second, static_cast<int>(columns.size()));
            if (added) columns.push_back(column->second);
            binding.slot = slot->second;
          }
        }
        if (control.Summary() == SummaryType::Sum && binding.slot >= 0) {
          binding.sum_index = static_cast<int>(sums_.size());
          sums_.emplace_back();
          summed_slots_.push_back(binding.slot);
        } else if (control.Summary() == SummaryType::GrandSum && binding.slot >= 0) {
          binding.sum_index = static_cast<int>(grand_sums_.size());
          grand_sums_.emplace_back();
          grand_summed_slots_.push_back(binding.slot);
        }
        bindings_.emplace(&control, binding);
      }
    }
    if (!source || !source->MoveFirst()) return;
    do {
      std::vector<vb::Variant>& row = rows_.emplace_back();
      row.reserve(columns.size());
      for (int column : columns) row.push_back(source->Value(column));
    } while (source->MoveNext());
    source->MoveFirst();
    for (const auto& values : rows_) {
      for (size_t index = 0; index < grand_sums_.size(); ++index) {
        AddToSum(values[static_cast<size_t>(grand_summed_slots_[index])], grand_sums_[index]);
      }
    }
  }

  bool Fits(int32_t height) const {
    // A band taller than a whole page still prints, alone, so that the run
    // always ends.
    return cursor_ + height <= body_bottom_ || bands_on_page_ == 0;
  }

  void StartPage(const Section* report_header, const Section* page_header, int64_t row) {
    report_.page_number_ = static_cast<int>(document_->pages.size()) + 1;
    Page& page = document_->pages.emplace_back();
    page.number = report_.page_number_;
    cursor_ = report_.page_setup_.top_margin;
    bands_on_page_ = 0;
    for (const Section* section : {report_header, page_header}) {
      if (section == nullptr) continue;
      Lay(*section, row, frame_);
      Put(frame_);
    }
  }

  void EndPage(const Section* page_footer, int64_t row) {
    if (page_footer == nullptr) return;
    cursor_ = body_bottom_;
    Lay(*page_footer, row, frame_);
    Put(frame_);
  }

  void Accumulate(int64_t row) {
    const auto& values = rows_[static_cast<size_t>(row)];
    for (size_t index = 0; index < sums_.size(); ++index) {
      AddToSum(values[static_cast<size_t>(summed_slots_[index])], sums_[index]);
    }
  }

  static bool HasSummaries(const Section& section) {
    for (const ReportControl& control : section.Controls()) {
      if (control.Kind() == ControlKind::Field && control.Summary() != SummaryType::None) {
        return true;
      }
    }
    return false;
  }

  // Lays `section` out for `row` with its top at 0, into `band`.
  void Lay(const Section& section, int64_t row, LaidBand& band) {
    // The page footer stands at the foot of the page, so it cannot grow.
    const BoxGrowth growth =
        section.Kind() == SectionKind::PageFooter ? BoxGrowth::Fixed : BoxGrowth::Grows;
    const int32_t dx = report_.page_setup_.left_margin;
    band.items.clear();
    band.height = section.Height();
    growth_.clear();
    for (const ReportControl& control : section.Controls()) {
      if (!control.Visible()) continue;
      switch (control.Kind()) {
        case ControlKind::Label:
        case ControlKind::Field: {
          const std::string text =
              control.Kind() == ControlKind::Label ? control.Caption() : FieldText(control, row);
          int32_t extra = 0;
          band.items.emplace_back(FittedItem(control, text, dx, growth, extra));
          if (extra > 0) {
            growth_.push_back({control.Bounds().top, control.Bounds().Bottom(), extra, 0});
          }
          break;
        }
        case ControlKind::Line:
          band.items.emplace_back(
              LineItem{control.Name(), control.Points().Offset(dx, 0), control.LineWeight()});
          break;
        case ControlKind::Box:
          band.items.emplace_back(
              BoxItem{control.Name(), control.Bounds().Offset(dx, 0), control.LineWeight()});
          break;
      }
    }
    if (!growth_.empty()) PushDown(section, band);
  }

  // Makes room for the texts that took more lines than their boxes hold:
  // whatever lies below a grown box moves down by its growth (by the most
  // any box above it grew, where several grew side by side), and boxes and
  // rules stretch with what they enclose, so the layout keeps its order.
  void PushDown(const Section& section, LaidBand& band) {
    std::sort(growth_.begin(), growth_.end(),
              [](const Growth& a, const Growth& b) { return a.top < b.top; });
    for (Growth& grown : growth_) grown.shift = Shift(grown.top);
    size_t index = 0;
    for (const ReportControl& control : section.Controls()) {
      if (!control.Visible()) continue;
      std::visit(
          [&](auto& item) {
            using Item = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<Item, TextItem>) {
              item.rect.top += Shift(control.Bounds().top);
            } else if constexpr (std::is_same_v<Item, LineItem>) {
              item.segment.y1 += Shift(item.segment.y1);
              item.segment.y2 += Shift(item.segment.y2);
            } else {
              const int32_t bottom = item.rect.Bottom();
              item.rect.top += Shift(item.rect.top);
              item.rect.height = bottom + Shift(bottom) - item.rect.top;
            }
          },
          band.items[index++]);
    }
    band.height += Shift(band.height);
  }

  // How far down a point of the band at `y` moves.
  int32_t Shift(int32_t y) const {
    int32_t shift = 0;
    for (const Growth& grown : growth_) {
      if (grown.bottom <= y) shift = std::max(shift, grown.shift + grown.extra);
    }
    return shift;
  }

  void Put(LaidBand& band) {
    auto& items = document_->pages.back().items;
    const int32_t dy = cursor_;
    for (DisplayItem& item : band.items) {
      std::visit(
          [dy](auto& placed) {
            using Item = std::decay_t<decltype(placed)>;
            if constexpr (std::is_same_v<Item, LineItem>) {
              placed.segment = placed.segment.Offset(0, dy);
            } else {
              placed.rect = placed.rect.Offset(0, dy);
            }
          },
          item);
      items.push_back(std::move(item));
    }
    cursor_ += band.height;
  }

  TextItem FittedItem(const ReportControl& control, const std::string& text, int32_t dx,
                      BoxGrowth growth, int32_t& extra) const {
    FittedText fitted = FitText(text, control.TextFont(), control.Bounds(), control.TextAlignment(),
                                control.WordWrap(), growth, KindOfText(text), metrics_);
    Font font = control.TextFont();
    font.size = fitted.size;
    Rect rect = control.Bounds().Offset(dx, 0);
    extra = 0;
    if (fitted.lines > 1) {
      const auto needed = static_cast<int32_t>(std::ceil(fitted.lines * metrics_.LineHeight(font)));
      extra = std::max(0, needed - rect.height);
      rect.height += extra;
    } else if (fitted.size < control.TextFont().size) {
      // A shrunk line keeps the baseline of the designed size, in line
      // with the rest of its band.
      const auto drop = static_cast<int32_t>(
          std::lround(metrics_.Ascent(control.TextFont()) - metrics_.Ascent(font)));
      rect.top += drop;
      rect.height = std::max(0, rect.height - drop);
    }
    return TextItem{control.Name(), rect, std::move(fitted.text), std::move(font),
                    control.TextAlignment()};
  }

  std::string FieldText(const ReportControl& control, int64_t row) const {
    const FieldBinding& binding = bindings_.at(&control);
    vb::Variant value;
    switch (control.Summary()) {
      case SummaryType::PageCount:
        value = vb::Variant(static_cast<int32_t>(report_.page_number_));
        break;
      case SummaryType::Sum:
        if (binding.sum_index >= 0) {
          // With no rows at all the sum of a present column is still zero.
          value = sums_[static_cast<size_t>(binding.sum_index)];
        }
        break;
      case SummaryType::GrandSum:
        if (binding.sum_index >= 0) {
          value = grand_sums_[static_cast<size_t>(binding.sum_index)];
        }
        break;
      case SummaryType::None:
        if (control.DataField().empty()) {
          value = vb::Variant(control.Text());
        } else if (binding.slot >= 0 && row >= 0 && row < static_cast<int64_t>(rows_.size())) {
          value = rows_[static_cast<size_t>(row)][static_cast<size_t>(binding.slot)];
        }
        break;
    }
    return DisplayText(value, control.OutputFormat());
  }

  Report& report_;
  const TextMetrics& metrics_;
  Document* document_ = nullptr;
  std::unordered_map<const ReportControl*, FieldBinding> bindings_;
  std::vector<std::vector<vb::Variant>> rows_;
  std::vector<vb::Currency> sums_;
  std::vector<int> summed_slots_;
  std::vector<vb::Currency> grand_sums_;
  std::vector<int> grand_summed_slots_;
  LaidBand band_;   // detail and report footer
  LaidBand frame_;  // report and page header, page footer
  std::vector<Growth> growth_;
  int32_t cursor_ = 0;
  int32_t body_bottom_ = 0;
  int bands_on_page_ = 0;
};

Report::Report(std::string name) : name_(std::move(name)) {}

Section& Report::AddSection(SectionKind kind, std::string name, int32_t height) {
  if (FindSection(kind) != nullptr) {
    throw vb::Error::Numbered(vb::err::kInvalidCall, "Report", name);
  }
  return sections_.emplace_back(kind, std::move(name), height);
}

Section* Report::FindSection(SectionKind kind) {
  for (Section& section : sections_) {
    if (section.Kind() == kind) return &section;
  }
  return nullptr;
}

const Section* Report::FindSection(SectionKind kind) const {
  return const_cast<Report*>(this)->FindSection(kind);
}

Section& Report::GetSection(const std::string& name) {
  for (Section& section : sections_) {
    if (vb::SameText(section.Name(), name)) return section;
  }
  throw vb::Error::SubscriptOutOfRange("Report");
}

ReportControl& Report::Control(const std::string& name) {
  for (Section& section : sections_) {
    for (ReportControl& control : section.Controls()) {
      if (vb::SameText(control.Name(), name)) return control;
    }
  }
  throw vb::Error::NoSuchMember("Report", name);
}

const ReportControl& Report::Control(const std::string& name) const {
  return const_cast<Report*>(this)->Control(name);
}

bool Report::HasControl(const std::string& name) const {
  for (const Section& section : sections_) {
    for (const ReportControl& control : section.Controls()) {
      if (vb::SameText(control.Name(), name)) return true;
    }
  }
  return false;
}

DataControl& Report::AddDataControl(std::string name) {
  return data_controls_.emplace_back(std::move(name));
}

DataControl& Report::GetDataControl(const std::string& name) {
  for (DataControl& control : data_controls_) {
    if (vb::SameText(control.Name(), name)) return control;
  }
  throw vb::Error::NoSuchMember("Report", name);
}

Document Report::Run(const TextMetrics& metrics) { return Paginator(*this, metrics).Run(); }

Document Report::Run() { return Run(StandardTextMetrics()); }

}  // namespace kvt::report
