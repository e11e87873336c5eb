// The desk's login to a server: a refusal shown in the dialog, the user
// remembered for next time and the password nowhere in the desk's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <filesystem>

#include "apps/kvt-host/desk/login_dialog.h"
#include "tests/support/file_text.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/temp_dir.h"

namespace kvt::host {
namespace {

// Types `password` into the login dialog on top and presses Log in.
void TryPassword(const QString& password) {
  QWidget* dialog = QApplication::activeModalWidget();
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>("loginPassword")->setText(password);
  dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

TEST(DeskLoginTest, ARefusalShowsInTheDialogAndOnlyTheUserIsRemembered) {
  if (test_support::TestBackends().size() < 2) GTEST_SKIP() << "built without PostgreSQL";
  const test_support::TempDir settings("desk_login");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(settings.Path().string()));
  test_support::TempDemoDatabase db("kvt_desk_login", data::Backend::kPostgreSQL);
  test_support::ServerLogins logins(db);
  const std::string dana = logins.Add("dana", "buyer");
  const std::string password = test_support::ServerLogins::Password("dana");

  std::string refusal, offered;
  QTimer::singleShot(50, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>("loginUser")->setText(QString::fromStdString(dana));
    TryPassword("not-it");
    refusal = dialog->findChild<QLabel*>("loginRefusal")->text().toStdString();
    // Whatever the answer, the password does not stay in the dialog.
    EXPECT_TRUE(dialog->findChild<QLineEdit*>("loginPassword")->text().isEmpty());
    TryPassword(QString::fromStdString(password));
  });
  std::string user;
  const std::optional<std::string> text = AskDeskLogin(db.ConnectionText(), user);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(user, dana);
  EXPECT_NE(refusal.find("Wrong user name or password"), std::string::npos) << refusal;
  EXPECT_NE(text->find("User ID=" + dana), std::string::npos);

  // Next time the dialog offers the same user; cancelling logs nobody in.
  QTimer::singleShot(50, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    offered = dialog->findChild<QLineEdit*>("loginUser")->text().toStdString();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  std::string again;
  EXPECT_FALSE(AskDeskLogin(db.ConnectionText(), again).has_value());
  EXPECT_EQ(offered, dana);

  QSettings("KvtSuppliers", "desk").sync();
  std::string saved;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(settings.Path())) {
    if (entry.is_regular_file()) saved += test_support::FileText(entry.path());
  }
  EXPECT_NE(saved.find(dana), std::string::npos);
  EXPECT_EQ(saved.find(password), std::string::npos);
}

}  // namespace
}  // namespace kvt::host
