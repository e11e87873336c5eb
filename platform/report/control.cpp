#include "platform/report/control.h"

#include "platform/value/error.h"

namespace kvt::report {

ReportControl::ReportControl(ControlKind kind, std::string name, Rect rect)
    : kind_(kind), name_(std::move(name)), rect_(rect) {
  if (kind_ == ControlKind::Line) {
    segment_ = {rect.left, rect.top, rect.Right(), rect.Bottom()};
  }
}

ReportControl::ReportControl(std::string name, Segment segment)
    : kind_(ControlKind::Line),
      name_(std::move(name)),
      rect_{segment.x1, segment.y1, segment.x2 - segment.x1, segment.y2 - segment.y1},
      segment_(segment) {}

void ReportControl::RequireKind(ControlKind kind, const char* member) const {
  if (kind_ != kind) {
    throw vb::Error::NoSuchMember("Report", name_ + "." + member);
  }
}

const std::string& ReportControl::Caption() const {
  RequireKind(ControlKind::Label, "Caption");
  return text_;
}

ReportControl& ReportControl::SetCaption(std::string caption) {
  RequireKind(ControlKind::Label, "Caption");
  text_ = std::move(caption);
  return *this;
}

const std::string& ReportControl::Text() const {
  RequireKind(ControlKind::Field, "Text");
  return text_;
}

ReportControl& ReportControl::SetText(std::string text) {
  RequireKind(ControlKind::Field, "Text");
  text_ = std::move(text);
  return *this;
}

const std::string& ReportControl::DataField() const {
  RequireKind(ControlKind::Field, "DataField");
  return data_field_;
}

ReportControl& ReportControl::SetDataField(std::string data_field) {
  RequireKind(ControlKind::Field, "DataField");
  data_field_ = std::move(data_field);
  return *this;
}

const std::string& ReportControl::OutputFormat() const {
  RequireKind(ControlKind::Field, "OutputFormat");
  return output_format_;
}

ReportControl& ReportControl::SetOutputFormat(std::string output_format) {
  RequireKind(ControlKind::Field, "OutputFormat");
  output_format_ = std::move(output_format);
  return *this;
}

SummaryType ReportControl::Summary() const {
  RequireKind(ControlKind::Field, "SummaryType");
  return summary_;
}

ReportControl& ReportControl::SetSummary(SummaryType summary) {
  RequireKind(ControlKind::Field, "SummaryType");
  summary_ = summary;
  return *this;
}

ReportControl& ReportControl::SetVisible(bool visible) {
  visible_ = visible;
  return *this;
}

ReportControl& ReportControl::SetFont(Font font) {
  if (!IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".Font");
  font_ = std::move(font);
  return *this;
}

ReportControl& ReportControl::SetFontSize(double points) {
  if (!IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".Font");
  if (!(points > 0.0)) throw vb::Error::Numbered(vb::err::kInvalidPropertyValue, "Report");
  font_.size = points;
  return *this;
}

ReportControl& ReportControl::SetBold(bool bold) {
  if (!IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".Font");
  font_.bold = bold;
  return *this;
}

ReportControl& ReportControl::SetAlignment(Alignment alignment) {
  if (!IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".Alignment");
  alignment_ = alignment;
  return *this;
}

ReportControl& ReportControl::SetWordWrap(bool word_wrap) {
  if (!IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".WordWrap");
  word_wrap_ = word_wrap;
  return *this;
}

ReportControl& ReportControl::SetLineWeight(int twips) {
  if (IsText()) throw vb::Error::NoSuchMember("Report", name_ + ".LineWeight");
  if (twips < 0) throw vb::Error::Numbered(vb::err::kInvalidPropertyValue, "Report");
  line_weight_ = twips;
  return *this;
}

}  // namespace kvt::report
