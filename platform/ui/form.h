// kvt::ui::Form — a dialog: its controls in named control arrays, its
// load/show/hide/unload life, the focus, and the user's input as the
// platform turns it into events. Toolkit-free: a ui::Driver shows it.
//
// Forms are always owned by a std::shared_ptr (control arrays handed out by
// late binding keep the form alive). A derived form creates its controls in
// Build(), once per instance, when its controls are first reached or it is
// first loaded. Unloading runs the unload handling and hides the form but
// keeps the controls and their values, so an instance that is loaded again
// shows what its load handling sets and otherwise what it last held -- unless
// the form discards its controls on unload (DiscardControlsOnUnload), when
// the next use builds them afresh with their design-time values.
// Reaching a control never loads the form.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object/object.h"
#include "platform/ui/control.h"
#include "platform/ui/layout.h"
#include "platform/value/date.h"

namespace kvt::ui {

class TextBox;
class DataCombo;
class DatePicker;

inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// Told about changes while a driver shows the form.
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void ControlChanged(Control& control) = 0;
  virtual void FocusChanged(Control* control) = 0;
  // Caption, visibility or loaded state changed.
  virtual void FormChanged() = 0;
};

class Form : public object::Object {
 public:
  explicit Form(std::string name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The form's class name ("frmDeliveryDetails").
  std::string TypeName() const override { return name_; }

  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);
  // Client size in twips.
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void Size(int32_t width, int32_t height);

