// kvt-host — the reference host: plays the suite's main application on the
// embedded demo database, headless or on screen, and offers the formula
// tester to the people who write discount formulas.
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
#include "apps/kvt-host/receiving_scenario.h"
#include "db/demo_database.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kvt-host scenario [--db PATH] [--out DIR]\n"
    "                                    the purchasing scenario, headless; the\n"
    "                                    printed purchase orders go to DIR\n"
    "  kvt-host --gui [--db PATH]        the purchase-order workbench on the desktop\n"
    "  kvt-host eval \"<expression>\"      evaluates a VBScript expression\n"
    "  kvt-host formula \"<formula>\" --x N  evaluates a discount formula on N\n"
    "  kvt-host formula --check [--db PATH] [--x N]\n"
    "                                    checks every discount formula of the database\n";

// The value after `flag` in `args`, or `fallback`.
std::string Option(const std::vector<std::string>& args, const std::string& flag,
                   const std::string& fallback) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == flag) return args[i + 1];
  }
  return fallback;
}

// The main job: every part of the purchasing flow the host drives, in the
// order a buyer meets them. Each part prints its transcript.
int RunScenario(const std::vector<std::string>& args) {
  const std::string db_path = Option(args, "--db", "kvt-demo.sqlite");
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
  const std::string out_dir = Option(args, "--out", ".");
  failures += kvt::host::RunPurchaseOrderPrinting(db_path, out_dir, std::cout) != 0;
  std::cout << "\n";
  failures += kvt::host::RunFormulaCheck(db_path, kvt::host::kSampleSubtotal, std::cout) != 0;
  std::cout << "\n" << (failures == 0 ? "all scenarios passed" : "some scenarios FAILED")
            << "\n";
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string command = args.empty() ? "scenario" : args[0];
  if (command == "scenario") return RunScenario(args);
  if (command == "--gui" || command == "gui") {
    return kvt::host::RunGui(argc, argv, Option(args, "--db", "kvt-demo.sqlite"));
  }
  if (command == "eval" && args.size() == 2) {
    return kvt::host::RunEvalCommand(args[1], std::cout);
  }
  if (command == "formula" && args.size() >= 2) {
    return kvt::host::RunFormulaTool(args, std::cout, std::cerr);
  }
  std::cerr << kUsage;
  return 2;
}
