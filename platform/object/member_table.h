// kvt::object::MemberTable — the late-bound face of a class: its members by
// name and by slot, in the class's published slot order.
//
// The published order is the class's interface definition and is given in
// full up front; members are bound to it as their behaviour exists. A slot
// keeps its number whether or not the members before it are bound yet, so a
// host that calls by slot never sees numbers shift. Property Get and Let of
// one member share its slot.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object/object.h"
#include "platform/value/error.h"

namespace kvt::object {

enum class InvokeKind : uint8_t { kGet, kLet, kSet, kCall };

template <class Self>
class MemberTable {
 public:
  using Getter = std::function<vb::Variant(Self&, Args)>;
  // The value written is the last argument (args.back()).
  using Writer = std::function<void(Self&, Args)>;
  using Caller = std::function<vb::Variant(Self&, Args)>;

  // `type_name` is the error source; `published` names every member of the
  // class in slot order (slot numbers are positions in it, from 0).
  MemberTable(std::string type_name, std::vector<std::string> published)
      : type_name_(std::move(type_name)) {
    for (auto& name : published) {
      Member member;
      member.name = std::move(name);
      members_.push_back(std::move(member));
    }
  }

  // Binding a name that is not published is a programming error and throws
  // std::logic_error when the table is built.
  MemberTable& Get(std::string_view name, Getter fn) {
    Find(name).get = std::move(fn);
    return *this;
  }
  MemberTable& Let(std::string_view name, Writer fn) {
    Find(name).let = std::move(fn);
    return *this;
  }
  MemberTable& Set(std::string_view name, Writer fn) {
    Find(name).set = std::move(fn);
    return *this;
  }
  MemberTable& Call(std::string_view name, Caller fn) {
    Find(name).call = std::move(fn);
    return *this;
  }

  // Slot of a bound member; raises 438 when the class has no such member.
  int32_t SlotOf(std::string_view name) const {
    for (size_t slot = 0; slot < members_.size(); ++slot) {
      if (SameName(members_[slot].name, name) && members_[slot].Bound()) {
        return static_cast<int32_t>(slot);
      }
    }
    throw vb::Error::NoSuchMember(type_name_, std::string(name));
  }

  // Bound members as (slot, name), in slot order.
  std::vector<std::pair<int32_t, std::string>> Bound() const {
    std::vector<std::pair<int32_t, std::string>> result;
    for (size_t slot = 0; slot < members_.size(); ++slot) {
      if (members_[slot].Bound()) {
        result.emplace_back(static_cast<int32_t>(slot), members_[slot].name);
      }
    }
    return result;
  }

  // Runs member `slot` as `kind`. Raises 438 when the slot is unbound or the
  // member does not support that kind (a Let on a read-only property), 450
  // when a Let or Set comes without a value; whatever the member raises
  // passes through.
  vb::Variant Invoke(Self& self, int32_t slot, InvokeKind kind, Args args) const {
    if (slot < 0 || static_cast<size_t>(slot) >= members_.size()) {
      throw vb::Error::NoSuchMember(type_name_, "slot " + std::to_string(slot));
    }
    const Member& member = members_[static_cast<size_t>(slot)];
    switch (kind) {
      case InvokeKind::kGet:
        // A method without arguments can be read like a property.
        if (member.get) return member.get(self, args);
        if (member.call) return member.call(self, args);
        break;
      case InvokeKind::kCall:
        if (member.call) return member.call(self, args);
        if (member.get) return member.get(self, args);
        break;
      case InvokeKind::kLet:
      case InvokeKind::kSet: {
        const Writer& writer = kind == InvokeKind::kLet ? member.let : member.set;
        if (!writer) break;
        if (args.empty()) {
          throw vb::Error::Numbered(vb::err::kWrongArgumentCount, type_name_);
        }
        writer(self, args);
        return {};
      }
    }
    throw vb::Error::NoSuchMember(type_name_, member.name);
  }

  vb::Variant Invoke(Self& self, std::string_view name, InvokeKind kind, Args args) const {
    return Invoke(self, SlotOf(name), kind, args);
  }

 private:
  struct Member {
    std::string name;
    Getter get;
    Writer let;
    Writer set;
    Caller call;
    bool Bound() const { return get || let || set || call; }
  };

  Member& Find(std::string_view name) {
    for (Member& member : members_) {
      if (SameName(member.name, name)) return member;
    }
    throw std::logic_error(type_name_ + " publishes no member " + std::string(name));
  }

  std::string type_name_;
  std::vector<Member> members_;
};

}  // namespace kvt::object
