#include "apps/kvt-host/formula_tester.h"

#include <algorithm>
#include <optional>

#include "db/demo_database.h"
#include "orders/discount_formula.h"
#include "platform/script/evaluator.h"
#include "platform/script/script_control.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/variant_array.h"
#include "services/connection_text.h"
#include "services/data_gateway.h"

namespace kvt::host {
namespace {

constexpr const char* kDefaultDatabase = "kvt-demo.sqlite";

std::string ErrorText(const vb::Error& error) {
  return "error " + std::to_string(error.number()) + ": " + error.description();
}

int PrintError(const vb::Error& error, std::ostream& out) {
  out << ErrorText(error) << '\n';
  return 1;
}

std::string MoneyText(vb::Currency amount) { return vb::CStr(vb::Variant(amount)); }

// One formula evaluated as an order line evaluates it.
struct FormulaRun {
  std::string expanded;  // the text the engine received
  std::optional<vb::Error> failure;
  vb::Currency answer;
  std::optional<vb::Variant> value;  // the engine's own result, before conversion
  std::vector<std::string> undefined_names;
};

// The formula goes through the order line's own expansion (upper case, X
// replaced by the subtotal); its text is then evaluated once more to learn
// the result's subtype and the names it reads.
FormulaRun RunFormula(const std::string& formula, vb::Currency subtotal) {
  FormulaRun run;
  run.expanded = formula;
  try {
    run.answer = orders::ExpandAndEvaluateFormula(script::ScriptControl(), MoneyText(subtotal), "",
                                                  run.expanded);
  } catch (const vb::Error& error) {
    run.failure = error;
  }
  script::EvaluationNotes notes;
  try {
    run.value = script::EvaluateExpression(run.expanded, &notes);
  } catch (const vb::Error&) {
    // Already reported by the first evaluation.
  }
  run.undefined_names = std::move(notes.undefined_names);
  return run;
}

std::string UndefinedNote(const std::string& name) {
  return name + " is not defined, VBScript reads it as Empty";
}

// What is wrong with a formula's run on `subtotal`; nothing for a good one.
std::vector<std::string> Problems(const FormulaRun& run, vb::Currency subtotal) {
  std::vector<std::string> problems;
  if (run.failure) {
    problems.push_back("fails with " + ErrorText(*run.failure));
  } else if (run.value && !run.value->IsNumber()) {
    problems.push_back("gives a " + run.value->TypeName() + ", not a number");
  }
  if (!run.failure && run.answer < vb::Currency()) problems.emplace_back("goes negative");
  if (!run.failure && run.answer > subtotal) problems.emplace_back("exceeds the subtotal");
  for (const std::string& name : run.undefined_names) problems.push_back(UndefinedNote(name));
  return problems;
}

// Formulas may span lines; each is shown on one.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// The value after `flag`, or nullopt when the flag is absent. A flag
// without a value is a usage error.
std::optional<std::string> Option(const std::vector<std::string>& args, const std::string& flag,
                                  bool& malformed) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] != flag) continue;
    if (i + 1 < args.size()) return args[i + 1];
    malformed = true;
  }
  return std::nullopt;
}

// A value as CStr shows it. CStr refuses Null, objects and arrays; the
// tester names the first two and writes an array as the Array call that
// makes it, its texts quoted (`quoted`) so that "1" and 1 differ.
std::string Shown(const vb::Variant& value, bool quoted) {
  if (value.IsNull()) return "Null";
  if (value.IsObject()) return value.TypeName();
  if (const vb::VariantArray* array = value.array()) {
    std::string shown = "Array(";
    for (size_t i = 0; i < array->size(); ++i) {
      shown += (i == 0 ? "" : ", ") + Shown(array->Elements()[i], true);
    }
    return shown + ")";
  }
  if (!quoted) return vb::CStr(value);
  if (value.IsEmpty()) return "Empty";
  const std::string* text = value.get_if<std::string>();
  if (text == nullptr) return vb::CStr(value);
  std::string literal = "\"";
  for (char c : *text) literal += c == '"' ? std::string("\"\"") : std::string(1, c);
  return literal + "\"";
}

}  // namespace

