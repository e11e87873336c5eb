// kvt-host — the reference host: plays the suite's main application on the
// demo database (an SQLite file or a PostgreSQL server), headless or on
// screen, and offers the formula
// tester to the people who write discount formulas.
//
// It never aborts: every command runs inside Attempt, which prints
// "kvt-host: <what it was doing>: <description> (error N)" on stderr and
// exits with 1; a command line it cannot follow exits with 2.
#include <cstdlib>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "apps/kvt-host/formula_tester.h"
#include "apps/kvt-host/front_end.h"
#include "apps/kvt-host/gui.h"
#include "apps/kvt-host/host_database.h"
#include "apps/kvt-host/host_login.h"
#include "apps/kvt-host/host_options.h"
#include "apps/kvt-host/regional_settings.h"
#include "apps/kvt-host/host_users.h"
#include "apps/kvt-host/serve/serve_command.h"
#include "apps/kvt-host/story/story.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"

namespace {

using kvt::host::HostOptions;
using kvt::host::UsageError;

constexpr const char* kUsage =
    "usage:\n"
    "  kvt-host [scenario] [--db DB] [--reset-demo] [--out DIR]\n"
    "        the purchasing story, headless, on the database DB\n"
    "        (default kvt-demo.sqlite): made with the demo data when nothing is\n"
    "        there, used as it is when it is one of ours, refused otherwise;\n"
    "        --reset-demo puts the demo data back first. Printed documents go\n"
    "        to DIR.\n"
    "  kvt-host --gui [--db DB] [--new] [--user NAME]\n"
    "        the purchasing desk on the desktop, on the database DB, for the\n"
    "        user NAME (default: the database's first user); --new makes the\n"
    "        demo database there when nothing is there\n"
    "  DB is an SQLite file's path or a connection text\n"
    "  (\"Provider=PostgreSQL;Host=...;Database=...;User ID=...;Password=...\")\n"
    "  kvt-host eval [--locale NAME] \"<expression>\"\n"
    "        evaluates a VBScript expression\n"
    "  kvt-host formula \"<formula>\" --x N [--locale NAME]\n"
    "        evaluates a discount formula on N\n"
    "  kvt-host formula --check [--db PATH] [--x N] [--locale NAME]\n"
    "        checks every discount formula of the database on the subtotal N\n"
    "  --locale NAME shows dates and currency under the regional settings NAME\n"
    "  (en-US, en-GB, en-ZA or de-DE) instead of the host's own\n"
    "  kvt-host users add NAME --role ROLE[,ROLE...] --db DB [--company ID]\n"
    "  kvt-host users remove NAME --db DB\n"
    "  kvt-host users grant|revoke NAME --role ROLE[,ROLE...] --db DB\n"
    "  kvt-host users unlock NAME --db DB\n"
    "  kvt-host users list --db DB\n"
    "        an administrator manages who may do what: roles buyer, clerk,\n"
    "        accountant, admin, reader. On a server each user is a login of\n"
    "        its own (the new password from KVT_NEW_PASSWORD or asked); on an\n"
    "        SQLite file the host enforces the roles for the system's users;\n"
    "        unlock lifts the lock of a server login after too many failures\n"
    "  kvt-host serve [--db DB] [--listen HOST:PORT] [--workers N] [--new]\n"
    "                 [--cert PEM --key PEM]\n"
    "        the JSON API (/api/openapi.json) and the dock's receiving page (/)\n"
    "        on DB (default: the connection text in KVT_DB, else\n"
    "        kvt-demo.sqlite), at 127.0.0.1:8080 unless --listen says; HTTPS\n"
    "        with --cert and --key. Users log in with their own login on a\n"
    "        server; on an SQLite file with the password in KVT_PASSWORD\n"
    "  --user NAME (scenario, --gui, users) logs in to a server as NAME, with\n"
    "        the password from KVT_PASSWORD or asked; never on the command line\n"
    "  kvt-host --help                   shows this text\n";

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr char kDefaultDatabase[] = "kvt-demo.sqlite";
// The demo's clerk, who captures the story's documents.
constexpr int32_t kStoryUser = 2;

void Report(const std::string& doing, const vb::Error& error) {
  std::cerr << "kvt-host: " << doing << ": " << error.description() << " (error "
            << std::to_string(error.number()) << ")\n";
}

// Runs one step of a command; any failure is reported as the step's and
// gives kFailed.
template <class Step>
int Attempt(const std::string& doing, Step&& step) {
  try {
    return step();
  } catch (const vb::Error& error) {
    Report(doing, error);
  } catch (const std::bad_alloc&) {
    Report(doing, vb::Error::Numbered(vb::err::kOutOfMemory, "kvt-host"));
  } catch (const std::exception& error) {
    Report(doing, vb::Error(vb::err::kInternalError, "kvt-host", error.what()));
  } catch (...) {
    Report(doing, vb::Error::Numbered(vb::err::kInternalError, "kvt-host"));
  }
  return kFailed;
}

// Makes sure the database `connection_text` names is one of ours: made
// with the demo data when nothing is there and `create` allows it, given
// the demo data back when `reset` asks for it, otherwise used as it is.
// Says which in `transcript` when there is one.
int PrepareDatabase(const std::string& connection_text, bool create, bool reset,
                    std::ostream* transcript) {
  std::unique_ptr<kvt::host::HostDatabase> database;
  bool exists = false;
  if (Attempt("opening the database", [&] {
        database = std::make_unique<kvt::host::HostDatabase>(connection_text);
        exists = database->Exists();
        return 0;
      }) != 0) {
    return kFailed;
  }
  const std::string where = database->Where();
  auto step = [&](const std::string& doing, void (kvt::host::HostDatabase::*action)() const,
                  const char* done) {
    return Attempt(doing, [&] {
      ((*database).*action)();
      if (transcript) *transcript << done << where << "\n";
      return 0;
    });
  };
  if (!exists && create) {
    return step("creating the demo database at " + where, &kvt::host::HostDatabase::CreateDemo,
                "Demo database created at ");
  }
  if (reset) {
    return step("putting the demo data back into " + where, &kvt::host::HostDatabase::ResetDemo,
                "Demo data put back into ");
  }
  const int status = step("opening the database " + where, &kvt::host::HostDatabase::CheckOurs,
                          "Demo database opened at ");
  if (status != 0 && !exists) std::cerr << "kvt-host: --new makes the demo database there\n";
  return status;
}

// The connection text of --db, logged in as --user on a server.
int LogIn(const HostOptions& options, std::string& database) {
  return Attempt("logging in", [&] {
    database = kvt::host::LoginConnectionText(
        kvt::db::DatabaseConnectionText(options.Value("--db", kDefaultDatabase)),
        options.Value("--user", ""));
    return 0;
  });
}

// Why the database `connection_text` names may not be written to, told on
// stderr with what still works; empty when it may (or when asking failed,
// which is reported and gives `failed`).
std::string ReadOnlyNote(const std::string& connection_text, const char* still_works,
                         bool& failed) {
  std::string why, where;
  failed = Attempt("opening the database", [&] {
             const kvt::host::HostDatabase database(connection_text);
             where = database.Where();
             why = database.ReadOnlyReason();
             return 0;
           }) != 0;
  if (!why.empty()) {
    std::cerr << "kvt-host: the database " << where << " is read-only: " << why << ". "
              << still_works << "\n";
  }
  return why;
}

// The main job: one purchase order followed from its first line to the
// last consignment return, then the check of the discount formulas.
int RunScenario(const HostOptions& options) {
  std::string database;
  if (LogIn(options, database) != 0) return kFailed;
  if (PrepareDatabase(database, true, options.Has("--reset-demo"), &std::cout) != 0) {
    return kFailed;
  }
  bool failed = false;
  if (!ReadOnlyNote(database,
                    "The story saves orders and vouchers, so it was not told; --gui shows and "
                    "prints what the database holds, and formula --check checks its formulas.",
                    failed)
           .empty() ||
      failed) {
    return kFailed;
  }
  return Attempt("telling the purchasing story", [&] {
    return kvt::host::WithBatchDocuments([&](const kvt::host::BatchDocuments& documents) {
      kvt::host::StoryOptions story;
      story.context.connection_text = database;
      story.context.company_id = kvt::db::kDemoCompanyID;
      story.context.user_id = kStoryUser;
      story.context.database_name = kvt::db::kDemoDatabaseName;
      story.out_dir = options.Value("--out", ".");
      story.pdf_output = documents.output;
      story.document_extension = documents.extension;
      const kvt::host::StoryOutcome outcome = kvt::host::TellPurchasingStory(story, std::cout);
      std::cout << "\n== Discount formulas ==\n";
      const int formulas =
          kvt::host::RunFormulaCheck(database, kvt::host::kSampleSubtotal, std::cout);
      const bool passed = outcome.failures == 0 && formulas == 0;
      std::cout << "\n"
                << (passed ? "the story held: every check passed"
                           : std::to_string(outcome.failures) + " check(s) FAILED")
                << "\n";
      return passed ? 0 : kFailed;
    });
  });
}

int RunGui(int argc, char** argv, const HostOptions& options) {
  if (!kvt::host::HasDesk()) {
    std::cerr << "kvt-host: --gui: this kvt-host was built without Qt (KVT_WITH_QT=OFF), so it "
                 "has no desk; scenario, users, eval and formula work without it\n";
    return kUsageError;
  }
  const std::string given =
      kvt::db::DatabaseConnectionText(options.Value("--db", kDefaultDatabase));
  // On a server the desk's own dialog asks who logs in, unless the
  // password is given already.
  bool dialog = false;
  if (Attempt("opening the database", [&] {
        dialog = kvt::host::DeskAsksForLogin(given);
        return 0;
      }) != 0) {
    return kFailed;
  }
  auto check = [&](const std::string& database) {
    if (PrepareDatabase(database, options.Has("--new"), false, nullptr) != 0) return kFailed;
    bool failed = false;
    ReadOnlyNote(database, "The desk shows and prints what it holds, and saves nothing.", failed);
    return failed ? kFailed : 0;
  };
  std::string database = given;
  if (!dialog && (LogIn(options, database) != 0 || check(database) != 0)) return kFailed;
  return Attempt("showing the order screens", [&] {
    // Qt aborts when it finds no display; say so instead.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
      throw vb::Error(vb::err::kInvalidCall, "kvt-host",
                      "There is no display to show them on (set DISPLAY, or "
                      "QT_QPA_PLATFORM=offscreen).");
    }
    return kvt::host::RunGui(argc, argv, database, options.Value("--user", ""),
                             dialog ? std::function<int(const std::string&)>(check) : nullptr);
  });
}

