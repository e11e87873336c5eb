// Printing against a real print queue: a CUPS scheduler with a PDF queue.
// Skipped when the scheduler cannot be started here (not root, no CUPS).
#include <gtest/gtest.h>

#include <QPrinterInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "documents/purchase_order_printing.h"
#include "documents/purchase_order_sample.h"
#include "frontends/qt/report/qt_outputs.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/documents/purchase_order_db.h"

// Fontconfig keeps caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions();

namespace kvt::qt {
namespace {

using documents::testing::PurchaseOrderDb;
using testing::RunCommand;

constexpr const char* kQueue = "KvtTestPDF";
constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

bool SchedulerRunning() {
  return RunCommand("lpstat -r").output.find("scheduler is running") != std::string::npos;
}

template <class Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return condition();
}

// Waits until the queue has no job left pending or printing.
bool QueueSettled() {
  return WaitFor([] { return RunCommand(std::string("lpstat -o ") + kQueue).output.empty(); },
                 std::chrono::seconds(30));
}

size_t CompletedJobs() {
  const std::string out = RunCommand(std::string("lpstat -W completed -o ") + kQueue).output;
  size_t count = 0;
  for (size_t at = out.find(kQueue); at != std::string::npos; at = out.find(kQueue, at + 1)) {
    ++count;
  }
  return count;
}

class CupsPrintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    skip_reason_.clear();
    if (::geteuid() != 0) return Skip("cupsd needs root");
    // The test runner starts each test as its own process, possibly several
    // at once; they share one scheduler and queue, so they take turns.
    lock_fd_ = ::open("/tmp/kvt_cups_print_test.lock", O_CREAT | O_RDWR, 0600);
    if (lock_fd_ >= 0) ::flock(lock_fd_, LOCK_EX);
    if (!std::filesystem::exists("/usr/sbin/cupsd")) return Skip("no cupsd");
    if (!std::filesystem::exists(kPpd)) return Skip("no cups-pdf PPD");
    if (!SchedulerRunning()) {
      scheduler_pid_ = ::fork();
      if (scheduler_pid_ == 0) {
        ::execl("/usr/sbin/cupsd", "cupsd", "-f", static_cast<char*>(nullptr));
        ::_exit(127);
      }
      if (scheduler_pid_ < 0 || !WaitFor(SchedulerRunning, std::chrono::seconds(15))) {
        return Skip("cupsd did not start");
      }
    }
    const auto added = RunCommand(std::string("lpadmin -p ") + kQueue +
                                  " -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd");
    if (added.status != 0) return Skip("lpadmin failed: " + added.output);
    had_default_ = RunCommand("lpstat -d").output.find("no system default") == std::string::npos;
    if (!had_default_) RunCommand(std::string("lpadmin -d ") + kQueue);
  }

  static void TearDownTestSuite() {
    RunCommand(std::string("lpadmin -x ") + kQueue);
    if (scheduler_pid_ > 0) {
      ::kill(scheduler_pid_, SIGTERM);
      ::waitpid(scheduler_pid_, nullptr, 0);
      scheduler_pid_ = -1;
    }
    if (lock_fd_ >= 0) {
      ::flock(lock_fd_, LOCK_UN);
      ::close(lock_fd_);
      lock_fd_ = -1;
    }
  }

  static void Skip(const std::string& reason) { skip_reason_ = reason.empty() ? "?" : reason; }

  void SetUp() override {
    if (!skip_reason_.empty()) GTEST_SKIP() << skip_reason_;
  }

  // Prints the sample order through the whole printing operation with the
  // given saved printer; returns the printer the job went to ("" if none).
  std::string PrintOrder(const char* saved_printer, bool accept_dialog = true) {
    PurchaseOrderDb db;
    db.AddOrder(*documents::SamplePurchaseOrderData(35));
    db.SaveControlValue("ComboBox", "cboPrinters", 6, saved_printer);
    HeadlessOutput output;
    output.SetPrintDialogAnswer(accept_dialog);
    services::DataGateway gateway;
    documents::PrintPurchaseOrder(PurchaseOrderDb::kOrderId, false, PurchaseOrderDb::kDatabase,
                                  true, db.ConnectionText(), gateway, output);
    return output.LastPrinter();
  }

  static inline pid_t scheduler_pid_ = -1;
  static inline int lock_fd_ = -1;
  static inline std::string skip_reason_;
  static inline bool had_default_ = false;
};

// What the job draws is painted as an exported PDF is, checked there.
TEST_F(CupsPrintTest, JobReachesTheQueueOfTheSavedPrinter) {
  ASSERT_TRUE(QPrinterInfo::printerInfo(kQueue).printerName() == kQueue);
  const size_t jobs_before = CompletedJobs();
  EXPECT_EQ(PrintOrder(kQueue), kQueue);
  EXPECT_TRUE(WaitFor([&] { return CompletedJobs() > jobs_before; }, std::chrono::seconds(30)))
      << RunCommand(std::string("lpstat -W all -o ") + kQueue).output;
}

TEST_F(CupsPrintTest, UnknownSavedPrinterFallsBackToTheDefaultPrinter) {
  if (had_default_) GTEST_SKIP() << "the machine has its own default printer";
  EXPECT_EQ(PrintOrder("No Such Printer"), kQueue);
  EXPECT_EQ(PrintOrder(nullptr), kQueue);
  QueueSettled();
}

TEST_F(CupsPrintTest, CancelledPrintDialogSendsNoJob) {
  ASSERT_TRUE(QueueSettled());
  const size_t jobs_before = CompletedJobs();
  // Headless, the set answer cancels the whole printing operation.
  EXPECT_EQ(PrintOrder(kQueue, false), "");
  // On screen the print dialog comes first; cancelling it sends nothing.
  DialogOutput output;
  auto seen = testing::AnswerNextDialog(false);
  EXPECT_FALSE(output.Print(report::Document{}, kQueue));
  EXPECT_TRUE(*seen);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_EQ(CompletedJobs(), jobs_before);
  EXPECT_TRUE(RunCommand(std::string("lpstat -o ") + kQueue).output.empty());
}

}  // namespace
}  // namespace kvt::qt
