#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <regex>
#include <span>
#include <vector>
#include <string>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptGoodsReceived.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/voucher_layout.h"
#include "documents/voucher_sample.h"
#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/qt_outputs.h"
#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "qt_test_support.h"
#include "tests/support/vb_error.h"

// Fontconfig keeps caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace kvt::qt {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::TempDir;

report::Document SampleOrder(int lines) {
  documents::rptPurchaseOrder layout;
  layout.Control("RePrintFlag").SetText("Re-Print");
  layout.GetDataControl(documents::kPurchaseOrderDataControl)
      .SetRecordset(documents::SamplePurchaseOrderData(lines));
  for (const auto& binding : documents::kPurchaseOrderBindings) {
    layout.Control(binding.field).SetDataField(binding.column);
  }
  return layout.Run();
}

// A figure of a document: the value of a print-data column (none for a
// sum), and the text its field shows.
struct Figure {
  const char* column;
  const char* value;
  const char* field;
  const char* shown;
};

// Three copies of the first row of `sample` with the figures' columns set.
std::shared_ptr<report::MemoryTable> ThreeLines(report::MemoryTable& sample,
                                                std::span<const Figure> figures) {
  std::vector<std::string> columns;
  std::vector<vb::Variant> row;
  sample.MoveFirst();
  for (int index = 0; index < sample.FieldCount(); ++index) {
    columns.push_back(sample.FieldName(index));
    row.push_back(sample.Value(index));
    for (const Figure& figure : figures) {
      if (figure.column != nullptr && columns.back() == figure.column) {
        row.back() = vb::Variant(vb::Currency::FromDecimalText(figure.value));
      }
    }
  }
  auto table = std::make_shared<report::MemoryTable>(columns);
  for (int line = 0; line < 3; ++line) table->AddRow(row);
  return table;
}

// A word pdftotext finds on page 1, with its box in points.
struct PdfWord {
  std::string text;
  double left, top, right, bottom;
};

std::vector<PdfWord> PdfWordsOf(const std::string& path) {
  const std::string html = RunCommand("pdftotext -bbox -f 1 -l 1 '" + path + "' -").output;
  static const std::regex word(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  std::vector<PdfWord> words;
  for (std::sregex_iterator at(html.begin(), html.end(), word), end; at != end; ++at) {
    const std::smatch& m = *at;
    words.push_back(
        {m[5], vb::Val(m[1].str()), vb::Val(m[2].str()), vb::Val(m[3].str()), vb::Val(m[4].str())});
  }
  return words;
}

class QtReportTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureApplication(); }
};

TEST_F(QtReportTest, PdfCarriesTheDocumentsTextOnEveryPage) {
  TempDir dir("pdf");
  const std::string path = dir.File("order.pdf");
  const report::Document document = SampleOrder(75);
  ASSERT_EQ(document.pages.size(), 3u);
  WritePdf(document, path);

  const auto info = testing::ReadPdfInfo(path);
  EXPECT_EQ(info.pages, 3) << info.report;
  EXPECT_NE(info.report.find("Brellix Purchase Order"), std::string::npos);
  EXPECT_NE(info.report.find("(A4)"), std::string::npos) << info.report;

  CommandResult text;
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    text = RunCommand("pdftotext -layout -f " + std::to_string(page) + " -l " +
                      std::to_string(page) + " '" + path + "' -");
    ASSERT_EQ(text.status, 0);
    for (const char* expected :
         {"Purchase Order", "Re-Print", "Brellix Trading Ltd", "Acme Industrial Supplies (Pty) Ltd",
          "Salesperson:", "Unit Price", "Order Total"}) {
      EXPECT_NE(text.output.find(expected), std::string::npos) << expected;
    }
    const std::string first_line = "PRD-" + std::to_string(10000 + (page - 1) * 30 + 1);
    EXPECT_NE(text.output.find(first_line), std::string::npos) << first_line;
  }
  // The last page's footer holds the order's totals.
  const report::Page& last = document.pages.back();
  for (const char* field : {"fldPFSubTotal", "fldPFTaxTotal", "fldPFOrderTotal"}) {
    const std::string figure = last.FindText(field)->text;
    EXPECT_NE(text.output.find(figure), std::string::npos) << field << " " << figure;
  }
}

