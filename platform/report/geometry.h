// Geometry of report layouts and pages, in twips (1/1440 inch).
#pragma once

#include <cstdint>

namespace kvt::report {

// A box given by its top-left corner and size.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  int32_t Right() const { return left + width; }
  int32_t Bottom() const { return top + height; }
  // The same box moved by (dx, dy).
  Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, width, height}; }
  bool operator==(const Rect&) const = default;
};

// A straight rule from (x1, y1) to (x2, y2).
struct Segment {
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;

  Segment Offset(int32_t dx, int32_t dy) const { return {x1 + dx, y1 + dy, x2 + dx, y2 + dy}; }
  bool operator==(const Segment&) const = default;
};

// Paper and margins of a layout. The defaults are A4 with a printable
// width of 11205 twips, which the purchasing layouts are drawn for.
struct PageSetup {
  int32_t paper_width = 11906;
  int32_t paper_height = 16838;
  int32_t left_margin = 350;
  int32_t right_margin = 351;
  int32_t top_margin = 360;
  int32_t bottom_margin = 360;

  int32_t PrintWidth() const { return paper_width - left_margin - right_margin; }
  int32_t PrintBottom() const { return paper_height - bottom_margin; }
  bool operator==(const PageSetup&) const = default;
};

}  // namespace kvt::report
