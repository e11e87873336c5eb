#include "platform/report/output.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/report/recording_output.h"
#include "platform/value/error.h"
#include "tests/support/vb_error.h"

namespace kvt::report {
namespace {

TEST(OutputTest, ThreadWithoutOutputCancelsPrintingAndRefusesExport) {
  Document document;
  EXPECT_FALSE(CurrentOutput().Print(document, "Any"));
  EXPECT_NO_THROW(CurrentOutput().Preview(document, ""));
  EXPECT_EQ(test_support::ErrorNumberOf([&] { CurrentOutput().ExportPdf(document, "/tmp/x.pdf"); }),
            kPathFileAccessError);
}

TEST(OutputTest, ScopedOutputIsUsedAndThenRestored) {
  auto recording = std::make_shared<RecordingOutput>();
  Output* before = &CurrentOutput();
  {
    ScopedOutput scope(recording);
    EXPECT_TRUE(CurrentOutput().Print(Document{}, "Laser"));
  }
  EXPECT_EQ(&CurrentOutput(), before);
  ASSERT_EQ(recording->Calls().size(), 1u);
  EXPECT_EQ(recording->Calls()[0].target, "Laser");
}

}  // namespace
}  // namespace kvt::report
