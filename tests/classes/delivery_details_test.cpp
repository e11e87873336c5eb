// The delivery dialog as a host meets it through COrder, with a scripted
// user clicking and typing in it.
#include <gtest/gtest.h>

#include <functional>

#include "component/mod_publics.h"
#include "kvt/COrder.h"
#include "platform/ui/controls.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/error.h"

namespace kvt {
namespace {

using ui::HeadlessDriver;

class DeliveryDetailsTest : public ::testing::Test {
 protected:
  void SetUp() override { component::ResetThreadStore(); }
  void TearDown() override { component::ResetThreadStore(); }

  // The dialog in the shared slot (the test looks; the host cannot).
  ui::Form& Dialog() {
    return *component::ThreadStore().Slot(component::DialogKind::kDelivery).instance;
  }
  std::string ActionCaption() {
    return Dialog().Ctl<ui::CommandButton>("cmdAction", 0).Caption();
  }
  void ExpectClean() {
    EXPECT_TRUE(user_->Problems().empty())
        << (user_->Problems().empty() ? "" : user_->Problems().front());
  }

  std::shared_ptr<HeadlessDriver> user_ = std::make_shared<HeadlessDriver>();
  ui::ScopedDriver installed_{user_};
  COrder order_;
};

TEST_F(DeliveryDetailsTest, ShowsItsControlsWithTheirExactCaptions) {
  order_.LoadDeliveryForm();
  EXPECT_EQ(Dialog().Caption(), "Delivery Details");
  struct Expected {
    const char* name;
    int index;
    const char* caption;
  } captions[] = {
      {"lblDelDetails", -1, " Delivery Details "}, {"lblDelivery", 0, "Order No"},
      {"lblDelivery", 2, "Date Ordered "}, {"lblDelivery", 3, "Supplier"},
      {"lblDelivery", 4, "Created by"}, {"lblOrders", 0, "Deliver to:"},
      {"lblOrders", 6, "Name"}, {"lblOrders", 7, "Address 1"},
      {"lblOrders", 8, "Address 2"}, {"lblOrders", 2, "Address 3"},
      {"lblOrders", 1, "Post Code"},
      {"optChoice", 0, "Save Order now and Print Order"},
      {"optChoice", 1, "Save as a Pending Order"}, {"chkShow", -1, "Show Preview"},
      {"cmdAction", 0, "&Print"}, {"cmdAction", 1, "&Cancel"},
  };
  for (const Expected& e : captions) {
    SCOPED_TRACE(std::string(e.name) + "(" + std::to_string(e.index) + ")");
    EXPECT_EQ(Dialog().Ctl(e.name, e.index).Get("Caption"), vb::Variant(e.caption));
  }
  const ui::Font& heading = Dialog().Ctl("lblDelDetails").GetFont();
  EXPECT_EQ(heading.name, "Tahoma");
  EXPECT_EQ(heading.size, 18);
  EXPECT_TRUE(heading.bold);
  EXPECT_EQ(Dialog().Indexes("txtDelAddr"), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Dialog().Indexes("lblDMethod"), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(DeliveryDetailsTest, PendingChoiceRecaptionsTheActionButton) {
  std::string while_shown;
  user_->Inspect([&](ui::Form&) { while_shown = ActionCaption(); })
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
  user_->Click("optChoice(0)").Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  EXPECT_EQ(ActionCaption(), "&Print");
  EXPECT_TRUE(order_.OrderNow());
}

TEST_F(DeliveryDetailsTest, EitherButtonTrimsTheAddressAndOnlyTheActionKeepsItLoaded) {
  for (int button : {0, 1}) {
    SCOPED_TRACE(button);
    component::ResetThreadStore();
    order_.LoadDeliveryForm();
    order_.Del_Address1("  12 Main Road ");
    order_.Del_PostCode("\t8001 ");
    user_->Type("txtDelAddr(0)", "  Acme Ltd  ")
        .Click("cmdAction(" + std::to_string(button) + ")");
    order_.ShowDeliveryForm();
    ExpectClean();
    EXPECT_EQ(order_.IsDeliveryFormLoaded(), button == 0);
    EXPECT_EQ(order_.Del_Name(), "Acme Ltd");
    EXPECT_EQ(order_.Del_Address1(), "12 Main Road");
    EXPECT_EQ(order_.Del_PostCode(), "\t8001");  // blanks only, not tabs
    EXPECT_EQ(order_.Del_Address2(), "");
  }
}

TEST_F(DeliveryDetailsTest, ShowingAgainAfterCancelReloadsWithTheFirstChoice) {
  order_.LoadDeliveryForm();
  order_.Order_No("PO-0042");
  user_->Click("optChoice(1)").Click("cmdAction(1)");
  order_.ShowDeliveryForm();
  EXPECT_FALSE(order_.IsDeliveryFormLoaded());
  EXPECT_NE(component::ThreadStore().Slot(component::DialogKind::kDelivery).instance,
            nullptr);

  bool order_now_while_shown = false;
  user_->Inspect([&](ui::Form&) { order_now_while_shown = order_.OrderNow(); })
      .Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  EXPECT_TRUE(order_now_while_shown);
  EXPECT_TRUE(order_.IsDeliveryFormLoaded());
  EXPECT_EQ(order_.Order_No(), "PO-0042");
  EXPECT_EQ(ActionCaption(), "&Print");
}

TEST_F(DeliveryDetailsTest, DisablingAnOptionKeepsTheChoice) {
  struct Case {
    const char* what;
    std::vector<std::string> clicks;
    bool order_now;
  } cases[] = {
      {"user leaves it", {}, true},
      {"user clicks the disabled option", {"optChoice(0)"}, true},
      {"user picks pending", {"optChoice(1)"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    component::ResetThreadStore();
    order_.LoadDeliveryForm();
    order_.Process_Order_Enabled(false);
    EXPECT_FALSE(order_.Process_Order_Enabled());
    EXPECT_TRUE(order_.Save_Order_Enabled());
    EXPECT_TRUE(order_.OrderNow());
    for (const auto& click : c.clicks) user_->Click(click);
    user_->Click("cmdAction(0)");
    order_.ShowDeliveryForm();
    ExpectClean();
    EXPECT_EQ(order_.OrderNow(), c.order_now);
  }
}

TEST_F(DeliveryDetailsTest, PreviewIsTrueUnlessTheBoxIsCleared) {
  struct Case {
    int start;
    int clicks;
    bool preview;
  } cases[] = {
      {ui::vbUnchecked, 0, false}, {ui::vbUnchecked, 1, true},
      {ui::vbGrayed, 0, true},     {ui::vbGrayed, 1, true},
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

TEST_F(DeliveryDetailsTest, HostValuesShowInTheDialogAndComeBackAsTheUserLeftThem) {
  order_.LoadDeliveryForm();
  order_.Order_No("PO-7");
  order_.Date_Ordered("06/12/2026");
  order_.Supplier_Name("Acme Supplies");
  order_.Created_By("dana");
  order_.Del_Address2("Industria");
  order_.Del_Address3("Cape Town");
  std::string shown_supplier;
  user_->Inspect([&](ui::Form& f) {
         shown_supplier = f.Ctl<ui::Label>("lblDMethod", 2).Caption();
       })
      .Replace("txtDelAddr(3)", "Durban")
      .Click("cmdAction(0)");
  order_.ShowDeliveryForm();
  EXPECT_EQ(shown_supplier, "Acme Supplies");
  EXPECT_EQ(order_.Order_No(), "PO-7");
  EXPECT_EQ(order_.Date_Ordered(), "06/12/2026");
  EXPECT_EQ(order_.Created_By(), "dana");
  EXPECT_EQ(order_.Del_Address2(), "Industria");
  EXPECT_EQ(order_.Del_Address3(), "Durban");
}

TEST_F(DeliveryDetailsTest, PropertiesWithNoDialogRaise91ToTheCaller) {
  const std::vector<std::pair<const char*, std::function<void()>>> uses = {
      {"Order_No", [&] { order_.Order_No(); }},
      {"Order_No=", [&] { order_.Order_No("x"); }},
      {"Date_Ordered", [&] { order_.Date_Ordered(); }},
      {"Supplier_Name", [&] { order_.Supplier_Name(); }},
      {"Created_By=", [&] { order_.Created_By("x"); }},
      {"Del_Name", [&] { order_.Del_Name(); }},
      {"Del_Address1=", [&] { order_.Del_Address1("x"); }},
      {"Del_Address2", [&] { order_.Del_Address2(); }},
      {"Del_Address3", [&] { order_.Del_Address3(); }},
      {"Del_PostCode=", [&] { order_.Del_PostCode("x"); }},
      {"Process_Order_Enabled=", [&] { order_.Process_Order_Enabled(true); }},
      {"Save_Order_Enabled", [&] { order_.Save_Order_Enabled(); }},
      {"OrderNow", [&] { order_.OrderNow(); }},
      {"Show_Report_Preview", [&] { order_.Show_Report_Preview(); }},
      {"late-bound Del_Name", [&] { order_.Invoke("Del_Name", CallKind::kGet, {}); }},
  };
  for (bool after_unload : {false, true}) {
    if (after_unload) {
      order_.LoadDeliveryForm();
      order_.UnloadDeliveryForm();
    }
    for (const auto& [what, use] : uses) {
      SCOPED_TRACE(std::string(what) + (after_unload ? " after unload" : ""));
      try {
        use();
        ADD_FAILURE() << "no error";
      } catch (const vb::Error& error) {
        EXPECT_EQ(error.number(), 91);
      }
    }
  }
}

TEST_F(DeliveryDetailsTest, TheHostCanDriveItAllByNameAndBySlot) {
  auto call = [&](const char* name, CallKind kind, vb::Variant value = {}) {
    if (kind == CallKind::kLet) {
      return order_.Invoke(name, kind, std::span<vb::Variant>(&value, 1));
    }
    return order_.Invoke(COrder::SlotOf(name), kind, {});
  };
  call("LoadDeliveryForm", CallKind::kCall);
  call("Del_Name", CallKind::kLet, vb::Variant("  Bay Stores "));
  call("Save_Order_Enabled", CallKind::kLet, vb::Variant(0));
  user_->Click("cmdAction(0)");
  call("ShowDeliveryForm", CallKind::kCall);
  EXPECT_EQ(call("IsDeliveryFormLoaded", CallKind::kGet), vb::Variant(true));
  EXPECT_EQ(call("del_name", CallKind::kGet), vb::Variant("Bay Stores"));
  EXPECT_EQ(call("Save_Order_Enabled", CallKind::kGet), vb::Variant(false));
  EXPECT_EQ(call("OrderNow", CallKind::kGet), vb::Variant(true));
  call("UnloadDeliveryForm", CallKind::kCall);
  EXPECT_EQ(call("IsDeliveryFormLoaded", CallKind::kGet), vb::Variant(false));
}

}  // namespace
}  // namespace kvt
