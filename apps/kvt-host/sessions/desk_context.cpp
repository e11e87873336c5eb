#include "apps/kvt-host/sessions/desk_context.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"
#include "services/connection_text.h"
#include "services/data_gateway.h"

namespace kvt::host {

std::optional<access::UserAccess> DeskUser(const DeskContext& desk) {
  try {
    return access::UserAccess::Of(*desk.connection);
  } catch (const vb::Error&) {
    return std::nullopt;
  }
}

std::string OnlyReads(const DeskContext& desk) {
  const std::optional<access::UserAccess> user = DeskUser(desk);
  if (!user || user->Unrestricted()) return {};
  for (access::Role role : user->Roles()) {
    if (role != access::Role::kReader) return {};
  }
  return "the login " + user->User() + " may only read (it holds " +
         (user->Roles().empty() ? "no role" : "only the reader role") + ")";
}

std::string WriteRefusal(data::Connection& connection) {
  try {
    // Changes nothing, but needs the right to write.
    connection.RunInTransaction(
        [&] { connection.Execute("DELETE FROM UserControlValues WHERE 1 = 0"); });
  } catch (const data::LockConflict&) {
    // Another session is writing: busy, not read-only.
  } catch (const vb::Error& error) {
    return error.description();
  }
  return {};
}

std::string ReadOnlyReason(const std::string& connection_text, const std::string& refusal) {
  if (refusal.empty()) return {};
  const services::ConnectionText parsed = services::ParseConnectionText(connection_text);
  if (parsed.backend != data::Backend::kSQLite) {
    return "the server refuses changes from this login (" + refusal + ")";
  }
  const std::filesystem::path file = std::filesystem::absolute(parsed.path).lexically_normal();
  const auto writable = [](const std::filesystem::path& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
  };
  if (!writable(file)) return "you may not change the file " + file.string();
  if (!writable(file.parent_path())) {
    return "its folder " + file.parent_path().string() +
           " takes no new files, and a change needs its log file beside it";
  }
  return "the database refuses changes (" + refusal + ")";
}

std::string WithUser(const std::string& connection_text, const std::string& user_name) {
  // On a server the login is the user; an SQLite file names the user whose
  // settings are read in the text.
  if (services::ParseConnectionText(connection_text).backend != data::Backend::kSQLite) {
    return connection_text;
  }
  return connection_text + ";User ID=" + vb::KeyValueText(user_name);
}

std::string DatabaseLabel(const std::string& connection_text) {
  const services::ConnectionText parsed = services::ParseConnectionText(connection_text);
  if (parsed.backend != data::Backend::kSQLite || parsed.path == ":memory:") {
    return services::DescribeDatabase(parsed);
  }
  return std::filesystem::absolute(parsed.path).lexically_normal().string();
}

DeskContext OpenDesk(const std::string& connection_text, const std::string& user_name,
                     int32_t company_id, const std::string& database_name) {
  DeskContext desk;
  desk.connection = services::DataGateway().OpenConnection(connection_text, -1, 3);
  data::RecordSetRef users = desk.connection->Query(
      "SELECT ID, Username FROM Users WHERE ?1 = '' OR Username = ?1 ORDER BY ID", {user_name});
  desk.user_name = user_name;
  if (!users->IsEOF()) {
    desk.user_id = vb::CLng(users->Item(0).Value());
    desk.user_name = vb::CStr(users->Item(1).Value());
  }
  data::RecordSetRef company =
      desk.connection->Query("SELECT Name FROM Companies WHERE ID = ?1", {company_id});
  if (company->IsEOF()) {
    throw vb::Error::Numbered(vb::err::kAdoNoCurrentRecord, "kvt-host",
                              "company " + std::to_string(company_id));
  }
  desk.company_id = company_id;
  desk.company_name = vb::CStr(company->Item(0).Value());
  desk.connection_text = WithUser(connection_text, desk.user_name);
  desk.database_label = DatabaseLabel(connection_text);
  desk.database_name = database_name;
  desk.read_only_reason = ReadOnlyReason(connection_text, WriteRefusal(*desk.connection));
  // A reader may still keep their own screen settings, so the probe above
  // lets them through.
  if (desk.read_only_reason.empty()) desk.read_only_reason = OnlyReads(desk);
  return desk;
}

}  // namespace kvt::host
