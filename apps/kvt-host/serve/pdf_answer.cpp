#include "apps/kvt-host/serve/pdf_answer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/token_store.h"
#include "platform/report/output.h"

namespace kvt::serve {

void AnswerPdf(Call& call, const std::string& file_name, const std::function<void()>& print) {
  if (!call.options.pdf_output) Refuse(501, "", "This server was started without a PDF writer.");
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kvt-serve-" + RandomHex(8) + ".pdf");
  {
    static std::mutex printing;
    std::lock_guard<std::mutex> lock(printing);
    report::ScopedOutput output(call.options.pdf_output(path.string()));
    print();
  }
  std::ifstream file(path, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  file.close();
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  if (content.empty()) Refuse(500, "", "The document could not be printed.");
  call.response.set_header("Content-Disposition", "inline; filename=\"" + file_name + "\"");
  call.response.set_content(content, "application/pdf");
}

}  // namespace kvt::serve
