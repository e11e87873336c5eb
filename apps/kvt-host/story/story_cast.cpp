#include "apps/kvt-host/story/story_cast.h"

#include <random>

#include "apps/kvt-host/access/user_access.h"
#include "platform/data/postgres_connection.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"
#include "services/connection_text.h"

namespace kvt::host {

namespace {

std::string RandomPassword() {
  std::random_device device;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string password;
  for (int i = 0; i < 32; ++i) password += kDigits[device() % 16];
  return password;
}

// The login `role` of this database has, with a fresh password.
StoryPart Login(data::Connection& connection, const std::string& connection_text,
                const std::string& role) {
  const std::string where = vb::CStr(
      connection.Query("SELECT current_database() || '_' || current_schema()")->Item(0).Value());
  StoryPart part;
  part.user = vb::LCase(role + "_" + where);
  const std::string password = RandomPassword();
  const std::string verifier = data::PostgresPasswordVerifier(connection, part.user, password);
  const vb::Variant user(part.user);
  const bool exists =
      !connection.Query("SELECT 1 FROM pg_roles WHERE rolname = ?1", {user})->IsEOF();
  connection.RunInTransaction([&] {
    if (exists) {
      connection.Execute(
          "INSERT INTO UserCompanies (UserName, CompanyID) VALUES (?1, 1) ON CONFLICT DO NOTHING",
          {user});
      connection.Query("SELECT kvt_set_password(?1, ?2)", {user, vb::Variant(verifier)});
      connection.Query("SELECT kvt_change_roles(?1, ARRAY[?2], TRUE)", {user, vb::Variant(role)});
    } else {
      connection.Query("SELECT kvt_add_user(?1, ?2, ARRAY[?3], ARRAY[1])",
                       {user, vb::Variant(verifier), vb::Variant(role)});
    }
  });
  part.connection_text = connection_text + ";User ID=" + vb::KeyValueText(part.user) +
                         ";Password=" + vb::KeyValueText(password);
  return part;
}

}  // namespace

StoryCast CastStory(const std::string& connection_text) {
  const data::ConnectionRef connection =
      services::OpenConnection(services::ParseConnectionText(connection_text));
  const access::UserAccess teller = access::UserAccess::Of(*connection);
  if (connection->GetBackend() == data::Backend::kSQLite || !teller.Unrestricted()) {
    const StoryPart self{teller.User(), connection_text};
    return {self, self};
  }
  return {Login(*connection, connection_text, "buyer"),
          Login(*connection, connection_text, "clerk")};
}

}  // namespace kvt::host
