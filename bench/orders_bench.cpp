// Order-line arithmetic and header totals, per call.
#include <benchmark/benchmark.h>

#include <memory>

#include "component/mod_publics.h"
#include "orders/frmEditOrderDetail.h"
#include "orders/header_totals.h"
#include "orders/line_calculation.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "services/number_format_service.h"

namespace {

using kvt::orders::Discount;
using kvt::orders::LineCalculation;
using kvt::orders::LineInputs;
using vb::Currency;

// Percentage steps in place of the script engine: measures the chain and
// the rounding through the formatter on their own.
class FixedRateSteps : public kvt::orders::DiscountFormulaStep {
 public:
  explicit FixedRateSteps(const LineCalculation& calc) : calc_(calc) {}
  void Apply(Discount, Currency subtotal, Currency& amount) override {
    amount = calc_.RoundToCents(subtotal.ToDouble() * 0.025);
  }

 private:
  const LineCalculation& calc_;
};

void BM_LineArithmeticThreeStepsAndTax(benchmark::State& state) {
  kvt::services::NumberFormatService formatter;
  LineCalculation calc(formatter);
  FixedRateSteps steps(calc);
  for (auto _ : state) {
    LineInputs line{12.5, 2, Currency::FromDecimalText("1234.56"), {}, {}, {}};
    calc.RunDiscountChain(kvt::orders::kTriggerQuantity, line, steps);
    auto figures = calc.Figures(line, 15.0f);
    benchmark::DoNotOptimize(figures);
  }
}
BENCHMARK(BM_LineArithmeticThreeStepsAndTax);

// A lookup list's rows: ID, name, formula text (or tax rate).
std::shared_ptr<kvt::data::RecordSet> LookupRows(const char* text) {
  auto rows = std::make_shared<kvt::data::RecordSet>();
  rows->Fields().Append("ID", kvt::data::DataType::kInteger);
  rows->Fields().Append("Description", kvt::data::DataType::kVarWChar);
  rows->Fields().Append("Formula", kvt::data::DataType::kVarWChar);
  rows->Open();
  rows->AppendRow({1, "No formula", "0"});
  rows->AppendRow({2, "Chosen", text});
  return rows;
}

// The dialog's whole recalculation: three ticked formulas evaluated by
// the script engine, the tax rate from the tax code list, every control
// written back.
void BM_DoCalculationThreeFormulasAndTax(benchmark::State& state) {
  auto form = std::make_shared<kvt::orders::frmEditOrderDetail>();
  form->Load();
  form->BindingState(true);
  const char* formulas[4] = {"", "X*0.05", "Round(X*0.025, 2)", "Int(X/1000)*10"};
  for (int i = 1; i <= 4; ++i) {
    kvt::ui::DataCombo& list = form->dbcODEdit(i);
    list.RowSource(LookupRows(i == 4 ? "15" : formulas[i]));
    list.ListField("Description");
    list.BoundColumn("ID");
    list.BoundText("2");
    if (i <= 3) form->chkUseFormula(i).Value(kvt::ui::vbChecked);
  }
  form->txtODEdit(0).Text("12.5");
  form->txtODEdit(1).Text("1,234.56");
  form->BindingState(false);
  for (auto _ : state) {
    int32_t trigger = kvt::orders::kTriggerQuantity;
    form->DoCalculation(trigger);
  }
  if (form->lblODCalc(4).Caption().empty()) state.SkipWithError("no tax written");
  kvt::component::ResetThreadStore();
}
BENCHMARK(BM_DoCalculationThreeFormulasAndTax)->Unit(benchmark::kMicrosecond);

// `as_variants` keeps the same values in Variant fields, which the totals
// can only read row by row.
std::shared_ptr<kvt::data::RecordSet> OrderDetail(int lines, bool as_variants = false) {
  auto set = std::make_shared<kvt::data::RecordSet>();
  for (const char* column : kvt::orders::kHeaderTotalColumns) {
    set->Fields().Append(column, as_variants                    ? kvt::data::DataType::kVariant
                                 : std::string(column) == "Qty" ? kvt::data::DataType::kDouble
                                                                : kvt::data::DataType::kCurrency);
  }
  set->Open();
  for (int i = 0; i < lines; ++i) {
    set->AppendRow({Currency::FromRaw(12500 + i), Currency::FromRaw(5000), vb::Variant::Null(),
                    Currency::FromRaw(1000000 + i), Currency::FromRaw(150000),
                    Currency::FromRaw(1150000 + i), 2.5});
  }
  return set;
}

void BM_HeaderTotals100k(benchmark::State& state) {
  auto set = OrderDetail(100000);
  for (auto _ : state) {
    auto totals = kvt::orders::SumOrderDetailRows(*set);
    benchmark::DoNotOptimize(totals);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_HeaderTotals100k)->Unit(benchmark::kMillisecond);

// The same lines through the row walk, for sets the scan cannot read.
void BM_HeaderTotalsWalked100k(benchmark::State& state) {
  auto set = OrderDetail(100000, true);
  for (auto _ : state) {
    auto totals = kvt::orders::SumOrderDetailRows(*set);
    benchmark::DoNotOptimize(totals);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_HeaderTotalsWalked100k)->Unit(benchmark::kMillisecond);

// The floor: the same seven sums over plain int64 columns.
void BM_PlainInt64Loop100k(benchmark::State& state) {
  std::vector<std::array<int64_t, 7>> rows(100000);
  for (int i = 0; i < 100000; ++i) {
    rows[static_cast<size_t>(i)] = {12500 + i, 5000, 0, 1000000 + i, 150000, 1150000 + i, 25000};
  }
  for (auto _ : state) {
    std::array<int64_t, 7> totals{};
    for (const auto& row : rows) {
      for (size_t c = 0; c < 7; ++c) totals[c] += row[c];
    }
    benchmark::DoNotOptimize(totals);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_PlainInt64Loop100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
