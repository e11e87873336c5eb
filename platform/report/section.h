// report::Section — one band of a layout and the controls it holds.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/report/control.h"

namespace kvt::report {

enum class SectionKind {
  ReportHeader,  // once, at the top of the first page
  PageHeader,    // at the top of every page
  Detail,        // once per data row
  PageFooter,    // at the bottom of every page
  ReportFooter,  // once, after the last detail band
};

class Section {
 public:
  Section(SectionKind kind, std::string name, int32_t height);

  SectionKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int32_t Height() const { return height_; }
  // Raises 380 for a negative height.
  void SetHeight(int32_t height);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }

  // Adders return the new control for further settings; geometry is
  // relative to the section's top-left corner. References stay valid for
  // the section's life.
  ReportControl& AddLabel(std::string name, Rect rect, std::string caption);
  ReportControl& AddField(std::string name, Rect rect);
  ReportControl& AddLine(std::string name, Segment segment);
  ReportControl& AddBox(std::string name, Rect rect);

  const std::deque<ReportControl>& Controls() const { return controls_; }
  std::deque<ReportControl>& Controls() { return controls_; }

 private:
  SectionKind kind_;
  std::string name_;
  int32_t height_;
  bool visible_ = true;
  std::deque<ReportControl> controls_;
};

}  // namespace kvt::report
