// report::Painter — turns a page display list into some output. Painters
// see the pages in order, every item in drawing order.
#pragma once

#include "platform/report/display_list.h"

namespace kvt::report {

class Painter {
 public:
  virtual ~Painter() = default;

  virtual void BeginDocument(const Document& document) = 0;
  virtual void BeginPage(const Page& page) = 0;
  virtual void DrawText(const TextItem& item) = 0;
  virtual void DrawLine(const LineItem& item) = 0;
  virtual void DrawBox(const BoxItem& item) = 0;
  virtual void EndPage() = 0;
  // Called once after the last page; a painter that writes a file finishes
  // it here and reports a failure by raising vb::Error.
  virtual void EndDocument() = 0;
};

// Feeds every page and item of `document` to `painter`.
void PaintDocument(const Document& document, Painter& painter);
// Feeds one page (used by viewers that paint pages on demand).
void PaintPage(const Page& page, Painter& painter);

}  // namespace kvt::report
