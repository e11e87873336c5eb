// Test helper: a fixture whose tests each start on a fresh thread store of
// the component and leave no user interface driver behind. `Base` is
// ::testing::Test, or TestWithParam<data::Backend> for suites that run on
// every backend.
#pragma once

#include <gtest/gtest.h>

#include "component/mod_publics.h"
#include "platform/ui/driver.h"

namespace kvt::test_support {

template <class Base = ::testing::Test>
class ThreadStoreTest : public Base {
 protected:
  void SetUp() override { component::ResetThreadStore(); }
  void TearDown() override {
    ui::SetDriver(nullptr);
    component::ResetThreadStore();
  }
};

}  // namespace kvt::test_support
