// The page display list: what a run of a report produced, page by page,
// in absolute page coordinates (twips from the paper's top-left corner).
// Painters turn it into PDF, a preview or a print job; tests inspect it.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/report/font.h"
#include "platform/report/geometry.h"

namespace kvt::report {

// Text already fitted to its box by the engine (text_fit.h): `font` has the
// size to draw at, and `text` is one line or lines separated by '\n', each
// drawn one line height under the one before; `rect` is as tall as the
// lines (a box that grew) or as designed. Painters draw it inset by
// kTextInset and measure it as the engine did (text_metrics.h).
struct TextItem {
  std::string control;  // name of the layout control that produced it
  Rect rect;
  std::string text;
  Font font;
  Alignment alignment = Alignment::Left;
};

struct LineItem {
  std::string control;
  Segment segment;
  int weight = 15;  // twips
};

struct BoxItem {
  std::string control;
  Rect rect;
  int weight = 15;  // twips
};

using DisplayItem = std::variant<TextItem, LineItem, BoxItem>;

struct Page {
  int number = 0;  // 1-based
  std::vector<DisplayItem> items;

  // The first text item drawn by `control` on this page, or nullptr.
  const TextItem* FindText(const std::string& control) const;
  // Every text item drawn by `control`, in drawing order (detail fields
  // appear once per row).
  std::vector<const TextItem*> FindTexts(const std::string& control) const;
  // True when any item on the page came from `control`.
  bool Has(const std::string& control) const;
};

struct Document {
  std::string title;
  PageSetup page_setup;
  std::vector<Page> pages;
};

}  // namespace kvt::report
