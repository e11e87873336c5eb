#include <gtest/gtest.h>

#include "tests/support/vb_error.h"

#include <functional>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/value/error.h"
#include "test_form.h"

namespace kvt::ui {
namespace {

using testing::LoggingForm;

using kvt::test_support::ErrorNumberOf;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_shared<LoggingForm>();
    form_->Load();
  }
  // Shown without a modal loop, so the test acts as the user.
  void ShowModeless() {
    form_->Show(vbModeless);
    form_->TakeLog();
  }
  TextBox& Field(int i) { return form_->Ctl<TextBox>("txtField", i); }
  std::string ActiveName() {
    Control* c = form_->ActiveControl();
    if (c == nullptr) return "none";
    return c->IsArrayElement() ? c->Name() + "(" + std::to_string(c->Index()) + ")" : c->Name();
  }

  std::shared_ptr<LoggingForm> form_;
};

TEST_F(FormTest, ChangeComesOncePerEditAndOnlyWhenTheValueChanges) {
  Field(0).Text("abc");
  Field(0).Text("abc");
  Field(0).Text("");
  Field(0).Text("old");
  EXPECT_EQ(form_->TakeLog(), "txtField(0).Change txtField(0).Change txtField(0).Change");
  ShowModeless();
  form_->UserReplaceText(Field(0), "new");
  EXPECT_EQ(Field(0).Text(), "new");
  EXPECT_EQ(form_->TakeLog(), "txtField(0).Change");
}

TEST_F(FormTest, SelectingAnOptionClearsItsGroupAndClicksEvenIfSelected) {
  auto& first = form_->Ctl<OptionButton>("optGroup", 0);
  auto& second = form_->Ctl<OptionButton>("optGroup", 1);
  first.Value(true);
  second.Value(true);
  EXPECT_FALSE(first.Value());
  second.Value(true);
  EXPECT_EQ(form_->TakeLog(), "optGroup(0).Click optGroup(1).Click optGroup(1).Click");
}

TEST_F(FormTest, CheckBoxTakesThreeValuesAndTheUserTogglesGreyToChecked) {
  auto& check = form_->Ctl<CheckBox>("chkFlag");
  EXPECT_EQ(ErrorNumberOf([&] { check.Value(3); }), 380);
  EXPECT_EQ(ErrorNumberOf([&] { check.Let("Value", vb::Variant(true)); }), 380);
  check.Value(vbGrayed);
  ShowModeless();
  form_->UserClick(check);
  EXPECT_EQ(check.Value(), vbChecked);
  form_->UserClick(check);
  EXPECT_EQ(check.Value(), vbUnchecked);
}

TEST_F(FormTest, ShowingFocusesTheFirstTabStopAndTabMovesItInEventOrder) {
  form_->Show(vbModeless);
  EXPECT_EQ(ActiveName(), "txtField(0)");
  form_->UserKey(vbKeyTab);
  EXPECT_EQ(form_->TakeLog(),
            "txtField(0).GotFocus txtField(0).Validate txtField(0).LostFocus "
            "txtField(1).GotFocus");
  form_->SendKeys("{TAB}{TAB}+{TAB}");  // Tab sent by code moves it too
  EXPECT_EQ(ActiveName(), "txtField(2)");
}

TEST_F(FormTest, TabWalksTheTabOrderSkippingWhatCannotTakeFocus) {
  form_->Ctl<OptionButton>("optGroup", 1).Value(true);
  Field(1).Enabled(false);
  form_->Ctl("chkFlag").Visible(false);
  ShowModeless();
  // Labels, the disabled and hidden controls and the unselected option are
  // passed over; the order wraps round.
  const char* expected[] = {"txtField(2)", "optGroup(1)", "cmdGo(0)",
                            "cmdGo(1)",    "dbcList",     "txtField(0)"};
  for (const char* name : expected) {
    SCOPED_TRACE(name);
    form_->UserKey(vbKeyTab);
    EXPECT_EQ(ActiveName(), name);
  }
  form_->UserKey(vbKeyTab, vbShiftMask);
  EXPECT_EQ(ActiveName(), "dbcList");
}

TEST_F(FormTest, CancelledValidateKeepsFocusAndSwallowsTheClick) {
  ShowModeless();
  form_->refuse_validate_of_first = true;
  form_->UserClick(form_->Ctl("cmdGo", 0));
  EXPECT_EQ(ActiveName(), "txtField(0)");
  EXPECT_EQ(form_->TakeLog(), "txtField(0).Validate");
}

