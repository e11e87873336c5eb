#include "platform/script/builtins.h"

#include <algorithm>
#include <vector>

#include "platform/script/array_builtins.h"
#include "platform/script/builtin_support.h"
#include "platform/script/conversion_builtins.h"
#include "platform/script/date_builtins.h"
#include "platform/script/math_builtins.h"
#include "platform/script/string_builtins.h"
#include "platform/script/type_builtins.h"

namespace kvt::script {
namespace {

bool NameLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const char x = UpperAscii(a[i]);
    const char y = UpperAscii(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

// Every group's functions in one table, sorted once for a binary search.
const std::vector<Builtin>& Table() {
  static const std::vector<Builtin> table = [] {
    std::vector<Builtin> entries;
    for (BuiltinTable group : {StringBuiltins(), MathBuiltins(), ConversionBuiltins(),
                               TypeBuiltins(), DateBuiltins(), ArrayBuiltins()}) {
      entries.insert(entries.end(), group.begin(), group.end());
    }
    std::sort(entries.begin(), entries.end(),
              [](const Builtin& a, const Builtin& b) { return NameLess(a.name, b.name); });
    return entries;
  }();
  return table;
}

}  // namespace

const Builtin* FindBuiltin(std::string_view name) {
  const std::vector<Builtin>& table = Table();
  const auto it = std::lower_bound(
      table.begin(), table.end(), name,
      [](const Builtin& entry, std::string_view key) { return NameLess(entry.name, key); });
  if (it == table.end() || !SameName(name, it->name)) return nullptr;
  return &*it;
}

bool IsObjectFactory(std::string_view name) {
  return SameName(name, "CreateObject") || SameName(name, "GetObject");
}

}  // namespace kvt::script
