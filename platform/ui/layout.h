// A dialog's controls as data: one row per control, in creation order, which
// is also the tab order unless a row names its tab index. A form builds its
// controls from such a table (Form::AddControls) and wires its handlers
// apart from it; ControlArray then reaches the elements by their type.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/value/error.h"

namespace kvt::ui {

class Form;

// Design-time settings beyond geometry and caption; combine with |.
enum ControlStyle : uint16_t {
  kPlain = 0,
  kRightAligned = 1 << 0,
  kCentred = 1 << 1,
  kBold = 1 << 2,
  kDropDownList = 1 << 3,  // a DataCombo that takes no typed text
  kDefaultButton = 1 << 4,
  kCancelButton = 1 << 5,
  kHidden = 1 << 6,
  kDisabled = 1 << 7,
  kNoTabStop = 1 << 8,
  kDateCheckBox = 1 << 9,  // a DatePicker that can hold no date
};

struct ControlLayout {
  ControlKind kind;
  const char* name;
  int index;                         // -1 for a control outside any array
  int32_t left, top, width, height;  // twips, within the container
  const char* caption = "";          // Caption, or a text box's initial Text
  uint16_t style = kPlain;
  // The Frame the control sits in (its name and index); none when null.
  const char* container = nullptr;
  int container_index = -1;
  // Font, when not the form's default.
  const char* font_name = nullptr;
  double font_size = 0;
  int tab_index = -1;  // -1: creation order
};

// The elements of one control array as kind T, collected once after the
// form has built its controls, so that code reaches them by index without
// looking their name up again.
template <class T>
class ControlArray {
 public:
  void Collect(const std::vector<Control*>& elements) {
    items_.clear();
    for (Control* element : elements) {
      const auto index = static_cast<size_t>(element->Index());
      if (items_.size() <= index) items_.resize(index + 1, nullptr);
      items_[index] = dynamic_cast<T*>(element);
    }
  }
  // Raises 9 for an index the array lacks.
  T& operator[](int index) const {
    if (index < 0 || static_cast<size_t>(index) >= items_.size() ||
        items_[static_cast<size_t>(index)] == nullptr) {
      throw vb::Error::SubscriptOutOfRange();
    }
    return *items_[static_cast<size_t>(index)];
  }

 private:
  std::vector<T*> items_;
};

}  // namespace kvt::ui
