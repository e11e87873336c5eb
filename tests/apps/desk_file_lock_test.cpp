// Two clerks on one database, one of them with a file dialog open on the
// database's folder: the other's save is never lost, and the dialog never
// opens the database's files (each open and close of them in the desk's
// process would drop the engine's locks).
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/main_window.h"
#include "apps/kvt-host/desk/order_editor.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/report/display_list.h"
#include "platform/value/conversions.h"
#include "services/connection_text.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/temp_dir.h"

namespace kvt::host {
namespace {

// Shows the desk's "Save as PDF" dialog on the working folder, leaves it up
// long enough for it to list and look at every file there, and cancels it.
void ShowFileDialog(DeskOutput& output) {
  bool shown = false;
  qt::testing::WhenModal([&](QWidget* dialog) {
    shown = qobject_cast<QFileDialog*>(dialog) != nullptr;
    QTest::qWait(1500);
    static_cast<QDialog*>(dialog)->reject();
  });
  output.SetDocumentName("PO000103");
  EXPECT_FALSE(output.SavePdfAs(report::Document{}));
  EXPECT_TRUE(shown);
}

class DeskFileLockTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  void SetUp() override {
    component::ResetThreadStore();
    if (GetParam() == data::Backend::kSQLite) {
      path_ = folder_.File("desk.sqlite");
      db::CreateDemoDatabase(path_);
      text_ = db::ConnectionTextFor(path_);
    } else {
      server_ = std::make_unique<test_support::TempDemoDatabase>("kvt_desk_lock", GetParam());
      text_ = server_->ConnectionText();
    }
    // The dialog proposes a file in the working folder: the database's.
    std::filesystem::current_path(folder_.Path());
    desk_ = OpenDesk(text_, "admin", db::kDemoCompanyID, db::kDemoDatabaseName);
    window_ = std::make_unique<MainWindow>(desk_, output_);
    output_.SetWindow(window_.get());
    window_->show();
  }
  void TearDown() override {
    window_.reset();
    desk_ = {};
    component::ResetThreadStore();
    std::filesystem::current_path(home_);
  }
  std::string Saved(const char* sql) {
    return vb::CStr(desk_.connection->Query(sql)->Item(0).Value());
  }

  const std::filesystem::path home_ = std::filesystem::current_path();
  const test_support::TempDir folder_{"desk_lock"};
  std::unique_ptr<test_support::TempDemoDatabase> server_;
  std::string path_, text_;
  ui::ScopedDriver driver_{std::make_shared<qt::QtDriver>()};
  DeskOutput output_;
  DeskContext desk_;
  std::unique_ptr<MainWindow> window_;
};

TEST_P(DeskFileLockTest, AnotherClerksSaveAfterAFileDialogIsNeverOverwritten) {
  OrderEditor& editor = window_->Orders().Editor();
  ASSERT_TRUE(window_->Orders().OpenOrder(3));
  QTest::keyClicks(editor.findChild<QLineEdit*>("ourRef"), "-A");
  ShowFileDialog(output_);
  const std::string another =
      std::string(KVT_ANOTHER_DESK_PATH) + " '" + text_ + "' 3 'saved by B'";
  ASSERT_EQ(std::system(another.c_str()), 0);

  std::string told;
  qt::testing::WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {  // the save went on to the delivery dialog: cancelled
      told = "the dialog " + modal->windowTitle().toStdString();
      if (auto* cancel = modal->findChild<QAbstractButton*>("cmdAction(1)")) cancel->click();
      return;
    }
    told = box->text().toStdString();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Go back") button->click();
    }
  });
  EXPECT_FALSE(editor.SaveOrder());
  EXPECT_EQ(told.rfind("PO000103 was changed by clerk at ", 0), 0u) << told;
  EXPECT_EQ(Saved("SELECT OurRef FROM PurchaseOrders WHERE ID = 3"), "saved by B");
  // The buyer's edit is still on screen, and the desk reads on.
  EXPECT_TRUE(editor.findChild<QLineEdit*>("ourRef")->text().endsWith("-A"));
  // Nor does the desk's close write its stale view over it.
  window_.reset();
  desk_.connection->Close();
  const auto fresh = services::OpenConnection(services::ParseConnectionText(text_));
  EXPECT_EQ(
      vb::CStr(fresh->Query("SELECT OurRef FROM PurchaseOrders WHERE ID = 3")->Item(0).Value()),
      "saved by B");
}

KVT_INSTANTIATE_BACKENDS(DeskFileLockTest);

// The process's descriptors on `paths`, as "fd -> file" lines.
std::set<std::string> DescriptorsOn(const std::set<std::string>& paths) {
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (!error && paths.count(target)) found.insert(entry.path().filename().string() + target);
  }
  return found;
}

// How many record locks of this process (not those of its open file
// descriptions) lie on `path`, as /proc/locks lists them.
int ProcessLocksOn(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return -1;
  std::ifstream locks("/proc/locks");
  const std::string pid = std::to_string(::getpid());
  const std::string inode = ":" + std::to_string(info.st_ino);
  int count = 0;
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::string number, kind, advisory, mode, owner, device;
    fields >> number >> kind >> advisory >> mode >> owner >> device;
    if (kind == "POSIX" && owner == pid && device.size() > inode.size() &&
        device.compare(device.size() - inode.size(), inode.size(), inode) == 0) {
      ++count;
    }
  }
  return count;
}

class DeskFileDialogTest : public DeskFileLockTest {};
INSTANTIATE_TEST_SUITE_P(File, DeskFileDialogTest, ::testing::Values(data::Backend::kSQLite),
                         test_support::BackendTestName);

TEST_P(DeskFileDialogTest, TheFileDialogNeverOpensTheDatabasesFiles) {
  const std::set<std::string> files = {path_, path_ + "-wal", path_ + "-shm"};
  for (const std::string& file : files) ASSERT_TRUE(std::filesystem::exists(file)) << file;
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  for (const std::string& file : files) {
    ASSERT_GE(::inotify_add_watch(watch, file.c_str(), IN_OPEN), 0) << file;
  }
  const std::set<std::string> descriptors = DescriptorsOn(files);
  const int database_locks = ProcessLocksOn(path_);
  const int index_locks = ProcessLocksOn(path_ + "-shm");
  EXPECT_GE(descriptors.size(), 3u);  // the engine's own, one on each
  EXPECT_GE(database_locks, 1);
  EXPECT_GE(index_locks, 1);

  ShowFileDialog(output_);

  char events[4096];
  const ssize_t opened = ::read(watch, events, sizeof events);
  ::close(watch);
  EXPECT_LE(opened, 0) << "something opened the database's files";
  EXPECT_EQ(DescriptorsOn(files), descriptors);
  EXPECT_EQ(ProcessLocksOn(path_), database_locks);
  EXPECT_EQ(ProcessLocksOn(path_ + "-shm"), index_locks);
}

}  // namespace
}  // namespace kvt::host
