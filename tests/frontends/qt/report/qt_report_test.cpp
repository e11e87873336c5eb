#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <iterator>
#include <string>

#include "documents/purchase_order_layout.h"
#include "documents/purchase_order_sample.h"
#include "documents/rptPurchaseOrder.h"
#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/qt_outputs.h"
#include "platform/value/error.h"
#include "tests/frontends/qt/qt_test_support.h"
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

TEST(QtReportTest, PdfCarriesTheDocumentsTextOnEveryPage) {
  TempDir dir("pdf");
  const std::string path = dir.File("order.pdf");
  const report::Document document = SampleOrder(75);
  ASSERT_EQ(document.pages.size(), 3u);
  WritePdf(document, path);

  const auto info = testing::ReadPdfInfo(path);
  EXPECT_EQ(info.pages, 3) << info.report;
  EXPECT_NE(info.report.find("Brellix Purchase Order"), std::string::npos);
  EXPECT_NE(info.report.find("(A4)"), std::string::npos) << info.report;

  // Where every word of a document stands, and that it spells the laid-out
  // line, is the hostile PDF test's; here, that each page has its own rows.
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    const CommandResult text = RunCommand("pdftotext -f " + std::to_string(page) + " -l " +
                                          std::to_string(page) + " '" + path + "' -");
    ASSERT_EQ(text.status, 0);
    const std::string first_line = "PRD-" + std::to_string(10000 + (page - 1) * 30 + 1);
    EXPECT_NE(text.output.find(first_line), std::string::npos) << first_line;
  }
}

// clang-format off
TEST(QtReportTest, HeadlessExportLeavesNoPartialFileAndPreviewWritesItsPdf) {
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
    // The reason in the C library's words, which follow the test's locale.
    EXPECT_NE(full.description().find(std::string("could not be written: ") + std::strerror(EFBIG)),
              std::string::npos)
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

TEST(QtReportTest, PreviewIsModalAndReturnsWhenClosed) {
  DialogOutput output;
  auto seen = testing::AnswerNextDialog(false);
  output.Preview(SampleOrder(40), "No Such Printer");
  EXPECT_TRUE(*seen);
}

}  // namespace
}  // namespace kvt::qt
