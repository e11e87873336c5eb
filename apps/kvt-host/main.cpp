// kvt-host — the reference host: plays the suite's main application on the
// embedded demo database, headless or on screen, and offers the formula
// tester to the people who write discount formulas.
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "apps/kvt-host/data_tour.h"
#include "apps/kvt-host/formula_tester.h"
#include "apps/kvt-host/gui.h"
#include "apps/kvt-host/order_lines_scenario.h"
#include "apps/kvt-host/order_printing_scenario.h"
#include "apps/kvt-host/order_scenario.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kvt-host scenario [--db DB] [--out DIR]\n"
    "                                    the purchasing scenario, headless; the\n"
    "                                    printed purchase orders go to DIR\n"
    "  kvt-host --gui [--db DB]          the purchase-order workbench on the desktop\n"
    "  DB is an SQLite file's path or a connection text\n"
    "  (\"Provider=PostgreSQL;Host=...;Database=...;User ID=...;Password=...\")\n"
    "  kvt-host eval \"<expression>\"      evaluates a VBScript expression\n"
    "  kvt-host formula \"<formula>\" --x N  evaluates a discount formula on N\n";

// The value after `flag` in `args`, or `fallback`.
std::string Option(const std::vector<std::string>& args, const std::string& flag,
                   const std::string& fallback) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == flag) return args[i + 1];
  }
  return fallback;
}

// The --db value as a connection text: a text that begins with "Provider="
// is one already; anything else is the path of an SQLite file.
std::string DatabaseConnectionText(const std::vector<std::string>& args) {
  const std::string db = Option(args, "--db", "kvt-demo.sqlite");
  std::string start = db.substr(0, 9);
  for (char& c : start) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return start == "provider=" ? db : kvt::db::ConnectionTextFor(db);
}

// The main job: every part of the purchasing flow the host drives, in the
// order a buyer meets them. Each part prints its transcript.
int RunScenario(const std::vector<std::string>& args, const std::string& db_path) {
  int failures = 0;
  failures += kvt::host::RunDataTour(db_path, std::cout) != 0;
  std::cout << "\n";
  failures += kvt::host::RunOrderLinesScenario(db_path, std::cout) != 0;
  std::cout << "\n";
  failures += kvt::host::RunOrderScenario(std::cout) != 0;
  std::cout << "\n";
  const std::string out_dir = Option(args, "--out", ".");
  failures += kvt::host::RunPurchaseOrderPrinting(db_path, out_dir, std::cout) != 0;
  std::cout << "\n" << (failures == 0 ? "all scenarios passed" : "some scenarios FAILED")
            << "\n";
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string command = args.empty() ? "scenario" : args[0];
  const std::string db = DatabaseConnectionText(args);
  if (command == "scenario") return RunScenario(args, db);
  if (command == "--gui" || command == "gui") return kvt::host::RunGui(argc, argv, db);
  if (command == "eval" && args.size() == 2) {
    return kvt::host::RunEvalCommand(args[1], std::cout);
  }
  if (command == "formula" && args.size() >= 2) {
    const std::string x = Option(args, "--x", "0");
    auto value = vb::ParseLocaleNumber(x, vb::Locale::Active());
    if (!value) {
      std::cerr << "kvt-host: --x needs a number, not \"" << x << "\"\n";
      return 2;
    }
    return kvt::host::RunFormulaCommand(args[1], *value, std::cout);
  }
  std::cerr << kUsage;
  return 2;
}
