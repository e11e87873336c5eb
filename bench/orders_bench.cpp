// Order-line arithmetic and header totals, per call.
#include <benchmark/benchmark.h>

#include <memory>

#include "orders/header_totals.h"
#include "orders/line_calculation.h"
#include "platform/data/record_set.h"
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

std::shared_ptr<kvt::data::RecordSet> OrderDetail(int lines) {
  auto set = std::make_shared<kvt::data::RecordSet>();
  for (const char* column : kvt::orders::kHeaderTotalColumns) {
    set->Fields().Append(column, std::string(column) == "Qty"
                                     ? kvt::data::DataType::kDouble
                                     : kvt::data::DataType::kCurrency);
  }
  set->Open();
  for (int i = 0; i < lines; ++i) {
    set->AppendRow({Currency::FromRaw(12500 + i), Currency::FromRaw(5000),
                    vb::Variant::Null(), Currency::FromRaw(1000000 + i),
                    Currency::FromRaw(150000), Currency::FromRaw(1150000 + i),
                    2.5});
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
