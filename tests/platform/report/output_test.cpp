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

// That printing goes to the installed output the order ending tests see.
TEST(OutputTest, ScopedOutputIsRestoredAfterItsScope) {
  Output* before = &CurrentOutput();
  {
    ScopedOutput scope(std::make_shared<RecordingOutput>());
    EXPECT_NE(&CurrentOutput(), before);
  }
  EXPECT_EQ(&CurrentOutput(), before);
}

}  // namespace
}  // namespace kvt::report
