// report::DumpPainter — writes a display list as plain text, one item per
// line, for tests, diffs and the command line:
//
//   document "Title" 11906x16838
//   page 1
//   text fldRHSupName 463,814,5386,283 "Arial" 8.5 left "Acme Ltd"
//   line Line54 350,700 5963,700 w15
//   box Shape1 350,417,5613,1927 w15
//   end
#pragma once

#include <string>

#include "platform/report/painter.h"

namespace kvt::report {

class DumpPainter : public Painter {
 public:
  void BeginDocument(const Document& document) override;
  void BeginPage(const Page& page) override;
  void DrawText(const TextItem& item) override;
  void DrawLine(const LineItem& item) override;
  void DrawBox(const BoxItem& item) override;
  void EndPage() override {}
  void EndDocument() override;

  // Everything written so far.
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// The dump of a whole document.
std::string DumpDocument(const Document& document);

}  // namespace kvt::report
