// The value helpers every figure passes through, per call.
#include <benchmark/benchmark.h>

#include "component/mod_general.h"
#include "platform/value/conversions.h"

namespace {

void BM_ParseNumberGroupedText(benchmark::State& state) {
  const vb::Variant text("1,234,567.89");
  for (auto _ : state) benchmark::DoNotOptimize(kvt::component::ParseNumber(text));
}
BENCHMARK(BM_ParseNumberGroupedText);

void BM_ParseNumberNotNumeric(benchmark::State& state) {
  const vb::Variant text("12abc");
  for (auto _ : state) benchmark::DoNotOptimize(kvt::component::ParseNumber(text));
}
BENCHMARK(BM_ParseNumberNotNumeric);

void BM_FormatTwoDecimals(benchmark::State& state) {
  const vb::Variant value(1234567.891);
  for (auto _ : state) benchmark::DoNotOptimize(kvt::component::FormatTwoDecimals(value));
}
BENCHMARK(BM_FormatTwoDecimals);

void BM_CCurOfGroupedText(benchmark::State& state) {
  const vb::Variant text("1,234,567.89");
  for (auto _ : state) benchmark::DoNotOptimize(vb::CCur(text));
}
BENCHMARK(BM_CCurOfGroupedText);

}  // namespace

BENCHMARK_MAIN();
