#include "apps/kvt-host/formula_tester.h"

#include "orders/discount_formula.h"
#include "platform/script/script_control.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

int PrintError(const vb::Error& error, std::ostream& out) {
  out << "error " << error.number() << ": " << error.description() << '\n';
  return 1;
}

}  // namespace

int RunEvalCommand(const std::string& expression, std::ostream& out) {
  try {
    const vb::Variant value = script::ScriptControl().Eval(expression);
    // CStr refuses Null and objects; the tester names them instead.
    if (value.IsNull()) {
      out << "Null\n";
    } else if (value.IsObject()) {
      out << value.TypeName() << '\n';
    } else {
      out << vb::CStr(value) << '\n';
    }
    return 0;
  } catch (const vb::Error& error) {
    return PrintError(error, out);
  }
}

int RunFormulaCommand(const std::string& formula, double x, std::ostream& out) {
  try {
    if (formula == "0") {
      out << "0\n";
      return 0;
    }
    const std::string value = vb::CStr(vb::Variant(vb::Currency::FromDouble(x)));
    std::string expanded = formula;
    const vb::Currency answer =
        orders::ExpandAndEvaluateFormula(script::ScriptControl(), value, "", expanded);
    out << vb::CStr(vb::Variant(answer)) << '\n';
    return 0;
  } catch (const vb::Error& error) {
    return PrintError(error, out);
  }
}

}  // namespace kvt::host
