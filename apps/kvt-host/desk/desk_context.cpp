#include "apps/kvt-host/desk/desk_context.h"

#include <cctype>
#include <filesystem>
#include <vector>

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/connection_text.h"
#include "services/data_gateway.h"

namespace kvt::host {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The key of one "Key=Value" part, lower-cased and without blanks around it.
std::string KeyOf(const std::string& part) {
  const std::string key = part.substr(0, part.find('='));
  const size_t begin = key.find_first_not_of(' ');
  const size_t end = key.find_last_not_of(' ');
  return begin == std::string::npos ? std::string() : Lower(key.substr(begin, end - begin + 1));
}

std::vector<std::string> Parts(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A database another session is writing to is busy, not read-only.
bool IsBusy(const std::string& description) {
  const std::string text = Lower(description);
  return text.find("locked") != std::string::npos || text.find("busy") != std::string::npos;
}

}  // namespace

std::string WriteRefusal(data::Connection& connection) {
  try {
    // Changes nothing, but needs the right to write.
    connection.RunInTransaction(
        [&] { connection.Execute("DELETE FROM UserControlValues WHERE 1 = 0"); });
  } catch (const vb::Error& error) {
    if (!IsBusy(error.description())) return error.description();
  }
  return {};
}

std::string WithUser(const std::string& connection_text, const std::string& user_name) {
  std::string text;
  for (const std::string& part : Parts(connection_text)) {
    const std::string key = KeyOf(part);
    if (key == "user id" || key == "uid") continue;
    text += part + ";";
  }
  return text + "User ID=" + user_name;
}

std::string DatabaseLabel(const std::string& connection_text) {
  try {
    const services::ConnectionText parsed = services::ParseConnectionText(connection_text);
    if (parsed.data_source == ":memory:") return parsed.data_source;
    return std::filesystem::absolute(parsed.data_source).lexically_normal().string();
  } catch (const vb::Error&) {
    // Another provider: its text as written, less any password.
    std::string text;
    for (const std::string& part : Parts(connection_text)) {
      const std::string key = KeyOf(part);
      if (key == "password" || key == "pwd") continue;
      text += (text.empty() ? "" : ";") + part;
    }
    return text;
  }
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
  desk.read_only_reason = WriteRefusal(*desk.connection);
  return desk;
}

}  // namespace kvt::host
