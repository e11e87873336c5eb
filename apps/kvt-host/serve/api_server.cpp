#include "apps/kvt-host/serve/api_server.h"

#include <new>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/bounded_pool.h"
#include "apps/kvt-host/serve/json_body.h"
#include "kvt/host_helpers.h"
#include "platform/data/data_errors.h"
#include "services/connection_text.h"

namespace kvt::serve {

namespace {

constexpr char kJson[] = "application/json";
// How long a kept-alive connection may idle on a worker, and how many
// requests it may make, so that idle clients do not hold every worker.
constexpr time_t kKeepAliveSeconds = 2;
constexpr size_t kKeepAliveRequests = 100;
constexpr size_t kTokenLength = 64;
// How long a login's connection is kept unused before it is closed.
constexpr std::chrono::seconds kConnectionIdleLimit{60};

// "/api/orders/{id}" as the library's pattern: a key is digits, any other
// parameter one path segment.
std::string PatternOf(const std::string& path) {
  std::string pattern;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '{') {
      const size_t end = path.find('}', i);
      const std::string name = path.substr(i + 1, end - i - 1);
      pattern += name == "id" || name.ends_with("_id") ? "(\\d{1,10})" : "([^/]{1,200})";
      i = end;
    } else if (path[i] == '.') {
      pattern += "\\.";
    } else {
      pattern += path[i];
    }
  }
  return pattern;
}

std::string BearerToken(const httplib::Request& request) {
  const std::string header = request.get_header_value("Authorization");
  constexpr std::string_view kBearer = "Bearer ";
  if (header.compare(0, kBearer.size(), kBearer) != 0) return {};
  return header.substr(kBearer.size());
}

}  // namespace

Call::Call(const httplib::Request& call_request, httplib::Response& call_response,
           std::shared_ptr<const Session> session, const ServeOptions& serve_options)
    : request(call_request),
      response(call_response),
      options(serve_options),
      session_(std::move(session)) {}

int32_t Call::Key(size_t index) const { return PathKey(PathText(index)); }

std::string Call::PathText(size_t index) const {
  if (index + 1 >= request.matches.size()) Refuse(404, "path", "There is no such record.");
  return request.matches[index + 1].str();
}

std::optional<std::string> Call::Query(const char* name) const {
  if (!request.has_param(name)) return std::nullopt;
  return request.get_param_value(name);
}

std::string Call::IdempotencyKey() const {
  constexpr size_t kKeyLimit = 100;
  const std::string key = request.get_header_value("Idempotency-Key");
  if (key.size() > kKeyLimit || key.find('\0') != std::string::npos) {
    Refuse(400, "Idempotency-Key",
           "Idempotency-Key must have at most " + std::to_string(kKeyLimit) +
               " characters and no NUL");
  }
  return key;
}

data::Connection& Call::Db() {
  if (!connection_) {
    connection_ =
        services::OpenConnection(services::ParseConnectionText(session_->connection_text));
  }
  return *connection_;
}

const access::UserAccess& Call::Access() {
  if (!access_) {
    access_ = access::UserAccess::Of(Db(), session_->on_server ? "" : session_->user);
  }
  return *access_;
}

void Call::Require(access::Action action, const std::string& document) {
  Access().Require(Db(), action, document, options.company_id);
}

ApiServer::ApiServer(ServeTarget target, ServeOptions options)
    : options_(std::move(options)),
      gate_(std::move(target)),
      tokens_(options_.token_lifetime),
      // A request holds its user's connections (a list read while another
      // query runs takes a second, a post a third) and the server's own.
      connections_(4 * options_.workers, kConnectionIdleLimit) {
  if (!options_.certificate.empty() && !options_.private_key.empty()) {
    server_ = std::make_unique<httplib::SSLServer>(options_.certificate.c_str(),
                                                   options_.private_key.c_str());
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  const size_t workers = options_.workers, queue = options_.queue_limit;
  server_->new_task_queue = [workers, queue] { return new BoundedPool(workers, queue); };
  server_->set_payload_max_length(options_.body_limit);
  server_->set_read_timeout(options_.read_timeout);
  server_->set_write_timeout(options_.write_timeout);
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  server_->set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        response.status = 500;
        response.set_content(JsonText(ErrorJson({500, "", "The server failed on this request."})),
                             kJson);
      });
  // The library's own refusals (no such route, a body over the limit)
  // answer in the same JSON as the routes'.
  server_->set_error_handler([this](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return;
    std::string message = "There is no such resource.";
    std::string field;
    if (response.status == 413) {
      message = "The body is longer than the server takes (" + std::to_string(options_.body_limit) +
                " bytes).";
      field = "body";
    } else if (response.status != 404) {
      message = "The request was refused (HTTP " + std::to_string(response.status) + ").";
    }
    response.set_content(JsonText(ErrorJson({response.status, field, message})), kJson);
  });
  AddSessionRoutes();
}

ApiServer::~ApiServer() { Stop(); }

