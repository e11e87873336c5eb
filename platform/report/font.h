// Text attributes shared by layouts and the page display list.
#pragma once

#include <string>

namespace kvt::report {

struct Font {
  std::string name = "Arial";
  double size = 8.5;  // points
  bool bold = false;
  bool italic = false;

  bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };

// "left", "center" or "right", for dumps and logs.
const char* AlignmentName(Alignment alignment);

}  // namespace kvt::report
