#include "platform/report/font.h"

namespace kvt::report {

const char* AlignmentName(Alignment alignment) {
  switch (alignment) {
    case Alignment::Left: return "left";
    case Alignment::Center: return "center";
    case Alignment::Right: return "right";
  }
  return "left";
}

}  // namespace kvt::report
