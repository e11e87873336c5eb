#include "apps/kvt-host/access/roles.h"

#include <algorithm>

#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::access {

namespace {

struct ActionRule {
  Action action;
  const char* text;
  std::vector<Role> roles;
};

const std::vector<ActionRule>& ActionRules() {
  static const std::vector<ActionRule> rules = {
      {Action::kEditOrder, "edit orders", {Role::kBuyer}},
      {Action::kProcessOrder, "process orders", {Role::kBuyer}},
      {Action::kCloseOrder, "close orders", {Role::kBuyer}},
      {Action::kCancelOrder, "cancel orders", {Role::kBuyer}},
      {Action::kPrintOrder, "print orders", {Role::kBuyer}},
      {Action::kPostVoucher, "post vouchers", {Role::kClerk, Role::kAccountant}},
      {Action::kPostToOtherPeriod,
       "post to a period other than the current one",
       {Role::kAccountant}},
      {Action::kChangePostingRules, "change the posting rules", {Role::kAccountant}},
      {Action::kChangeSettings, "change the company's settings", {Role::kAdmin}},
      {Action::kManageUsers, "manage users and roles", {Role::kAdmin}},
      {Action::kResetDemo, "put the demo data back", {Role::kAdmin}},
  };
  return rules;
}

const ActionRule& RuleOf(Action action) {
  for (const ActionRule& rule : ActionRules()) {
    if (rule.action == action) return rule;
  }
  throw vb::Error::Numbered(vb::err::kInternalError, "Access");
}

std::string WithArticle(Role role) {
  const std::string name = role == Role::kAdmin ? "administrator" : RoleName(role);
  return (name[0] == 'a' ? "an " : "a ") + name;
}

}  // namespace

const char* RoleName(Role role) {
  switch (role) {
    case Role::kBuyer: return "buyer";
    case Role::kClerk: return "clerk";
    case Role::kAccountant: return "accountant";
    case Role::kAdmin: return "admin";
    case Role::kReader: return "reader";
  }
  return "";
}

std::optional<Role> RoleNamed(std::string_view name) {
  for (Role role : kAllRoles) {
    if (vb::SameText(name, RoleName(role))) return role;
  }
  return std::nullopt;
}

std::vector<Role> ParseRoles(const std::string& list) {
  std::vector<Role> roles;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string name = vb::Trim(list.substr(start, end - start));
    const std::optional<Role> role = RoleNamed(name);
    if (!role) {
      throw vb::Error(
          vb::err::kInvalidCall, "Access",
          "There is no role \"" + name + "\" (buyer, clerk, accountant, admin, reader).");
    }
    if (std::find(roles.begin(), roles.end(), *role) == roles.end()) roles.push_back(*role);
    start = end + 1;
  }
  return roles;
}

std::string RoleListText(const std::vector<Role>& roles) {
  std::string text;
  for (Role role : roles) text += (text.empty() ? "" : ",") + std::string(RoleName(role));
  return text;
}

const char* ActionText(Action action) { return RuleOf(action).text; }

const std::vector<Role>& RolesFor(Action action) { return RuleOf(action).roles; }

std::string Refusal(Action action, const std::string& user, const std::vector<Role>& held) {
  const ActionRule& rule = RuleOf(action);
  for (Role role : rule.roles) {
    if (std::find(held.begin(), held.end(), role) != held.end()) return {};
  }
  std::string who;
  for (size_t i = 0; i < rule.roles.size(); ++i) {
    who += (i == 0 ? "" : " or ") + WithArticle(rule.roles[i]);
  }
  return "Only " + who + " may " + rule.text + "; " + user +
         (held.empty() ? " holds no role." : " holds " + RoleListText(held) + ".");
}

}  // namespace kvt::access