int RunEvalCommand(const std::string& expression, std::ostream& out) {
  try {
    out << Shown(script::ScriptControl().Eval(expression), false) << '\n';
    return 0;
  } catch (const vb::Error& error) {
    return PrintError(error, out);
  }
}

int RunFormulaCommand(const std::string& formula, double x, std::ostream& out, std::ostream& err) {
  try {
    if (formula == "0") {
      out << "0\n";
      return 0;
    }
    const FormulaRun run = RunFormula(formula, vb::Currency::FromDouble(x));
    for (const std::string& name : run.undefined_names) {
      err << "note: " << UndefinedNote(name) << '\n';
    }
    if (run.failure) return PrintError(*run.failure, out);
    out << MoneyText(run.answer) << '\n';
    return 0;
  } catch (const vb::Error& error) {
    return PrintError(error, out);
  }
}

int RunFormulaCheck(const std::string& database, double x, std::ostream& out) {
  std::string where = database;
  try {
    const std::string connection_text = db::DatabaseConnectionText(database);
    where = services::DescribeDatabase(services::ParseConnectionText(connection_text));
    const vb::Currency subtotal = vb::Currency::FromDouble(x);
    services::DataGateway gateway;
    data::ConnectionRef connection = gateway.OpenConnection(connection_text, -1, 3);
    data::RecordSetRef rows =
        connection->Query("SELECT ID, Description, Formula FROM DiscountFormulas ORDER BY ID");
    out << "Discount formulas in " << where << " on a subtotal of " << MoneyText(subtotal) << "\n";
    int checked = 0;
    int with_problems = 0;
    for (; !rows->IsEOF(); rows->MoveNext(), ++checked) {
      const std::string formula = vb::CStr(rows->Item(2).Value());
      out << "  " << vb::CStr(rows->Item(0).Value()) << " " << vb::CStr(rows->Item(1).Value())
          << ": " << OneLine(formula);
      if (formula == "0") {
        out << " (no formula)\n";
        continue;
      }
      const FormulaRun run = RunFormula(formula, subtotal);
      out << (run.failure ? "\n    evaluated as: " + OneLine(run.expanded) + "\n"
                          : " = " + MoneyText(run.answer) + "\n");
      const std::vector<std::string> problems = Problems(run, subtotal);
      for (const std::string& problem : problems) out << "    problem: " << problem << "\n";
      with_problems += problems.empty() ? 0 : 1;
    }
    out << checked << " formulas, " << with_problems << " with problems\n";
    return with_problems == 0 ? 0 : 1;
  } catch (const vb::Error& error) {
    out << "cannot check the formulas of " << where << ": " << ErrorText(error) << "\n";
    return 1;
  }
}

int RunFormulaTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool malformed = false;
  const std::optional<std::string> x_text = Option(args, "--x", malformed);
  const std::optional<std::string> database = Option(args, "--db", malformed);
  const bool check = std::find(args.begin(), args.end(), "--check") != args.end();
  if (malformed || args.size() < 2 || (!check && args[1].rfind("--", 0) == 0)) {
    err << "kvt-host: formula needs \"<formula>\" [--x N], or --check [--db PATH] [--x N]\n";
    return 2;
  }
  double x = check ? kSampleSubtotal : 0;
  if (x_text) {
    std::optional<double> value;
    try {
      value = vb::ParseLocaleNumber(*x_text, vb::Locale::Active());
    } catch (const vb::Error&) {
      // Out of range: no number either.
    }
    if (!value) {
      err << "kvt-host: --x needs a number, not \"" << *x_text << "\"\n";
      return 2;
    }
    x = *value;
  }
  if (check) return RunFormulaCheck(database.value_or(kDefaultDatabase), x, out);
  if (!x_text) err << "note: --x is missing, X is taken as 0\n";
  return RunFormulaCommand(args[1], x, out, err);
}

}  // namespace kvt::host
