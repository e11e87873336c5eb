#include "orders/header_totals.h"

#include <map>

#include <gtest/gtest.h>

#include "platform/data/record_set.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::orders {
namespace {

using data::DataType;

// An order-detail set with the summed columns, one row per entry; a Null
// is written as vb::Variant::Null().
std::shared_ptr<data::RecordSet> DetailRows(
    const std::vector<std::array<vb::Variant, 7>>& rows) {
  auto set = std::make_shared<data::RecordSet>();
  set->Fields().Append("Products ID", DataType::kInteger);
  for (const char* column : kHeaderTotalColumns) {
    set->Fields().Append(column, std::string(column) == "Qty" ? DataType::kDouble
                                                              : DataType::kCurrency);
  }
  set->Open();
  for (const auto& row : rows) {
    set->AddNew();
    for (size_t i = 0; i < row.size(); ++i) set->Item(kHeaderTotalColumns[i]).Value(row[i]);
    set->Update();
  }
  return set;
}

class HeaderTotalsTest : public ::testing::Test {
 protected:
  std::map<int, std::string> Captions(data::RecordSet& rows) {
    std::map<int, std::string> captions;
    CalculateHeaderTotals(rows, formatter_, [&](int index, const std::string& text) {
      captions[index] = text;
    });
    return captions;
  }
  services::NumberFormatService formatter_;
};

TEST_F(HeaderTotalsTest, SumsEveryColumnIntoItsLabel) {
  auto rows = DetailRows({
      {"1.50", "0.25", "0", "100.00", "15.00", "115.00", 2.5},
      {"0.50", "0.75", "1", "1,234.56", vb::Variant::Null(), "1,234.56", 1.0},
  });
  auto captions = Captions(*rows);
  std::map<int, std::string> expected = {
      {1, "2.00"}, {2, "1.00"}, {3, "1.00"}, {4, "1,334.56"},
      {5, "15.00"}, {6, "1,349.56"}, {7, "3.50"}};
  EXPECT_EQ(captions, expected);
  EXPECT_TRUE(rows->IsEOF());
}

TEST_F(HeaderTotalsTest, NoRowsOrUnknownCountShowZeros) {
  auto empty = DetailRows({});
  auto captions = Captions(*empty);
  ASSERT_EQ(captions.size(), 7u);
  for (const auto& [index, text] : captions) EXPECT_EQ(text, "0.00") << index;

  auto unknown = DetailRows({{"1", "1", "1", "1", "1", "1", 1.0}});
  unknown->SetRecordCountUnknown(true);
  unknown->MoveFirst();
  captions = Captions(*unknown);
  EXPECT_EQ(captions[4], "0.00");
  EXPECT_FALSE(unknown->IsEOF());  // not walked
}

TEST_F(HeaderTotalsTest, MissingColumnEndsBeforeAnyLabel) {
  auto set = std::make_shared<data::RecordSet>();
  set->Fields().Append("Trade Disc", DataType::kCurrency);
  set->Open();
  set->AddNew();
  set->Update();
  std::map<int, std::string> captions;
  EXPECT_THROW(CalculateHeaderTotals(*set, formatter_,
                                     [&](int i, const std::string& t) { captions[i] = t; }),
               vb::Error);
  EXPECT_TRUE(captions.empty());
}

TEST_F(HeaderTotalsTest, SumsStayExactOverManyLines) {
  std::vector<std::array<vb::Variant, 7>> rows(
      1000, {"0.10", "0.01", "0.001", "0.3333", "0.05", "0.3833", 0.1});
  auto totals = SumOrderDetailRows(*DetailRows(rows));
  EXPECT_EQ(totals[0], vb::Currency::FromInt(100));
  EXPECT_EQ(totals[3], vb::Currency::FromDecimalText("333.3"));
  EXPECT_EQ(totals[6], vb::Currency::FromInt(100));
}

}  // namespace
}  // namespace kvt::orders
