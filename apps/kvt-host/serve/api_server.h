// The HTTP server of `kvt-host serve`: a route table over cpp-httplib with
// the limits every request is held to (a bounded pool of workers, a body
// limit answered 413, read and write timeouts, a cap on one login's
// requests in flight answered 429) and the one place errors become JSON
// answers. A route that needs a login runs as the token's user: on a
// server through the user's own connection, so the database enforces
// their grants; on SQLite as the user the host holds to their recorded
// roles. Nothing thrown by a handler reaches the library: the worst a
// request gets is a 500 with the host's words.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/serve/api_login.h"
#include "apps/kvt-host/serve/token_store.h"
#include "platform/data/connection.h"
#include "platform/report/output.h"
#include "services/connection_text.h"

namespace kvt::serve {

struct ServeOptions {
  std::string host = "127.0.0.1";
  int port = 0;  // 0: any free port (Port() says which)
  size_t workers = 8;
  size_t queue_limit = 64;
  size_t body_limit = 2 * 1024 * 1024;
  std::chrono::seconds read_timeout{5};
  std::chrono::seconds write_timeout{5};
  int in_flight_per_login = 4;
  std::chrono::seconds token_lifetime{8 * 3600};
  int32_t company_id = 1;
  std::string database_name = "KvtDemo";
  // Makes the report output a PDF is written through to `path` (the
  // front end's; none: PDFs answer 501).
  std::function<std::shared_ptr<report::Output>(const std::string& path)> pdf_output;
  // TLS when both are given (PEM files).
  std::string certificate, private_key;
};

// One request of a logged-in user.
class Call {
 public:
  Call(const httplib::Request& request, httplib::Response& response,
       std::shared_ptr<const Session> session, const ServeOptions& options);

  const httplib::Request& request;
  httplib::Response& response;
  const ServeOptions& options;

  const Session& User() const { return *session_; }
  // The path's `index`th parameter as a record key (404 when it is none).
  int32_t Key(size_t index) const;
  std::string PathText(size_t index) const;
  std::optional<std::string> Query(const char* name) const;
  // The request's Idempotency-Key: empty when none was sent; refused when
  // too long or holding a NUL.
  std::string IdempotencyKey() const;
  // The user's connection, opened on first use.
  data::Connection& Db();
  // The user and the roles they hold now (read again per request, so a
  // revoked role stops at once).
  const access::UserAccess& Access();
  // Refuses with 403 (audited) unless the user may do `action`.
  void Require(access::Action action, const std::string& document);

 private:
  std::shared_ptr<const Session> session_;
  data::ConnectionRef connection_;
  std::optional<access::UserAccess> access_;
};

// A handler's answer: JSON for 200 unless it set the response itself.
using Handler = std::function<nlohmann::json(Call&)>;

struct Route {
  std::string method;  // "GET", "POST", "PUT", "DELETE"
  std::string path;    // "/api/orders/{id}": as the API document writes it
  Handler handler;
};

class ApiServer {
 public:
  ApiServer(ServeTarget target, ServeOptions options);
  ~ApiServer();

  // A route a logged-in user calls.
  void Add(Route route);
  // The routes, for the API document's check: those that need a login, and
  // those that do not (the login, the page, the document) as method and
  // path.
  const std::vector<Route>& Routes() const { return routes_; }
  const std::vector<std::pair<std::string, std::string>>& PublicRoutes() const {
    return public_routes_;
  }
  // Serves fixed content without a login (the dock page, the API
  // document).
  void AddStatic(const std::string& path, const std::string& content_type, const char* content);

  // Binds and serves until Stop; false when it could not bind.
  bool Listen();
  // Binds now (to learn the port); then Serve.
  bool Bind();
  bool Serve();
  int Port() const { return port_; }
  // False when the certificate or key of TLS could not be read.
  bool Valid() const { return server_->is_valid(); }
  void Stop();

  TokenStore& Tokens() { return tokens_; }
  LoginGate& Gate() { return gate_; }
  const ServeOptions& Options() const { return options_; }

 private:
  void Register(const Route& route);
  void AddSessionRoutes();
  // Runs `work`, turning whatever it throws into a JSON error answer.
  void Answer(httplib::Response& response, const std::function<void()>& work) const;
  std::shared_ptr<const Session> Authorised(const httplib::Request& request);

  ServeOptions options_;
  LoginGate gate_;
  TokenStore tokens_;
  // On a server, each login's connections from one of its requests to the
  // next (the server's own, for the drafts, too).
  services::ConnectionPool connections_;
  std::unique_ptr<httplib::Server> server_;
  std::vector<Route> routes_;
  std::vector<std::pair<std::string, std::string>> public_routes_;
  std::mutex in_flight_mutex_;
  std::map<const Session*, int> in_flight_;
  int port_ = 0;
};

}  // namespace kvt::serve
