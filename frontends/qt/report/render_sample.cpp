// kvt-render-sample OUT_DIR [LINES|hostile] [--reprint]
//
// Writes OUT_DIR/<layout>.pdf for both purchase-order layouts and the four
// voucher layouts, filled with made-up data (LINES lines), or with the
// data made to break them (hostile_sample.h), so anyone can look at them
// (scripts/render-layouts.sh turns page 1 into PNG).
#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "documents/hostile_sample.h"
#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"
#include "documents/voucher_layout.h"
#include "documents/voucher_sample.h"
#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/value/number_text.h"

namespace {

using kvt::documents::ColumnBinding;

void Render(kvt::report::Report& layout, std::shared_ptr<kvt::report::DataSource> data,
            std::span<const ColumnBinding> bindings, const std::string& mark,
            const std::string& out_dir) {
  layout.Control("RePrintFlag").SetText(mark);
  layout.GetDataControl("dcHeader").SetRecordset(std::move(data));
  for (const ColumnBinding& binding : bindings) {
    if (binding.column != nullptr) {
      layout.Control(binding.field).SetDataField(binding.column);
    }
  }
  const std::string path = out_dir + "/" + layout.Name() + ".pdf";
  const kvt::report::Document document = layout.Run(kvt::qt::CurrentFontMetrics());
  kvt::qt::WritePdf(document, path);
  std::cout << path << ": " << std::to_string(document.pages.size()) << " page(s)\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool hostile = argc > 2 && std::string(argv[2]) == "hostile";
  const std::optional<int64_t> lines = hostile    ? std::optional<int64_t>(0)
                                       : argc > 2 ? vb::ReadPlainInteger(argv[2])
                                                  : std::optional<int64_t>(12);
  if (argc < 2 || !lines || *lines < 0 || *lines > 1000000) {
    std::cerr << "usage: " << argv[0] << " OUT_DIR [LINES|hostile] [--reprint]\n";
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string out_dir = argv[1];
  const bool reprint = argc > 3 && std::string(argv[3]) == "--reprint";
  using namespace kvt::documents;
  const int count = static_cast<int>(*lines);
  const auto order_data = [&] {
    return hostile ? HostilePurchaseOrderData() : SamplePurchaseOrderData(count);
  };
  const auto voucher_data = [&](int32_t tran_type) {
    return hostile ? HostileVoucherData(tran_type) : SampleVoucherData(tran_type, count);
  };
  try {
    const std::string re_print = reprint ? "Re-Print" : "";
    rptPurchaseOrder boxed;
    Render(boxed, order_data(), kPurchaseOrderBindings, re_print, out_dir);
    rptPurchaseOrderNG plain;
    Render(plain, order_data(), kPurchaseOrderBindings, re_print, out_dir);
    const std::string copy = reprint ? "Copy" : "";
    rptGoodsReceived received;
    Render(received, voucher_data(19), kVoucherBindings, copy, out_dir);
    rptGoodsReceivedNG received_plain;
    Render(received_plain, voucher_data(19), kVoucherBindings, copy, out_dir);
    rptGoodsReturned returned;
    Render(returned, voucher_data(20), kVoucherBindings, copy, out_dir);
    rptGoodsReturnedNG returned_plain;
    Render(returned_plain, voucher_data(20), kVoucherBindings, copy, out_dir);
  } catch (const std::exception& error) {
    std::cerr << "kvt-render-sample: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
