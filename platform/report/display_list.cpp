#include "platform/report/display_list.h"

namespace kvt::report {
namespace {

const std::string& ControlOf(const DisplayItem& item) {
  return std::visit([](const auto& i) -> const std::string& { return i.control; }, item);
}

}  // namespace

const TextItem* Page::FindText(const std::string& control) const {
  for (const auto& item : items) {
    const auto* text = std::get_if<TextItem>(&item);
    if (text != nullptr && text->control == control) return text;
  }
  return nullptr;
}

std::vector<const TextItem*> Page::FindTexts(const std::string& control) const {
  std::vector<const TextItem*> found;
  for (const auto& item : items) {
    const auto* text = std::get_if<TextItem>(&item);
    if (text != nullptr && text->control == control) found.push_back(text);
  }
  return found;
}

bool Page::Has(const std::string& control) const {
  for (const auto& item : items) {
    if (ControlOf(item) == control) return true;
  }
  return false;
}

}  // namespace kvt::report
