// Shared pieces of the Qt tests (whose main makes the application object):
// modal windows answered from inside their event loop, shell commands,
// temporary folders.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/temp_dir.h"

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

using test_support::TempDir;

// Calls `act` with the active modal widget as soon as there is one.
inline void WhenModal(std::function<void(QWidget*)> act, int tries = 200) {
  QTimer::singleShot(10, [act = std::move(act), tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      act(modal);
    } else if (tries > 0) {
      WhenModal(act, tries - 1);
    }
  });
}

// Answers the next modal dialog as a user would; the flag tells whether
// one was seen.
inline std::shared_ptr<bool> AnswerNextDialog(bool accept) {
  auto seen = std::make_shared<bool>(false);
  WhenModal([seen, accept](QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (dialog == nullptr) return;
    *seen = true;
    accept ? dialog->accept() : dialog->reject();
  });
  return seen;
}

}  // namespace kvt::qt::testing
