#include "apps/kvt-host/access/audit_text.h"

#include "platform/value/conversions.h"
#include "platform/value/locale.h"

namespace kvt::access {

std::string PeriodName(data::Connection& connection, int32_t month, int32_t year_key) {
  const auto year =
      connection.Query("SELECT Years FROM Years WHERE ID = ?1", {vb::Variant(year_key)});
  if (month < 1 || month > 12 || year->IsEOF()) {
    return "month " + std::to_string(month) + " of year key " + std::to_string(year_key);
  }
  // The trail is read in one language, whichever locale the desk shows.
  static const vb::Locale kEnglish;
  return kEnglish.month_names[month - 1] + " " + std::to_string(vb::CLng(year->Item(0).Value()));
}

}  // namespace kvt::access
