#include "platform/value/variant.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

class Widget : public Object {
 public:
  std::string TypeName() const override { return "TextBox"; }
};

TEST(VariantTest, SubtypesKeepThePlatformNumbers) {
  struct Case {
    Variant value;
    VarType type;
    const char* name;
  } cases[] = {
      {Variant(), VarType::Empty, "Empty"},
      {Variant::Null(), VarType::Null, "Null"},
      {Variant::Integer(1), VarType::Integer, "Integer"},
      {1, VarType::Long, "Long"},
      {1.0f, VarType::Single, "Single"},
      {1.0, VarType::Double, "Double"},
      {Currency(), VarType::Currency, "Currency"},
      {Date(), VarType::Date, "Date"},
      {"x", VarType::String, "String"},
      {true, VarType::Boolean, "Boolean"},
      {Variant::Byte(1), VarType::Byte, "Byte"},
      {ObjectRef(), VarType::Object, "Nothing"},
      {ObjectRef(std::make_shared<Widget>()), VarType::Object, "TextBox"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.type(), c.type);
    EXPECT_EQ(c.value.TypeName(), c.name);
  }
}

TEST(VariantTest, EqualityIsBySubtypeAndValue) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(), Variant::Null());
  EXPECT_NE(Variant(""), Variant());
}

}  // namespace
}  // namespace vb
