// COrder's order-line members as a host uses them, with the order item
// dialog in the thread's shared slot. Lines added through them end to end
// are the order session's (StoryTest, DeskScreenTest).
#include <gtest/gtest.h>

#include "kvt/COrder.h"
#include "platform/value/error.h"
#include "tests/support/thread_store_test.h"
#include "tests/support/vb_error.h"

namespace kvt {
namespace {

class OrderLineMembersTest : public test_support::ThreadStoreTest<> {
 protected:
  COrder order_;
};

TEST_F(OrderLineMembersTest, PropertiesNeedTheDialogAndLoadIt) {
  EXPECT_FALSE(order_.IsEditFormLoaded());
  EXPECT_EQ(test_support::ErrorNumberOf([&] { order_.Order_Qty("3"); }), vb::err::kObjectNotSet);
  order_.LoadDetailForm();
  EXPECT_TRUE(order_.IsEditFormLoaded());
  order_.Product_ID(42);  // reaches the loaded dialog
  EXPECT_EQ(order_.Product_ID(), 42);
  order_.UnloadDetailForm();
  EXPECT_FALSE(order_.IsEditFormLoaded());
  EXPECT_EQ(test_support::ErrorNumberOf([&] { order_.Product_ID(); }), vb::err::kObjectNotSet);
}

}  // namespace
}  // namespace kvt