  // Loaded on the platform: between Load and Unload.
  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }

  // Builds the controls if not built yet and runs OnLoad; nothing when
  // already loaded. Whatever OnLoad raises passes through with the form
  // left loaded.
  void Load();
  // Runs OnUnload; unless it cancels, hides the form (ending a modal show)
  // and marks it unloaded; the controls keep their values. Nothing when not
  // loaded.
  void Unload();
  // Loads if needed and shows the form. Modal: the driver runs it and this
  // returns once it is hidden or unloaded; raises 400 when the form is
  // already shown. No owner window is involved.
  void Show(int modal = vbModal);
  // Hides the form (a modal show returns); nothing when it is not shown.
  void Hide();

  // Control `name`, element `index` (-1 for a control outside an array);
  // builds the controls first if needed (without loading). Raises 438 when the form has no control
  // of that name, 9 when the array lacks that index (or an index is given for a plain control, or
  // omitted for an array).
  Control& Ctl(std::string_view name, int index = -1);
  // The same, as kind T; raises 13 when the control is of another kind.
  template <class T>
  T& Ctl(std::string_view name, int index = -1) {
    T* typed = dynamic_cast<T*>(&Ctl(name, index));
    if (typed == nullptr) ThrowTypeMismatch(name);
    return *typed;
  }
  // Without building and without raising: nullptr when absent.
  Control* Find(std::string_view name, int index = -1) const;
  // The indexes of control array `name`, ascending (empty when absent).
  std::vector<int> Indexes(std::string_view name) const;
  // Every control, in creation order.
  const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }
  // The controls that can take the focus, in tab order.
  std::vector<Control*> TabOrder() const;
  Control* ActiveControl() const { return active_; }

  // Moves the focus to `target` (nullptr clears it), raising Validate and
  // LostFocus on the control that has it and GotFocus on `target`. Returns
  // false when Validate was cancelled. Does not check whether `target` can
  // take the focus (Control::SetFocus and the user input do).
  bool MoveFocus(Control* target);

  // The user's input, as a driver delivers it. Each does what the user's
  // action does on the platform; an action on a disabled or hidden control
  // does nothing. They return normally whatever the handlers do, except
  // that a handler's own error passes through.
  // Click into a control (focus only).
  void UserFocus(Control& control);
  // Mouse click: focus, then the control's own response (button Click,
  // option selected, check box toggled, label Click).
  void UserClick(Control& control);
  // Types `text` into the active control, one character at a time:
  // KeyDown, KeyPress (which may swallow it), the edit with its Change,
  // KeyUp.
  void UserType(std::string_view text);
  // A key that is not a character: Tab / Shift+Tab move along the tab
  // order, Enter clicks the Default button, Escape the Cancel button,
  // Backspace and Delete edit a text box, Space clicks a focused button.
  void UserKey(int key_code, int shift = 0);
  // Selects all of the text box's text and types `text` in one edit (one
  // Change), as pasting over a selection does.
  void UserReplaceText(TextBox& text_box, std::string_view text);
  // Picks row `row` of a DataCombo's list (Change, then Click).
  void UserSelectRow(DataCombo& combo, int row);
  // Picks a date (or none) in a date picker.
  void UserPickDate(DatePicker& picker, std::optional<vb::Date> date);
  // The window's close box: unloads the form.
  void UserClose();
  // Keys sent by code to the active control: "{TAB}", "{ENTER}", "{ESC}",
  // "{BS}", "+{TAB}" (Shift+Tab) and plain characters.
  void SendKeys(std::string_view keys);

  // Late binding: a control array name reads as the array (or, with an
  // index argument, as its element); a plain control name reads as the
  // control; Caption, Visible, Width, Height, Name. Methods Show, Hide,
  // Unload. Unknown names raise 438.
  vb::Variant Get(std::string_view name, object::Args args = {}) override;
  void Let(std::string_view name, const vb::Variant& value, object::Args args = {}) override;
  vb::Variant Call(std::string_view name, object::Args args = {}) override;

  // One observer at a time (the driver showing the form); nullptr detaches.
  void SetObserver(FormObserver* observer) { observer_ = observer; }
  void NotifyControlChanged(Control& control);

 protected:
  // Creates the controls with their design-time values.
  virtual void Build() = 0;
  // The code-behind's Load, Unload (may cancel) and Activate events.
  virtual void OnLoad() {}
  virtual void OnUnload(bool& cancel) { (void)cancel; }
  virtual void OnActivate() {}

  // Builds the controls if they are not built (or were discarded).
  void EnsureBuilt();
  // Whether unloading discards the controls and their values.
  void DiscardControlsOnUnload(bool discard) { discard_on_unload_ = discard; }
  // Element `index` of a typed control array, building the controls first.
  template <class T>
  T& Reach(const ControlArray<T>& array, int index) {
    EnsureBuilt();
    return array[index];
  }
  // Adds the controls of a layout table during Build, in its order.
  void AddControls(std::span<const ControlLayout> rows);
  // The elements of control array `name` (after Build), for ControlArray.
  std::vector<Control*> ArrayElements(std::string_view name) const;

  // Adds a control during Build; tab order follows creation order.
  template <class T>
  T& Add(std::string name, int index = -1) {
    auto control = std::make_shared<T>(*this, std::move(name), index);
    T& result = *control;
    Adopt(std::move(control));
    return result;
  }

 private:
  void Adopt(std::shared_ptr<Control> control);
  void NotifyFormChanged();
  void TabFrom(bool backwards);
  Control* FindButton(bool want_default) const;
  void EditActiveText(int key_code, std::string_view typed);
  [[noreturn]] void ThrowTypeMismatch(std::string_view name) const;

  std::string name_;
  std::string caption_;
  int32_t width_ = 4800;
  int32_t height_ = 3600;
  bool loaded_ = false;
  bool building_ = false;
  bool built_ = false;
  bool discard_on_unload_ = false;
  bool discarded_ = false;
  bool visible_ = false;
  std::vector<std::shared_ptr<Control>> controls_;
  // Discarded controls live until the next build: a handler that unloaded
  // the form may still be running on one of them.
  std::vector<std::shared_ptr<Control>> retired_;
  Control* active_ = nullptr;
  FormObserver* observer_ = nullptr;
};

}  // namespace kvt::ui
