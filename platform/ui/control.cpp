#include "platform/ui/control.h"

#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::ui {

using object::SameName;

Control::Control(Form& form, std::string name, int index)
    : form_(&form), name_(std::move(name)), index_(index) {}

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
  geometry_ = {left, top, width, height};
  Changed();
}

int32_t Control::FormLeft() const { return Left() + (container_ ? container_->FormLeft() : 0); }

int32_t Control::FormTop() const { return Top() + (container_ ? container_->FormTop() : 0); }

void Control::Container(Control* frame) {
  container_ = frame;
  Changed();
}

void Control::Enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void Control::Visible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

void Control::TabIndex(int tab_index) { tab_index_ = tab_index; }

void Control::TabStop(bool tab_stop) { tab_stop_ = tab_stop; }

void Control::SetFont(Font font) {
  font_ = std::move(font);
  Changed();
}

bool Control::CanFocus() const {
  if (!TakesFocus()) return false;
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->enabled_ || !c->visible_) return false;
  }
  return true;
}

void Control::SetFocus() {
  if (!form_->Visible() || !CanFocus()) throw vb::Error::InvalidCall(name_);
  form_->MoveFocus(this);
}

void Control::On(Event event, Handler handler) {
  handlers_[static_cast<size_t>(event)] = std::move(handler);
}

void Control::Raise(Event event, EventArgs& args) {
  // Copies keep the handler and this control alive whatever the handler
  // does to the form (re-setting the handler, releasing the form).
  Handler handler = handlers_[static_cast<size_t>(event)];
  if (!handler) return;
  auto keep_alive = shared_from_this();
  handler(args);
}

void Control::Raise(Event event) {
  EventArgs args{*this};
  Raise(event, args);
}

void Control::Changed() { form_->NotifyControlChanged(*this); }

vb::Variant Control::Get(std::string_view name, object::Args args) {
  if (name.empty()) name = DefaultProperty();
  if (!args.empty()) ThrowNoSuchMember(name);
  vb::Variant own;
  if (GetOwn(name, own)) return own;
  if (SameName(name, "Name")) return name_;
  if (SameName(name, "Index")) {
    if (index_ < 0) throw vb::Error::Numbered(343, name_);  // not an array
    return vb::Variant::Integer(static_cast<int16_t>(index_));
  }
  if (SameName(name, "Left")) return Left();
  if (SameName(name, "Top")) return Top();
  if (SameName(name, "Width")) return Width();
  if (SameName(name, "Height")) return Height();
  if (SameName(name, "Enabled")) return enabled_;
  if (SameName(name, "Visible")) return visible_;
  if (SameName(name, "TabIndex")) return tab_index_;
  if (SameName(name, "TabStop")) return tab_stop_;
  if (SameName(name, "Tag")) return tag_;
  if (SameName(name, "FontName")) return font_.name;
  if (SameName(name, "FontSize")) return font_.size;
  if (SameName(name, "FontBold")) return font_.bold;
  ThrowNoSuchMember(name);
}

void Control::Let(std::string_view name, const vb::Variant& value, object::Args args) {
  if (name.empty()) name = DefaultProperty();
  if (!args.empty()) ThrowNoSuchMember(name);
  if (LetOwn(name, value)) return;
  if (SameName(name, "Left")) return Move(vb::CLng(value), Top(), Width(), Height());
  if (SameName(name, "Top")) return Move(Left(), vb::CLng(value), Width(), Height());
  if (SameName(name, "Width")) return Move(Left(), Top(), vb::CLng(value), Height());
  if (SameName(name, "Height")) return Move(Left(), Top(), Width(), vb::CLng(value));
  if (SameName(name, "Enabled")) return Enabled(vb::CBool(value));
  if (SameName(name, "Visible")) return Visible(vb::CBool(value));
  if (SameName(name, "TabIndex")) return TabIndex(vb::CLng(value));
  if (SameName(name, "TabStop")) return TabStop(vb::CBool(value));
  if (SameName(name, "Tag")) return Tag(vb::CStr(value));
  Font font = font_;
  if (SameName(name, "FontName")) {
    font.name = vb::CStr(value);
  } else if (SameName(name, "FontSize")) {
    font.size = vb::CDbl(value);
  } else if (SameName(name, "FontBold")) {
    font.bold = vb::CBool(value);
  } else {
    ThrowNoSuchMember(name);
  }
  SetFont(std::move(font));
}

vb::Variant Control::Call(std::string_view name, object::Args args) {
  if (SameName(name, "SetFocus") && args.empty()) {
    SetFocus();
    return {};
  }
  if (SameName(name, "Move") && !args.empty() && args.size() <= 4) {
    int32_t left = vb::CLng(args[0]);
    int32_t top = args.size() > 1 ? vb::CLng(args[1]) : Top();
    int32_t width = args.size() > 2 ? vb::CLng(args[2]) : Width();
    int32_t height = args.size() > 3 ? vb::CLng(args[3]) : Height();
    Move(left, top, width, height);
    return {};
  }
  // A property read with call syntax.
  return Get(name, args);
}

}  // namespace kvt::ui
