// kvt-render-sample OUT_DIR [LINES] [--reprint]
//
// Writes OUT_DIR/rptPurchaseOrder.pdf and OUT_DIR/rptPurchaseOrderNG.pdf:
// both purchase-order layouts filled with made-up data, so anyone can look
// at them (scripts/render-layouts.sh turns page 1 into PNG).
#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"
#include "frontends/qt/report/pdf_writer.h"
#include "platform/value/number_text.h"

namespace {

void Render(kvt::report::Report& layout, int lines, bool reprint,
            const std::string& out_dir) {
  layout.Control("RePrintFlag").SetText(reprint ? "Re-Print" : "");
  layout.GetDataControl(kvt::documents::kPurchaseOrderDataControl)
      .SetRecordset(kvt::documents::SamplePurchaseOrderData(lines));
  for (const auto& binding : kvt::documents::kPurchaseOrderBindings) {
    layout.Control(binding.field).SetDataField(binding.column);
  }
  const std::string path = out_dir + "/" + layout.Name() + ".pdf";
  const kvt::report::Document document = layout.Run();
  kvt::qt::WritePdf(document, path);
  std::cout << path << ": " << std::to_string(document.pages.size()) << " page(s)\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int64_t> lines =
      argc > 2 ? vb::ReadPlainInteger(argv[2]) : std::optional<int64_t>(12);
  if (argc < 2 || !lines || *lines < 0 || *lines > 1000000) {
    std::cerr << "usage: " << argv[0] << " OUT_DIR [LINES] [--reprint]\n";
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string out_dir = argv[1];
  const bool reprint = argc > 3 && std::string(argv[3]) == "--reprint";
  try {
    kvt::documents::rptPurchaseOrder boxed;
    Render(boxed, static_cast<int>(*lines), reprint, out_dir);
    kvt::documents::rptPurchaseOrderNG plain;
    Render(plain, static_cast<int>(*lines), reprint, out_dir);
  } catch (const std::exception& error) {
    std::cerr << "kvt-render-sample: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
