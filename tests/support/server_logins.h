// Test helper: login roles of the test server, each holding roles of the
// purchasing database and working for its companies, dropped when the
// helper goes. Names are made unique per process, as logins are the
// server's and test programs run side by side.
#pragma once

#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "platform/data/postgres_connection.h"
#include "platform/value/text.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::test_support {

class ServerLogins {
 public:
  explicit ServerLogins(const TempDemoDatabase& database) : database_(database) {}
  ~ServerLogins() {
    for (const auto& [stem, login] : logins_) {
      try {
        database_.Open()->ExecuteScript("DELETE FROM UserCompanies WHERE UserName = '" + login +
                                        "'; DROP ROLE IF EXISTS \"" + login + "\"");
      } catch (...) {
        // A server that went away took its logins with it.
      }
    }
  }
  ServerLogins(const ServerLogins&) = delete;
  ServerLogins& operator=(const ServerLogins&) = delete;

  // Adds the login `stem` (made unique) holding `roles` ("clerk", ...)
  // for `companies`, with the password Password(stem); gives its name.
  std::string Add(const std::string& stem, const std::string& roles,
                  const std::string& companies = "1") {
    const std::string login = vb::LCase(stem + "_" + std::to_string(::getpid()));
    auto connection = database_.Open();
    const std::string verifier = data::PostgresPasswordVerifier(*connection, login, Password(stem));
    connection->Query(
        "SELECT kvt_add_user(?1, ?2, string_to_array(?3, ','), "
        "string_to_array(?4, ',')::integer[])",
        {vb::Variant(login), vb::Variant(verifier), vb::Variant(roles), vb::Variant(companies)});
    logins_[stem] = login;
    return login;
  }
  const std::string& Login(const std::string& stem) const { return logins_.at(stem); }
  static std::string Password(const std::string& stem) { return "pw-" + stem + "-Qx7!"; }
  // The database's connection text, logged in as `stem`.
  std::string ConnectionTextFor(const std::string& stem) const {
    return database_.ConnectionText() + ";User ID=" + Login(stem) +
           ";Password=" + vb::KeyValueText(Password(stem));
  }
  data::ConnectionRef Open(const std::string& stem) const {
    return services::OpenConnection(services::ParseConnectionText(ConnectionTextFor(stem)));
  }

 private:
  const TempDemoDatabase& database_;
  std::map<std::string, std::string> logins_;
};

}  // namespace kvt::test_support
