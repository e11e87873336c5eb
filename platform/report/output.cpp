#include "platform/report/output.h"

#include "platform/value/error.h"
#include "platform/value/thread_slot.h"

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

}  // namespace

Output& CurrentOutput() {
  return vb::ThreadSlot<Output>::Get([] { return std::make_shared<NoOutput>(); });
}

std::shared_ptr<Output> SetOutput(std::shared_ptr<Output> output) {
  return vb::ThreadSlot<Output>::Set(std::move(output));
}

}  // namespace kvt::report