// Every digit of an amount is in the PDF's text, inside the box of its
// field: pdftotext reads clipped text too, and a figure that ran out of its
// box would be cut at the column's edge or overprint its neighbour.
TEST_F(QtReportTest, SevenDigitAmountsKeepEveryDigitInsideTheirBoxes) {
  const Figure order_figures[] = {{"QTY", "1234567", "fldRDOrderQty", "1,234,567.00"},
                                  {"Unit Price", "1419752.05", "fldRDUnitPrice", "1,419,752.05"},
                                  {"Trade Disc", "185185.05", "fldRDTradeDisc", "185,185.05"},
                                  {"Rebate Disc", "9876543.21", "fldRDRebateDisc", "9,876,543.21"},
                                  {"Other Disc", "8765432.10", "fldRDOtherDisc", "8,765,432.10"},
                                  {"Tax Amount", "1234567.89", "fldRDTaxAmount", "1,234,567.89"},
                                  {"Total Cost", "8888888.87", "fldRDSubTotal", "8,888,888.87"},
                                  {"Net Amount", "7654321.98", "fldPFSubTotal", "22,962,965.94"},
                                  {nullptr, nullptr, "fldPFTaxTotal", "3,703,703.67"},
                                  {nullptr, nullptr, "fldPFOrderTotal", "26,666,666.61"}};
  Figure voucher_figures[std::size(order_figures)];
  std::copy(std::begin(order_figures), std::end(order_figures), voucher_figures);
  voucher_figures[0].field = "fldRDReceivedQty";
  voucher_figures[6] = {"SubTotal", "7654321.98", "fldRDSubTotal", "7,654,321.98"};
  voucher_figures[7] = {"Total Cost", "8888888.87", "fldPFGRVTotal", "26,666,666.61"};
  voucher_figures[9] = {nullptr, nullptr, "fldPFSubTotal", "22,962,965.94"};
  documents::rptPurchaseOrder order;
  documents::rptGoodsReceived voucher;
  struct Case {
    report::Report& layout;
    std::shared_ptr<report::MemoryTable> data;
    std::span<const documents::ColumnBinding> bindings;
    std::span<const Figure> figures;
  };
  const Case cases[] = {
      {order, ThreeLines(*documents::SamplePurchaseOrderData(1), order_figures),
       documents::kPurchaseOrderBindings, order_figures},
      {voucher, ThreeLines(*documents::SampleVoucherData(19, 1), voucher_figures),
       documents::kVoucherBindings, voucher_figures},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout.Name());
    c.layout.GetDataControl("dcHeader").SetRecordset(c.data);
    for (const auto& binding : c.bindings) {
      if (binding.column != nullptr) c.layout.Control(binding.field).SetDataField(binding.column);
    }
    const report::Document document = c.layout.Run(CurrentFontMetrics());
    TempDir dir("digits");
    WritePdf(document, dir.File("document.pdf"));
    const std::vector<PdfWord> words = PdfWordsOf(dir.File("document.pdf"));
    for (const Figure& figure : c.figures) {
      SCOPED_TRACE(figure.field);
      const report::Rect& box = document.pages[0].FindText(figure.field)->rect;  // first line
      // clang-format off
      const auto word = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) {
        return w.text == figure.shown && w.top >= box.top / 20.0 - 1 &&
               w.bottom <= box.Bottom() / 20.0 + 1;
      });
      // clang-format on
      ASSERT_NE(word, words.end()) << figure.shown;
      EXPECT_GE(word->left, box.left / 20.0);
      EXPECT_LE(word->right, box.Right() / 20.0);
    }
  }
}

// clang-format off
TEST_F(QtReportTest, HeadlessExportLeavesNoPartialFileAndPreviewWritesItsPdf) {
  TempDir dir("pdf");
  const report::Document document = SampleOrder(3);
  HeadlessOutput output(dir.File("preview.pdf"));
  // A folder that does not exist: error 75, and nothing appears.
  const std::string unreachable = dir.File("missing/order.pdf");
  EXPECT_EQ(test_support::ErrorNumberOf([&] { output.ExportPdf(document, unreachable); }),
            report::kPathFileAccessError);
  EXPECT_FALSE(std::filesystem::exists(unreachable));

  // A disk that fills up while the file is written: the reason is told.
  {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit before {};
    ::getrlimit(RLIMIT_FSIZE, &before);
    struct rlimit small = before;
    small.rlim_cur = 2048;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const vb::Error full = test_support::ErrorOf([&] { output.ExportPdf(document, dir.File("full.pdf")); });
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(full.number(), report::kPathFileAccessError);
    EXPECT_NE(full.description().find("could not be written: File too large"), std::string::npos)
        << full.description();
    EXPECT_FALSE(std::filesystem::exists(dir.File("full.pdf")));
  }

  // Replacing a file: afterwards the folder holds just the finished PDF.
  const std::string path = dir.File("order.pdf");
  { std::FILE* old = std::fopen(path.c_str(), "w"); std::fputs("old", old); std::fclose(old); }
  output.ExportPdf(document, path);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(testing::ReadPdfInfo(path).pages, 1);

  output.Preview(SampleOrder(2), "Any Printer");
  const auto text = RunCommand("pdftotext '" + dir.File("preview.pdf") + "' -");
  ASSERT_EQ(text.status, 0);
  EXPECT_NE(text.output.find("PRD-10002"), std::string::npos);
}
// clang-format on

TEST_F(QtReportTest, PreviewIsModalAndReturnsWhenClosed) {
  DialogOutput output;
  auto seen = testing::AnswerNextDialog(false);
  output.Preview(SampleOrder(40), "No Such Printer");
  EXPECT_TRUE(*seen);
}

}  // namespace
}  // namespace kvt::qt
