// The voucher line's calculation in its dialog, and the outstanding-orders
// query as the received history grows.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "platform/data/connection.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/value/conversions.h"
#include "vouchers/frmEditGRVDetail.h"
#include "vouchers/voucher_queries.h"

namespace {

using kvt::vouchers::frmEditGRVDetail;

// Selector 0 with a tax code chosen: every figure of the line, rounded
// through the formatter and written back to the dialog's boxes.
void BM_CalculateWithTaxCode(benchmark::State& state) {
  kvt::component::ResetThreadStore();
  kvt::component::ThreadStore().settings.qty_decimals = 2;
  kvt::component::ThreadStore().settings.price_decimals = 2;
  auto form = std::make_shared<frmEditGRVDetail>();
  form->Load();
  auto taxes = std::make_shared<kvt::data::RecordSet>();
  taxes->Fields().Append("ID", kvt::data::DataType::kInteger);
  taxes->Fields().Append("Code", kvt::data::DataType::kVarWChar);
  taxes->Fields().Append("Rate", kvt::data::DataType::kDouble);
  taxes->Open();
  taxes->AppendRow({5, "VAT 14%", 14.0});
  kvt::ui::DataCombo& list = form->dbcODEdit();
  list.ListField("Code");
  list.BoundColumn("ID");
  list.RowSource(taxes);
  list.BoundText("5");  // the change sets the rate and calculates once
  form->txtODEdit(0).Text("3");
  form->txtODEdit(1).Text("100.00");
  form->txtODPercentage(0).Text("10");
  form->txtODPercentage(1).Text("5");
  for (auto _ : state) benchmark::DoNotOptimize(form->Calculate(0));
  state.counters["total"] = vb::CDbl(form->lblODCalc(4).Caption());
  kvt::component::ResetThreadStore();
}
BENCHMARK(BM_CalculateWithTaxCode);

// A demo database with 20 open orders of 10 lines for supplier 1 and
// `history` fully received lines in closed orders of 10 lines each.
std::string DatabaseWithHistory(int64_t history) {
  static std::map<int64_t, std::string> made;
  if (auto found = made.find(history); found != made.end()) return found->second;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("kvt_bench_history_" + std::to_string(history) +
                                                 "_" + std::to_string(::getpid()) + ".sqlite"))
          .string();
  kvt::db::CreateDemoDatabase(path);
  kvt::db::AddVolumeOrders(path, 200, 10);
  auto connection = kvt::data::Connection::Open(path);
  connection->ExecuteScript("BEGIN");
  connection->Execute(
      "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n WHERE k + 1 < ?1) "
      "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, DateOrdered, "
      "Status, OurRef) SELECT 1000000 + k, 1, 1, 'PH' || k, '2025-06-01', 2, 'History' FROM n",
      {vb::Variant(static_cast<int32_t>(history / 10))});
  connection->Execute(
      "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n WHERE k + 1 < ?1) "
      "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, Qty, BOQty, "
      "QtyReceived, UnitPrice, NetAmount, TaxCodesID, Tax, TotalCost) "
      "SELECT 1000000 + k / 10, 1 + k % 10, 10, 0, 10, 50, 500, 1, 75, 575 FROM n",
      {vb::Variant(static_cast<int32_t>(history))});
  connection->ExecuteScript("COMMIT");
  made[history] = path;
  return path;
}

void BM_OutstandingOrdersAsHistoryGrows(benchmark::State& state) {
  const std::string path = DatabaseWithHistory(state.range(0));
  kvt::component::ResetThreadStore();
  kvt::component::ThreadStore().settings.connection_string = kvt::db::ConnectionTextFor(path);
  using kvt::vouchers::VoucherQuery;
  const std::string command =
      kvt::vouchers::VoucherQueryCommand(VoucherQuery::kOutstandingOrders, 1, 1);
  int32_t orders = 0;
  for (auto _ : state) {
    auto rows = kvt::vouchers::RunVoucherQuery(VoucherQuery::kOutstandingOrders, command);
    orders = rows->RecordCount();
  }
  state.counters["open_orders"] = orders;
  kvt::component::ResetThreadStore();
}
BENCHMARK(BM_OutstandingOrdersAsHistoryGrows)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
