#include "platform/ui/date_picker.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"

namespace kvt::ui {
namespace {

class DateForm : public Form {
 public:
  DateForm() : Form("frmDate") {}
  int changes = 0;

 protected:
  void Build() override {
    Add<DatePicker>("dtpDate").On(Event::kChange, [this](EventArgs&) { ++changes; });
  }
};

TEST(DatePickerTest, HoldsADateOrNoneAndReadsNoneAsNull) {
  auto form = std::make_shared<DateForm>();
  auto& picker = form->Ctl<DatePicker>("dtpDate");
  EXPECT_TRUE(picker.Get("Value").IsNull());
  const vb::Date day = vb::Date::FromYmd(2026, 12, 6);
  picker.Let("Value", vb::Variant(day));
  picker.Value(day);
  EXPECT_EQ(picker.Get("Value"), vb::Variant(day));
  picker.Let("Value", vb::Variant::Null());
  EXPECT_FALSE(picker.Value().has_value());
  EXPECT_EQ(form->changes, 2);
}

}  // namespace
}  // namespace kvt::ui
