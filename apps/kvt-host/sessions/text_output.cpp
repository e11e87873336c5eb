#include "apps/kvt-host/sessions/text_output.h"

#include <filesystem>
#include <fstream>

#include "platform/report/dump_painter.h"
#include "platform/value/error.h"

namespace kvt::host {

namespace {

constexpr const char* kSource = "Report";

// Written beside the target and renamed over it, so a failure leaves what
// was there.
void WriteText(const report::Document& document, const std::string& path) {
  const std::string part = path + ".part";
  bool written = false;
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << report::DumpDocument(document);
    out.close();
    written = static_cast<bool>(out);
  }
  std::error_code error;
  if (written) std::filesystem::rename(part, path, error);
  if (!written || error) {
    std::filesystem::remove(part, error);
    throw vb::Error::Numbered(report::kPathFileAccessError, kSource, path);
  }
}

}  // namespace

void TextOutput::Preview(const report::Document& document, const std::string&) {
  if (!preview_path_.empty()) WriteText(document, preview_path_);
}

bool TextOutput::Print(const report::Document&, const std::string&) {
  throw vb::Error::Numbered(report::kPrinterError, kSource, "no printer in a build without Qt");
}

void TextOutput::ExportPdf(const report::Document& document, const std::string& path) {
  WriteText(document, path);
}

}  // namespace kvt::host
