#include "apps/kvt-host/regional_settings.h"

#include "platform/value/text.h"

namespace kvt::host {
namespace {

struct Named {
  const char* name;
  vb::Locale (*make)();
};

// The English settings differ only in their patterns and symbol.
vb::Locale English(const char* short_date, const char* long_date, const char* symbol) {
  vb::Locale locale;
  locale.short_date = short_date;
  locale.long_date = long_date;
  locale.currency_symbol = symbol;
  return locale;
}

vb::Locale UnitedStates() {
  vb::Locale locale = English("M/d/yyyy", "dddd, MMMM d, yyyy", "$");
  locale.long_time = "h:mm:ss tt";
  return locale;
}

vb::Locale UnitedKingdom() { return English("dd/MM/yyyy", "dd MMMM yyyy", "\u00A3"); }

vb::Locale SouthAfrica() { return English("yyyy/MM/dd", "dd MMMM yyyy", "R"); }

vb::Locale Germany() {
  vb::Locale locale;
  locale.short_date = "dd.MM.yyyy";
  locale.long_date = "dddd, d. MMMM yyyy";
  locale.currency_symbol = "\u20AC";  // euro sign
  locale.currency_after = true;
  locale.month_names = {"Januar", "Februar", "M\u00E4rz", "April",   "Mai",      "Juni",
                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  locale.day_names = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                      "Donnerstag", "Freitag", "Samstag"};
  return locale;
}

// In name order.
constexpr Named kSettings[] = {
    {"de-DE", &Germany},
    {"en-GB", &UnitedKingdom},
    {"en-US", &UnitedStates},
    {"en-ZA", &SouthAfrica},
};

}  // namespace

std::optional<vb::Locale> RegionalSettings(std::string_view name) {
  for (const Named& settings : kSettings) {
    if (vb::SameText(name, settings.name)) return settings.make();
  }
  return std::nullopt;
}

std::string RegionalSettingsNames() {
  std::string names;
  for (const Named& settings : kSettings) {
    if (!names.empty()) names += ", ";
    names += settings.name;
  }
  return names;
}

}  // namespace kvt::host
