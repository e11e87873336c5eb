#include "platform/report/recording_output.h"

namespace kvt::report {

void RecordingOutput::Preview(const Document& document, const std::string& device_name) {
  calls_.push_back({Action::Preview, device_name, document});
}

bool RecordingOutput::Print(const Document& document, const std::string& device_name) {
  calls_.push_back({Action::Print, device_name, document});
  return accept_print_;
}

void RecordingOutput::ExportPdf(const Document& document, const std::string& path) {
  calls_.push_back({Action::ExportPdf, path, document});
}

}  // namespace kvt::report
