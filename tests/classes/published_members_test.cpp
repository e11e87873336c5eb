// The late-bound slot order of the public classes: every published member
// is bound at its position, so a host calling by slot reaches the member it
// means.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classes/published_members.h"
#include "kvt/CGRV.h"
#include "kvt/COrder.h"
#include "platform/value/error.h"
#include "tests/support/vb_error.h"

namespace kvt {
namespace {

// Every member of a class's published list is bound, at its position.
template <class Class>
void ExpectEveryPublishedMemberBound(const std::vector<std::string>& published) {
  for (size_t slot = 0; slot < published.size(); ++slot) {
    SCOPED_TRACE(published[slot]);
    int32_t found = -1;
    EXPECT_EQ(test_support::ErrorNumberOf([&] { found = Class::SlotOf(published[slot]); }), 0);
    EXPECT_EQ(found, static_cast<int32_t>(slot));
  }
}

// A host binds by slot, so the lists themselves are pinned by anchors
// spread over them: a member inserted, dropped or moved across one moves it
// (and the misspelt HideDeliveyForm stays as published). What a name or
// slot without a member raises is the member table's.
TEST(PublishedMembersTest, MembersSitAtTheirPublishedSlots) {
  ExpectEveryPublishedMemberBound<COrder>(classes::COrderPublishedMembers());
  ExpectEveryPublishedMemberBound<CGRV>(classes::CGRVPublishedMembers());
  const std::pair<const char*, int32_t> order[] = {
      {"ConnectionString", 0}, {"Last_Cost", 13},          {"Tax_Code", 31},
      {"HideDeliveyForm", 38}, {"AddOrderDetailToRS", 58}, {"PriceDecimals", 68}};
  for (const auto& [name, slot] : order) EXPECT_EQ(COrder::SlotOf(name), slot) << name;
  const std::pair<const char*, int32_t> grv[] = {
      {"ConnectionString", 0},       {"Acc_Period_Year", 14},       {"Tax_Code_ID", 30},
      {"CalculateHeaderTotals", 54}, {"AssignAllForCRVAdding", 66}, {"Price1", 68}};
  for (const auto& [name, slot] : grv) EXPECT_EQ(CGRV::SlotOf(name), slot) << name;
  EXPECT_EQ(classes::COrderPublishedMembers().size(), 69u);
  EXPECT_EQ(classes::CGRVPublishedMembers().size(), 69u);
}

}  // namespace
}  // namespace kvt
