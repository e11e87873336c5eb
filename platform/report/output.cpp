#include "platform/report/output.h"

#include "platform/value/error.h"

namespace kvt::report {
namespace {

class NoOutput : public Output {
 public:
  void Preview(const Document&, const std::string&) override {}
  bool Print(const Document&, const std::string&) override { return false; }
  void ExportPdf(const Document&, const std::string& path) override {
    throw vb::Error::Numbered(kPathFileAccessError, "Report", path);
  }
};

std::shared_ptr<Output>& Installed() {
  thread_local std::shared_ptr<Output> output;
  return output;
}

}  // namespace

Output& CurrentOutput() {
  std::shared_ptr<Output>& output = Installed();
  if (!output) output = std::make_shared<NoOutput>();
  return *output;
}

std::shared_ptr<Output> SetOutput(std::shared_ptr<Output> output) {
  std::shared_ptr<Output> previous = std::move(Installed());
  Installed() = std::move(output);
  return previous;
}

}  // namespace kvt::report
