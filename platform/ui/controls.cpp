#include "platform/ui/controls.h"

#include <algorithm>

#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::ui {

using object::SameName;

void Label::Caption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
  Raise(Event::kChange);
}

void Label::Alignment(int alignment) {
  alignment_ = alignment;
  Changed();
}

void Label::Set(std::string_view name, const vb::ObjectRef& value, object::Args args) {
  if (!args.empty() || !binding_.Set(name, value)) ThrowNoSuchMember(name);
}

bool Label::GetOwn(std::string_view name, vb::Variant& out) const {
  if (binding_.Get(name, out)) return true;
  if (SameName(name, "Caption")) {
    out = caption_;
  } else if (SameName(name, "Alignment")) {
    out = alignment_;
  } else {
    return false;
  }
  return true;
}

bool Label::LetOwn(std::string_view name, const vb::Variant& value) {
  if (binding_.Let(name, value)) return true;
  if (SameName(name, "Caption")) {
    Caption(vb::CStr(value));
  } else if (SameName(name, "Alignment")) {
    Alignment(vb::CLng(value));
  } else {
    return false;
  }
  return true;
}

void Frame::Caption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

bool Frame::GetOwn(std::string_view name, vb::Variant& out) const {
  if (!SameName(name, "Caption")) return false;
  out = caption_;
  return true;
}

bool Frame::LetOwn(std::string_view name, const vb::Variant& value) {
  if (!SameName(name, "Caption")) return false;
  Caption(vb::CStr(value));
  return true;
}

void TextBox::Text(std::string text) {
  sel_start_ = 0;
  sel_length_ = 0;
  if (text == text_) return;
  text_ = std::move(text);
  Changed();
  Raise(Event::kChange);
}

void TextBox::Select(int start, int length) {
  const int size = static_cast<int>(text_.size());
  sel_start_ = std::clamp(start, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
}

void TextBox::ReplaceSelection(const std::string& text) {
  std::string inserted = text;
  if (max_length_ > 0) {
    const int room = max_length_ - static_cast<int>(text_.size()) + sel_length_;
    inserted.resize(static_cast<size_t>(std::clamp(room, 0, static_cast<int>(inserted.size()))));
  }
  std::string updated = text_;
  updated.replace(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_length_), inserted);
  const int caret = sel_start_ + static_cast<int>(inserted.size());
  sel_length_ = 0;
  sel_start_ = caret;
  if (updated == text_) return;
  text_ = std::move(updated);
  Changed();
  Raise(Event::kChange);
}

void TextBox::Locked(bool locked) {
  locked_ = locked;
  Changed();
}

void TextBox::Alignment(int alignment) {
  alignment_ = alignment;
  Changed();
}

void TextBox::Set(std::string_view name, const vb::ObjectRef& value, object::Args args) {
  if (!args.empty() || !binding_.Set(name, value)) ThrowNoSuchMember(name);
}

bool TextBox::GetOwn(std::string_view name, vb::Variant& out) const {
  if (binding_.Get(name, out)) return true;
  if (SameName(name, "Text")) {
    out = text_;
  } else if (SameName(name, "SelStart")) {
    out = sel_start_;
  } else if (SameName(name, "SelLength")) {
    out = sel_length_;
  } else if (SameName(name, "SelText")) {
    out = text_.substr(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_length_));
  } else if (SameName(name, "MaxLength")) {
    out = max_length_;
  } else if (SameName(name, "Locked")) {
    out = locked_;
  } else if (SameName(name, "Alignment")) {
    out = alignment_;
  } else {
    return false;
  }
  return true;
}

bool TextBox::LetOwn(std::string_view name, const vb::Variant& value) {
  if (binding_.Let(name, value)) return true;
  if (SameName(name, "Text")) {
    Text(vb::CStr(value));
  } else if (SameName(name, "SelStart")) {
    Select(vb::CLng(value), 0);
  } else if (SameName(name, "SelLength")) {
    Select(sel_start_, vb::CLng(value));
  } else if (SameName(name, "SelText")) {
    ReplaceSelection(vb::CStr(value));
  } else if (SameName(name, "MaxLength")) {
    MaxLength(vb::CLng(value));
  } else if (SameName(name, "Locked")) {
    Locked(vb::CBool(value));
  } else if (SameName(name, "Alignment")) {
    Alignment(vb::CLng(value));
  } else {
    return false;
  }
  return true;
}

void CheckBox::Caption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

void CheckBox::Value(int value) {
  if (value < vbUnchecked || value > vbGrayed) {
    throw vb::Error::Numbered(vb::err::kInvalidPropertyValue, Name());
  }
  if (value == value_) return;
  value_ = value;
  Changed();
  Raise(Event::kClick);
}

bool CheckBox::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "Caption")) {
    out = caption_;
  } else if (SameName(name, "Value")) {
    out = vb::Variant::Integer(static_cast<int16_t>(value_));
  } else {
    return false;
  }
  return true;
}

bool CheckBox::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "Caption")) {
    Caption(vb::CStr(value));
  } else if (SameName(name, "Value")) {
    // True (-1) is no check box value; the platform rejects it.
    Value(vb::CLng(value));
  } else {
    return false;
  }
  return true;
}

void OptionButton::Caption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

void OptionButton::Value(bool value) {
  if (!value) {
    if (!value_) return;
    value_ = false;
    Changed();
    return;
  }
  for (const auto& other : Parent().Controls()) {
    auto* option = dynamic_cast<OptionButton*>(other.get());
    if (option != nullptr && option != this && option->value_ &&
        option->Container() == Container()) {
      option->value_ = false;
      option->Changed();
    }
  }
  if (!value_) {
    value_ = true;
    Changed();
  }
  Raise(Event::kClick);
}

bool OptionButton::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "Caption")) {
    out = caption_;
  } else if (SameName(name, "Value")) {
    out = value_;
  } else {
    return false;
  }
  return true;
}

bool OptionButton::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "Caption")) {
    Caption(vb::CStr(value));
  } else if (SameName(name, "Value")) {
    Value(vb::CBool(value));
  } else {
    return false;
  }
  return true;
}

void CommandButton::Caption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

bool CommandButton::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "Caption")) {
    out = caption_;
  } else if (SameName(name, "Value")) {
    out = false;
  } else if (SameName(name, "Default")) {
    out = default_;
  } else if (SameName(name, "Cancel")) {
    out = cancel_;
  } else {
    return false;
  }
  return true;
}

bool CommandButton::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "Caption")) {
    Caption(vb::CStr(value));
  } else if (SameName(name, "Value")) {
    // Setting Value to True clicks the button from code.
    if (vb::CBool(value)) Raise(Event::kClick);
  } else if (SameName(name, "Default")) {
    Default(vb::CBool(value));
  } else if (SameName(name, "Cancel")) {
    Cancel(vb::CBool(value));
  } else {
    return false;
  }
  return true;
}

}  // namespace kvt::ui