TEST_F(FormTest, SetFocusFailsWithError5WhereThePlatformRefuses) {
  // Hidden form (loaded, never shown).
  EXPECT_EQ(ErrorNumberOf([&] { Field(0).SetFocus(); }), 5);
  ShowModeless();
  Field(2).Enabled(false);
  EXPECT_EQ(ErrorNumberOf([&] { Field(2).SetFocus(); }), 5);
  EXPECT_EQ(ErrorNumberOf([&] { form_->Ctl("lblTitle").SetFocus(); }), 5);
  EXPECT_EQ(ErrorNumberOf([&] { Field(1).SetFocus(); }), 0);
  EXPECT_EQ(ActiveName(), "txtField(1)");
}

TEST_F(FormTest, TypingRaisesChangePerCharacterAndKeyPressMaySwallowIt) {
  ShowModeless();
  form_->swallow_digits = true;
  form_->UserType("a1b");
  EXPECT_EQ(Field(0).Text(), "ab");
  EXPECT_EQ(form_->TakeLog(), "txtField(0).Change txtField(0).Change");
  form_->UserKey(vbKeyBack);
  EXPECT_EQ(Field(0).Text(), "a");
}

TEST_F(FormTest, EnterAndEscapeClickTheirButtonsAndADisabledOneIgnoresClicks) {
  ShowModeless();
  form_->UserKey(vbKeyReturn);
  form_->UserKey(vbKeyEscape);
  EXPECT_EQ(form_->TakeLog(), "cmdGo(0).Click cmdGo(1).Click");
  EXPECT_EQ(ActiveName(), "txtField(0)");
  form_->Ctl("cmdGo", 0).Enabled(false);
  form_->UserClick(form_->Ctl("cmdGo", 0));
  EXPECT_EQ(form_->TakeLog(), "");
}

TEST_F(FormTest, LateBindingReachesControlArraysAndRaisesPlatformErrors) {
  auto array = object::AsObject(form_->Get("txtField"));
  EXPECT_EQ(array->Get("Count"), vb::Variant(3));
  EXPECT_EQ(array->Get("UBound"), vb::Variant(2));
  array->Item(2)->Let("Text", vb::Variant("typed"));
  EXPECT_EQ(Field(2).Text(), "typed");
  vb::Variant index(1);
  form_->Let("txtField", vb::Variant("default"), object::Args(&index, 1));
  EXPECT_EQ(Field(1).Text(), "default");
  EXPECT_EQ(object::GetProperty(form_->Get("lblTitle"), ""), vb::Variant("Title"));

  EXPECT_EQ(ErrorNumberOf([&] { array->Item(7); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { form_->Ctl("txtField"); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { form_->Get("txtNothing"); }), 438);
  EXPECT_EQ(ErrorNumberOf([&] { Field(0).Get("Caption"); }), 438);
  EXPECT_EQ(ErrorNumberOf([&] { form_->Ctl<CheckBox>("lblTitle"); }), 13);
}

TEST_F(FormTest, UnloadKeepsTheValuesAndOnlyLoadRunsTheLoadHandlingAgain) {
  ShowModeless();
  Field(0).Text("typed");
  form_->Unload();
  EXPECT_FALSE(form_->Loaded());
  EXPECT_FALSE(form_->Visible());
  EXPECT_EQ(Field(0).Text(), "typed");  // reaching a control does not load
  EXPECT_FALSE(form_->Loaded());
  EXPECT_EQ(form_->loads, 1);
  form_->Load();
  EXPECT_EQ(form_->loads, 2);

  // Unloading from a click handler is safe.
  ShowModeless();
  form_->Ctl("cmdGo", 1).On(Event::kClick, [this](EventArgs& args) {
    form_->Unload();
    // The control raising the event outlives the unload.
    args.control.Tag("after unload");
  });
  form_->UserKey(vbKeyEscape);
  EXPECT_FALSE(form_->Loaded());
}

TEST_F(FormTest, ControlsInAFrameAreLaidOutAndGroupedByIt) {
  class FramedForm : public Form {
   public:
    FramedForm() : Form("frmFramed") {}

   protected:
    void Build() override {
      auto& frame = Add<Frame>("fraChoice");
      frame.Move(100, 200, 3000, 1000);
      auto& inside = Add<OptionButton>("optInside");
      inside.Container(&frame);
      inside.Move(50, 60, 1000, 255);
      Add<OptionButton>("optOutside");
    }
  };
  auto form = std::make_shared<FramedForm>();
  auto& inside = form->Ctl<OptionButton>("optInside");
  auto& outside = form->Ctl<OptionButton>("optOutside");
  EXPECT_EQ(inside.FormLeft(), 150);
  EXPECT_EQ(inside.FormTop(), 260);
  inside.Value(true);
  outside.Value(true);
  EXPECT_TRUE(inside.Value());  // another container, another group
  form->Ctl("fraChoice").Enabled(false);
  EXPECT_FALSE(inside.CanFocus());
}

}  // namespace
}  // namespace kvt::ui
