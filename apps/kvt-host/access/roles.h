// The five roles a person may hold and the actions each allows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvt::access {

enum class Role { kBuyer, kClerk, kAccountant, kAdmin, kReader };

inline constexpr Role kAllRoles[] = {Role::kBuyer, Role::kClerk, Role::kAccountant, Role::kAdmin,
                                     Role::kReader};

// "buyer", "clerk", "accountant", "admin", "reader": the names users and
// the database use.
const char* RoleName(Role role);
// The role named `name` (any case), or nothing.
std::optional<Role> RoleNamed(std::string_view name);
// "buyer,clerk" as roles, each once. Raises 5 (Invalid procedure call)
// naming an unknown role, and for an empty list.
std::vector<Role> ParseRoles(const std::string& list);
// "buyer,clerk" of `roles`.
std::string RoleListText(const std::vector<Role>& roles);

enum class Action {
  kEditOrder,  // create, edit and save an order
  kProcessOrder,
  kCloseOrder,
  kCancelOrder,
  kPrintOrder,
  kPostVoucher,  // goods received, returned, consignment, sales
  kPostToOtherPeriod,
  kChangePostingRules,
  kChangeSettings,
  kManageUsers,
  kResetDemo,
};

// "edit orders", for "Only a buyer may edit orders."
const char* ActionText(Action action);
// The roles that may do `action`.
const std::vector<Role>& RolesFor(Action action);
// Why someone holding `held` may not do `action`: "Only a buyer may edit
// orders; dana holds clerk." Empty when they may.
std::string Refusal(Action action, const std::string& user, const std::vector<Role>& held);

}  // namespace kvt::access
