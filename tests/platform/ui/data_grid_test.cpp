#include "platform/ui/data_grid.h"

#include <gtest/gtest.h>

#include "tests/support/rows.h"
#include "tests/support/vb_error.h"

#include <functional>

#include "platform/data/record_set.h"
#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::ui {
namespace {

class GridForm : public Form {
 public:
  GridForm() : Form("frmGrid") {}

 protected:
  void Build() override { Add<DataGrid>("sugLines", 0); }
};

std::shared_ptr<data::RecordSet> Lines() {
  return test_support::RowsOf(
      {{"Product", data::DataType::kVarWChar}, {"Qty", data::DataType::kDouble}},
      {{"Hex bolt", 2.5}, {"Washer", vb::Variant::Null()}});
}

using kvt::test_support::ErrorNumberOf;

TEST(DataGridTest, ShowsEveryRowOfARecordSetAsTextAndLeavesTheCurrentRowAlone) {
  auto form = std::make_shared<GridForm>();
  auto rs = Lines();
  rs->MoveNext();
  DataGrid& grid = form->Ctl<DataGrid>("sugLines", 0);
  grid.Set("DataSource", rs);

  EXPECT_EQ(grid.Columns(), (std::vector<std::string>{"Product", "Qty"}));
  ASSERT_EQ(grid.Rows().size(), 2u);
  EXPECT_EQ(grid.Rows()[0], (std::vector<std::string>{"Hex bolt", "2.5"}));
  EXPECT_EQ(grid.Rows()[1], (std::vector<std::string>{"Washer", ""}));
  EXPECT_EQ(vb::CStr(rs->Item("Product").Value()), "Washer");
  EXPECT_EQ(vb::CLng(grid.Get("ApproxCount")), 2);

  grid.Set("DataSource", nullptr);
  EXPECT_EQ(grid.DataSource(), nullptr);
  EXPECT_TRUE(grid.Columns().empty());
  EXPECT_TRUE(grid.Rows().empty());

  // An object that is no record set is refused.
  EXPECT_EQ(ErrorNumberOf([&] { grid.Set("DataSource", form); }), vb::err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { grid.Set("RowSource", Lines()); }), vb::err::kNoSuchMember);
}

}  // namespace
}  // namespace kvt::ui
