// Expression engine: cost of one Eval of a typical discount formula, text
// in, value out, parsed afresh each time as the order line calls it. The
// same arithmetic through muparser, re-parsed each call, is the yardstick.
// The hostile formulas show the cost of the worst an evaluation may do
// within its limits (a formula may take at most 100 ms).
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "platform/value/error.h"

#include "platform/script/script_control.h"

#ifdef KVT_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

struct Formula {
  const char* name;
  const char* script;    // as the engine receives it, X already substituted
  const char* muparser;  // the same arithmetic in muparser's syntax
};

constexpr std::array<Formula, 5> kFormulas{{
    {"percentage", "1250.5*0.05", "1250.5*0.05"},
    {"rounded", "ROUND(1250.5*0.025, 2)", "rint(1250.5*0.025*100)/100"},
    {"stepped", "INT(12500/1000)*10", "rint(12500/1000-0.5)*10"},
    {"comparison", "(1250.5>1000)*-25", "(1250.5>1000)*25"},
    {"cascade", "(1250.5-1250.5*0.05)*0.025+Abs(-3)", "(1250.5-1250.5*0.05)*0.025+abs(-3)"},
}};

void BM_ScriptEval(benchmark::State& state) {
  const Formula& formula = kFormulas[static_cast<size_t>(state.range(0))];
  state.SetLabel(formula.script);
  kvt::script::ScriptControl msMain;
  const std::string text = formula.script;
  for (auto _ : state) {
    vb::Variant value = msMain.Eval(text);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ScriptEval)->DenseRange(0, kFormulas.size() - 1);

// Each spends the evaluation's string budget its own way: a million
// matches replaced, a text grown by "&" step by step, formatted numbers
// until the budget ends, 64 KB of calls, and an array of as many elements
// as the budget holds.
std::string HostileFormula(int which) {
  std::string text;
  switch (which) {
    case 0: return "Len(Replace(String(1000000, \"a\"), \"A\", \"\", 1, -1, 1))";
    case 1:
      text = "Space(60000)";
      while (text.size() < 25000) text += "&Space(60000)";
      return text;
    case 2:
      text = "Len(FormatNumber(1E300, 200))";
      while (text.size() < 60000) text += "+Len(FormatNumber(1E300, 200))";
      return text;
    case 3:
      text = "Abs(-1)";
      while (text.size() < 60000) text += "+Abs(-1)";
      return text;
    default: return "Len(Join(Split(String(20000, \",\"), \",\"), \"\"))";
  }
}

void BM_HostileFormula(benchmark::State& state) {
  const std::string text = HostileFormula(static_cast<int>(state.range(0)));
  state.SetLabel(text.substr(0, 40));
  kvt::script::ScriptControl msMain;
  for (auto _ : state) {
    try {
      vb::Variant value = msMain.Eval(text);
      benchmark::DoNotOptimize(value);
    } catch (const vb::Error&) {
      // Error 7 ends most of them; its cost is what is measured.
    }
  }
}
BENCHMARK(BM_HostileFormula)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

#ifdef KVT_HAVE_MUPARSER
void BM_MuparserEval(benchmark::State& state) {
  const Formula& formula = kFormulas[static_cast<size_t>(state.range(0))];
  state.SetLabel(formula.muparser);
  mu::Parser parser;
  const std::string text = formula.muparser;
  for (auto _ : state) {
    // SetExpr discards the compiled form, so every Eval parses again.
    parser.SetExpr(text);
    double value = parser.Eval();
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_MuparserEval)->DenseRange(0, kFormulas.size() - 1);
#endif

}  // namespace

BENCHMARK_MAIN();
