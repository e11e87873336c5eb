// Posting a 50-line goods received voucher on the embedded demo database:
// the host's whole transaction (checks, voucher, lines, order lines, stock
// movements, supplier invoice), committed to the file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "apps/kvt-host/posting/post_voucher.h"
#include "db/demo_database.h"
#include "platform/data/connection.h"
#include "platform/value/conversions.h"

namespace {

constexpr int32_t kLines = 50;
constexpr int32_t kOrder = 500;

// An open order of the first supplier whose lines never run out.
void AddBottomlessOrder(kvt::data::Connection& connection) {
  connection.Execute(
      "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, "
      "DateOrdered, Status) VALUES (?1, 1, 1, 'PO-BENCH', '2026-11-01', 1)",
      {vb::Variant(kOrder)});
  connection.Execute(
      "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n "
      "WHERE k + 1 < ?2) INSERT INTO PurchaseOrderDetails (ID, "
      "PurchaseOrderID, ProductID, Qty, QtyReceived, UnitPrice) "
      "SELECT ?1 * 100 + k, ?1, 1 + k % 10, 1000000000, 0, 50.00 FROM n",
      {vb::Variant(kOrder), vb::Variant(kLines)});
}

// The detail rows as the component leaves them: display text.
kvt::data::RecordSetRef DetailRows() {
  auto rows = std::make_shared<kvt::data::RecordSet>();
  for (const char* name :
       {"FK ID", "ProductsID", "Qty", "Unit Price", "Trade Disc", "Rebate Disc", "Other Disc",
        "Net Amount", "Tax_Codes_ID", "Tax Amount", "Total Cost"}) {
    rows->Fields().Append(name, kvt::data::DataType::kVarWChar);
  }
  rows->Open();
  for (int32_t k = 0; k < kLines; ++k) {
    rows->AddNew();
    const char* values[] = {"",     "",       "2", "50.00", "0.00",  "0.00",
                            "0.00", "100.00", "1", "15.00", "115.00"};
    for (int i = 0; i < rows->Fields().Count(); ++i) {
      rows->Item(i).Value(vb::Variant(values[i]));
    }
    rows->Item("FK ID").Value(vb::Variant(kOrder * 100 + k));
    rows->Item("ProductsID").Value(vb::Variant(1 + k % 10));
    rows->Update();
  }
  return rows;
}

void BM_PostFiftyLineVoucher(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("kvt_posting_bench_" + std::to_string(::getpid()) + ".sqlite"))
                               .string();
  kvt::db::CreateDemoDatabase(path);
  auto connection = kvt::data::Connection::Open(path);
  AddBottomlessOrder(*connection);
  kvt::posting::Voucher voucher;
  voucher.company_id = 1;
  voucher.supplier_id = 1;
  voucher.purchase_order_id = kOrder;
  voucher.period_month = 11;
  voucher.period_year_key = 7;
  voucher.user_id = 2;
  voucher.create_supplier_document = true;
  voucher.supplier_document_number = "INV-BENCH";
  voucher.lines = DetailRows();
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvt::posting::PostVoucher(*connection, voucher).voucher_id);
  }
  connection->Close();
  std::filesystem::remove(path);
}
BENCHMARK(BM_PostFiftyLineVoucher)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
