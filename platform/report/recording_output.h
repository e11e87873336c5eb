// report::RecordingOutput — an Output that keeps what it is asked to do
// instead of showing or printing it: for tests and batch runs without a
// display or printers.
#pragma once

#include <string>
#include <vector>

#include "platform/report/output.h"

namespace kvt::report {

class RecordingOutput : public Output {
 public:
  enum class Action { Preview, Print, ExportPdf };

  struct Call {
    Action action;
    std::string target;  // printer device name, or the PDF path
    Document document;
  };

  void Preview(const Document& document, const std::string& device_name) override;
  // Records the call and answers the print dialog with `accept_print`.
  bool Print(const Document& document, const std::string& device_name) override;
  void ExportPdf(const Document& document, const std::string& path) override;

  // What the print dialog answers: true (print) unless set otherwise.
  void SetAcceptPrint(bool accept) { accept_print_ = accept; }
  const std::vector<Call>& Calls() const { return calls_; }

 private:
  std::vector<Call> calls_;
  bool accept_print_ = true;
};

}  // namespace kvt::report
