#include "platform/value/variant.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

class Widget : public Object {
 public:
  std::string TypeName() const override { return "TextBox"; }
};

// The subtype numbers and names of the plain values and of Nothing are
// checked through the expression engine's TypeName and VarType; an object
// names its own type.
TEST(VariantTest, AnObjectIsNamedByItsType) {
  EXPECT_EQ(Variant(ObjectRef(std::make_shared<Widget>())).TypeName(), "TextBox");
}

TEST(VariantTest, EqualityIsBySubtypeAndValue) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(), Variant::Null());
  EXPECT_NE(Variant(""), Variant());
}

}  // namespace
}  // namespace vb
