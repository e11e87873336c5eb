#include "orders/header_totals.h"

#include <cmath>
#include <cstdint>
#include <limits>
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

// ---- Column scan against the row walk --------------------------------------

using Line = std::array<vb::Variant, 7>;

vb::Variant C(int64_t raw) { return vb::Variant(vb::Currency::FromRaw(raw)); }
const vb::Variant kNull = vb::Variant::Null();

// The lines as Currency and Double fields, which the totals read straight
// from storage, or as Variant fields holding the very same values, which
// they can only walk row by row.
std::shared_ptr<data::RecordSet> StoredLines(const std::vector<Line>& lines,
                                             bool as_variants) {
  auto set = std::make_shared<data::RecordSet>();
  for (const char* column : kHeaderTotalColumns) {
    DataType type =
        std::string(column) == "Qty" ? DataType::kDouble : DataType::kCurrency;
    set->Fields().Append(column, as_variants ? DataType::kVariant : type);
  }
  set->Open();
  for (const Line& line : lines) {
    set->AppendRow(std::vector<vb::Variant>(line.begin(), line.end()));
  }
  return set;
}

// What a call leaves behind: the totals or the error, and the position.
struct Outcome {
  HeaderTotals totals{};
  int32_t error = 0;
  bool at_eof = false;
  vb::Variant bookmark;
};

Outcome SumAndLook(data::RecordSet& rows) {
  Outcome outcome;
  try {
    outcome.totals = SumOrderDetailRows(rows);
  } catch (const vb::Error& error) {
    outcome.error = error.number();
  }
  outcome.at_eof = rows.IsEOF();
  if (!outcome.at_eof) outcome.bookmark = rows.Bookmark();
  return outcome;
}

void ExpectSameOutcome(const Outcome& scanned, const Outcome& walked) {
  EXPECT_EQ(scanned.error, walked.error);
  for (size_t i = 0; i < walked.totals.size(); ++i) {
    EXPECT_EQ(scanned.totals[i], walked.totals[i]) << kHeaderTotalColumns[i];
  }
  EXPECT_EQ(scanned.at_eof, walked.at_eof);
  EXPECT_EQ(scanned.bookmark, walked.bookmark);
}

// A deterministic spread of ordinary order lines.
std::vector<Line> ManyLines(size_t count) {
  std::vector<Line> lines;
  uint64_t state = 12345;
  auto next = [&] {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<int64_t>(state >> 40) - (int64_t{1} << 23);
  };
  const double quantities[] = {1.0, 2.5, 0.1, 1.0 / 3.0, 12.75, -4.0, 0.07};
  for (size_t i = 0; i < count; ++i) {
    lines.push_back(
        {C(next()), i % 5 == 0 ? kNull : C(next()), C(0), C(next() * 1000),
         C(next()), C(next() * 1000),
         vb::Variant(quantities[i % 7] * static_cast<double>(i % 13))});
  }
  return lines;
}

TEST(HeaderTotalsScanTest, AgreesWithTheRowWalk) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto qty = [](double value) {
    return Line{C(0), C(0), C(0), C(0), C(0), C(0), vb::Variant(value)};
  };
  auto trade = [](int64_t raw) {
    return Line{C(raw), kNull, kNull, kNull, kNull, kNull, kNull};
  };
  std::vector<Line> far_tie = ManyLines(9000);
  far_tie[5000][6] = vb::Variant(0.00015);  // a tie in a later block only
  std::vector<Line> far_overflow = ManyLines(6000);
  far_overflow[4500][6] = vb::Variant(1e20);

  struct Case {
    const char* name;
    std::vector<Line> lines;
  };
  const Case cases[] = {
      {"Nulls and negatives",
       {{C(12500), kNull, C(-5000), C(1), kNull, C(-1), vb::Variant(2.5)},
        {kNull, C(-7), kNull, C(0), C(3), C(-99999), kNull},
        {C(-12500), C(7), C(5000), C(-1), C(-3), C(1), vb::Variant(-2.5)}}},
      {"every value Null",
       {Line{kNull, kNull, kNull, kNull, kNull, kNull, kNull}}},
      {"quantities halfway at the fifth decimal",
       {qty(0.00005), qty(0.00015), qty(0.00025), qty(-0.00005), qty(1.00005),
        qty(2.5e-5), qty(-0.00035), qty(0.1), qty(1.0 / 3.0), qty(-0.0)}},
      {"quantities beyond the quick range",
       {qty(2e11), qty(-3e11), qty(9.2e14), qty(-9.2e14), qty(1e-300)}},
      {"quantity too large", {qty(1.5), qty(1e15), qty(1.0)}},
      {"quantity not a number", {qty(1.5), qty(nan)}},
      {"quantity infinite", {qty(-inf), qty(1.0)}},
      {"Currency overflow", {trade(kMax), trade(1), trade(2)}},
      {"overflow a later row would undo", {trade(kMax), trade(1), trade(-1)}},
      {"large amounts that fit",
       {trade(kMax / 2), trade(kMax / 2), trade(-kMax / 2)}},
      {"the most negative amount", {trade(kMin), trade(kMax), trade(1)}},
      {"below the most negative amount", {trade(kMin), trade(-1)}},
      {"overflow in a later column of an earlier row",
       {{C(kMax), kNull, kNull, kNull, kNull, kNull, vb::Variant(1.0)},
        {C(0), kNull, kNull, kNull, kNull, kNull, vb::Variant(1e300)},
        {C(1), kNull, kNull, kNull, kNull, kNull, vb::Variant(1.0)}}},
      {"many lines", ManyLines(10000)},
      {"many lines with a tie far in", far_tie},
      {"many lines with an overflow far in", far_overflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto scanned = StoredLines(c.lines, false);
    auto walked = StoredLines(c.lines, true);
    data::RecordSet::CurrencyColumnView view;
    ASSERT_TRUE(scanned->TryCurrencyColumn(0, view));  // the scan applies
    ASSERT_FALSE(walked->TryCurrencyColumn(0, view));  // the walk must
    ExpectSameOutcome(SumAndLook(*scanned), SumAndLook(*walked));
  }
}

TEST(HeaderTotalsScanTest, PendingEditsAreCommittedAndCounted) {
  const std::vector<Line> lines = {{C(10000), C(20000), kNull, C(1000000),
                                    C(150000), C(1150000), vb::Variant(2.0)},
                                   {C(5000), kNull, kNull, C(500000), C(75000),
                                    C(575000), vb::Variant(1.0)}};
  for (bool as_variants : {false, true}) {
    SCOPED_TRACE(as_variants ? "walked" : "scanned");
    auto rows = StoredLines(lines, as_variants);
    rows->MoveFirst();
    rows->Item("Trade Disc").Value(vb::Variant(vb::Currency::FromRaw(-2500)));
    rows->AddNew();  // commits the write, leaves a new row pending
    rows->Item("Qty").Value(vb::Variant(0.5));
    rows->Item("Net Amount").Value(vb::Variant(vb::Currency::FromRaw(7)));
    Outcome outcome = SumAndLook(*rows);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_EQ(outcome.totals[0], vb::Currency::FromRaw(2500));
    EXPECT_EQ(outcome.totals[3], vb::Currency::FromRaw(1500007));
    EXPECT_EQ(outcome.totals[6], vb::Currency::FromRaw(35000));
    EXPECT_TRUE(outcome.at_eof);
    EXPECT_EQ(rows->GetEditMode(), data::EditMode::kNone);
    EXPECT_EQ(rows->RecordCount(), 3);
  }
}

}  // namespace
}  // namespace kvt::orders
