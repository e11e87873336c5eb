// Writing a report display list as a PDF file with QPdfWriter at 1440 dpi,
// so that one device unit is one twip. Needs a QGuiApplication.
#pragma once

#include <string>

#include "platform/report/display_list.h"

namespace kvt::qt {

// Writes `document` to `path`, replacing an existing file only once the new
// one is complete (it is written next to it and renamed into place), so no
// partial file is ever left under `path`. Raises vb::Error 75 when the file
// cannot be written.
void WritePdf(const report::Document& document, const std::string& path);

}  // namespace kvt::qt
