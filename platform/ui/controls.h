// The standard controls: Label, Frame, TextBox, CheckBox, OptionButton,
// CommandButton. Setters raise the events the platform raises when code sets
// the value: Change for text, Click for check and option values.
#pragma once

#include <string>

#include "platform/ui/control.h"
#include "platform/ui/data_binding.h"

namespace kvt::ui {

// CheckBox values.
inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;
inline constexpr int vbGrayed = 2;

class Label : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "Label"; }
  ControlKind Kind() const override { return ControlKind::kLabel; }
  bool TakesFocus() const override { return false; }

  const std::string& Caption() const { return caption_; }
  // Raises Change when the caption differs.
  void Caption(std::string caption);
  // 0 left, 1 right, 2 centre.
  int Alignment() const { return alignment_; }
  void Alignment(int alignment);
  // DataSource, DataMember and DataField, kept for the host; the caption
  // is not filled from them.
  const DataBinding& Binding() const { return binding_; }

  // "DataSource" is the one object property; others raise 438.
  void Set(std::string_view name, const vb::ObjectRef& value, object::Args args = {}) override;

 protected:
  std::string_view DefaultProperty() const override { return "Caption"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string caption_;
  int alignment_ = 0;
  DataBinding binding_;
};

class Frame : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "Frame"; }
  ControlKind Kind() const override { return ControlKind::kFrame; }
  bool TakesFocus() const override { return false; }

  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);

 protected:
  std::string_view DefaultProperty() const override { return "Caption"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string caption_;
};

class TextBox : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "TextBox"; }
  ControlKind Kind() const override { return ControlKind::kTextBox; }

  const std::string& Text() const { return text_; }
  // Raises Change when the text differs; the caret goes to the start.
  void Text(std::string text);
  // The selection (caret at SelStart when SelLength is 0), clamped to the
  // text.
  int SelStart() const { return sel_start_; }
  int SelLength() const { return sel_length_; }
  void Select(int start, int length);
  // Replaces the selection with `text` (what typing and pasting do) and
  // leaves the caret after it; raises Change when the text differs.
  void ReplaceSelection(const std::string& text);
  // 0 means no limit.
  int MaxLength() const { return max_length_; }
  void MaxLength(int max_length) { max_length_ = max_length; }
  bool Locked() const { return locked_; }
  void Locked(bool locked);
  int Alignment() const { return alignment_; }
  void Alignment(int alignment);
  // DataSource, DataMember and DataField, kept for the host; the text is
  // not filled from them.
  const DataBinding& Binding() const { return binding_; }

  // "DataSource" is the one object property; others raise 438.
  void Set(std::string_view name, const vb::ObjectRef& value, object::Args args = {}) override;

 protected:
  std::string_view DefaultProperty() const override { return "Text"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string text_;
  int sel_start_ = 0;
  int sel_length_ = 0;
  int max_length_ = 0;
  bool locked_ = false;
  int alignment_ = 0;
  DataBinding binding_;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "CheckBox"; }
  ControlKind Kind() const override { return ControlKind::kCheckBox; }

  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);
  int Value() const { return value_; }
  // vbUnchecked, vbChecked or vbGrayed; raises Click when it differs.
  // Raises 380 for any other value.
  void Value(int value);

 protected:
  std::string_view DefaultProperty() const override { return "Value"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string caption_;
  int value_ = vbUnchecked;
};

class OptionButton : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "OptionButton"; }
  ControlKind Kind() const override { return ControlKind::kOptionButton; }

  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);
  bool Value() const { return value_; }
  // True clears the other options of the same container and raises Click
  // (also when it was already selected); False just clears it.
  void Value(bool value);

 protected:
  std::string_view DefaultProperty() const override { return "Value"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string caption_;
  bool value_ = false;
};

class CommandButton : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "CommandButton"; }
  ControlKind Kind() const override { return ControlKind::kCommandButton; }

  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);
  // The button Enter clicks (Default) and the one Escape clicks (Cancel).
  bool Default() const { return default_; }
  void Default(bool is_default) { default_ = is_default; }
  bool Cancel() const { return cancel_; }
  void Cancel(bool is_cancel) { cancel_ = is_cancel; }

 protected:
  std::string_view DefaultProperty() const override { return "Value"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace kvt::ui
