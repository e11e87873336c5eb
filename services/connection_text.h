// The shared connection text of the suite, in the platform's
// "Key=Value;Key=Value" form: "Provider=SQLite;Data Source=/path/db.sqlite".
#pragma once

#include <string>

namespace kvt::services {

struct ConnectionText {
  std::string provider;     // "SQLite" (the only provider for now)
  std::string data_source;  // database file path, or ":memory:"
  std::string user_id;      // "User ID" or "UID"; empty when not given
};

// Reads a connection text. Keys are matched without regard to case and
// surrounding blanks; values may be wrapped in double quotes; unknown keys
// are ignored. A missing Provider means SQLite. Raises 3706 for another
// provider and 3001 when there is no data source.
ConnectionText ParseConnectionText(const std::string& text);

}  // namespace kvt::services
