// The API as its clients see it: a real kvt-host serve process on
// 127.0.0.1, a real HTTP client, on both backends; and the API document
// against the server's route table.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/serve/api_server.h"
#include "apps/kvt-host/serve/catalog_routes.h"
#include "apps/kvt-host/serve/consignment_routes.h"
#include "apps/kvt-host/serve/order_routes.h"
#include "apps/kvt-host/serve/static_routes.h"
#include "apps/kvt-host/serve/voucher_routes.h"
#include "platform/value/text.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::serve {
namespace {

using nlohmann::json;

constexpr char kFilePassword[] = "dock-Pw-4471";

// A kvt-host serve process, stopped by its pid when the test ends.
class ServerProcess {
 public:
  ServerProcess(const std::string& connection_text, const std::string& file_password,
                std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"kvt-host",    "serve",     "--listen",
                                     "127.0.0.1:0", "--workers", "4"};
    args.insert(args.end(), more.begin(), more.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("no pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::setenv("KVT_DB", connection_text.c_str(), 1);
      ::setenv("KVT_PASSWORD", file_password.c_str(), 1);
      ::execv(KVT_HOST_PATH, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* lines = ::fdopen(out[0], "r");
    char line[512] = {};
    const std::string said = std::fgets(line, sizeof line, lines) ? line : "";
    std::fclose(lines);
    const size_t colon = said.rfind(':');
    port_ = colon == std::string::npos ? 0 : std::atoi(said.c_str() + colon + 1);
    if (port_ == 0) throw std::runtime_error("the server said: " + said);
  }
  ~ServerProcess() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  int Port() const { return port_; }

 private:
  pid_t pid_ = 0;
  int port_ = 0;
};

struct Answer {
  int status = 0;
  json body;
};

class ServeApiTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  ServeApiTest() : logins_(db_) {
    if (OnServer()) {
      for (const char* role : {"clerk", "buyer"}) logins_.Add(role, role);
    } else {
      auto connection = db_.Open();
      access::UserAdmin admin(*connection, access::UserAccess::Of(*connection, "boss"));
      admin.Add("boss", {access::Role::kAdmin}, "", 1);
      admin.Add("clerk", {access::Role::kClerk}, "", 1);
      admin.Add("buyer", {access::Role::kBuyer}, "", 1);
    }
    server_ = std::make_unique<ServerProcess>(db_.ConnectionText(), kFilePassword);
  }
  bool OnServer() const { return GetParam() == data::Backend::kPostgreSQL; }

  Answer Call(const std::string& method, const std::string& path, const std::string& body = "",
              const std::string& token = "", httplib::Headers headers = {}) {
    httplib::Client client("127.0.0.1", server_->Port());
    client.set_read_timeout(std::chrono::seconds(20));
    if (!token.empty()) headers.emplace("Authorization", "Bearer " + token);
    httplib::Result result = method == "GET"   ? client.Get(path, headers)
                             : method == "PUT" ? client.Put(path, headers, body, "application/json")
                             : method == "DELETE"
                                 ? client.Delete(path, headers, body, "application/json")
                                 : client.Post(path, headers, body, "application/json");
    if (!result) return {};
    return {result->status, json::parse(result->body, nullptr, false)};
  }
  // A host built with Qt answers a PDF; one built without says it has no
  // PDF writer rather than passing off the text of the pages as one.
  void ExpectPdfOrNoWriter(const std::string& path, const std::string& token) {
    const auto printed = httplib::Client("127.0.0.1", server_->Port())
                             .Get(path, {{"Authorization", "Bearer " + token}});
    ASSERT_TRUE(printed);
#ifdef KVT_HOST_HAS_PDF
    EXPECT_EQ(printed->status, 200);
    EXPECT_EQ(printed->body.substr(0, 5), "%PDF-");
#else
    EXPECT_EQ(printed->status, 501);
#endif
  }
  // Starts a receipt against order 1 of supplier 1; answers its path.
  std::string StartDraft(const std::string& token, const std::string& note = "") {
    const Answer started =
        Call("POST", "/api/voucher-drafts",
             json{{"supplier_id", 1}, {"source_id", 1}, {"delivery_note", note}}.dump(), token);
    EXPECT_EQ(started.status, 201) << started.body.dump();
    return "/api/voucher-drafts/" + std::to_string(started.body.value("id", 0));
  }
  std::string LogIn(const std::string& stem) {
    const std::string user = OnServer() ? logins_.Login(stem) : stem;
    const std::string password =
        OnServer() ? test_support::ServerLogins::Password(stem) : kFilePassword;
    const Answer answer =
        Call("POST", "/api/login", json{{"user", user}, {"password", password}}.dump());
    EXPECT_EQ(answer.status, 200) << answer.body.dump();
    return answer.body.value("token", "");
  }

  test_support::TempDemoDatabase db_{"kvt_serve_api", GetParam()};
  test_support::ServerLogins logins_;
  std::unique_ptr<ServerProcess> server_;
};

TEST_P(ServeApiTest, EveryDocumentedRouteRefusesAMissingOrRevokedToken) {
  const json document = Call("GET", "/api/openapi.json").body;
  ASSERT_TRUE(document.contains("paths"));
  const std::string token = LogIn("clerk");
  EXPECT_EQ(Call("POST", "/api/logout", "", token).status, 200);
  int checked = 0;
  for (const auto& [path, operations] : document["paths"].items()) {
    std::string concrete = path;
    for (size_t at; (at = concrete.find('{')) != std::string::npos;) {
      concrete.replace(at, concrete.find('}') - at + 1, "1");
    }
    for (const auto& [method, operation] : operations.items()) {
      if (operation.contains("security")) continue;  // the login, the page, the document
      const std::string upper = vb::UCase(method);
      for (const std::string& sent : {std::string(), token, std::string(64, 'a')}) {
        const Answer answer = Call(upper, concrete, "{}", sent);
        EXPECT_EQ(answer.status, 401) << upper << " " << concrete;
        EXPECT_EQ(answer.body["error"].value("field", ""), "Authorization");
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 20);
}

TEST_P(ServeApiTest, AClerkReceivesAgainstAnOrderAndPostsOnceWhateverTheRetries) {
  const std::string clerk = LogIn("clerk");
  const Answer lines = Call("GET", "/api/orders/1/outstanding-lines", "", clerk);
  ASSERT_EQ(lines.status, 200) << lines.body.dump();
  ASSERT_EQ(lines.body.size(), 2u);
  EXPECT_EQ(lines.body[1]["code"], "NUT-M10");
  EXPECT_EQ(lines.body[1]["outstanding"], 20.0);

  const std::string draft = StartDraft(clerk, "DN-9");
  EXPECT_EQ(Call("GET", draft, "", clerk).body["supplier_ref"], "HF-Q-3321");  // the order's

  // Over-receipt: the session's words, and nothing taken.
  const Answer over = Call("POST", draft + "/lines", R"({"source_line_id":2,"qty":25})", clerk);
  EXPECT_EQ(over.status, 409);
  EXPECT_EQ(over.body["error"]["message"],
            "Only 20 of NUT-M10 (Hex nut M10, box of 200) are outstanding on order PO000101: "
            "20 ordered, 0 received. Please receive 20 or less.");
  // Scans add one each, or the quantity typed; a fix sets the line. (A scan
  // sent again under its key is AReceiptSurvivesARestart's.)
  Call("POST", draft + "/scans", R"({"code":"nut-m10"})", clerk);
  Call("POST", draft + "/scans", R"({"code":"NUT-M10","qty":4})", clerk);
  Answer now = Call("POST", draft + "/scans", R"({"code":"6001230044011"})", clerk);  // BLT-M10
  ASSERT_EQ(now.status, 200) << now.body.dump();
  EXPECT_EQ(now.body["lines"][0]["qty"], 5.0);
  now = Call("PUT", draft + "/lines/1", R"({"qty":3})", clerk);
  EXPECT_EQ(now.body["lines"][1]["qty"], 3.0);
  EXPECT_EQ(now.body["source_lines"][0]["still_to_come"], 0.0);
  EXPECT_EQ(now.body["source_lines"][1]["still_to_come"], 15.0);
  EXPECT_EQ(Call("POST", draft + "/scans", R"({"code":"BLT-M10"})", clerk).status, 409);
  EXPECT_EQ(Call("POST", draft + "/scans", R"({"code":"NOPE"})", clerk).status, 422);

  EXPECT_EQ(Call("POST", draft + "/post", "{}", clerk).status, 400);  // no key
  const httplib::Headers key = {{"Idempotency-Key", "dock-1"}};
  const Answer posted =
      Call("POST", draft + "/post", R"({"supplier_document":"INV-77"})", clerk, key);
  ASSERT_EQ(posted.status, 201) << posted.body.dump();
  EXPECT_EQ(Call("POST", draft + "/post", R"({"supplier_document":"INV-77"})", clerk, key).body,
            posted.body);
  EXPECT_EQ(Call("POST", draft + "/post", "{}", clerk, {{"Idempotency-Key", "other"}}).status, 409);

  EXPECT_EQ(Call("GET", "/api/orders/1", "", clerk).body["lines"][1]["received"], 5.0);
  EXPECT_EQ(Call("GET", "/api/books-check", "", clerk).body["holds"], true);
  const Answer trail = Call(
      "GET", "/api/audit?document=voucher%20" + posted.body["voucher_number"].get<std::string>(),
      "", clerk);
  ASSERT_EQ(trail.body.size(), 1u) << trail.body.dump();
  EXPECT_EQ(trail.body[0]["user"], OnServer() ? logins_.Login("clerk") : "clerk");

  ExpectPdfOrNoWriter(posted.body["pdf"], clerk);
}

TEST_P(ServeApiTest, BadInputIsRefusedNamingTheFieldAndTheRule) {
  const std::string clerk = LogIn("clerk");
  const std::string draft = StartDraft(clerk);
  struct Case {
    std::string body;
    std::string field;
    std::string rule;
  };
  const std::string nul_code = std::string(R"({"code":"NUT)") + "\\u0000" + R"("})";
  const Case cases[] = {
      {R"({"code":)", "body", "is not well-formed JSON"},
      {R"([1,2])", "body", "must be a JSON object"},
      {R"({"code":12})", "code", "must be a string"},
      {R"({"code":"NUT-M10","colour":"red"})", "colour", "is not a field this request takes"},
      {nul_code, "code", "must not contain a NUL character"},
      {R"({"code":")" + std::string(1 << 20, 'x') + R"("})", "code", "at most 50 characters"},
      // Beyond a double: the reader refuses it with the body.
      {R"({"code":"NUT-M10","qty":1e400})", "body", "is not well-formed JSON"},
      {R"({"code":"NUT-M10","qty":1e300})", "qty", "what the books hold"},
      {R"({"code":"NUT-M10","qty":-2})", "qty", "must be above zero"},
      {R"({"code":"NUT-M10","qty":0.00001})", "qty", "at most 4 decimals"},
      {R"({"code":"NUT-M10","qty":"3"})", "qty", "must be a number"},
  };
  for (const Case& c : cases) {
    const Answer answer = Call("POST", draft + "/scans", c.body, clerk);
    EXPECT_EQ(answer.status, 400) << c.body.substr(0, 60);
    const json& error = answer.body["error"];
    EXPECT_EQ(error.value("field", ""), c.field) << c.body.substr(0, 60);
    EXPECT_NE(error.value("message", "").find(c.rule), std::string::npos)
        << c.body.substr(0, 60) << " -> " << error.dump();
  }
  EXPECT_EQ(Call("GET", "/api/orders?page_size=100000", "", clerk).body["error"]["field"],
            "page_size");
  EXPECT_EQ(Call("GET", "/api/orders/99999999999", "", clerk).status, 404);
  // The server is still there and the draft untouched.
  EXPECT_EQ(Call("GET", draft, "", clerk).body["lines"].size(), 0u);
}

TEST_P(ServeApiTest, ABuyerOrdersThroughTheLineRulesAndTheOrderOpensForReceiving) {
  const std::string buyer = LogIn("buyer"), clerk = LogIn("clerk");
  const std::string order =
      R"({"supplier_id":1,"our_ref":"WEB-1","lines":[{"code":"nut-m10","qty":7},)"
      R"({"code":"BLT-M10","qty":2.5}]})";
  // Each role is refused the other's work, saying why.
  EXPECT_EQ(Call("POST", "/api/orders", order, clerk).status, 403);
  EXPECT_EQ(Call("POST", "/api/orders/1/close", "", clerk).status, 403);
  const Answer capture =
      Call("POST", "/api/voucher-drafts", R"({"supplier_id":1,"source_id":1})", buyer);
  EXPECT_EQ(capture.status, 403);
  EXPECT_NE(capture.body["error"].value("message", "").find("Only a clerk"), std::string::npos)
      << capture.body.dump();
  // A reprint is of what was printed, and for whose document it is.
  EXPECT_EQ(Call("GET", "/api/orders/3/reprint", "", buyer).status, 409);  // pending
  EXPECT_EQ(Call("GET", "/api/orders/1/reprint", "", clerk).status, 403);
  EXPECT_EQ(Call("GET", "/api/vouchers/1/reprint", "", buyer).status, 403);
  ExpectPdfOrNoWriter("/api/vouchers/1/reprint", clerk);
  const Answer bad =
      Call("POST", "/api/orders",
           R"({"supplier_id":1,"lines":[{"code":"NUT-M10","qty":1},{"code":"X"}]})", buyer);
  EXPECT_EQ(bad.body["error"]["field"], "lines[1].qty");

  const Answer pending = Call("POST", "/api/orders", order, buyer);
  ASSERT_EQ(pending.status, 201) << pending.body.dump();
  EXPECT_EQ(pending.body["status"], "Pending");
  const std::string number = pending.body["number"];
  EXPECT_EQ(Call("GET", "/api/outstanding-orders?number=" + number, "", buyer).status, 409);
  const std::string path = "/api/orders/" + std::to_string(pending.body["id"].get<int>());
  EXPECT_EQ(Call("POST", path + "/process", "", buyer).body["status"], "Processed");
  EXPECT_EQ(Call("POST", path + "/process", "", buyer).status, 409);

  const Answer detail = Call("GET", path, "", buyer);
  ASSERT_EQ(detail.body["lines"].size(), 2u);
  EXPECT_EQ(detail.body["lines"][0]["qty"], 7.0);
  EXPECT_EQ(detail.body["our_ref"], "WEB-1");
  const Answer open = Call("GET", "/api/outstanding-orders?number=" + number, "", clerk);
  EXPECT_EQ(open.body["order_id"], pending.body["id"]);
  ExpectPdfOrNoWriter(path + "/pdf", buyer);
}

// Clients that send half a request are cut off after the read timeout (5 s),
// so even more of them than there are workers delay the others by no more
// than that. The backend plays no part here.
TEST_P(ServeApiTest, AHalfOpenClientIsTimedOutWithoutHoldingUpTheOthers) {
  if (OnServer()) GTEST_SKIP() << "the same server code as on SQLite";
  std::vector<int> stalled;
  for (int i = 0; i < 6; ++i) {  // more than the server's workers
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(server_->Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string half = "POST /api/login HTTP/1.1\r\nContent-Length: 100\r\n\r\n{";
    ASSERT_EQ(::send(fd, half.data(), half.size(), 0), static_cast<ssize_t>(half.size()));
    stalled.push_back(fd);
  }
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(LogIn("clerk").empty());
  for (int fd : stalled) {
    char buffer[256];
    while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(fd);
  }
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_LT(waited, std::chrono::seconds(20)) << "the stalled clients were cut off";
}

// A barcode names one product in its company, whether asked for as one or
// typed where a code goes.
TEST_P(ServeApiTest, AProductIsFoundByItsBarcodeWhichIsItsAloneInTheCompany) {
  const std::string clerk = LogIn("clerk");
  for (const char* query : {"barcode=6001230044028", "code=6001230044028"}) {
    EXPECT_EQ(Call("GET", std::string("/api/products?") + query, "", clerk).body[0]["code"],
              "NUT-M10");
  }
  const data::ConnectionRef owner = db_.Open();
  EXPECT_THROW(owner->Execute("UPDATE Products SET Barcode = '6001230044028' WHERE ID = 3"),
               vb::Error);
  owner->Execute("UPDATE Products SET Barcode = '6001230044028' WHERE ID = 11");  // company 2
}

TEST_P(ServeApiTest, AClerkSellsConsignmentStockWithinWhatIsLeft) {
  const std::string clerk = LogIn("clerk");
  EXPECT_EQ(Call("GET", "/api/suppliers/3/consignment-lines", "", clerk).body[0]["left"], 7.0);
  const std::string sale = R"({"line_id":5,"qty":2,"date":"2026-12-01"})";
  EXPECT_EQ(Call("POST", "/api/consignment-sales", sale, LogIn("buyer")).status, 403);
  const Answer over = Call("POST", "/api/consignment-sales", R"({"line_id":5,"qty":8})", clerk);
  EXPECT_EQ(over.status, 409);
  EXPECT_NE(over.body["error"]["message"].dump().find("7"), std::string::npos) << over.body;
  // A received line is no consignment line.
  EXPECT_EQ(Call("POST", "/api/consignment-sales", R"({"line_id":1,"qty":1})", clerk).status, 409);
  // Sent twice under one key (the first answer lost): sold once. The key
  // sent with another sale is refused.
  const httplib::Headers key = {{"Idempotency-Key", "sale-1"}};
  const Answer sold = Call("POST", "/api/consignment-sales", sale, clerk, key);
  ASSERT_EQ(sold.status, 201) << sold.body.dump();
  EXPECT_EQ(sold.body["left"], 5.0);
  EXPECT_EQ(sold.body["last_sold_on"], "2026-12-01");
  EXPECT_EQ(Call("POST", "/api/consignment-sales", sale, clerk, key).body, sold.body);
  EXPECT_EQ(Call("POST", "/api/consignment-sales", R"({"line_id":5,"qty":1})", clerk, key).status,
            422);
  EXPECT_EQ(Call("GET", "/api/suppliers/3/consignment-lines", "", clerk).body[0]["left"], 5.0);
}

TEST_P(ServeApiTest, ABuyerChangesAnOrdersLinesThroughTheOrderItemRules) {
  const std::string buyer = LogIn("buyer");
  // PO000102: line 4 nothing received, line 5 four of ten received.
  EXPECT_EQ(Call("PUT", "/api/orders/2/lines/4", R"({"qty":30})", LogIn("clerk")).status, 403);
  EXPECT_EQ(Call("PUT", "/api/orders/2/lines/4", R"({"qty":30})", buyer).body["lines"][0]["qty"],
            30.0);
  const Answer kept = Call("DELETE", "/api/orders/2/lines/5", "", buyer);
  EXPECT_EQ(kept.body["error"]["message"],
            "Goods have been received against this line (4.00 so far); it stays on the order.");
  EXPECT_EQ(
      Call("POST", "/api/orders/2/lines", R"({"code":"6001230044035","qty":3})", buyer).status,
      201);
  const Answer order = Call("DELETE", "/api/orders/2/lines/4", "", buyer);
  ASSERT_EQ(order.body["lines"].size(), 2u) << order.body.dump();
  EXPECT_EQ(order.body["lines"][1]["code"], "WSH-M10");
  EXPECT_EQ(order.body["status"], "Processed");
  EXPECT_EQ(Call("POST", "/api/orders/2/close", "", buyer).status, 200);
  EXPECT_EQ(Call("PUT", "/api/orders/2/lines/5", R"({"qty":9})", buyer).status, 409);
}

TEST_P(ServeApiTest, AReceiptSurvivesARestartAndItsPostIsNeverMadeTwice) {
  std::string clerk = LogIn("clerk");
  const std::string draft = StartDraft(clerk, "DN-R");
  const httplib::Headers scan = {{"Idempotency-Key", "scan-r"}};
  Call("POST", draft + "/scans", R"({"code":"NUT-M10","qty":2})", clerk, scan);
  // Another server on the same database: what the first kept in memory
  // (the logins) is gone.
  server_.reset();
  server_ = std::make_unique<ServerProcess>(db_.ConnectionText(), kFilePassword);
  clerk = LogIn("clerk");
  // The scan retried after the restart (its answer lost) still counts once.
  const Answer now = Call("POST", draft + "/scans", R"({"code":"NUT-M10","qty":2})", clerk, scan);
  EXPECT_EQ(now.body["lines"][0]["qty"], 2.0) << now.body.dump();
  EXPECT_EQ(now.body["delivery_note"], "DN-R");
  const httplib::Headers key = {{"Idempotency-Key", "post-r"}};
  const Answer posted = Call("POST", draft + "/post", "{}", clerk, key);
  ASSERT_EQ(posted.status, 201) << posted.body.dump();
  // A server stopped between posting and writing down the answer: the
  // retried post finds the voucher instead of posting again.
  db_.Open()->Execute("UPDATE VoucherDrafts SET Posted = NULL, PostingFrom = ?1",
                      {vb::Variant(posted.body["voucher_id"].get<int32_t>())});
  EXPECT_EQ(Call("POST", draft + "/scans", R"({"code":"NUT-M10"})", clerk).status, 409);
  EXPECT_EQ(Call("POST", draft + "/post", "{}", clerk, key).body, posted.body);
}

// One login and one read over TLS, with a certificate made for the test.
TEST_P(ServeApiTest, TheApiAnswersOverTls) {
  if (OnServer()) GTEST_SKIP() << "the same server code as on SQLite";
  const std::string cert = db_.Path() + ".cert.pem", key = db_.Path() + ".key.pem";
  const std::string make =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 -addext "
      "subjectAltName=IP:127.0.0.1 -keyout '" +
      key + "' -out '" + cert + "' 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  ServerProcess tls(db_.ConnectionText(), kFilePassword, {"--cert", cert, "--key", key});
  httplib::SSLClient client("127.0.0.1", tls.Port());
  client.set_ca_cert_path(cert.c_str());
  client.enable_server_certificate_verification(true);
  const auto login =
      client.Post("/api/login", json{{"user", "clerk"}, {"password", kFilePassword}}.dump(),
                  "application/json");
  ASSERT_TRUE(login && login->status == 200) << httplib::to_string(login.error());
  const std::string token = json::parse(login->body)["token"];
  const auto suppliers = client.Get("/api/suppliers", {{"Authorization", "Bearer " + token}});
  ASSERT_TRUE(suppliers);
  EXPECT_GT(json::parse(suppliers->body).size(), 0u);
  EXPECT_FALSE(httplib::Client("127.0.0.1", tls.Port()).Get("/api/openapi.json"));  // plain HTTP
  for (const std::string& file : {cert, key}) std::filesystem::remove(file);
}

KVT_INSTANTIATE_BACKENDS(ServeApiTest);

// The API document names every route the server has, with its method, and
// nothing else.
TEST(ServeDocumentTest, TheDocumentNamesEveryRouteAndNoOther) {
  ApiServer server(ServeTarget{}, ServeOptions{});
  DraftStore drafts("", 1);
  AddCatalogRoutes(server);
  SaleKeys keys("", 1);
  AddConsignmentRoutes(server, keys);
  AddOrderRoutes(server);
  AddVoucherRoutes(server, drafts);
  AddStaticRoutes(server);
  std::set<std::string> open, served, documented;
  for (const auto& [method, path] : server.PublicRoutes()) open.insert(method + " " + path);
  for (const Route& route : server.Routes()) served.insert(route.method + " " + route.path);
  served.insert(open.begin(), open.end());
  const json document = json::parse(OpenApiDocument());
  for (const auto& [path, operations] : document["paths"].items()) {
    for (const auto& [method, operation] : operations.items()) {
      const std::string upper = vb::UCase(method);
      documented.insert(upper + " " + path);
      EXPECT_EQ(operation.contains("security"), open.count(upper + " " + path) == 1)
          << upper << " " << path << ": marked public exactly when it needs no login";
    }
  }
  EXPECT_EQ(served, documented);
}

}  // namespace
}  // namespace kvt::serve
