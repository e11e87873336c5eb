#include "component/mod_general.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "component/mod_publics.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "tests/support/vb_error.h"

namespace kvt::component {
namespace {

TEST(ParseNumberTest, ReadsNumbersTheWayEveryCalculationExpects) {
  struct Case {
    const char* what;
    vb::Variant input;
    vb::Variant expected;
  } cases[] = {
      {"grouped text", vb::Variant("1,234.5"), vb::Variant(1234.5)},
      {"commas anywhere are grouping", vb::Variant("1,234,567.25"), vb::Variant(1234567.25)},
      {"negative text", vb::Variant("-3.25"), vb::Variant(-3.25)},
      {"leading blanks", vb::Variant("   12"), vb::Variant(12.0)},
      {"a Long", vb::Variant(7), vb::Variant(7.0)},
      {"a Double", vb::Variant(0.1), vb::Variant(0.1)},
      {"digits then letters fail the test", vb::Variant("12abc"), vb::Variant::Integer(0)},
      {"letters only", vb::Variant("abc"), vb::Variant::Integer(0)},
      {"empty text", vb::Variant(""), vb::Variant::Integer(0)},
      {"Null", vb::Variant::Null(), vb::Variant::Integer(0)},
      {"Empty passes the test and reads 0", vb::Variant(), vb::Variant(0.0)},
      {"exponent", vb::Variant("1E3"), vb::Variant(1000.0)},
      {"beyond the Double range fails the test", vb::Variant("1e400"), vb::Variant::Integer(0)},
      {"and so does a negative one", vb::Variant("-1,000e400"), vb::Variant::Integer(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ParseNumber(c.input), c.expected);
  }
}

// Numbers are read without their text, but as their text would read.
TEST(ParseNumberTest, NumbersReadAsTheirTextWouldRead) {
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<uint64_t> bits;
  for (int i = 0; i < 20000; ++i) {
    double value = 0;
    const uint64_t raw = bits(random);
    std::memcpy(&value, &raw, sizeof value);
    if (!std::isfinite(value)) continue;
    // Every magnitude, and figures of the size a line carries.
    for (const vb::Variant& input :
         {vb::Variant(value), vb::Variant(static_cast<float>(value)),
          vb::Variant(std::ldexp(static_cast<double>(raw % 100000000), -7))}) {
      SCOPED_TRACE(vb::CStr(input));
      EXPECT_EQ(ParseNumber(input), ParseNumber(vb::Variant(vb::CStr(input))));
    }
    // And amounts format as the number they read as.
    const vb::Currency money = vb::Currency::FromRaw(static_cast<int64_t>(raw) >> (i % 4 * 4));
    EXPECT_EQ(FormatTwoDecimals(money),
              ThreadStore().NumberFormat().FormatAmount(ParseNumber(money), 2, -1, 0, -1))
        << money.raw();
  }
}

TEST(FormatToDecimalsTest, RoundsToTheDecimalsAndGroupsThousands) {
  ResetThreadStore();
  struct Case {
    vb::Variant input;
    int32_t decimals;
    const char* expected;
  } cases[] = {
      // Rounding and grouping themselves are FormatNumber's, tested with it.
      {vb::Variant("1,234.5"), 0, "1,235"}, {vb::Variant("-1234.567"), 2, "-1,234.57"},
      {vb::Variant("12abc"), 2, "0.00"},    {vb::Variant(""), 4, "0.0000"},
      {vb::Variant::Null(), 2, "0.00"},     {vb::Variant("1e400"), 2, "0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.expected));
    EXPECT_EQ(FormatToDecimals(c.input, c.decimals), c.expected);
  }
  EXPECT_EQ(FormatTwoDecimals(vb::Variant("12.345")), "12.35");
  EXPECT_EQ(FormatTwoDecimals(vb::Variant(1000000)), "1,000,000.00");
  // The service refuses more decimals than the platform shows; that
  // reaches the caller.
  EXPECT_EQ(test_support::ErrorNumberOf([] { FormatToDecimals(vb::Variant(1), INT32_MAX); }),
            vb::err::kInvalidCall);
}

class ProbeForm : public ui::Form {
 public:
  ProbeForm() : Form("frmProbe") {}

 protected:
  void Build() override {
    Add<ui::TextBox>("txtValue");
    Add<ui::Label>("lblValue");
    Add<ui::CheckBox>("chkValue").Value(ui::vbChecked);
  }
};

// A host's control that calls itself a text box but has no Text.
class OddHostControl : public object::Object {
 public:
  explicit OddHostControl(std::string type_name) : type_name_(std::move(type_name)) {}
  std::string TypeName() const override { return type_name_; }
  vb::Variant Get(std::string_view name, object::Args args) override {
    if (object::SameName(name, "Caption")) return vb::Variant("host caption");
    return Object::Get(name, args);
  }

 private:
  std::string type_name_;
};

TEST(GetControlValueTest, ReadsTextBoxesAndLabelsByTypeNameAndNeverRaises) {
  auto form = std::make_shared<ProbeForm>();
  auto control = [&](const char* name) {
    return vb::Variant(vb::ObjectRef(form->Ctl(name).shared_from_this()));
  };
  auto host = [](const char* type_name) {
    return vb::Variant(vb::ObjectRef(std::make_shared<OddHostControl>(type_name)));
  };
  form->Ctl<ui::TextBox>("txtValue").Text("");
  EXPECT_EQ(GetControlValue(control("txtValue")), vb::Variant::Integer(0));
  form->Ctl<ui::TextBox>("txtValue").Text("abc");
  EXPECT_EQ(GetControlValue(control("txtValue")), vb::Variant("abc"));
  form->Ctl<ui::Label>("lblValue").Caption("1,250.75");
  EXPECT_EQ(GetControlValue(control("lblValue")), vb::Variant("1,250.75"));
  EXPECT_EQ(GetControlValue(control("chkValue")), vb::Variant());
  // The type name's case is ignored; a host control without Text reads Empty.
  EXPECT_EQ(GetControlValue(host("LABEL")), vb::Variant("host caption"));
  EXPECT_EQ(GetControlValue(host("textbox")), vb::Variant());
  EXPECT_EQ(GetControlValue(vb::Variant(5)), vb::Variant());
  EXPECT_EQ(GetControlValue(vb::Variant(vb::ObjectRef())), vb::Variant());
}

}  // namespace
}  // namespace kvt::component
