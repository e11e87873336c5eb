#include "orders/header_totals.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/data/record_set.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"
#include "tests/support/rows.h"
#include "tests/support/vb_error.h"

namespace kvt::orders {
namespace {

using data::DataType;
using Line = std::array<vb::Variant, 7>;

vb::Variant C(int64_t raw) { return vb::Variant(vb::Currency::FromRaw(raw)); }
vb::Variant M(const char* text) { return vb::Variant(vb::Currency::FromDecimalText(text)); }
const vb::Variant kNull = vb::Variant::Null();

// The lines as Currency and Double fields, which the totals read straight
// from storage, or as Variant fields holding the very same values, which
// they can only walk row by row.
data::RecordSetRef StoredLines(const std::vector<Line>& lines, bool as_variants = false) {
  test_support::Columns columns;
  for (const char* column : kHeaderTotalColumns) {
    const DataType type = std::string(column) == "Qty" ? DataType::kDouble : DataType::kCurrency;
    columns.emplace_back(column, as_variants ? DataType::kVariant : type);
  }
  std::vector<std::vector<vb::Variant>> rows;
  for (const Line& line : lines) rows.emplace_back(line.begin(), line.end());
  return test_support::RowsOf(columns, rows);
}

using Captions = std::vector<std::pair<int, std::string>>;

// Captions the labels of `rows` into `captions`, in the order they come.
void CaptionInto(data::RecordSet& rows, Captions& captions) {
  services::NumberFormatService formatter;
  CalculateHeaderTotals(rows, formatter, [&](int index, const std::string& text) {
    captions.emplace_back(index, text);
  });
}

TEST(HeaderTotalsTest, CaptionsEachSumWithTwoDecimalsInLabelOrder) {
  auto rows = StoredLines({{M("1.5"), M("0.25"), M("0"), M("100"), M("15"), M("115"), 2.5},
                           {M("0.5"), M("0.75"), M("1"), M("1234.56"), kNull, M("1234.56"), 1.0}});
  Captions captions;
  CaptionInto(*rows, captions);
  // clang-format off
  EXPECT_EQ(captions, (Captions{{1, "2.00"}, {2, "1.00"}, {3, "1.00"}, {4, "1,334.56"},
                                {5, "15.00"}, {6, "1,349.56"}, {7, "3.50"}}));
  // clang-format on
  EXPECT_TRUE(rows->IsEOF());

  // No rows, or a count the set cannot tell: zeros, and the set not walked.
  const Captions zeros = {{1, "0.00"}, {2, "0.00"}, {3, "0.00"}, {4, "0.00"},
                          {5, "0.00"}, {6, "0.00"}, {7, "0.00"}};
  auto unknown = StoredLines({{M("1"), M("1"), M("1"), M("1"), M("1"), M("1"), 1.0}});
  unknown->SetRecordCountUnknown(true);
  for (auto set : {StoredLines({}), unknown}) {
    captions.clear();
    CaptionInto(*set, captions);
    EXPECT_EQ(captions, zeros);
  }
  EXPECT_FALSE(unknown->IsEOF());

  // A missing column raises before any label is captioned.
  auto partial = test_support::RowsOf({{"Trade Disc", DataType::kCurrency}}, {{M("1")}});
  captions.clear();
  EXPECT_EQ(test_support::ErrorNumberOf([&] { CaptionInto(*partial, captions); }),
            vb::err::kAdoItemNotFound);
  EXPECT_TRUE(captions.empty());
}

// ---- Column scan against the row walk --------------------------------------

// What a call leaves behind: the totals or the error, and the position.
struct Outcome {
  HeaderTotals totals{};
  int32_t error = 0;
  bool at_eof = false;
  vb::Variant bookmark;
};

Outcome SumAndLook(data::RecordSet& rows) {
  Outcome outcome;
  outcome.error = test_support::ErrorNumberOf([&] { outcome.totals = SumOrderDetailRows(rows); });
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
    lines.push_back({C(next()), i % 5 == 0 ? kNull : C(next()), C(0), C(next() * 1000), C(next()),
                     C(next() * 1000),
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
  auto trade = [](int64_t raw) { return Line{C(raw), kNull, kNull, kNull, kNull, kNull, kNull}; };
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
      {"every value Null", {Line{kNull, kNull, kNull, kNull, kNull, kNull, kNull}}},
      {"quantities halfway at the fifth decimal",
       {qty(0.00005), qty(0.00015), qty(0.00025), qty(-0.00005), qty(1.00005), qty(2.5e-5),
        qty(-0.00035), qty(0.1), qty(1.0 / 3.0), qty(-0.0)}},
      {"quantities beyond the quick range",
       {qty(2e11), qty(-3e11), qty(9.2e14), qty(-9.2e14), qty(1e-300)}},
      {"quantity too large", {qty(1.5), qty(1e15), qty(1.0)}},
      {"quantity not a number", {qty(1.5), qty(nan)}},
      {"quantity infinite", {qty(-inf), qty(1.0)}},
      {"Currency overflow", {trade(kMax), trade(1), trade(2)}},
      {"overflow a later row would undo", {trade(kMax), trade(1), trade(-1)}},
      {"large amounts that fit", {trade(kMax / 2), trade(kMax / 2), trade(-kMax / 2)}},
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

}  // namespace
}  // namespace kvt::orders
