// kvt-host — the reference host: plays the suite's main application on the
// embedded demo database, headless or on screen, and offers the formula
// tester to the people who write discount formulas.
//
// It never aborts: every command runs inside Attempt, which prints
// "kvt-host: <what it was doing>: <description> (error N)" on stderr and
// exits with 1; a command line it cannot follow exits with 2.
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "apps/kvt-host/data_tour.h"
#include "apps/kvt-host/formula_tester.h"
#include "apps/kvt-host/gui.h"
#include "apps/kvt-host/host_options.h"
#include "apps/kvt-host/order_lines_scenario.h"
#include "apps/kvt-host/order_printing_scenario.h"
#include "apps/kvt-host/order_scenario.h"
#include "apps/kvt-host/receiving_scenario.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace {

using kvt::host::HostOptions;
using kvt::host::UsageError;

constexpr const char* kUsage =
    "usage:\n"
    "  kvt-host [scenario] [--db PATH] [--reset-demo] [--out DIR]\n"
    "        the purchasing scenario, headless, on the database at PATH\n"
    "        (default kvt-demo.sqlite): made with the demo data when nothing is\n"
    "        there, used as it is when it is one of ours, refused otherwise;\n"
    "        --reset-demo puts the demo data back first. Printed orders go to DIR.\n"
    "  kvt-host --gui [--db PATH] [--new] [--user NAME]\n"
    "        the purchasing desk on the desktop, on the database at PATH, for\n"
    "        the user NAME (default: the database's first user); --new makes\n"
    "        the demo database there when nothing is there\n"
    "  kvt-host eval \"<expression>\"      evaluates a VBScript expression\n"
    "  kvt-host formula \"<formula>\" --x N  evaluates a discount formula on N\n"
    "  kvt-host formula --check [--db PATH] [--x N]\n"
    "        checks every discount formula of the database on the subtotal N\n"
    "  kvt-host --help                   shows this text\n";

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr char kDefaultDatabase[] = "kvt-demo.sqlite";

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

bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::symlink_status(path, ignored).type() !=
         std::filesystem::file_type::not_found;
}

// Makes sure the database at `path` is one of ours: made with the demo
// data when nothing is there and `create` allows it, given the demo data
// back when `reset` asks for it, otherwise used as it is. Says which in
// `transcript` when there is one.
int PrepareDatabase(const std::string& path, bool create, bool reset, std::ostream* transcript) {
  auto step = [&](const std::string& doing, void (*action)(const std::string&),
                  const char* done) {
    return Attempt(doing, [&] {
      action(path);
      if (transcript) *transcript << done << path << "\n";
      return 0;
    });
  };
  if (!Exists(path) && create) {
    return step("creating the demo database at " + path, kvt::db::CreateDemoDatabase,
                "Demo database created at ");
  }
  if (reset) {
    return step("putting the demo data back into " + path, kvt::db::ResetDemoDatabase,
                "Demo data put back into ");
  }
  const int status = step("opening the database " + path, kvt::db::CheckOurDatabase,
                          "Demo database opened at ");
  if (status != 0 && !Exists(path)) std::cerr << "kvt-host: --new makes the demo database there\n";
  return status;
}

// The main job: every part of the purchasing flow the host drives, in the
// order a buyer meets them. Each part prints its transcript.
int RunScenario(const HostOptions& options) {
  const std::string db_path = options.Value("--db", kDefaultDatabase);
  if (PrepareDatabase(db_path, true, options.Has("--reset-demo"), &std::cout) != 0) {
    return kFailed;
  }
  // Headless: the printed orders are painted off screen.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return Attempt("running the purchasing scenario", [&] {
    int failures = 0;
    failures += kvt::host::RunDataTour(db_path, std::cout) != 0;
    std::cout << "\n";
    failures += kvt::host::RunOrderLinesScenario(db_path, std::cout) != 0;
    std::cout << "\n";
    failures += kvt::host::RunOrderScenario(std::cout) != 0;
    std::cout << "\n";
    failures += kvt::host::RunReceivingScenario(kvt::db::ConnectionTextFor(db_path), 1,
                                                std::cout) != 0;
    std::cout << "\n";
    const std::string out_dir = options.Value("--out", ".");
    failures += kvt::host::RunPurchaseOrderPrinting(db_path, out_dir, std::cout) != 0;
    std::cout << "\n";
    failures +=
        kvt::host::RunFormulaCheck(db_path, kvt::host::kSampleSubtotal, std::cout) != 0;
    std::cout << "\n"
              << (failures == 0 ? "all scenarios passed" : "some scenarios FAILED") << "\n";
    return failures == 0 ? 0 : kFailed;
  });
}

int RunGui(int argc, char** argv, const HostOptions& options) {
  const std::string db_path = options.Value("--db", kDefaultDatabase);
  if (PrepareDatabase(db_path, options.Has("--new"), false, nullptr) != 0) return kFailed;
  return Attempt("showing the order screens", [&] {
    // Qt aborts when it finds no display; say so instead.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
      throw vb::Error(vb::err::kInvalidCall, "kvt-host",
                      "There is no display to show them on (set DISPLAY, or "
                      "QT_QPA_PLATFORM=offscreen).");
    }
    return kvt::host::RunGui(argc, argv, kvt::db::ConnectionTextFor(db_path),
                             options.Value("--user", ""));
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
    return RunScenario(HostOptions(args, first, 0, {"--db", "--out"}, {"--reset-demo"}));
  }
  if (command == "gui") {
    return RunGui(argc, argv, HostOptions(args, 1, 0, {"--db", "--user"}, {"--new"}));
  }
  if (command == "eval") {
    const HostOptions options(args, 1, 1, {}, {});
    return Attempt("evaluating the expression", [&] {
      return kvt::host::RunEvalCommand(options.Positional(0), std::cout);
    });
  }
  if (command == "formula") {
    // The formula tool reads its own options and reports their misuse.
    return Attempt("evaluating the formula", [&] {
      return kvt::host::RunFormulaTool(args, std::cout, std::cerr);
    });
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
