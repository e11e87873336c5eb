#include "apps/kvt-host/host_users.h"

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/host_database.h"
#include "apps/kvt-host/host_login.h"
#include "apps/kvt-host/host_options.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "services/connection_text.h"

namespace kvt::host {

int RunUsersCommand(const std::vector<std::string>& args, std::ostream& out) {
  const std::string verb = args.size() > 1 ? args[1] : "";
  const bool named =
      verb == "add" || verb == "remove" || verb == "grant" || verb == "revoke" || verb == "unlock";
  if (!named && verb != "list") {
    throw UsageError{"users needs add, remove, grant, revoke, unlock or list"};
  }
  const bool with_roles = verb == "add" || verb == "grant" || verb == "revoke";
  std::set<std::string> valued = {"--db", "--user"};
  if (with_roles) valued.insert("--role");
  if (verb == "add") valued.insert("--company");
  const HostOptions options(args, 2, named ? 1 : 0, valued, {});
  if (!options.Has("--db") && options.Value("--db", "").empty()) {
    throw UsageError{"users " + verb + " needs --db"};
  }
  if (with_roles && options.Value("--role", "").empty()) {
    throw UsageError{"users " + verb + " needs --role ROLE[,ROLE...]"};
  }
  const std::string text = LoginConnectionText(
      db::DatabaseConnectionText(options.Value("--db", "")), options.Value("--user", ""));
  HostDatabase database(text);
  database.CheckOurs();
  const data::ConnectionRef connection =
      services::OpenConnection(services::ParseConnectionText(text));
  access::UserAdmin admin(*connection, access::UserAccess::Of(*connection));
  const std::string user = named ? options.Positional(0) : "";
  if (verb == "list") {
    for (const access::UserRow& row : admin.List()) {
      out << row.user << "\t" << (row.roles.empty() ? "-" : row.roles);
      if (!row.locked_until.empty()) out << "\tlocked until " << row.locked_until;
      out << "\n";
    }
    return 0;
  }
  if (verb == "add") {
    const std::vector<access::Role> roles = access::ParseRoles(options.Value("--role", ""));
    const bool on_server = connection->GetBackend() == data::Backend::kPostgreSQL;
    const std::string password =
        on_server ? ReadPassword("KVT_NEW_PASSWORD", "New password for " + user + ": ") : "";
    const std::string company = options.Value("--company", "1");
    admin.Add(user, roles, password, vb::CLng(vb::Variant(company)));
    out << "added " << user << " (" << access::RoleListText(roles) << ")\n";
  } else if (verb == "unlock") {
    out << (admin.Unlock(user) ? "unlocked " + user : user + " was not locked") << "\n";
  } else if (verb == "remove") {
    admin.Remove(user);
    out << "removed " << user << "\n";
  } else {
    const std::vector<access::Role> roles = access::ParseRoles(options.Value("--role", ""));
    verb == "grant" ? admin.Grant(user, roles) : admin.Revoke(user, roles);
    out << (verb == "grant" ? "granted " : "revoked ") << access::RoleListText(roles)
        << (verb == "grant" ? " to " : " from ") << user << "\n";
  }
  return 0;
}

}  // namespace kvt::host
