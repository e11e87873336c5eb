// Regional settings built into the formula tester (--locale NAME), so that
// a formula's author can see dates and amounts as the users will see them
// rather than only as this host shows them.
//
// They are display settings: date order and separators, long date and
// time patterns, month and day names, the currency symbol and its place.
// Numbers keep "." and "," in every one of them (platform/value/locale.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/value/locale.h"

namespace kvt::host {

// The settings called `name` (en-US, en-GB, en-ZA, de-DE; any case), or
// nullopt for a name that is not built in.
std::optional<vb::Locale> RegionalSettings(std::string_view name);

// The built-in names, for usage messages: "de-DE, en-GB, en-US, en-ZA".
std::string RegionalSettingsNames();

}  // namespace kvt::host
