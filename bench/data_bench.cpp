// Data services on the hot paths: reading an order's outstanding lines from
// a database with 100,000 order lines, and formatting an amount.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "db/demo_database.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace {

constexpr int32_t kOrderLines = 100000;
constexpr int32_t kLinesPerOrder = 10;

struct VolumeDatabase {
  std::string path;
  int32_t first_order = 0;

  VolumeDatabase() {
    path = (std::filesystem::temp_directory_path() /
            ("kvt_data_bench_" + std::to_string(::getpid()) + ".sqlite"))
               .string();
    std::filesystem::remove(path);
    kvt::db::CreateDemoDatabase(path);
    first_order = kvt::db::AddVolumeOrders(path, kOrderLines, kLinesPerOrder);
  }
  ~VolumeDatabase() { std::filesystem::remove(path); }
};

const VolumeDatabase& Database() {
  static const VolumeDatabase database;
  return database;
}

std::string OutstandingLinesCommand(int32_t order) {
  return "Exec sp_AO_GRV_Select_Outstanding_Order_Details " + std::to_string(order);
}

// The statement on a connection that is already open.
void BM_OpenRecordsetOutstandingLines(benchmark::State& state) {
  const VolumeDatabase& db = Database();
  kvt::services::DataGateway gateway;
  auto connection = gateway.OpenConnection(kvt::db::ConnectionTextFor(db.path), -1, 3);
  const int32_t orders = kOrderLines / kLinesPerOrder;
  int32_t i = 0;
  for (auto _ : state) {
    int32_t status = 0;
    auto rows =
        gateway.OpenRecordset(OutstandingLinesCommand(db.first_order + (i++ * 7919) % orders), 1, 3,
                              3, connection, status);
    benchmark::DoNotOptimize(rows->RecordCount());
  }
}
BENCHMARK(BM_OpenRecordsetOutstandingLines)->Unit(benchmark::kMicrosecond);

// What one query operation of the component does: a new connection per call.
void BM_ConnectAndOpenRecordsetOutstandingLines(benchmark::State& state) {
  const VolumeDatabase& db = Database();
  kvt::services::DataGateway gateway;
  const std::string connection_text = kvt::db::ConnectionTextFor(db.path);
  const int32_t orders = kOrderLines / kLinesPerOrder;
  int32_t i = 0;
  for (auto _ : state) {
    auto connection = gateway.OpenConnection(connection_text, -1, 3);
    int32_t status = 0;
    auto rows =
        gateway.OpenRecordset(OutstandingLinesCommand(db.first_order + (i++ * 7919) % orders), 1, 3,
                              3, connection, status);
    benchmark::DoNotOptimize(rows->RecordCount());
  }
}
BENCHMARK(BM_ConnectAndOpenRecordsetOutstandingLines)->Unit(benchmark::kMicrosecond);

// The supplier of the volume orders: 10,000 open orders to list.
void BM_OpenRecordsetOutstandingOrdersOfBusySupplier(benchmark::State& state) {
  const VolumeDatabase& db = Database();
  kvt::services::DataGateway gateway;
  auto connection = gateway.OpenConnection(kvt::db::ConnectionTextFor(db.path), -1, 3);
  for (auto _ : state) {
    int32_t status = 0;
    auto rows = gateway.OpenRecordset("Exec sp_AO_GRV_Select_Outstanding_Orders 1,1", 1, 3, 3,
                                      connection, status);
    benchmark::DoNotOptimize(rows->RecordCount());
  }
}
BENCHMARK(BM_OpenRecordsetOutstandingOrdersOfBusySupplier)->Unit(benchmark::kMillisecond);

void BM_FormatAmountNumber(benchmark::State& state) {
  const kvt::services::NumberFormatService service;
  const vb::Variant value(1234567.891);
  for (auto _ : state) {
    benchmark::DoNotOptimize(service.FormatAmount(value, 2, -1, 0, -1));
  }
}
BENCHMARK(BM_FormatAmountNumber);

void BM_FormatAmountText(benchmark::State& state) {
  const kvt::services::NumberFormatService service;
  const vb::Variant value("1,234.5");
  for (auto _ : state) {
    benchmark::DoNotOptimize(service.FormatAmount(value, 2, -1, 0, -1));
  }
}
BENCHMARK(BM_FormatAmountText);

}  // namespace

BENCHMARK_MAIN();
