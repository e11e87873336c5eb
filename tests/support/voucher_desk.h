// Test helper: a scripted clerk at the host's voucher sessions on a demo
// database of its own, with the component's thread store reset around each
// test. `Base` is ::testing::Test, or TestWithParam<data::Backend> for
// suites that run on every backend.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/kvt-host/sessions/voucher_session.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/thread_store_test.h"

namespace kvt::test_support {

template <class Base = ::testing::Test>
class VoucherDeskTest : public ThreadStoreTest<Base> {
 protected:
  explicit VoucherDeskTest(const std::string& stem, data::Backend backend = data::Backend::kSQLite)
      : db_(stem, backend) {}

  // A session of `type` for `supplier`, on source `source`, as the demo's
  // clerk (user 2).
  std::unique_ptr<host::VoucherSession> Open(posting::TransactionType type, int32_t supplier,
                                             int32_t source) {
    host::HostContext clerk;
    clerk.connection_text = db_.ConnectionText();
    clerk.user_id = 2;
    auto session = std::make_unique<host::VoucherSession>(clerk, type);
    session->ChooseSupplier(supplier);
    session->ChooseSource(source);
    return session;
  }
  // A fresh clerk for the next call; what they saw afterwards in user_.
  ui::HeadlessDriver& Clerk() {
    user_ = std::make_shared<ui::HeadlessDriver>();
    ui::SetDriver(user_);
    return *user_;
  }
  // The prompts the last clerk saw; they met no script problem.
  std::vector<std::string> Seen() const {
    std::vector<std::string> prompts;
    for (const auto& message : user_->Messages()) prompts.push_back(message.prompt);
    EXPECT_TRUE(user_->Problems().empty()) << user_->Problems().front();
    return prompts;
  }
  static void TypeQty(ui::HeadlessDriver& clerk, const std::string& qty) {
    clerk.Replace("txtODEdit(0)", qty).Press(ui::vbKeyReturn).Click("cmdAction(0)");
  }
  // The first column of the first row of `sql`; Null counts 0.
  double Number(const std::string& sql) {
    const vb::Variant value = connection_->Query(sql)->Item(0).Value();
    return value.IsNull() ? 0 : vb::CDbl(value);
  }

  // Takes each (source line, quantity) onto a voucher of `type` against
  // `source` and saves it, with the supplier's document `document` when
  // not empty. The posted voucher's ID; 0 when it was not posted.
  struct Take {
    int32_t line;
    const char* qty;
  };
  int32_t Post(posting::TransactionType type, int32_t supplier, int32_t source,
               const std::vector<Take>& takes, const std::string& document = "") {
    auto session = Open(type, supplier, source);
    for (const Take& take : takes) {
      TypeQty(Clerk(), take.qty);
      EXPECT_TRUE(session->ReceiveLine(take.line)) << take.line;
    }
    ui::HeadlessDriver& clerk = Clerk();
    if (document.empty()) {
      clerk.Click("optSaveGRV(0)");
    } else {
      clerk.Click("optSaveGRV(1)").Replace("txtGRV(0)", document);
    }
    clerk.Click("cmdDo(1)").Answer(ui::vbYes);
    const auto posted = session->Save();
    return posted ? posted->voucher_id : 0;
  }

  TempDemoDatabase db_;
  data::ConnectionRef connection_ = db_.Open();
  std::shared_ptr<ui::HeadlessDriver> user_;
};

}  // namespace kvt::test_support
