#include "platform/report/section.h"

#include "platform/value/error.h"

namespace kvt::report {

Section::Section(SectionKind kind, std::string name, int32_t height)
    : kind_(kind), name_(std::move(name)), height_(0) {
  SetHeight(height);
}

void Section::SetHeight(int32_t height) {
  if (height < 0) {
    throw vb::Error::Numbered(vb::err::kInvalidPropertyValue, "Report", name_);
  }
  height_ = height;
}

ReportControl& Section::AddLabel(std::string name, Rect rect, std::string caption) {
  ReportControl& label = controls_.emplace_back(ControlKind::Label, std::move(name), rect);
  label.SetCaption(std::move(caption));
  return label;
}

ReportControl& Section::AddField(std::string name, Rect rect) {
  return controls_.emplace_back(ControlKind::Field, std::move(name), rect);
}

ReportControl& Section::AddLine(std::string name, Segment segment) {
  return controls_.emplace_back(std::move(name), segment);
}

ReportControl& Section::AddBox(std::string name, Rect rect) {
  return controls_.emplace_back(ControlKind::Box, std::move(name), rect);
}

}  // namespace kvt::report