void ApiServer::Answer(httplib::Response& response, const std::function<void()>& work) const {
  ApiError error;
  try {
    work();
    return;
  } catch (const ApiError& refused) {
    error = refused;
  } catch (const data::PermissionDenied& denied) {
    error = {403, "", access::PlainRefusal(denied)};
  } catch (const vb::Error& failed) {
    error = ApiErrorOf(failed);
  } catch (const std::bad_alloc&) {
    error = {503, "", "The server is out of memory for this request."};
  } catch (const std::exception&) {
    error = {500, "", "The server failed on this request."};
  } catch (...) {
    error = {500, "", "The server failed on this request."};
  }
  response.status = error.status;
  response.set_content(JsonText(ErrorJson(error)), kJson);
}

std::shared_ptr<const Session> ApiServer::Authorised(const httplib::Request& request) {
  const std::string token = BearerToken(request);
  if (token.empty()) {
    Refuse(401, "Authorization",
           "A login is needed: send \"Authorization: Bearer <token>\" with the token "
           "POST /api/login gives.");
  }
  std::shared_ptr<const Session> session =
      token.size() == kTokenLength ? tokens_.Find(token) : nullptr;
  if (!session) {
    Refuse(401, "Authorization", "The token is unknown, expired or revoked: log in again.");
  }
  return session;
}

void ApiServer::Add(Route route) {
  Register(route);
  routes_.push_back(std::move(route));
}

void ApiServer::Register(const Route& route) {
  const Handler handler = route.handler;
  auto serve = [this, handler](const httplib::Request& request, httplib::Response& response) {
    Answer(response, [&] {
      std::shared_ptr<const Session> session = Authorised(request);
      // One login's requests in flight are capped, so its flood waits its
      // turn instead of taking every worker.
      {
        std::lock_guard<std::mutex> lock(in_flight_mutex_);
        int& running = in_flight_[session.get()];
        if (running >= options_.in_flight_per_login) {
          Refuse(429, "", "Too many requests of this login at once: wait for the answers.");
        }
        ++running;
      }
      struct Done {
        ApiServer& server;
        const Session* session;
        ~Done() {
          std::lock_guard<std::mutex> lock(server.in_flight_mutex_);
          if (--server.in_flight_[session] <= 0) server.in_flight_.erase(session);
        }
      } done{*this, session.get()};
      // The component opens a connection per query: on a server each
      // login's are kept from one request to its next, so that neither the
      // login nor a fresh session's cold caches are paid per request.
      services::ScopedConnectionReuse reuse(session->on_server ? &connections_ : nullptr);
      // Nothing of one request stays on the worker for the next, which may
      // be another user's: the component's thread store holds settings read
      // as this user and a connection of theirs, which goes back to the
      // pool with the others.
      struct ThreadStoreReset {
        ~ThreadStoreReset() { ForgetThreadState(); }
      } reset;
      std::optional<access::ScopedSqliteUser> acting;
      if (!session->on_server) acting.emplace(session->user);
      Call call(request, response, session, options_);
      const nlohmann::json answer = handler(call);
      if (response.body.empty()) response.set_content(JsonText(answer), kJson);
    });
  };
  const std::string pattern = PatternOf(route.path);
  if (route.method == "GET") {
    server_->Get(pattern, serve);
  } else if (route.method == "POST") {
    server_->Post(pattern, serve);
  } else if (route.method == "PUT") {
    server_->Put(pattern, serve);
  } else {
    server_->Delete(pattern, serve);
  }
}

void ApiServer::AddStatic(const std::string& path, const std::string& content_type,
                          const char* content) {
  public_routes_.emplace_back("GET", path);
  server_->Get(PatternOf(path),
               [content_type, content](const httplib::Request&, httplib::Response& response) {
                 response.set_header("Cache-Control", "no-cache");
                 response.set_content(content, content_type);
               });
}

void ApiServer::AddSessionRoutes() {
  public_routes_.emplace_back("POST", "/api/login");
  server_->Post("/api/login", [this](const httplib::Request& request, httplib::Response& response) {
    Answer(response, [&] {
      JsonBody body(request.body);
      const std::string user = body.Text("user", 63);
      const std::string password = body.Text("password", 1000);
      body.Done();
      const std::string token = tokens_.Issue(gate_.LogIn(user, password));
      response.set_content(
          JsonText({{"token", token}, {"user", user}, {"expires_in", tokens_.Lifetime().count()}}),
          kJson);
    });
  });
  Add({"POST", "/api/logout", [this](Call& call) {
         tokens_.Revoke(BearerToken(call.request));
         if (!tokens_.HoldsLogin(call.User().connection_text)) {
           connections_.Forget(call.User().connection_text);
         }
         return nlohmann::json{{"logged_out", true}};
       }});
  Add({"GET", "/api/me", [](Call& call) {
         const access::UserAccess& access = call.Access();
         nlohmann::json roles = nlohmann::json::array();
         for (access::Role role : access.Roles()) roles.push_back(access::RoleName(role));
         return nlohmann::json{
             {"user", access.User()}, {"roles", roles}, {"unrestricted", access.Unrestricted()}};
       }});
}

bool ApiServer::Bind() {
  port_ = options_.port == 0
              ? server_->bind_to_any_port(options_.host)
              : (server_->bind_to_port(options_.host, options_.port) ? options_.port : -1);
  return port_ > 0;
}

bool ApiServer::Serve() { return server_->listen_after_bind(); }

bool ApiServer::Listen() { return Bind() && Serve(); }

void ApiServer::Stop() {
  if (server_) server_->stop();
}

}  // namespace kvt::serve
