// The main job's story told on a demo database of its own, as the host tells
// it: every check holds, the four voucher kinds are posted and printed, and
// the books add up afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "apps/kvt-host/story/story.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#ifdef KVT_STORY_PDF
#include "frontends/qt/report/qt_outputs.h"
#else
#include "apps/kvt-host/sessions/text_output.h"
#endif
#include "platform/data/connection.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"

// Fontconfig keeps caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace kvt::host {
namespace {

#ifdef KVT_STORY_PDF
constexpr const char* kExtension = ".pdf";

std::shared_ptr<report::Output> DocumentOutput(const std::string& path) {
  return std::make_shared<qt::HeadlessOutput>(path);
}

std::string DocumentText(const std::string& path) {
  std::string text;
  if (FILE* pipe = ::popen(("pdftotext '" + path + "' - 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, read);
    ::pclose(pipe);
  }
  return text;
}
#else
constexpr const char* kExtension = ".txt";

std::shared_ptr<report::Output> DocumentOutput(const std::string& path) {
  return std::make_shared<TextOutput>(path);
}

std::string DocumentText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
#endif

TEST(StoryTest, OneOrderFromItsFirstLineToTheLastConsignmentReturn) {
  component::ResetThreadStore();
  test_support::TempDemoDatabase db("kvt_story");
  const std::filesystem::path out_dir = db.Path() + ".documents";
  StoryOptions options;
  options.context.connection_text = db.ConnectionText();
  options.context.user_id = 2;
  options.out_dir = out_dir.string();
  options.pdf_output = DocumentOutput;
  options.document_extension = kExtension;
  std::ostringstream transcript;
  const StoryOutcome outcome = TellPurchasingStory(options, transcript);
  EXPECT_EQ(outcome.failures, 0) << transcript.str();
  EXPECT_EQ(transcript.str().find("Null"), std::string::npos);

  ASSERT_EQ(outcome.vouchers.size(), 4u) << transcript.str();
  const char* numbers[] = {"GRV000208", "GRN000302", "CRV000402", "CRN000502"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(outcome.vouchers[i].voucher_number, numbers[i]);
  // The order, the four vouchers and the copy; the copy marked so.
  ASSERT_EQ(outcome.documents.size(), 6u);
  auto text = [&](const std::string& stem) {
    return DocumentText((out_dir / stem).string() + kExtension);
  };
  EXPECT_NE(text("GRV000208-copy").find("Copy"), std::string::npos);
  EXPECT_NE(text("CRN000502").find("CRN000502"), std::string::npos);

  // What the posting left: the order complete (12 received, 8 on
  // consignment), the consignment line 8 = 5 sold + 3 returned + 0 left.
  auto db_connection = data::Connection::Open(db.Path());
  auto number = [&](const std::string& sql) {
    return vb::CDbl(db_connection->Query(sql)->Item(0).Value());
  };
  const std::string order = std::to_string(outcome.order_id);
  EXPECT_EQ(
      number("SELECT SUM(QtyReceived) FROM PurchaseOrderDetails WHERE PurchaseOrderID = " + order),
      52);
  EXPECT_EQ(number("SELECT COUNT(*) FROM SupplierDocuments WHERE DocNumber IN "
                   "('INV-90412', 'CN-5521')"),
            2);
  const auto lines = ReadConsignmentLines(db.ConnectionText(), 1, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].received, 8);
  EXPECT_EQ(lines[0].sold, 5);
  EXPECT_EQ(lines[0].returned, 3);
  EXPECT_EQ(lines[0].left, 0.0);
  EXPECT_EQ(StockBreaches(db.ConnectionText()), std::vector<std::string>{});
  std::filesystem::remove_all(out_dir);
  component::ResetThreadStore();
}

}  // namespace
}  // namespace kvt::host
