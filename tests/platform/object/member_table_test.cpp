#include "platform/object/member_table.h"

#include <gtest/gtest.h>

#include "tests/support/vb_error.h"

#include <stdexcept>

namespace kvt::object {
namespace {

struct Counter {
  int value = 0;
};

MemberTable<Counter> MakeTable() {
  MemberTable<Counter> table("Counter", {"Reset", "Value", "Total", "Bump"});
  table.Get("Value", [](Counter& c, Args) -> vb::Variant { return c.value; });
  table.Let("Value", [](Counter& c, Args args) { c.value = *args.back().get_if<int32_t>(); });
  table.Call("Bump", [](Counter& c, Args) -> vb::Variant { return ++c.value; });
  return table;
}

using kvt::test_support::ErrorNumberOf;

TEST(MemberTableTest, SlotsArePublishedPositionsWhateverIsBoundAndInvokeTakesEither) {
  MemberTable<Counter> table = MakeTable();
  EXPECT_EQ(table.SlotOf("Value"), 1);
  EXPECT_EQ(table.SlotOf("bump"), 3);  // names ignore case
  auto bound = table.Bound();
  ASSERT_EQ(bound.size(), 2u);
  EXPECT_EQ(bound[0], (std::pair<int32_t, std::string>{1, "Value"}));
  EXPECT_EQ(bound[1], (std::pair<int32_t, std::string>{3, "Bump"}));

  Counter counter;
  vb::Variant seven(7);
  table.Invoke(counter, "Value", InvokeKind::kLet, Args(&seven, 1));
  EXPECT_EQ(table.Invoke(counter, 1, InvokeKind::kGet, {}), vb::Variant(7));
  EXPECT_EQ(table.Invoke(counter, 3, InvokeKind::kCall, {}), vb::Variant(8));
}

TEST(MemberTableTest, RaisesThePlatformErrorsForWhatItCannotDo) {
  MemberTable<Counter> table = MakeTable();
  Counter counter;
  vb::Variant one(1);
  struct Case {
    const char* what;
    std::function<void()> action;
    int number;
  } cases[] = {
      {"unknown name", [&] { table.SlotOf("Missing"); }, 438},
      {"published but not bound", [&] { table.SlotOf("Total"); }, 438},
      {"slot past the end", [&] { table.Invoke(counter, 9, InvokeKind::kGet, {}); }, 438},
      {"negative slot", [&] { table.Invoke(counter, -1, InvokeKind::kGet, {}); }, 438},
      {"let on a method", [&] { table.Invoke(counter, 3, InvokeKind::kLet, Args(&one, 1)); }, 438},
      {"let without a value", [&] { table.Invoke(counter, 1, InvokeKind::kLet, {}); }, 450},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorNumberOf(c.action), c.number);
  }
}

TEST(MemberTableTest, BindingAnUnpublishedNameIsCaughtWhenTheTableIsBuilt) {
  MemberTable<Counter> table("Counter", {"Value"});
  EXPECT_THROW(table.Get("Valeu", [](Counter&, Args) { return vb::Variant(); }), std::logic_error);
}

TEST(AsObjectTest, NoObjectIsError91AndAPlainObjectIs438) {
  struct Plain : vb::Object {
    std::string TypeName() const override { return "Plain"; }
  };
  EXPECT_EQ(ErrorNumberOf([] { AsObject(vb::Variant()); }), 91);
  EXPECT_EQ(ErrorNumberOf([] { AsObject(vb::Variant(vb::ObjectRef())); }), 91);
  EXPECT_EQ(ErrorNumberOf([] { AsObject(vb::Variant(3)); }), 91);
  EXPECT_EQ(ErrorNumberOf([] { AsObject(vb::Variant(vb::ObjectRef(std::make_shared<Plain>()))); }),
            438);
}

}  // namespace
}  // namespace kvt::object