// The API server until SIGINT or SIGTERM. A connection text with a
// password belongs in KVT_DB rather than on the command line.
int RunServeCommand(const HostOptions& options) {
  const char* from_environment = std::getenv("KVT_DB");
  const std::string fallback = from_environment != nullptr && *from_environment != '\0'
                                   ? from_environment
                                   : kDefaultDatabase;
  std::string database;
  if (Attempt("reading the database's name", [&] {
        database = kvt::db::DatabaseConnectionText(options.Value("--db", fallback));
        return 0;
      }) != 0) {
    return kFailed;
  }
  if (PrepareDatabase(database, options.Has("--new"), false, nullptr) != 0) return kFailed;
  kvt::serve::ServeCommand command;
  command.connection_text = database;
  command.listen = options.Value("--listen", command.listen);
  command.certificate = options.Value("--cert", "");
  command.private_key = options.Value("--key", "");
  const std::optional<int64_t> workers = vb::ReadPlainInteger(options.Value("--workers", "8"));
  if (!workers || *workers < 1 || *workers > 256) {
    throw UsageError{"--workers takes a number from 1 to 256"};
  }
  command.workers = static_cast<int>(*workers);
  return Attempt("serving the API", [&] {
    return kvt::host::WithBatchDocuments([&](const kvt::host::BatchDocuments& documents) {
      // Without Qt the host writes the text of a document's pages, which is
      // no PDF: the API then answers that it has no PDF writer.
      if (documents.extension == ".pdf") command.pdf_output = documents.output;
      return kvt::serve::RunServe(command, std::cout);
    });
  });
}

