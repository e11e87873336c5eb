#include "apps/kvt-host/serve/serve_command.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "apps/kvt-host/serve/api_server.h"
#include "apps/kvt-host/serve/catalog_routes.h"
#include "apps/kvt-host/serve/consignment_routes.h"
#include "apps/kvt-host/serve/order_routes.h"
#include "apps/kvt-host/serve/static_routes.h"
#include "apps/kvt-host/serve/voucher_routes.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "services/connection_text.h"

namespace kvt::serve {

namespace {

constexpr char kSource[] = "KvtHost.Serve";

[[noreturn]] void Fail(const std::string& why) {
  throw vb::Error(vb::err::kInvalidCall, kSource, why);
}

}  // namespace

std::pair<std::string, int> ListenAddress(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    Fail("--listen takes HOST:PORT (127.0.0.1:8080), not \"" + text + "\".");
  }
  const std::optional<int64_t> port = vb::ReadPlainInteger(text.substr(colon + 1));
  if (!port || *port < 0 || *port > 65535) {
    Fail("The port of --listen must be a number from 0 to 65535, not \"" + text.substr(colon + 1) +
         "\".");
  }
  return {text.substr(0, colon), static_cast<int>(*port)};
}

int RunServe(const ServeCommand& command, std::ostream& out) {
  const services::ConnectionText target = services::ParseConnectionText(command.connection_text);
  ServeTarget serve_target;
  serve_target.connection_text = command.connection_text;
  serve_target.on_server = target.backend == data::Backend::kPostgreSQL;
  if (!serve_target.on_server) {
    const char* password = std::getenv("KVT_PASSWORD");
    if (password == nullptr || *password == '\0') {
      Fail(
          "An SQLite file has no passwords of its users: set KVT_PASSWORD to the password "
          "the API's users log in with.");
    }
    serve_target.file_password = password;
  }
  ServeOptions options;
  std::tie(options.host, options.port) = ListenAddress(command.listen);
  options.workers = static_cast<size_t>(std::max(1, command.workers));
  if (command.certificate.empty() != command.private_key.empty()) {
    Fail("--cert and --key go together: the certificate and its private key (PEM files).");
  }
  options.certificate = command.certificate;
  options.private_key = command.private_key;
  options.pdf_output = command.pdf_output;

  // SIGINT and SIGTERM stop the server from a thread of their own: a
  // handler may not call into it.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  // A client that hangs up mid-answer must not end the process.
  ::signal(SIGPIPE, SIG_IGN);

  ApiServer server(serve_target, options);
  DraftStore drafts(serve_target.connection_text, options.company_id);
  AddCatalogRoutes(server);
  SaleKeys sale_keys(serve_target.connection_text, options.company_id);
  AddConsignmentRoutes(server, sale_keys);
  AddOrderRoutes(server);
  AddVoucherRoutes(server, drafts);
  AddStaticRoutes(server);
  if (!server.Valid()) {
    Fail("The certificate " + command.certificate + " or its key " + command.private_key +
         " could not be read as PEM.");
  }
  if (!server.Bind()) Fail("Could not listen on " + command.listen + ".");
  const bool tls = !options.certificate.empty();
  out << "kvt-host: serving " << services::DescribeDatabase(target) << " at "
      << (tls ? "https://" : "http://") << options.host << ":" << server.Port() << "/" << std::endl;
  std::atomic<bool> ended{false};
  std::thread stopper([&] {
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    // A signal that comes before the server listens would stop nothing and
    // be lost (whoever read the address above may stop us at once): stop
    // until it has ended.
    while (!ended) {
      server.Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const bool served = server.Serve();
  ended = true;
  // Wake the stopper when the server ended by itself.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  return served ? 0 : 1;
}

}  // namespace kvt::serve
