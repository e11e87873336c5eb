// The main job's story told on a demo database of its own, as the host tells
// it: every check it makes holds (the books adding up after it among them),
// and the four voucher kinds are posted and printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "apps/kvt-host/story/story.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#ifdef KVT_STORY_PDF
#include "frontends/qt/report/qt_outputs.h"
#include "tests/frontends/qt/qt_test_support.h"
#else
#include "apps/kvt-host/sessions/text_output.h"
#endif
#include "tests/support/file_text.h"
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
  return qt::testing::RunCommand("pdftotext '" + path + "' -").output;
}
#else
constexpr const char* kExtension = ".txt";

std::shared_ptr<report::Output> DocumentOutput(const std::string& path) {
  return std::make_shared<TextOutput>(path);
}

std::string DocumentText(const std::string& path) { return test_support::FileText(path); }
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

  std::filesystem::remove_all(out_dir);
  component::ResetThreadStore();
}

}  // namespace
}  // namespace kvt::host
