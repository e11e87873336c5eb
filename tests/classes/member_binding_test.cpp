// A member bound by its signature: the late-bound call converts each
// argument by the type the member takes, checks the count, and answers the
// member's result.
#include "classes/member_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/vb_error.h"

namespace kvt::classes {
namespace {

enum class Shade { kLight = 1, kDark = 2 };

struct Probe {
  std::string seen;
  std::string Join(int32_t count, double share, const std::string& text, bool flag, Shade shade) {
    seen = std::to_string(count) + "|" + vb::CStr(vb::Variant(share)) + "|" + text + "|" +
           (flag ? "T" : "F") + "|" + std::to_string(static_cast<int>(shade));
    return seen;
  }
  void Mark(uint8_t code, bool again) {
    seen = std::to_string(code) + (again ? " again" : " once");
  }
};

object::MemberTable<Probe> Table() {
  object::MemberTable<Probe> table("Probe", {"Join", "Mark"});
  BindCall(table, "Join", &Probe::Join);
  BindCall(table, "Mark", &Probe::Mark, 1);
  return table;
}

vb::Variant Call(Probe& probe, const char* name, std::vector<vb::Variant> args) {
  return Table().Invoke(probe, name, object::InvokeKind::kCall, args);
}

TEST(MemberBindingTest, ArgumentsConvertByTheMembersTypes) {
  Probe probe;
  // Text to Long rounds half to even; "2" to the enumeration; 0 to False.
  const vb::Variant answer = Call(probe, "Join",
                                  {vb::Variant("2.5"), vb::Variant(int32_t{1}), vb::Variant(42.0),
                                   vb::Variant(int32_t{0}), vb::Variant("2")});
  EXPECT_EQ(vb::CStr(answer), "2|1|42|F|2");
  // A void member answers Empty; a left-out optional takes its default.
  EXPECT_TRUE(Call(probe, "Mark", {vb::Variant(int32_t{7})}).IsEmpty());
  EXPECT_EQ(probe.seen, "7 once");
  Call(probe, "Mark", {vb::Variant(int32_t{7}), vb::Variant(true)});
  EXPECT_EQ(probe.seen, "7 again");
}

TEST(MemberBindingTest, AWrongCountOrAnUnconvertibleArgumentRaises) {
  Probe probe;
  const struct {
    const char* name;
    std::vector<vb::Variant> args;
    int32_t error;
  } cases[] = {
      {"Mark", {}, 450},
      {"Mark", {vb::Variant(int32_t{1}), vb::Variant(true), vb::Variant(true)}, 450},
      {"Join", {vb::Variant(int32_t{1})}, 450},
      {"Mark", {vb::Variant(int32_t{256})}, 6},  // past a Byte
      {"Mark", {vb::Variant("x")}, 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " with " + std::to_string(c.args.size()));
    EXPECT_EQ(test_support::ErrorNumberOf([&] { Call(probe, c.name, c.args); }), c.error);
  }
}

}  // namespace
}  // namespace kvt::classes
