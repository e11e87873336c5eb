// report::ReportControl — one control of a layout section: a label (fixed
// caption), a field (text set by code or bound to a data column, optionally
// formatted and summarised), a rule or a box.
#pragma once

#include <string>

#include "platform/report/font.h"
#include "platform/report/geometry.h"

namespace kvt::report {

enum class ControlKind { Label, Field, Line, Box };

// What a field shows instead of its own value.
enum class SummaryType {
  None,       // the bound column of the current row, or the field's text
  Sum,        // the sum of the bound column over the detail rows printed so far
  GrandSum,   // the sum of the bound column over all detail rows, on every page
  PageCount,  // the number of the page being printed
};

class ReportControl {
 public:
  // A label or field at `rect` (section-relative).
  ReportControl(ControlKind kind, std::string name, Rect rect);
  // A rule from one point to another (section-relative).
  ReportControl(std::string name, Segment segment);

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  const Rect& Bounds() const { return rect_; }
  const Segment& Points() const { return segment_; }

  // Label caption. Raises 438 on any other kind of control.
  const std::string& Caption() const;
  ReportControl& SetCaption(std::string caption);
  // Field text, shown when the field is not bound or summarised. Raises 438
  // on any other kind of control.
  const std::string& Text() const;
  ReportControl& SetText(std::string text);
  // Name of the bound column; empty when unbound. A name the record set
  // does not have is not an error: the field prints empty. Raises 438 on
  // anything but a field.
  const std::string& DataField() const;
  ReportControl& SetDataField(std::string data_field);
  // vb::Format pattern ("#,##0.00"); empty shows the value as CStr does.
  // Raises 438 on anything but a field.
  const std::string& OutputFormat() const;
  ReportControl& SetOutputFormat(std::string output_format);
  // Raises 438 on anything but a field.
  SummaryType Summary() const;
  ReportControl& SetSummary(SummaryType summary);

  bool Visible() const { return visible_; }
  ReportControl& SetVisible(bool visible);

  // Text attributes (labels and fields).
  const Font& TextFont() const { return font_; }
  ReportControl& SetFont(Font font);
  ReportControl& SetFontSize(double points);
  ReportControl& SetBold(bool bold);
  Alignment TextAlignment() const { return alignment_; }
  ReportControl& SetAlignment(Alignment alignment);
  // Text longer than the width breaks onto further lines inside the box.
  bool WordWrap() const { return word_wrap_; }
  ReportControl& SetWordWrap(bool word_wrap);

  // Pen width of rules and box outlines, in twips.
  int LineWeight() const { return line_weight_; }
  ReportControl& SetLineWeight(int twips);

 private:
  bool IsText() const { return kind_ == ControlKind::Label || kind_ == ControlKind::Field; }
  void RequireKind(ControlKind kind, const char* member) const;

  ControlKind kind_;
  std::string name_;
  Rect rect_;
  Segment segment_;
  std::string text_;
  std::string data_field_;
  std::string output_format_;
  SummaryType summary_ = SummaryType::None;
  bool visible_ = true;
  Font font_;
  Alignment alignment_ = Alignment::Left;
  bool word_wrap_ = false;
  int line_weight_ = 15;
};

}  // namespace kvt::report
