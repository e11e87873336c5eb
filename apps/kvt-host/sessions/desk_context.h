// What every screen of the purchasing desk shares: the database session,
// who is working and for which company. Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "apps/kvt-host/access/user_access.h"
#include "platform/data/connection.h"

namespace kvt::host {

struct DeskContext {
  data::ConnectionRef connection;  // the desk's own reads and saves
  std::string connection_text;     // the component's, carrying the user
  std::string database_label;      // the database in use, as the title shows it
  std::string database_name;       // the name saved screen settings are kept under
  std::string user_name;
  int32_t user_id = 0;  // 0 when the user is not in Users
  int32_t company_id = 0;
  std::string company_name;
  // Empty when the desk may save; otherwise why it may not, in words.
  std::string read_only_reason;

  bool ReadOnly() const { return !read_only_reason.empty(); }
};

// Opens the desk on the database the connection text names, for `user_name`
// (empty: the database's first user) and `company_id`. The connection is
// tried for writing and the user's roles are read; what they say is kept
// in read_only_reason. Raises what opening the connection raises, and 3021
// when there is no such company.
DeskContext OpenDesk(const std::string& connection_text, const std::string& user_name,
                     int32_t company_id, const std::string& database_name);

// The desk's user and their roles, or none when they cannot be read (the
// action itself then says what is wrong).
std::optional<access::UserAccess> DeskUser(const DeskContext& desk);

// Why the desk's user may write nothing (they hold no role, or only the
// reader's), or empty when they may write, or the database holds them to
// no role.
std::string OnlyReads(const DeskContext& desk);

// Why `connection` may not be written to (the engine's words), or empty
// when it may. A database another session is busy writing counts as
// writable. Changes nothing.
std::string WriteRefusal(data::Connection& connection);

// Why the database `connection_text` names may not be written to, in words
// for the buyer, from `refusal` (what WriteRefusal gave; empty: it may).
// For a file: the file itself is not writable, or its folder takes no new
// file (the database keeps its log beside it), else the engine's words.
std::string ReadOnlyReason(const std::string& connection_text, const std::string& refusal);

// What a read-only desk still does, for its banner.
inline constexpr char kReadOnlyStillWorks[] =
    "Orders, vouchers and settings can be looked at and printed; nothing can be saved.";

// `connection_text` with its "User ID" set to `user_name` (replaced when
// present), so the component reads that user's saved settings.
std::string WithUser(const std::string& connection_text, const std::string& user_name);

// The database a connection text names, for a window title: the absolute
// path of a database file, else the data source as written. Passwords are
// never shown.
std::string DatabaseLabel(const std::string& connection_text);

}  // namespace kvt::host
