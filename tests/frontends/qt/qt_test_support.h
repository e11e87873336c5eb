// Shared pieces of the Qt report tests: an application object for the
// whole program, shell commands, temporary folders.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace kvt::qt::testing {

// Output of a shell command (stdout and stderr), and its exit status.
struct CommandResult {
  int status = -1;
  std::string output;
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  // The tools' messages are read as text; under the test's own locale CUPS
  // would answer in German.
  FILE* pipe = ::popen(("LC_ALL=C " + command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    result.output.append(buffer, read);
  }
  result.status = ::pclose(pipe);
  return result;
}

// What pdfinfo reports for a PDF file: its page count (-1 when it cannot
// read the file) and the rest of its report.
struct PdfInfo {
  int pages = -1;
  std::string report;
};

inline PdfInfo ReadPdfInfo(const std::string& path) {
  PdfInfo info;
  const CommandResult result = RunCommand("pdfinfo '" + path + "'");
  info.report = result.output;
  const size_t at = result.output.find("Pages:");
  if (result.status == 0 && at != std::string::npos) {
    info.pages = std::atoi(result.output.c_str() + at + 6);
  }
  return info;
}

// A fresh folder under the temp folder, removed with everything in it.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("kvt_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The one QApplication of the test program, created on first use.
inline void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "qt_report_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// Answers the next modal dialog as a user would, once it is on screen;
// returns a flag telling whether one was seen.
inline std::shared_ptr<bool> AnswerNextDialog(bool accept) {
  auto seen = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, seen, accept] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    *seen = true;
    accept ? dialog->accept() : dialog->reject();
    timer->stop();
    timer->deleteLater();
  });
  timer->start(50);
  return seen;
}

}  // namespace kvt::qt::testing
