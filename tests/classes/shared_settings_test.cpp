#include <gtest/gtest.h>

#include <thread>

#include "component/mod_publics.h"
#include "kvt/CGRV.h"
#include "kvt/COrder.h"
#include "tests/support/thread_store_test.h"

namespace kvt {
namespace {

using component::ThreadStore;

using SharedSettingsTest = test_support::ThreadStoreTest<>;

TEST_F(SharedSettingsTest, ASettingWrittenThroughOneClassIsSeenByTheOther) {
  COrder order;
  CGRV grv;
  grv.ConnectionString("Provider=SQLite;Data Source=a.db");
  order.ConnectionString("Provider=SQLite;Data Source=b.db");
  order.CompanyID(3);
  grv.QtyDecimals(2);
  order.PriceDecimals(4);
  grv.PriceDecimals(3);  // last write wins
  order.UserID(17);
  const component::SharedSettings& s = ThreadStore().settings;
  EXPECT_EQ(s.connection_string, "Provider=SQLite;Data Source=b.db");
  EXPECT_EQ(s.company_id, 3);
  EXPECT_EQ(s.qty_decimals, 2);
  EXPECT_EQ(s.price_decimals, 3);
  EXPECT_EQ(s.user_id, 17);
}

TEST_F(SharedSettingsTest, EachThreadHasItsOwnStore) {
  COrder order;
  order.CompanyID(5);
  int seen_on_other_thread = -1;
  std::thread other([&] {
    CGRV grv;
    seen_on_other_thread = ThreadStore().settings.company_id;
    grv.CompanyID(9);
  });
  other.join();
  EXPECT_EQ(seen_on_other_thread, 0);
  EXPECT_EQ(ThreadStore().settings.company_id, 5);
}

TEST_F(SharedSettingsTest, mbIsCRNBelongsToTheInstance) {
  CGRV first;
  CGRV second;
  EXPECT_FALSE(first.mbIsCRN());
  first.mbIsCRN(true);
  EXPECT_TRUE(first.mbIsCRN());
  EXPECT_FALSE(second.mbIsCRN());
}

}  // namespace
}  // namespace kvt
