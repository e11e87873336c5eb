#include "orders/header_totals.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/data/record_set.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/failure_style.h"
#include "services/number_format_service.h"

namespace kvt::orders {

namespace {

using Columns = std::array<data::Field, 7>;

// Reads every value through its field, as any record set allows. The
// column scan below must give the same totals to the last ten-thousandth.
HeaderTotals WalkRows(data::RecordSet& rows, const Columns& fields) {
  HeaderTotals totals{};
  while (!rows.IsEOF()) {
    for (size_t column = 0; column < fields.size(); ++column) {
      vb::Variant value = fields[column].Value();
      if (value.IsNull()) continue;
      const auto* stored = value.get_if<vb::Currency>();
      vb::Currency amount = stored ? *stored : vb::CCur(value);
      if (!vb::Currency::TryAdd(totals[column], amount, totals[column])) {
        throw vb::Error::Overflow();
      }
    }
    rows.MoveNext();
  }
  return totals;
}

// Independent sums in the Currency column loop: with one running sum every
// add waits for the one before, and a narrow loop is bound by its own
// bookkeeping.
constexpr size_t kLanes = 8;

// The column's sum, false on overflow. Its magnitude bound usually shows
// that no order of the additions can leave the int64 range; the sum then
// runs unchecked in lanes (unsigned, so wrapping is defined, though it
// cannot happen). Otherwise each step is checked in row order.
bool SumCurrencyColumn(const data::RecordSet::CurrencyColumnView& view, int64_t& total) {
  const std::span<const int64_t> values = view.raw;
  total = 0;
  if (values.empty()) return true;
  const uint64_t safe_bound = static_cast<uint64_t>(INT64_MAX) / values.size();
  if (view.magnitude_bound > safe_bound) {
    for (int64_t value : values) {
      if (__builtin_add_overflow(total, value, &total)) return false;
    }
    return true;
  }
  uint64_t sums[kLanes] = {};
  size_t row = 0;
  for (; row + kLanes <= values.size(); row += kLanes) {
    for (size_t lane = 0; lane < kLanes; ++lane) {
      sums[lane] += static_cast<uint64_t>(values[row + lane]);
    }
  }
  for (; row < values.size(); ++row) {
    sums[0] += static_cast<uint64_t>(values[row]);
  }
  uint64_t sum = 0;
  for (uint64_t lane_sum : sums) sum += lane_sum;
  total = static_cast<int64_t>(sum);
  return true;
}

// Doubles are converted and added a block at a time: a block of at most
// 2^12 values within ±2^50, added to a total within ±2^62, cannot leave
// the int64 range in any order of addition.
constexpr size_t kBlockRows = 4096;
constexpr int64_t kBlockValueBound = int64_t{1} << 50;
constexpr int64_t kBlockTotalBound = int64_t{1} << 62;

// Currency::FromDouble, summed over a block, without its exact steps
// where they cannot matter: for a product value * 10000 under 2^50 in
// magnitude that is not halfway between two integers, FromDouble gives the
// product rounded to the nearest integer (its error term only decides
// ties and products beyond 2^52). Adding and taking away 1.5 * 2^52 rounds
// so, and the sum's low bits are then that integer. Products out of range
// (NaN and infinities too) leave those bits outside ±2^50. Every test is
// on integer bits, so the loop has no branch and vectorises. False, with
// `total` unchanged, when some value needs the exact conversion or the
// block's bounds do not hold.
bool AddDoubleBlockQuickly(std::span<const double> values, int64_t& total) {
  constexpr double kRounder = 6755399441055744.0;  // 1.5 * 2^52
  const auto rounder_bits = std::bit_cast<uint64_t>(kRounder);
  const auto half_bits = std::bit_cast<uint64_t>(0.5);
  constexpr uint64_t kSignBit = uint64_t{1} << 63;
  constexpr auto kOffset = static_cast<uint64_t>(kBlockValueBound);
  uint64_t sum = 0;
  uint64_t offset = 0;
  uint64_t tie = 0;  // sign bit set once a fraction was exactly one half
  for (double value : values) {
    const double product = value * static_cast<double>(vb::Currency::kScale);
    const double shifted = product + kRounder;
    const double rounded = shifted - kRounder;
    const uint64_t raw = std::bit_cast<uint64_t>(shifted) - rounder_bits;
    sum += raw;
    offset |= raw + kOffset;
    const uint64_t fraction = std::bit_cast<uint64_t>(product - rounded) & ~kSignBit;
    tie |= (fraction ^ half_bits) - 1;
  }
  if (offset < 2 * kOffset && (tie & kSignBit) == 0 && total > -kBlockTotalBound &&
      total < kBlockTotalBound) {
    total += static_cast<int64_t>(sum);
    return true;
  }
  return false;
}

// The column's values converted by Currency::FromDouble and summed, false
// on overflow. Raises what FromDouble raises (6 for a value out of range
// or not finite).
bool SumDoubleColumn(const data::RecordSet::DoubleColumnView& view, int64_t& total) {
  const std::span<const double> values = view.values;
  total = 0;
  for (size_t start = 0; start < values.size(); start += kBlockRows) {
    const auto block = values.subspan(start, std::min(kBlockRows, values.size() - start));
    if (AddDoubleBlockQuickly(block, total)) continue;
    for (double value : block) {
      if (__builtin_add_overflow(total, vb::Currency::FromDouble(value).raw(), &total)) {
        return false;
      }
    }
  }
  return true;
}

// The totals straight from the set's column storage, when every column
// holds Currency or Double values and no edit is pending. Nulls hold 0
// there, so they add nothing, as in the walk. Nothing when a column does
// not qualify or a value overflows or fails to convert: the walk then
// raises that error at the row where it occurs.
std::optional<HeaderTotals> ScanColumns(const data::RecordSet& rows) {
  HeaderTotals totals{};
  // A failure here only means the fast path does not apply.
  return vb::AnswerOnFailure(std::optional<HeaderTotals>(), [&]() -> std::optional<HeaderTotals> {
    for (size_t column = 0; column < kHeaderTotalColumns.size(); ++column) {
      const int field = rows.Fields().IndexOf(kHeaderTotalColumns[column]);
      data::RecordSet::CurrencyColumnView amounts;
      data::RecordSet::DoubleColumnView reals;
      int64_t sum = 0;
      bool summed = false;
      if (rows.TryCurrencyColumn(field, amounts)) {
        summed = SumCurrencyColumn(amounts, sum);
      } else if (rows.TryDoubleColumn(field, reals)) {
        summed = SumDoubleColumn(reals, sum);
      }
      if (!summed) return std::nullopt;
      totals[column] = vb::Currency::FromRaw(sum);
    }
    return totals;
  });
}

}  // namespace

HeaderTotals SumOrderDetailRows(data::RecordSet& rows) {
  if (rows.RecordCount() < 1) return HeaderTotals{};
  // Resolve the columns once: the walk runs over every line of the order.
  Columns fields = {rows.Item(kHeaderTotalColumns[0]), rows.Item(kHeaderTotalColumns[1]),
                    rows.Item(kHeaderTotalColumns[2]), rows.Item(kHeaderTotalColumns[3]),
                    rows.Item(kHeaderTotalColumns[4]), rows.Item(kHeaderTotalColumns[5]),
                    rows.Item(kHeaderTotalColumns[6])};
  rows.MoveFirst();  // commits a pending edit, so the scan sees it
  if (std::optional<HeaderTotals> totals = ScanColumns(rows)) {
    // Leave the set where the walk would: past its last row.
    rows.MoveLast();
    rows.MoveNext();
    return *totals;
  }
  return WalkRows(rows, fields);
}

void CalculateHeaderTotals(
    data::RecordSet& rows, const services::NumberFormatService& formatter,
    const std::function<void(int index, const std::string& caption)>& set_caption) {
  HeaderTotals totals = SumOrderDetailRows(rows);
  for (size_t i = 0; i < totals.size(); ++i) {
    set_caption(static_cast<int>(i) + 1, formatter.FormatAmount(totals[i], 2, -1, 0, -1));
  }
}

}  // namespace kvt::orders
