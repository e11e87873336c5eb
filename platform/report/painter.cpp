#include "platform/report/painter.h"

namespace kvt::report {

void PaintPage(const Page& page, Painter& painter) {
  painter.BeginPage(page);
  for (const DisplayItem& item : page.items) {
    if (const auto* text = std::get_if<TextItem>(&item)) {
      painter.DrawText(*text);
    } else if (const auto* line = std::get_if<LineItem>(&item)) {
      painter.DrawLine(*line);
    } else if (const auto* box = std::get_if<BoxItem>(&item)) {
      painter.DrawBox(*box);
    }
  }
  painter.EndPage();
}

void PaintDocument(const Document& document, Painter& painter) {
  painter.BeginDocument(document);
  for (const Page& page : document.pages) PaintPage(page, painter);
  painter.EndDocument();
}

}  // namespace kvt::report
