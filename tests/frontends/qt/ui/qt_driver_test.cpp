#include "frontends/qt/ui/qt_driver.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "kvt/COrder.h"
#include "platform/ui/msg_box.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/support/thread_store_test.h"

// fontconfig keeps its caches until exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace kvt::qt {
namespace {

using testing::WhenModal;

class QtDriverTest : public test_support::ThreadStoreTest<> {
 protected:
  template <class W>
  static W* Child(QWidget* dialog, const char* name) {
    W* widget = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  ui::ScopedDriver installed_{std::make_shared<QtDriver>()};
  COrder order_;
};

TEST_F(QtDriverTest, TwipsBecomePixelsAtFifteenToOne) {
  const std::pair<int, int> cases[] = {{0, 0}, {15, 1}, {6360, 424}, {22, 1}, {23, 2}};
  for (const auto& [twips, pixels] : cases) {
    SCOPED_TRACE(twips);
    EXPECT_EQ(TwipsToPixels(twips), pixels);
  }
}

TEST_F(QtDriverTest, DeliveryDialogTakesTypingAndClicksAndTheHostReadsThem) {
  order_.LoadDeliveryForm();
  order_.Order_No("PO-9");
  bool looked = false;
  WhenModal([&](QWidget* dialog) {
    looked = true;
    EXPECT_EQ(dialog->parentWidget(), nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Delivery Details");
    auto* heading = Child<QLabel>(dialog, "lblDelDetails");
    EXPECT_EQ(heading->geometry(), QRect(8, 8, 424, 33));
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(Child<QLabel>(dialog, "lblDMethod(0)")->text(), "PO-9");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "optChoice(0)")->isChecked());

    auto* name = Child<QLineEdit>(dialog, "txtDelAddr(0)");
    QTest::keyClicks(name, "  Acme Ltd ");
    EXPECT_EQ(name->text(), "  Acme Ltd ");
    QTest::keyClick(name, Qt::Key_Tab);
    // The offscreen window is never active, so look at its own focus child.
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "txtDelAddr(1)"));

    QTest::mouseClick(Child<QRadioButton>(dialog, "optChoice(1)"), Qt::LeftButton);
    EXPECT_FALSE(Child<QRadioButton>(dialog, "optChoice(0)")->isChecked());
    auto* action = Child<QPushButton>(dialog, "cmdAction(0)");
    EXPECT_EQ(action->text(), "&Save Order");
    QTest::mouseClick(Child<QCheckBox>(dialog, "chkShow"), Qt::LeftButton);
    QTest::mouseClick(action, Qt::LeftButton);
  });
  // What the dialog makes of the choices is tested without Qt; here, that
  // the clicks and typing reached it.
  order_.ShowDeliveryForm();
  ASSERT_TRUE(looked);
  EXPECT_FALSE(order_.OrderNow());
  EXPECT_TRUE(order_.Show_Report_Preview());
  EXPECT_EQ(order_.Del_Name(), "Acme Ltd");
}

TEST_F(QtDriverTest, CancelOrClosingTheWindowUnloadsAndEscapeAloneDoesNotClose) {
  WhenModal([&](QWidget* dialog) {
    QTest::keyClick(dialog, Qt::Key_Escape);  // the dialog has no Cancel button
    EXPECT_TRUE(dialog->isVisible());
    QTest::mouseClick(Child<QPushButton>(dialog, "cmdAction(1)"), Qt::LeftButton);
  });
  order_.ShowDeliveryForm();
  EXPECT_FALSE(order_.IsDeliveryFormLoaded());
  WhenModal([](QWidget* dialog) { dialog->close(); });
  order_.ShowDeliveryForm();
  EXPECT_FALSE(order_.IsDeliveryFormLoaded());
}

TEST_F(QtDriverTest, MessageBoxShowsIconButtonsAndTitleAndReturnsTheAnswer) {
  WhenModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Purchase Orders");
    EXPECT_EQ(box->text(), "Remove the line?");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
  });
  EXPECT_EQ(ui::MsgBox("Remove the line?", ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2,
                       "Purchase Orders"),
            ui::vbYes);

  WhenModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(ui::MsgBox("Failed", ui::vbOKCancel + ui::vbCritical), ui::vbCancel);
}

}  // namespace
}  // namespace kvt::qt
