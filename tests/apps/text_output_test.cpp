// The headless build's document output: the text of the pages, written
// whole or not at all.
#include "apps/kvt-host/sessions/text_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/report/dump_painter.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vb_error.h"

namespace kvt::host {
namespace {

namespace fs = std::filesystem;
using test_support::FileText;

class TextOutputTest : public ::testing::Test {
 protected:
  TextOutputTest() {
    document_.title = "PO000111";
    report::Page& page = document_.pages.emplace_back();
    page.number = 1;
    page.items.emplace_back(report::TextItem{"fldOrderNo", {1, 2, 3, 4}, "PO000111", {}, {}});
  }
  const test_support::TempDir temp_{"text_output"};
  const fs::path& dir_ = temp_.Path();
  report::Document document_;
};

TEST_F(TextOutputTest, ExportAndPreviewWriteThePagesText) {
  std::ofstream(dir_ / "old.txt") << "an older document";
  TextOutput output((dir_ / "preview.txt").string());
  output.ExportPdf(document_, (dir_ / "old.txt").string());
  output.Preview(document_, "");
  EXPECT_EQ(FileText(dir_ / "old.txt"), report::DumpDocument(document_));
  EXPECT_EQ(FileText(dir_ / "preview.txt"), report::DumpDocument(document_));
  // Without a preview path a preview writes nothing.
  TextOutput().Preview(document_, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2);
}

TEST_F(TextOutputTest, AFailedWriteLeavesWhatWasThereAndAPrintHasNoPrinter) {
  TextOutput output;
  // A folder that is not there, and a folder in the file's place.
  fs::create_directories(dir_ / "taken" / "inside");
  for (const fs::path& path : {dir_ / "missing" / "doc.txt", dir_ / "taken"}) {
    SCOPED_TRACE(path.string());
    EXPECT_EQ(test_support::ErrorNumberOf([&] { output.ExportPdf(document_, path.string()); }),
              report::kPathFileAccessError);
  }
  EXPECT_TRUE(fs::exists(dir_ / "taken" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);  // no part file left
  EXPECT_EQ(test_support::ErrorNumberOf([&] { output.Print(document_, ""); }),
            report::kPrinterError);
}

}  // namespace
}  // namespace kvt::host
