#include "component/dialog_lifecycle.h"

#include <gtest/gtest.h>

#include "platform/ui/controls.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/error.h"

namespace kvt::component {
namespace {

// A dialog that counts its load handling and can be told to fail.
class ProbeDialog : public Dialog {
 public:
  ProbeDialog() : Dialog("frmProbe") {}
  bool IsLoaded() const override {
    if (fail_is_loaded) throw vb::Error::ObjectNotSet();
    return is_loaded_;
  }
  int loads = 0;
  int unloads = 0;
  bool fail_load = false;
  bool fail_is_loaded = false;

 protected:
  void Build() override {
    Add<ui::CommandButton>("cmdClose").On(ui::Event::kClick, [this](ui::EventArgs&) { Hide(); });
  }
  void OnLoad() override {
    is_loaded_ = true;
    ++loads;
    if (fail_load) throw vb::Error::InvalidCall();
  }
  void OnUnload(bool&) override {
    is_loaded_ = false;
    ++unloads;
  }

 private:
  bool is_loaded_ = false;
};

class DialogLifecycleTest : public ::testing::Test {
 protected:
  DialogFactory Factory() {
    return [this] {
      auto dialog = std::make_shared<ProbeDialog>();
      dialog->fail_load = fail_next_load_;
      made_.push_back(dialog);
      return dialog;
    };
  }
  ProbeDialog& Probe() { return *made_.back(); }

  DialogSlot slot_;
  bool fail_next_load_ = false;
  std::vector<std::shared_ptr<ProbeDialog>> made_;
  std::shared_ptr<ui::HeadlessDriver> user_ = std::make_shared<ui::HeadlessDriver>();
  ui::ScopedDriver installed_{user_};
};

TEST_F(DialogLifecycleTest, LoadRunsTheLoadHandlingOnceAndUnloadEmptiesTheSlot) {
  EXPECT_FALSE(IsDialogLoaded(slot_));
  LoadDialog(slot_, Factory());
  LoadDialog(slot_, Factory());
  EXPECT_EQ(made_.size(), 1u);
  EXPECT_EQ(Probe().loads, 1);
  EXPECT_TRUE(IsDialogLoaded(slot_));
  UnloadDialog(slot_);
  EXPECT_FALSE(IsDialogLoaded(slot_));
  EXPECT_EQ(slot_.instance, nullptr);
  EXPECT_EQ(Probe().unloads, 1);
}

TEST_F(DialogLifecycleTest, ShowCreatesAndLoadsOnceAndRunsPrepareFirst) {
  bool visible_while_shown = false;
  user_->Inspect([&](ui::Form& f) { visible_while_shown = f.Visible(); }).Click("cmdClose");
  ShowDialog(slot_, Factory());
  EXPECT_TRUE(visible_while_shown);
  EXPECT_TRUE(IsDialogLoaded(slot_));  // hidden by its button, still loaded
  EXPECT_FALSE(Probe().Visible());

  bool prepared_before_show = false;
  user_->Click("cmdClose");
  ShowDialog(slot_, Factory(), [&](Dialog& d) { prepared_before_show = !d.Visible(); });
  EXPECT_TRUE(prepared_before_show);
  EXPECT_EQ(made_.size(), 1u);
  EXPECT_EQ(Probe().loads, 1);
}

// Whatever state the slot is in, the operations leave it sound and raise
// nothing to the host.
TEST_F(DialogLifecycleTest, EmptySlotsFailedLoadsAndFailingLooksAreSurvived) {
  HideDialog(slot_);
  UnloadDialog(slot_);
  EXPECT_EQ(slot_.instance, nullptr);
  EXPECT_TRUE(made_.empty());

  slot_.instance = Factory()();  // made but never loaded
  UnloadDialog(slot_);
  EXPECT_NE(slot_.instance, nullptr);
  EXPECT_EQ(Probe().unloads, 0);

  slot_.instance = nullptr;
  fail_next_load_ = true;
  LoadDialog(slot_, Factory());  // what got loaded is unloaded again
  EXPECT_EQ(slot_.instance, nullptr);
  EXPECT_EQ(Probe().unloads, 1);
  EXPECT_FALSE(IsDialogLoaded(slot_));

  fail_next_load_ = false;
  LoadDialog(slot_, Factory());
  Probe().fail_is_loaded = true;
  EXPECT_FALSE(IsDialogLoaded(slot_));
  EXPECT_NO_THROW(UnloadDialog(slot_));
  EXPECT_NO_THROW(ShowDialog(slot_, Factory(), [](Dialog&) { throw vb::Error::InvalidCall(); }));
}

}  // namespace
}  // namespace kvt::component
