// report::Report — a banded layout (sections of controls) bound to a data
// control, and the engine that runs it into a page display list.
//
// Running: the report header (if any) opens the first page; every page
// starts with the page header and ends with the page footer at the bottom
// of the printable area; each data row prints one detail band, and a band
// that does not fit above the footer starts a new page; the report footer
// (if any) follows the last detail band. Header and footer fields bound to
// a column show the row that is current there: the first row of the page
// in headers, the last row printed on it in footers. Sum fields add their
// column (as vb::Currency, exactly) over every detail row printed so far,
// grand-sum fields over all rows, so the last page shows the sums of all
// rows either way. Every text is fitted to its box as text_fit.h says,
// measured with the metrics the run is given. A text that needs more lines
// than its box holds makes its band grow (all but the page footer, which
// stands at the foot of the page): whatever lies below the box moves down
// by as much, and boxes and rules stretch with what they enclose. A band
// is placed on a page, or moved to the next one, at its grown height.
#pragma once

#include <deque>
#include <string>

#include "platform/report/control.h"
#include "platform/report/data_control.h"
#include "platform/report/display_list.h"
#include "platform/report/geometry.h"
#include "platform/report/section.h"
#include "platform/report/text_metrics.h"

namespace kvt::report {

// The report's printer as code sees it: only the device name is kept; the
// output that prints the document resolves it (see report::Output).
class ReportPrinter {
 public:
  const std::string& DeviceName() const { return device_name_; }
  void SetDeviceName(std::string device_name) { device_name_ = std::move(device_name); }

 private:
  std::string device_name_;
};

class Report {
 public:
  explicit Report(std::string name);
  virtual ~Report() = default;
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  const std::string& Name() const { return name_; }
  // The document title (window caption of a preview, PDF title).
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  PageSetup& Page() { return page_setup_; }
  const PageSetup& Page() const { return page_setup_; }

  // Adds a section; a report has at most one of each kind. Raises 5 when
  // the kind is already there.
  Section& AddSection(SectionKind kind, std::string name, int32_t height);
  // The section of that kind, or nullptr.
  Section* FindSection(SectionKind kind);
  const Section* FindSection(SectionKind kind) const;
  // Section by name, case-insensitively. Raises 9 for an unknown name.
  Section& GetSection(const std::string& name);

  // Control of any section by name, case-insensitively. Raises 438 for a
  // name the layout does not have.
  ReportControl& Control(const std::string& name);
  const ReportControl& Control(const std::string& name) const;
  bool HasControl(const std::string& name) const;

  // Adds the data control that gives the report its rows. The first one
  // added is the one the report reads.
  DataControl& AddDataControl(std::string name);
  // Raises 438 for an unknown name.
  DataControl& GetDataControl(const std::string& name);

  ReportPrinter& Printer() { return printer_; }
  const ReportPrinter& Printer() const { return printer_; }

  // The page being printed while the report runs; 0 before the first run,
  // the number of the last page after it.
  int pageNumber() const { return page_number_; }

  // Reads every row of the data control's record set and lays the pages
  // out, measuring text with `metrics` (those of the output the document
  // goes to). Always produces at least one page. A column a field names but
  // the record set lacks prints empty. Raises 6 when a sum leaves the
  // vb::Currency range.
  Document Run(const TextMetrics& metrics);
  // The same with StandardTextMetrics().
  Document Run();

 private:
  friend class Paginator;

  std::string name_;
  std::string title_;
  PageSetup page_setup_;
  std::deque<Section> sections_;
  std::deque<DataControl> data_controls_;
  ReportPrinter printer_;
  int page_number_ = 0;
};

}  // namespace kvt::report
