// The printed documents at volume: a 2,000-line purchase order and a
// 2,000-line goods received voucher laid out into pages (text fitted with
// the fonts Qt draws in), and laid out and written as PDF. Goal: the whole
// document in under one second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptGoodsReceived.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/voucher_layout.h"
#include "documents/voucher_sample.h"
#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/qt_text_metrics.h"

namespace {

constexpr int kLines = 2000;

kvt::report::Document LayOut(const std::shared_ptr<kvt::report::MemoryTable>& data) {
  kvt::documents::rptPurchaseOrder layout;
  layout.GetDataControl(kvt::documents::kPurchaseOrderDataControl).SetRecordset(data);
  for (const auto& binding : kvt::documents::kPurchaseOrderBindings) {
    layout.Control(binding.field).SetDataField(binding.column);
  }
  return layout.Run(kvt::qt::CurrentFontMetrics());
}

kvt::report::Document LayOutVoucher(const std::shared_ptr<kvt::report::MemoryTable>& data) {
  kvt::documents::rptGoodsReceived layout;
  layout.GetDataControl(kvt::documents::kVoucherDataControl).SetRecordset(data);
  for (const auto& binding : kvt::documents::kVoucherBindings) {
    if (binding.column != nullptr) layout.Control(binding.field).SetDataField(binding.column);
  }
  return layout.Run(kvt::qt::CurrentFontMetrics());
}

// Lays out and writes `data` as PDF with `lay_out` on every iteration.
template <class LayOutFn>
void RenderPdf(benchmark::State& state, const std::shared_ptr<kvt::report::MemoryTable>& data,
               LayOutFn lay_out) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kvt_report_bench_" + std::to_string(::getpid()) + ".pdf"))
                               .string();
  size_t pages = 0;
  for (auto _ : state) {
    const kvt::report::Document document = lay_out(data);
    kvt::qt::WritePdf(document, path);
    pages += document.pages.size();
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
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
  RenderPdf(state, kvt::documents::SamplePurchaseOrderData(kLines), LayOut);
}
BENCHMARK(BM_RenderPurchaseOrderPdf)->Unit(benchmark::kMillisecond);

void BM_LayOutVoucher(benchmark::State& state) {
  const auto data = kvt::documents::SampleVoucherData(19, kLines);
  size_t pages = 0;
  for (auto _ : state) {
    const kvt::report::Document document = LayOutVoucher(data);
    pages += document.pages.size();
    benchmark::DoNotOptimize(document.pages.data());
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LayOutVoucher)->Unit(benchmark::kMillisecond);

void BM_RenderVoucherPdf(benchmark::State& state) {
  RenderPdf(state, kvt::documents::SampleVoucherData(19, kLines), LayOutVoucher);
}
BENCHMARK(BM_RenderVoucherPdf)->Unit(benchmark::kMillisecond);

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
