// What this build of the host shows and prints with. The Qt build has the
// desk and paints a batch run's documents off screen as PDFs; the headless
// build (KVT_WITH_QT off) has no desk and writes each document as the text
// of its pages (sessions/text_output.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/report/output.h"

namespace kvt::host {

// Whether --gui can show the desk.
bool HasDesk();

struct BatchDocuments {
  std::string extension;  // of the files written: ".pdf", or ".txt"
  std::function<std::shared_ptr<report::Output>(const std::string& path)> output;
};

// Runs `run` with a batch run's documents ready to be written, and returns
// what it returns. The Qt build keeps the application object its painting
// needs alive for the call.
int WithBatchDocuments(const std::function<int(const BatchDocuments&)>& run);

}  // namespace kvt::host
