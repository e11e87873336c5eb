#include "platform/ui/data_combo.h"

#include <gtest/gtest.h>

#include "platform/data/record_set.h"
#include "platform/value/error.h"
#include "test_form.h"
#include "tests/support/rows.h"
#include "tests/support/vb_error.h"

namespace kvt::ui {
namespace {

std::shared_ptr<data::RecordSet> TaxCodes() {
  return test_support::RowsOf(
      {{"TaxCodeID", data::DataType::kInteger}, {"TaxCode", data::DataType::kVarWChar}},
      {{1, "VAT 15"}, {2, "Exempt"}, {3, vb::Variant::Null()}});
}

class DataComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_->Load();
    combo_ = &form_->Ctl<DataCombo>("dbcList");
    combo_->ListField("TaxCode");
    combo_->BoundColumn("TaxCodeID");
    rs_->MoveFirst();
    rs_->MoveNext();
    combo_->RowSource(rs_);
  }
  std::shared_ptr<testing::LoggingForm> form_ = std::make_shared<testing::LoggingForm>();
  std::shared_ptr<data::RecordSet> rs_ = TaxCodes();
  DataCombo* combo_ = nullptr;
};

TEST_F(DataComboTest, ReadsEveryRowAndLeavesTheCurrentRowAlone) {
  ASSERT_EQ(combo_->Rows().size(), 3u);
  EXPECT_EQ(combo_->Rows()[0].list_text, "VAT 15");
  EXPECT_EQ(combo_->Rows()[1].bound_text, "2");
  EXPECT_EQ(combo_->Rows()[2].list_text, "");  // Null shows as nothing
  EXPECT_EQ(rs_->Item("TaxCodeID").Value(), vb::Variant(2));
}

TEST_F(DataComboTest, BoundTextSelectsTheRowWithThatValue) {
  combo_->BoundText("2");
  EXPECT_EQ(combo_->Text(), "Exempt");
  EXPECT_EQ(combo_->SelectedRow(), 1);
  combo_->BoundText("2");  // the row shown: still a selection
  combo_->BoundText("99");
  EXPECT_EQ(combo_->SelectedRow(), -1);
  EXPECT_EQ(combo_->Text(), "");
  EXPECT_EQ(form_->TakeLog(), "dbcList.Change dbcList.Change dbcList.Change");
}

TEST_F(DataComboTest, TheUserPicksARowAndGetsChangeThenClick) {
  form_->Show(vbModeless);
  form_->TakeLog();
  form_->UserSelectRow(*combo_, 0);
  EXPECT_EQ(combo_->BoundText(), "1");
  EXPECT_EQ(form_->TakeLog(),
            "txtField(0).Validate txtField(0).LostFocus dbcList.GotFocus "
            "dbcList.Change dbcList.Click");
}

TEST_F(DataComboTest, BadRowsAndSourcesRaiseThePlatformErrors) {
  EXPECT_EQ(test_support::ErrorNumberOf([&] { combo_->SelectRow(3); }),
            vb::err::kSubscriptOutOfRange);
  EXPECT_THROW(combo_->ListField("NoSuchField"), vb::Error);
}

}  // namespace
}  // namespace kvt::ui
