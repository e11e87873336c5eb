#include "platform/ui/headless_driver.h"

#include <gtest/gtest.h>

#include "platform/ui/msg_box.h"
#include "platform/value/error.h"
#include "test_form.h"
#include "tests/support/vb_error.h"

namespace kvt::ui {
namespace {

using testing::LoggingForm;

class HeadlessDriverTest : public ::testing::Test {
 protected:
  std::shared_ptr<HeadlessDriver> user_ = std::make_shared<HeadlessDriver>();
  ScopedDriver installed_{user_};
};

TEST_F(HeadlessDriverTest, MessageBoxesTakeQueuedAnswersElseTheirDefault) {
  user_->Answer(vbNo);
  EXPECT_EQ(MsgBox("Delete?", vbYesNo + vbQuestion, "Purchase Orders"), vbNo);
  EXPECT_EQ(MsgBox("Retry?", vbRetryCancel), vbRetry);
  EXPECT_EQ(MsgBox("Done"), vbOK);
  ASSERT_EQ(user_->Messages().size(), 3u);
  EXPECT_EQ(user_->Messages()[0].title, "Purchase Orders");
  EXPECT_EQ(user_->Messages()[0].buttons, vbYesNo + vbQuestion);
  EXPECT_EQ(user_->Messages()[2].title, kDefaultMsgBoxTitle);
}

// Which answers each button set offers is the message box's table; here,
// which of them is the default.
TEST_F(HeadlessDriverTest, MessageBoxDefaults) {
  const std::pair<int, int> cases[] = {
      {vbOKCancel + vbDefaultButton2, vbCancel},
      {vbAbortRetryIgnore + vbDefaultButton3, vbIgnore},
      {vbYesNoCancel + vbExclamation, vbYes},  // the icon is no button
      {vbYesNo + vbDefaultButton3, vbYes},     // no third button
  };
  for (const auto& [buttons, default_answer] : cases) {
    EXPECT_EQ(MsgBoxDefaultAnswer(buttons), default_answer) << buttons;
  }
  EXPECT_EQ(MsgBoxIcon(vbYesNo + vbQuestion + vbDefaultButton2), vbQuestion);
}

TEST_F(HeadlessDriverTest, PlaysTheScriptAgainstTheModalFormUntilItCloses) {
  auto form = std::make_shared<LoggingForm>();
  form->Load();
  form->Ctl("cmdGo", 0).On(Event::kClick, [&](EventArgs&) {
    if (MsgBox("Save?", vbYesNo) == vbYes) form->Hide();
  });
  std::string seen_while_open;
  user_->Type("txtField(1)", "Acme")
      .Inspect([&](Form& f) { seen_while_open = f.Ctl<TextBox>("txtField", 1).Text(); })
      .Click("cmdGo(0)")
      .Answer(vbNo)
      .Click("cmdGo(0)")
      .Answer(vbYes)
      .Click("cmdGo(1)");  // left over for a later dialog
  form->Show(vbModal);
  EXPECT_EQ(seen_while_open, "Acme");
  EXPECT_TRUE(form->Loaded());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(user_->Messages().size(), 2u);
  EXPECT_EQ(user_->PendingSteps(), 1u);
  EXPECT_TRUE(user_->Problems().empty());
  EXPECT_EQ(user_->Shown(), std::vector<std::string>{"Test"});
}

TEST_F(HeadlessDriverTest, AScriptThatRunsDryClosesTheFormAndSaysSo) {
  auto form = std::make_shared<LoggingForm>();
  user_->Click("cmdMissing").Answer(vbOK);
  form->Show(vbModal);
  EXPECT_FALSE(form->Loaded());
  ASSERT_EQ(user_->Problems().size(), 3u);
  EXPECT_EQ(user_->Problems()[0], "no control cmdMissing on frmTest");
  EXPECT_EQ(user_->Problems()[1], "answer 1 with no message box shown");
}

TEST_F(HeadlessDriverTest, ShowingAShownFormModallyIsError400) {
  auto form = std::make_shared<LoggingForm>();
  int number = 0;
  user_->Inspect([&](Form& f) { number = test_support::ErrorNumberOf([&] { f.Show(vbModal); }); });
  form->Show(vbModal);
  EXPECT_EQ(number, 400);
}

}  // namespace
}  // namespace kvt::ui
