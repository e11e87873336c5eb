// `kvt-host serve`: the JSON API and the dock page on one database until
// SIGINT or SIGTERM.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/report/output.h"

namespace kvt::serve {

struct ServeCommand {
  std::string connection_text;  // the database's (a server's: its owner's)
  std::string listen = "127.0.0.1:8080";
  int workers = 8;
  std::string certificate, private_key;
  // The front end's PDF writer (none: PDFs answer 501).
  std::function<std::shared_ptr<report::Output>(const std::string& path)> pdf_output;
};

// Serves until told to stop; says where on `out` once listening
// ("serving ... at http://127.0.0.1:8080/"). Raises 5 for a listen address
// it cannot use or bind, and for an SQLite file without KVT_PASSWORD.
int RunServe(const ServeCommand& command, std::ostream& out);

// "127.0.0.1:8080" as host and port; raises 5 naming what is wrong.
std::pair<std::string, int> ListenAddress(const std::string& text);

}  // namespace kvt::serve
