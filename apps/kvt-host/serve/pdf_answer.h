// A document answered as PDF: printed through the front end's PDF writer
// to a file of its own in the temporary folder, read back and removed.
#pragma once

#include <functional>

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

// Runs `print` with the report output writing a PDF, and answers that PDF
// as `file_name`. Refuses 501 when the server has no PDF writer, 500 when
// nothing was written. One document at a time: the writer is the front
// end's.
void AnswerPdf(Call& call, const std::string& file_name, const std::function<void()>& print);

}  // namespace kvt::serve