int Run(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string command = args.empty() ? "scenario" : args[0];
  size_t first = 1;
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--gui") {
    command = "gui";
  } else if (command.rfind("--", 0) == 0) {
    command = "scenario";  // options of the default command
    first = 0;
  }
  if (command == "scenario") {
    return RunScenario(HostOptions(args, first, 0, {"--db", "--out", "--user"}, {"--reset-demo"}));
  }
  if (command == "gui") {
    return RunGui(argc, argv, HostOptions(args, 1, 0, {"--db", "--user"}, {"--new"}));
  }
  if (command == "serve") {
    return RunServeCommand(
        HostOptions(args, 1, 0, {"--db", "--listen", "--workers", "--cert", "--key"}, {"--new"}));
  }
  if (command == "users") {
    return Attempt("managing the users",
                   [&] { return kvt::host::RunUsersCommand(args, std::cout); });
  }
  if (command == "eval") {
    // --locale may stand before the expression as well as after it.
    const bool locale_first = args.size() > 2 && args[1] == "--locale";
    const HostOptions options(
        args, locale_first ? 3 : 1, 1,
        locale_first ? std::set<std::string>{} : std::set<std::string>{"--locale"}, {});
    const std::string name = locale_first ? args[2] : options.Value("--locale", "");
    kvt::host::DisplayLocale locale;
    if (!name.empty()) {
      locale = kvt::host::RegionalSettings(name);
      if (!locale) {
        throw UsageError{"--locale knows " + kvt::host::RegionalSettingsNames() + ", not \"" +
                         name + "\""};
      }
    }
    return Attempt("evaluating the expression", [&] {
      return kvt::host::RunEvalCommand(options.Positional(0), std::cout, locale);
    });
  }
  if (command == "formula") {
    // The formula tool reads its own options and reports their misuse.
    return Attempt("evaluating the formula",
                   [&] { return kvt::host::RunFormulaTool(args, std::cout, std::cerr); });
  }
  throw UsageError{"no command \"" + command + "\""};
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const UsageError& error) {
    std::cerr << "kvt-host: " << error.problem << "\n" << kUsage;
    return kUsageError;
  } catch (const std::exception& error) {
    Report("reading the command line",
           vb::Error(vb::err::kInternalError, "kvt-host", error.what()));
    return kFailed;
  }
}
