// The voucher line's arithmetic, figure by figure, for each selector.
#include "vouchers/receive_calculation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "component/mod_publics.h"
#include "tests/support/vb_error.h"

namespace kvt::vouchers {
namespace {

using vb::Currency;

Currency Cur(const char* text) { return Currency::FromDecimalText(text); }

struct Entries {
  const char *q = "", *p = "", *t = "", *r = "", *o = "", *n = "";
  const char *tp = "", *rp = "", *op = "", *x = "", *y = "";
};

ReceiveLineEntries In(const Entries& e) {
  ReceiveLineEntries in;
  in.quantity = e.q, in.unit_price = e.p, in.trade = e.t, in.rebate = e.r, in.other = e.o;
  in.net = e.n, in.trade_percent = e.tp, in.rebate_percent = e.rp, in.other_percent = e.op;
  in.tax = e.x, in.total = e.y;
  return in;
}

// clang-format off
TEST(ReceiveCalculationTest, FiguresFollowTheSelector) {
  struct Case {
    const char* what;
    int16_t selector;
    Entries in;
    float rate;
    double q;
    const char *p, *s, *t, *r, *o, *n, *x, *y;
    double tp, rp, op;
    bool balanced;
  } cases[] = {
      {"3 at 100.00, 10% and 5%, tax 14", 0, {.q = "3", .p = "100", .tp = "10", .rp = "5"}, 14,
       3, "100", "300", "30", "13.5", "0", "256.5", "35.91", "292.41", 10, 5, 0, true},
      {"a zero percentage clears a typed amount", 0, {.q = "3", .p = "100", .t = "40"}, 0,
       3, "100", "300", "0", "0", "0", "300", "0", "300", 0, 0, 0, true},
      {"rebate typed at 0% becomes 10% of 270", 3,
       {.q = "3", .p = "100", .r = "27", .tp = "10"}, 14,
       3, "100", "300", "30", "27", "0", "243", "34.02", "277.02", 10, 10, 0, true},
      {"a non-zero percentage governs a typed amount", 2,
       {.q = "3", .p = "100", .t = "50", .tp = "10"}, 0,
       3, "100", "300", "30", "0", "0", "270", "0", "270", 10, 0, 0, true},
      {"other of the sub total after both", 8,
       {.q = "3", .p = "100", .tp = "10", .rp = "5", .op = "10"}, 0,
       3, "100", "300", "30", "13.5", "25.65", "230.85", "0", "230.85", 10, 5, 10, true},
      {"net 100 for 4 clears the discounts, price 25", 5,
       {.q = "4", .p = "99", .t = "5", .n = "100", .tp = "5"}, 14,
       4, "25", "100", "0", "0", "0", "100", "14", "114", 0, 0, 0, true},
      {"net 100 for 300: the price keeps four decimals, 0.3333", 5,
       {.q = "300", .p = "1", .n = "100"}, 0,
       300, "0.33", "99.99", "0", "0", "0", "100", "0", "100", 0, 0, 0, true},
      {"the tax code taxes the net as shown", 9, {.q = "1", .p = "1", .n = "200"}, 14,
       1, "1", "1", "0", "0", "0", "200", "28", "228", 0, 0, 0, true},
      {"an unknown selector keeps net, tax and total", 42,
       {.q = "1", .p = "5", .n = "5", .x = "1", .y = "9"}, 14,
       1, "5", "5", "0", "0", "0", "5", "1", "9", 0, 0, 0, false},
      {"grouping is read away, letters as 0", 0, {.q = "1,000", .p = "1,234.50", .t = "abc"}, 0,
       1000, "1234.5", "1234500", "0", "0", "0", "1234500", "0", "1234500", 0, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReceiveLineFigures f = ReceiveCalculation(2, 2).Run(In(c.in), c.selector, c.rate);
    EXPECT_DOUBLE_EQ(f.quantity, c.q);
    EXPECT_EQ(f.unit_price, Cur(c.p));
    EXPECT_EQ(f.sub_total, Cur(c.s));
    EXPECT_EQ(f.trade, Cur(c.t));
    EXPECT_EQ(f.rebate, Cur(c.r));
    EXPECT_EQ(f.other, Cur(c.o));
    EXPECT_EQ(f.net, Cur(c.n));
    EXPECT_EQ(f.tax, Cur(c.x));
    EXPECT_EQ(f.total, Cur(c.y));
    EXPECT_DOUBLE_EQ(f.trade_percent, c.tp);
    EXPECT_DOUBLE_EQ(f.rebate_percent, c.rp);
    EXPECT_DOUBLE_EQ(f.other_percent, c.op);
    EXPECT_EQ(f.balanced, c.balanced);
  }
}
// clang-format on

TEST(ReceiveCalculationTest, TaxIsTheRateOfTheNetInCurrencyRoundedHalfAwayFromZero) {
  struct Case {
    const char* net;
    float rate;
    const char* tax;
  } cases[] = {
      {"1", 17.5f, "0.18"},      {"0.5", 19, "0.1"},      {"12.5", 21, "2.63"},
      {"-1", 17.5f, "-0.18"},    {"256.5", 14, "35.91"},  {"100", 19.6f, "19.6"},
      {"0.01", 14, "0"},         {"0.04", 12.5f, "0.01"}, {"3.3333", 15, "0.5"},
      {"1000000", 0.0001f, "1"}, {"0", 21, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.net) + " at " + std::to_string(c.rate));
    EXPECT_EQ(ReceiveCalculation::TaxOn(Cur(c.net), c.rate), Cur(c.tax));
  }
  EXPECT_EQ(test_support::ErrorNumberOf(
                [] { ReceiveCalculation::TaxOn(Currency::FromRaw(INT64_MAX / 2), 300); }),
            6);
}

TEST(ReceiveCalculationTest, QuantityAndPriceRoundToTheirDecimals) {
  struct Case {
    int32_t qty_decimals, price_decimals;
    const char *q, *p;
    double quantity;
    const char *price, *sub_total;
  } cases[] = {
      {0, 2, "2.5", "10", 3, "10", "30"},  // half away from zero
      {3, 4, "1.2345", "0.12345", 1.235, "0.1235", "0.15"},
      {2, 0, "0.8", "1.2562", 0.8, "1", "0.8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.q);
    Entries e{.q = c.q, .p = c.p};
    const ReceiveLineFigures f =
        ReceiveCalculation(c.qty_decimals, c.price_decimals).Run(In(e), 0, 0);
    EXPECT_DOUBLE_EQ(f.quantity, c.quantity);
    EXPECT_EQ(f.unit_price, Cur(c.price));
    EXPECT_EQ(f.sub_total, Cur(c.sub_total));
  }
}

}  // namespace
}  // namespace kvt::vouchers
