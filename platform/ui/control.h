// kvt::ui::Control — what every control on a form has: a name and control
// array index, geometry in twips, enabled/visible, tab order, font, events,
// and late-bound access to its properties by name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/object/object.h"
#include "platform/ui/event.h"

namespace kvt::ui {

class Form;

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
};

enum class ControlKind {
  kLabel,
  kTextBox,
  kCheckBox,
  kOptionButton,
  kCommandButton,
  kDataCombo,
  kDatePicker,
  kFrame,
  kDataGrid,
};

class Control : public object::Object {
 public:
  // `index` is the control array index, or -1 for a control outside any
  // array. The form owns its controls; `form` outlives them.
  Control(Form& form, std::string name, int index);

  virtual ControlKind Kind() const = 0;
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  bool IsArrayElement() const { return index_ >= 0; }
  Form& Parent() const { return *form_; }

  // Geometry in twips, relative to the container (the form or a Frame).
  int32_t Left() const { return geometry_[0]; }
  int32_t Top() const { return geometry_[1]; }
  int32_t Width() const { return geometry_[2]; }
  int32_t Height() const { return geometry_[3]; }
  void Move(int32_t left, int32_t top, int32_t width, int32_t height);
  // Left/Top relative to the form, through any containing frames.
  int32_t FormLeft() const;
  int32_t FormTop() const;

  // The Frame that contains this control, or nullptr for the form itself.
  Control* Container() const { return container_; }
  void Container(Control* frame);

  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);
  bool Visible() const { return visible_; }
  void Visible(bool visible);
  int TabIndex() const { return tab_index_; }
  void TabIndex(int tab_index);
  bool TabStop() const { return tab_stop_; }
  void TabStop(bool tab_stop);
  const Font& GetFont() const { return font_; }
  void SetFont(Font font);
  const std::string& Tag() const { return tag_; }
  void Tag(std::string tag) { tag_ = std::move(tag); }

  // True for the kinds that can hold the focus (not labels and frames).
  virtual bool TakesFocus() const { return true; }
  // Takes focus and is enabled and visible, and so is every container.
  bool CanFocus() const;
  // Moves the focus here (Validate, LostFocus, GotFocus as the user's move
  // would). Raises 5 when the form is not shown or the control cannot take
  // the focus. A cancelled Validate leaves the focus where it was and is not
  // an error.
  void SetFocus();

  // Sets the handler of `event` (one per event, as code-behind has).
  void On(Event event, Handler handler);
  // Runs the handler of `event`, if any. Whatever it raises passes through.
  void Raise(Event event, EventArgs& args);
  void Raise(Event event);

  // Late binding: Name, Index, Left, Top, Width, Height, Enabled, Visible,
  // TabIndex, TabStop, Tag, FontName, FontSize, FontBold, and each kind's
  // own properties; "" is the kind's default property. Methods SetFocus and
  // Move. Unknown names raise 438.
  vb::Variant Get(std::string_view name, object::Args args = {}) override;
  void Let(std::string_view name, const vb::Variant& value, object::Args args = {}) override;
  vb::Variant Call(std::string_view name, object::Args args = {}) override;

 protected:
  // The kind's default member name ("Caption", "Text", "Value").
  virtual std::string_view DefaultProperty() const = 0;
  // Kind-specific late binding; false when the kind has no such property.
  virtual bool GetOwn(std::string_view name, vb::Variant& out) const = 0;
  virtual bool LetOwn(std::string_view name, const vb::Variant& value) = 0;
  // Tells the form's observer (a driver showing it) that a property changed.
  void Changed();

 private:
  Form* form_;
  std::string name_;
  int index_;
  std::array<int32_t, 4> geometry_{0, 0, 1215, 375};
  Control* container_ = nullptr;
  bool enabled_ = true;
  bool visible_ = true;
  int tab_index_ = 0;
  bool tab_stop_ = true;
  Font font_;
  std::string tag_;
  std::array<Handler, 8> handlers_;
};

}  // namespace kvt::ui
