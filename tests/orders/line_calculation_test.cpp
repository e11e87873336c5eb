#include "orders/line_calculation.h"

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::orders {
namespace {

using vb::Currency;

Currency Cur(const char* text) { return Currency::FromDecimalText(text); }

// A formula step that applies a fixed rate per ticked discount and records
// the subtotals it was given, as the dialog's formula evaluation would.
class RateSteps : public DiscountFormulaStep {
 public:
  explicit RateSteps(LineCalculation& calc) : calc_(calc) {}
  void Apply(Discount discount, Currency subtotal, Currency& amount) override {
    seen.push_back({discount, subtotal});
    auto rate = rates.find(discount);
    if (rate == rates.end()) return;  // box not ticked
    amount = calc_.RoundToCents(subtotal.ToDouble() * rate->second);
  }
  std::map<Discount, double> rates;
  std::vector<std::pair<Discount, Currency>> seen;

 private:
  LineCalculation& calc_;
};

class LineCalculationTest : public ::testing::Test {
 protected:
  services::NumberFormatService formatter_;
  LineCalculation calc_{formatter_};
};

// clang-format off
TEST_F(LineCalculationTest, FiguresCascadeAndRound) {
  struct Case {
    const char* name;
    LineInputs line;
    float rate;
    const char *gross, *after_trade, *after_rebate, *net, *tax, *total;
    double trade_pct, rebate_pct, other_pct;
    const char* average;
  } cases[] = {
      {"back order priced in", {10, 2, Cur("5"), {}, {}, {}}, 15.0f,
       "60", "60", "60", "60", "9", "69", 0, 0, 0, "0"},
      {"plain", {4, 0, Cur("12.5"), Cur("5"), Cur("4.5"), Cur("0.5")}, 15.0f,
       "50", "45", "40.5", "40", "6", "46", 10, 10, 1.2345679012345678, "20"},
      {"tax rounds half away on its text", {1, 0, Cur("0.5"), {}, {}, {}}, 15.0f,
       "0.5", "0.5", "0.5", "0.5", "0.08", "0.58", 0, 0, 0, "0"},
      {"zero gross gives zero percentages", {0, 0, Cur("9.99"), Cur("1"), {}, {}}, 15.0f,
       "0", "-1", "-1", "-1", "-0.15", "-1.15", 0, 0, 0, "0"},
      {"negative quantity", {-2, 0, Cur("10"), {}, {}, {}}, 0.0f,
       "-20", "-20", "-20", "-20", "0", "-20", 0, 0, 0, "0"},
      {"fractional quantity", {12.5, 0, Cur("1234.5"), {}, {}, {}}, 14.0f,
       "15431.25", "15431.25", "15431.25", "15431.25", "2160.38", "17591.63", 0, 0, 0, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LineFigures f = calc_.Figures(c.line, c.rate);
    EXPECT_EQ(f.gross, Cur(c.gross));
    EXPECT_EQ(f.after_trade, Cur(c.after_trade));
    EXPECT_EQ(f.after_rebate, Cur(c.after_rebate));
    EXPECT_EQ(f.net, Cur(c.net));
    EXPECT_EQ(f.tax, Cur(c.tax));
    EXPECT_EQ(f.total, Cur(c.total));
    EXPECT_DOUBLE_EQ(f.trade_percent, c.trade_pct);
    EXPECT_DOUBLE_EQ(f.rebate_percent, c.rebate_pct);
    EXPECT_DOUBLE_EQ(f.other_percent, c.other_pct);
    EXPECT_EQ(f.average_percent, Cur(c.average));
  }
}
// clang-format on

TEST_F(LineCalculationTest, NewCostPerUnitSpreadsTheNetOverTheAbsoluteOrderQuantity) {
  EXPECT_DOUBLE_EQ(calc_.Figures({10, 2, Cur("5"), {}, {}, {}}, 15).new_cost_per_unit.value(), 6.0);
  EXPECT_DOUBLE_EQ(calc_.Figures({-4, 2, Cur("10"), {}, {}, {}}, 0).new_cost_per_unit.value(),
                   -5.0);
  EXPECT_FALSE(calc_.Figures({0, 3, Cur("10"), {}, {}, {}}, 0).new_cost_per_unit.has_value());
}

TEST_F(LineCalculationTest, TriggersRestartTheChainWhereTheInputChanged) {
  struct Case {
    int32_t trigger;
    std::vector<Discount> steps_run;
  } cases[] = {
      {kTriggerQuantity, {Discount::kTrade, Discount::kRebate, Discount::kOther}},
      {kTriggerTrade, {Discount::kTrade, Discount::kRebate, Discount::kOther}},
      {kTriggerRebate, {Discount::kRebate, Discount::kOther}},
      {kTriggerOther, {Discount::kOther}},
      {42, {}},  // no trigger, or one unknown
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trigger);
    RateSteps steps(calc_);
    LineInputs line{10, 0, Cur("10"), Cur("1"), Cur("1"), Cur("1")};
    calc_.RunDiscountChain(c.trigger, line, steps);
    std::vector<Discount> run;
    for (const auto& [discount, subtotal] : steps.seen) run.push_back(discount);
    EXPECT_EQ(run, c.steps_run);
  }
}

TEST_F(LineCalculationTest, CascadingFormulasSeeTheRoundedSubtotals) {
  RateSteps steps(calc_);
  steps.rates = {{Discount::kTrade, 0.05}, {Discount::kRebate, 0.025}, {Discount::kOther, 0.01}};
  LineInputs line{3, 0, Cur("33.333"), {}, {}, {}};
  calc_.RunDiscountChain(kTriggerQuantity, line, steps);
  // gross 99.999 -> 100.00; trade 5.00; 95.00; rebate 2.375 -> 2.38;
  // 92.62; other 0.9262 -> 0.93.
  ASSERT_EQ(steps.seen.size(), 3u);
  EXPECT_EQ(steps.seen[0].second, Cur("100"));
  EXPECT_EQ(steps.seen[1].second, Cur("95"));
  EXPECT_EQ(steps.seen[2].second, Cur("92.62"));
  EXPECT_EQ(line.trade, Cur("5"));
  EXPECT_EQ(line.rebate, Cur("2.38"));
  EXPECT_EQ(line.other, Cur("0.93"));

  // The gross is rounded from the double product: 1.2562 x 0.8 = 1.00496.
  RateSteps small(calc_);
  LineInputs tiny{0.8, 0, Cur("1.2562"), {}, {}, {}};
  calc_.RunDiscountChain(kTriggerQuantity, tiny, small);
  EXPECT_EQ(small.seen[0].second, Cur("1"));
}

TEST_F(LineCalculationTest, TypedAmountsAreRoundedWhenTheChainRestartsAfterThem) {
  RateSteps steps(calc_);
  steps.rates = {{Discount::kOther, 0.1}};
  // Trigger 3 rounds the typed trade amount and re-runs rebate and other on
  // the preliminary gross (not rounded).
  LineInputs line{1, 0, Cur("100.005"), Cur("10.125"), Cur("3"), {}};
  calc_.RunDiscountChain(kTriggerRebate, line, steps);
  EXPECT_EQ(line.trade, Cur("10.13"));
  EXPECT_EQ(steps.seen[0].second, Cur("89.88"));  // R2(100.005 - 10.13)
  EXPECT_EQ(line.other, Cur("8.69"));             // 10% of R2(89.88 - 3)
  // Trigger 4 rounds the rebate and uses gross - trade as it stood.
  RateSteps others(calc_);
  LineInputs line4{1, 0, Cur("100"), Cur("10"), Cur("2.345"), {}};
  calc_.RunDiscountChain(kTriggerOther, line4, others);
  EXPECT_EQ(line4.rebate, Cur("2.35"));
  EXPECT_EQ(others.seen[0].second, Cur("87.65"));
}

TEST_F(LineCalculationTest, SubTotalsTakeTheAverageOverTheNet) {
  SubTotalFigures s = calc_.SubTotals({10, 0, Cur("10"), Cur("10"), Cur("5"), Cur("5")}, Cur("12"));
  EXPECT_EQ(s.net, Cur("80"));
  EXPECT_EQ(s.average_percent, Cur("25"));  // 20 over 80, not over 100
  EXPECT_EQ(s.total, Cur("92"));
  EXPECT_THROW(calc_.SubTotals({0, 0, Cur("10"), {}, {}, {}}, {}), vb::Error);
}

TEST_F(LineCalculationTest, PercentageAmountAndQuantityRange) {
  EXPECT_EQ(LineCalculation::PercentageAmount(Cur("250"), 10), Cur("25"));
  // 99.99 x 0.125 is stored just below 12.49875, so it rounds down.
  EXPECT_EQ(LineCalculation::PercentageAmount(Cur("99.99"), 12.5), Cur("12.4987"));
  struct Case {
    double quantity;
    bool ok;
  } cases[] = {{0, false},        {-1, false},      {0.01, true},
               {999999.99, true}, {1000000, false}, {1e12, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quantity);
    EXPECT_EQ(OrderQuantityInRange(c.quantity), c.ok);
  }
}

}  // namespace
}  // namespace kvt::orders
