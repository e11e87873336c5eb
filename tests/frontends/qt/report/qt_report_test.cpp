#include <gtest/gtest.h>


#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
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

// Fontconfig keeps caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace kvt::qt {
namespace {

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

// `rows` copies of the first row of `sample` with the named columns set.
std::shared_ptr<report::MemoryTable> WithValues(
    report::MemoryTable& sample, const std::map<std::string, vb::Variant>& values,
    int rows) {
  std::vector<std::string> columns;
  std::vector<vb::Variant> row;
  sample.MoveFirst();
  for (int index = 0; index < sample.FieldCount(); ++index) {
    columns.push_back(sample.FieldName(index));
    const auto value = values.find(columns.back());
    row.push_back(value != values.end() ? value->second : sample.Value(index));
  }
  auto table = std::make_shared<report::MemoryTable>(columns);
  for (int count = 0; count < rows; ++count) table->AddRow(row);
  return table;
}

vb::Variant Money(const char* text) {
  return vb::Variant(vb::Currency::FromDecimalText(text));
}

// A word pdftotext finds on a page, with its box in points.
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
    words.push_back({m[5], vb::Val(m[1].str()), vb::Val(m[2].str()), vb::Val(m[3].str()),
                     vb::Val(m[4].str())});
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

  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    const auto text = RunCommand("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                 std::to_string(page) + " '" + path + "' -");
    ASSERT_EQ(text.status, 0);
    for (const char* expected : {"Purchase Order", "Re-Print", "Brellix Trading Ltd",
                                 "Acme Industrial Supplies (Pty) Ltd", "Salesperson:",
                                 "Unit Price", "Order Total"}) {
      EXPECT_NE(text.output.find(expected), std::string::npos) << expected;
    }
    const std::string first_line = "PRD-" + std::to_string(10000 + (page - 1) * 30 + 1);
    EXPECT_NE(text.output.find(first_line), std::string::npos) << first_line;
  }
  // The last page's footer holds the order's totals.
  const report::Page& last = document.pages.back();
  const auto text = RunCommand("pdftotext -f 3 -l 3 '" + path + "' -");
  for (const char* field : {"fldPFSubTotal", "fldPFTaxTotal", "fldPFOrderTotal"}) {
    const std::string figure = last.FindText(field)->text;
    EXPECT_NE(text.output.find(figure), std::string::npos) << field << " " << figure;
  }
}

// Every digit of an amount is in the PDF's text, inside the box of its
// field: a figure that ran out of its box would be cut where the column
// ends or overprint its neighbour.
TEST_F(QtReportTest, SevenDigitAmountsKeepEveryDigitInsideTheirBoxes) {
  const std::map<std::string, vb::Variant> order_values = {
      {"QTY", vb::Variant(1234567.0)},     {"Unit Price", Money("1419752.05")},
      {"Trade Disc", Money("185185.05")},  {"Rebate Disc", Money("9876543.21")},
      {"Other Disc", Money("8765432.10")}, {"Tax Amount", Money("1234567.89")},
      {"Net Amount", Money("7654321.98")}, {"Total Cost", Money("8888888.87")}};
  std::map<std::string, vb::Variant> voucher_values = order_values;
  voucher_values.erase("Net Amount");
  voucher_values["SubTotal"] = Money("7654321.98");
  using Shown = std::vector<std::pair<const char*, const char*>>;
  // Three lines each: the footers hold three times the line figures.
  const Shown shared = {{"fldRDUnitPrice", "1,419,752.05"},  {"fldRDTradeDisc", "185,185.05"},
                        {"fldRDRebateDisc", "9,876,543.21"}, {"fldRDOtherDisc", "8,765,432.10"},
                        {"fldRDTaxAmount", "1,234,567.89"},  {"fldPFTaxTotal", "3,703,703.67"},
                        {"fldPFSubTotal", "22,962,965.94"}};
  documents::rptPurchaseOrder order;
  documents::rptGoodsReceived voucher;
  struct Case {
    report::Report& layout;
    std::shared_ptr<report::MemoryTable> data;
    std::span<const documents::ColumnBinding> bindings;
    Shown own;
  };
  const Case cases[] = {
      {order, WithValues(*documents::SamplePurchaseOrderData(1), order_values, 3),
       documents::kPurchaseOrderBindings,
       {{"fldRDOrderQty", "1,234,567.00"},
        {"fldRDSubTotal", "8,888,888.87"},
        {"fldPFOrderTotal", "26,666,666.61"}}},
      {voucher, WithValues(*documents::SampleVoucherData(19, 1), voucher_values, 3),
       documents::kVoucherBindings,
       {{"fldRDReceivedQty", "1,234,567.00"},
        {"fldRDSubTotal", "7,654,321.98"},
        {"fldPFGRVTotal", "26,666,666.61"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout.Name());
    c.layout.GetDataControl("dcHeader").SetRecordset(c.data);
    for (const auto& binding : c.bindings) {
      if (binding.column != nullptr) {
        c.layout.Control(binding.field).SetDataField(binding.column);
      }
    }
    const report::Document document = c.layout.Run(CurrentFontMetrics());
    TempDir dir("digits");
    const std::string path = dir.File("document.pdf");
    WritePdf(document, path);
    const std::vector<PdfWord> words = PdfWordsOf(path);
    for (const auto* shown : {&shared, &c.own}) {
      for (const auto& [field, amount] : *shown) {
        SCOPED_TRACE(field);
        // The field's first band, in points.
        const report::Rect& box = document.pages[0].FindText(field)->rect;
        const auto inside = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) {
          return w.text == amount && w.top >= box.top / 20.0 - 1 &&
                 w.bottom <= box.Bottom() / 20.0 + 1;
        });
        ASSERT_NE(inside, words.end()) << amount;
        EXPECT_GE(inside->left, box.left / 20.0);
        EXPECT_LE(inside->right, box.Right() / 20.0);
      }
    }
  }
}

TEST_F(QtReportTest, PdfExportLeavesNoPartialOrTemporaryFile) {
  TempDir dir("pdf");
  const report::Document document = SampleOrder(3);
  HeadlessOutput output;
  // A folder that does not exist: error 75, and nothing appears.
  const std::string unreachable = dir.File("missing/order.pdf");
  try {
    output.ExportPdf(document, unreachable);
    ADD_FAILURE() << "no error raised";
  } catch (const vb::Error& error) {
    EXPECT_EQ(error.number(), report::kPathFileAccessError);
  }
  EXPECT_FALSE(std::filesystem::exists(unreachable));

  // Replacing a file: afterwards the folder holds just the finished PDF.
  const std::string path = dir.File("order.pdf");
  { std::FILE* old = std::fopen(path.c_str(), "w"); std::fputs("old", old); std::fclose(old); }
  output.ExportPdf(document, path);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(testing::ReadPdfInfo(path).pages, 1);
}

TEST_F(QtReportTest, HeadlessPreviewWritesThePreviewPdf) {
  TempDir dir("preview");
  const std::string path = dir.File("preview.pdf");
  HeadlessOutput output(path);
  output.Preview(SampleOrder(2), "Any Printer");
  const auto text = RunCommand("pdftotext '" + path + "' -");
  ASSERT_EQ(text.status, 0);
  EXPECT_NE(text.output.find("PRD-10002"), std::string::npos);
}

TEST_F(QtReportTest, PreviewIsModalAndReturnsWhenClosed) {
  DialogOutput output;
  auto seen = testing::AnswerNextDialog(false);
  output.Preview(SampleOrder(40), "No Such Printer");
  EXPECT_TRUE(*seen);
}

}  // namespace
}  // namespace kvt::qt
