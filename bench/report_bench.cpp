// The printed purchase order at volume: a 2,000-line order laid out into
// pages, and laid out and written as PDF. Goal: the whole document in
// under one second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptPurchaseOrder.h"
#include "frontends/qt/report/pdf_writer.h"

namespace {

constexpr int kLines = 2000;

kvt::report::Document LayOut(const std::shared_ptr<kvt::report::MemoryTable>& data) {
  kvt::documents::rptPurchaseOrder layout;
  layout.GetDataControl(kvt::documents::kPurchaseOrderDataControl).SetRecordset(data);
  for (const auto& binding : kvt::documents::kPurchaseOrderBindings) {
    layout.Control(binding.field).SetDataField(binding.column);
  }
  return layout.Run();
}

void BM_LayOutPurchaseOrder(benchmark::State& state) {
  const auto data = kvt::documents::SamplePurchaseOrderData(kLines);
  size_t pages = 0;
  for (auto _ : state) {
    const kvt::report::Document document = LayOut(data);
    pages += document.pages.size();
    benchmark::DoNotOptimize(document.pages.data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LayOutPurchaseOrder)->Unit(benchmark::kMillisecond);

void BM_RenderPurchaseOrderPdf(benchmark::State& state) {
  const auto data = kvt::documents::SamplePurchaseOrderData(kLines);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kvt_report_bench_" + std::to_string(::getpid()) + ".pdf"))
                               .string();
  size_t pages = 0;
  for (auto _ : state) {
    const kvt::report::Document document = LayOut(data);
    kvt::qt::WritePdf(document, path);
    pages += document.pages.size();
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_RenderPurchaseOrderPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
