// kvt-render-sample OUT_DIR [LINES] [--reprint]
//
// Writes OUT_DIR/rptPurchaseOrder.pdf and OUT_DIR/rptPurchaseOrderNG.pdf:
// both purchase-order layouts filled with made-up data, so anyone can look
// at them (scripts/render-layouts.sh turns page 1 into PNG).
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"
#include "frontends/qt/report/pdf_writer.h"

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
  std::printf("%s: %zu page(s)\n", path.c_str(), document.pages.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR [LINES] [--reprint]\n", argv[0]);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string out_dir = argv[1];
  const int lines = argc > 2 ? std::atoi(argv[2]) : 12;
  const bool reprint = argc > 3 && std::string(argv[3]) == "--reprint";
  try {
    kvt::documents::rptPurchaseOrder boxed;
    Render(boxed, lines, reprint, out_dir);
    kvt::documents::rptPurchaseOrderNG plain;
    Render(plain, lines, reprint, out_dir);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kvt-render-sample: %s\n", error.what());
    return 1;
  }
  return 0;
}
