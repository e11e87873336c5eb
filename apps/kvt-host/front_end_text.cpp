#include "apps/kvt-host/front_end.h"
#include "apps/kvt-host/gui.h"
#include "apps/kvt-host/sessions/text_output.h"
#include "platform/value/error.h"

namespace kvt::host {

bool HasDesk() { return false; }

int WithBatchDocuments(const std::function<int(const BatchDocuments&)>& run) {
  return run({".txt", [](const std::string& path) { return std::make_shared<TextOutput>(path); }});
}

int RunGui(int, char**, const std::string&, const std::string&,
           const std::function<int(const std::string&)>&) {
  throw vb::Error(vb::err::kInvalidCall, "kvt-host", "This kvt-host was built without Qt.");
}

}  // namespace kvt::host
