// The delivery dialog as a host meets it through COrder, with a scripted
// user clicking and typing in it.
#include <gtest/gtest.h>

#include <functional>

#include "component/mod_publics.h"
#include "kvt/COrder.h"
#include "platform/ui/controls.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/error.h"
#include "tests/support/thread_store_test.h"
#include "tests/support/vb_error.h"

namespace kvt {
namespace {

using ui::HeadlessDriver;

class DeliveryDetailsTest : public test_support::ThreadStoreTest<> {
 protected:
  // The dialog in the shared slot (the test looks; the host cannot).
  ui::Form& Dialog() {
    return *component::ThreadStore().Slot(component::DialogKind::kDelivery).instance;
  }
  std::string ActionCaption() { return Dialog().Ctl<ui::CommandButton>("cmdAction", 0).Caption(); }
  void ExpectClean() {
    EXPECT_TRUE(user_->Problems().empty())
        << (user_->Problems().empty() ? "" : user_->Problems().front());
  }

  std::shared_ptr<HeadlessDriver> user_ = std::make_shared<HeadlessDriver>();
  ui::ScopedDriver installed_{user_};
  COrder order_;
};

TEST_F(DeliveryDetailsTest, PendingChoiceRecaptionsTheActionButtonUntilCancelReloads) {
  std::string while_shown;
  user_
      ->Inspect([&](ui::Form& f) {
        while_shown = ActionCaption();
        EXPECT_EQ(f.Caption(), "Delivery Details");
      })
      .Click("optChoice(1)")
      .Inspect([&](ui::Form& f) {
        EXPECT_EQ(ActionCaption(), "&Save Order");
        // The option step hands the focus to the action button.
        EXPECT_EQ(f.ActiveControl(), &f.Ctl("cmdAction", 0));
      })
      .Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  ExpectClean();
  EXPECT_EQ(while_shown, "&Print");
  EXPECT_TRUE(order_.IsDeliveryFormLoaded());
  EXPECT_FALSE(order_.OrderNow());
  order_.Order_No("PO-0042");

  // Cancel unloads but keeps the instance; showing again reloads it with
  // the first choice and the values the host wrote.
  user_->Click("optChoice(1)").Click("cmdAction(1)");
  order_.ShowDeliveryForm();
  EXPECT_FALSE(order_.IsDeliveryFormLoaded());
  EXPECT_NE(component::ThreadStore().Slot(component::DialogKind::kDelivery).instance, nullptr);
  bool order_now_while_shown = false;
  user_->Inspect([&](ui::Form&) { order_now_while_shown = order_.OrderNow(); })
      .Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  EXPECT_TRUE(order_now_while_shown);
  EXPECT_TRUE(order_.OrderNow());
  EXPECT_EQ(order_.Order_No(), "PO-0042");
  EXPECT_EQ(ActionCaption(), "&Print");
}

TEST_F(DeliveryDetailsTest, DisablingAnOptionKeepsTheChoice) {
  order_.LoadDeliveryForm();
  order_.Process_Order_Enabled(false);
  EXPECT_FALSE(order_.Process_Order_Enabled());
  EXPECT_TRUE(order_.Save_Order_Enabled());
  user_->Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  ExpectClean();
  EXPECT_TRUE(order_.OrderNow());
}

TEST_F(DeliveryDetailsTest, PreviewIsTrueUnlessTheBoxIsCleared) {
  struct Case {
    int start;
    int clicks;
    bool preview;
  } cases[] = {
      // How a click moves the box is the form's rule, tested with it.
      {ui::vbUnchecked, 0, false},
      {ui::vbGrayed, 0, true},
      {ui::vbChecked, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " clicked " + std::to_string(c.clicks));
    component::ResetThreadStore();
    order_.LoadDeliveryForm();
    Dialog().Ctl<ui::CheckBox>("chkShow").Value(c.start);
    for (int i = 0; i < c.clicks; ++i) user_->Click("chkShow");
    user_->Click("cmdAction(0)");
    order_.ShowDeliveryForm();
    EXPECT_EQ(order_.Show_Report_Preview(), c.preview);
  }
}

TEST_F(DeliveryDetailsTest, PropertiesWithNoDialogRaise91ToTheCaller) {
  const std::vector<std::pair<const char*, std::function<void()>>> uses = {
      // One of each path: text and flag, read and write, and by name.
      {"Order_No", [&] { order_.Order_No(); }},
      {"Del_Address1=", [&] { order_.Del_Address1("x"); }},
      {"Process_Order_Enabled=", [&] { order_.Process_Order_Enabled(true); }},
      {"late-bound Del_Name", [&] { order_.Invoke("Del_Name", CallKind::kGet, {}); }},
  };
  for (bool after_unload : {false, true}) {
    if (after_unload) {
      order_.LoadDeliveryForm();
      order_.UnloadDeliveryForm();
    }
    for (const auto& [what, use] : uses) {
      SCOPED_TRACE(std::string(what) + (after_unload ? " after unload" : ""));
      EXPECT_EQ(test_support::ErrorNumberOf(use), vb::err::kObjectNotSet);
    }
  }
}

// The host's values show in the dialog and come back as the user left them.
TEST_F(DeliveryDetailsTest, TheHostCanDriveItAllByNameAndBySlot) {
  auto call = [&](const char* name, CallKind kind, vb::Variant value = {}) {
    if (kind == CallKind::kLet) {
      return order_.Invoke(name, kind, std::span<vb::Variant>(&value, 1));
    }
    return order_.Invoke(COrder::SlotOf(name), kind, {});
  };
  call("LoadDeliveryForm", CallKind::kCall);
  call("Del_Name", CallKind::kLet, vb::Variant("  Bay Stores "));
  call("Supplier_Name", CallKind::kLet, vb::Variant("Acme Supplies"));
  call("Save_Order_Enabled", CallKind::kLet, vb::Variant(0));
  std::string shown_supplier;
  user_->Inspect([&](ui::Form& f) { shown_supplier = f.Ctl<ui::Label>("lblDMethod", 2).Caption(); })
      .Replace("txtDelAddr(3)", "Durban")
      .Click("cmdAction(0)");
  call("ShowDeliveryForm", CallKind::kCall);
  EXPECT_EQ(shown_supplier, "Acme Supplies");
  EXPECT_EQ(call("IsDeliveryFormLoaded", CallKind::kGet), vb::Variant(true));
  EXPECT_EQ(call("del_name", CallKind::kGet), vb::Variant("Bay Stores"));
  EXPECT_EQ(call("Del_Address3", CallKind::kGet), vb::Variant("Durban"));
  EXPECT_EQ(call("Save_Order_Enabled", CallKind::kGet), vb::Variant(false));
  EXPECT_EQ(call("OrderNow", CallKind::kGet), vb::Variant(true));
  call("UnloadDeliveryForm", CallKind::kCall);
  EXPECT_EQ(call("IsDeliveryFormLoaded", CallKind::kGet), vb::Variant(false));
}

}  // namespace
}  // namespace kvt
