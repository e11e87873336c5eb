#include "apps/kvt-host/formula_tester.h"

#include "apps/kvt-host/regional_settings.h"

#include <algorithm>
#include <optional>

#include "db/demo_database.h"
#include "kvt/host_helpers.h"
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
    run.answer = kvt::EvaluateDiscountFormula(run.expanded, MoneyText(subtotal));
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

// The formula command's line: its options in any order, and the formula
// wherever it stands (it may begin with "-").
struct ToolLine {
  std::optional<std::string> formula;
  std::optional<std::string> x, database, locale;
  bool check = false;
  bool malformed = false;  // an option without its value, or a second formula
};

ToolLine ReadToolLine(const std::vector<std::string>& args) {
  ToolLine line;
  for (size_t i = 1; i < args.size(); ++i) {
    std::optional<std::string>* value = args[i] == "--x"        ? &line.x
                                        : args[i] == "--db"     ? &line.database
                                        : args[i] == "--locale" ? &line.locale
                                                                : nullptr;
    if (value != nullptr) {
      if (i + 1 == args.size()) line.malformed = true;
      if (i + 1 < args.size()) *value = args[++i];
    } else if (args[i] == "--check") {
      line.check = true;
    } else if (!line.formula) {
      line.formula = args[i];
    } else {
      line.malformed = true;
    }
  }
  return line;
}

// Makes `locale`, when there is one, the calling thread's regional
// settings until the end of the scope, where the host's come back.
class ScopedLocale {
 public:
  explicit ScopedLocale(const DisplayLocale& locale) {
    if (!locale) return;
    previous_ = vb::Locale::Active();
    vb::Locale::SetActive(*locale);
  }
  ~ScopedLocale() {
    if (previous_) vb::Locale::SetActive(*previous_);
  }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  std::optional<vb::Locale> previous_;
};

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

int RunEvalCommand(const std::string& expression, std::ostream& out, const DisplayLocale& locale) {
  const ScopedLocale scoped(locale);
  try {
    out << Shown(script::ScriptControl().Eval(expression), false) << '\n';
    return 0;
  } catch (const vb::Error& error) {
    return PrintError(error, out);
  }
}

int RunFormulaCommand(const std::string& formula, double x, std::ostream& out, std::ostream& err,
                      const DisplayLocale& locale) {
  const ScopedLocale scoped(locale);
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

int RunFormulaCheck(const std::string& database, double x, std::ostream& out,
                    const DisplayLocale& locale) {
  const ScopedLocale scoped(locale);
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
  const ToolLine line = ReadToolLine(args);
  if (line.malformed || line.check == line.formula.has_value()) {
    err << "kvt-host: formula needs \"<formula>\" [--x N], or --check [--db PATH] [--x N];"
           " either may take --locale NAME\n";
    return 2;
  }
  DisplayLocale locale;
  if (line.locale) {
    locale = RegionalSettings(*line.locale);
    if (!locale) {
      err << "kvt-host: --locale knows " << RegionalSettingsNames() << ", not \"" << *line.locale
          << "\"\n";
      return 2;
    }
  }
  double x = line.check ? kSampleSubtotal : 0;
  if (line.x) {
    std::optional<double> value;
    try {
      value = vb::ParseLocaleNumber(*line.x, vb::Locale::Active());
    } catch (const vb::Error&) {
      // Out of range: no number either.
    }
    if (!value) {
      err << "kvt-host: --x needs a number, not \"" << *line.x << "\"\n";
      return 2;
    }
    x = *value;
  }
  if (line.check) return RunFormulaCheck(line.database.value_or(kDefaultDatabase), x, out, locale);
  if (!line.x) err << "note: --x is missing, X is taken as 0\n";
  return RunFormulaCommand(*line.formula, x, out, err, locale);
}

}  // namespace kvt::host
