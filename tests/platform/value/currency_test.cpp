#include "platform/value/currency.h"

#include <gtest/gtest.h>

#include "tests/support/vb_error.h"

#include "platform/value/error.h"
#include "platform/value/number_text.h"

namespace vb {
namespace {

using kvt::test_support::ErrorNumberOf;

// clang-format off
TEST(CurrencyTest, FromDoubleRoundsHalfToEven) {
  struct Case {
    double input;
    int64_t raw;
  } cases[] = {
      {0.0, 0},           {1.0, 10000},        {-1.0, -10000},
      // Doubles are judged by their exact binary value: 0.00015 is stored
      // just below the tie, 0.00025 and 0.00005 just above it.
      {0.00015, 1},       {0.00025, 3},        {-0.00025, -3},
      {0.00005, 1},       {1.5 / 16384, 1},     {1.23456, 12346},    {2.5, 25000},
      {0.1 + 0.2, 3000},  {12345.67891, 123456789},
      {922337203685477.0, 9223372036854770000LL},
      {-922337203685477.0, -9223372036854770000LL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Currency::FromDouble(c.input).raw(), c.raw);
  }
}
// clang-format on

TEST(CurrencyTest, OutOfRangeRaisesOverflow) {
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDouble(1e15); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDouble(-1e15); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDouble(0.0 / 0.0); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return Currency::Max() + Currency::FromRaw(1); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return Currency::Min() - Currency::FromRaw(1); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return -Currency::Min(); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return Currency::Max() * Currency::FromInt(2); }), err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { return Currency::FromInt(1) / Currency(); }), err::kDivisionByZero);
  // One step inside the limits is fine.
  EXPECT_EQ((Currency::Max() - Currency::FromRaw(1) + Currency::FromRaw(1)), Currency::Max());
}

TEST(CurrencyTest, RoundHalfEvenIsExactAndRaisesOverflowAtTheLimits) {
  struct Case {
    const char* value;
    int digits;
    const char* rounded;  // nullptr: raises `error`
    int32_t error;
    // clang-format off
  } cases[] = {
      {"2.345", 2, "2.34", 0}, {"2.355", 2, "2.36", 0}, {"-3.5", 0, "-4", 0},
      // clang-format on
      {"1.2345", 9, "1.2345", 0},
      {"1", -1, nullptr, err::kInvalidCall},
      {"922337203685477.5807", 2, "922337203685477.58", 0},
      {"922337203685477.5807", 0, nullptr, err::kOverflow},
      {"922337203685477.5807", 3, nullptr, err::kOverflow},
      {"-922337203685477.5808", 0, nullptr, err::kOverflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " to " + std::to_string(c.digits));
    const Currency value = Currency::FromDecimalText(c.value);
    EXPECT_EQ(ErrorNumberOf([&] { value.RoundHalfEven(c.digits); }), c.error);
    if (c.rounded) {
      EXPECT_EQ(value.RoundHalfEven(c.digits).ToDecimalText(), c.rounded);
    }
  }
}

TEST(CurrencyTest, MultiplyAndDivideRoundHalfToEven) {
  // 0.0001 * 0.5 = 0.00005 -> 0 (even); 0.0003 * 0.5 = 0.00015 -> 0.0002.
  EXPECT_EQ((Currency::FromRaw(1) * Currency::FromRaw(5000)).raw(), 0);
  EXPECT_EQ((Currency::FromRaw(3) * Currency::FromRaw(5000)).raw(), 2);
  EXPECT_EQ((Currency::FromInt(10) / Currency::FromInt(3)).raw(), 33333);
  EXPECT_EQ((Currency::FromInt(-2) / Currency::FromInt(3)).raw(), -6667);
}

TEST(CurrencyTest, TwoDecimalTextRoundsHalfAwayFromZeroAndGroupsThousands) {
  struct Case {
    int64_t raw;
    const char* text;
  } cases[] = {
      {0, "0.00"},
      {16888500, "1,688.85"},
      {50, "0.01"},  // half a cent rounds away from zero
      {-50, "-0.01"},
      {49, "0.00"},
      {-49, "0.00"},  // no "-0.00"
      {12345678912, "1,234,567.89"},
      {INT64_MAX, "922,337,203,685,477.58"},
      {INT64_MIN, "-922,337,203,685,477.58"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raw);
    EXPECT_EQ(TwoDecimalText(Currency::FromRaw(c.raw)), c.text);
  }
}

TEST(CurrencyTest, DecimalTextRoundTrips) {
  struct Case {
    const char* text;
    int64_t raw;
    const char* back;
  } cases[] = {
      {"0", 0, "0"},
      {"12.5", 125000, "12.5"},
      {"-0.0001", -1, "-0.0001"},
      {"1.00005", 10000, "1"},  // tie goes to even
      {"1.00015", 10002, "1.0002"},
      {"922337203685477.5807", INT64_MAX, "922337203685477.5807"},
      {"-922337203685477.5808", INT64_MIN, "-922337203685477.5808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Currency value = Currency::FromDecimalText(c.text);
    EXPECT_EQ(value.raw(), c.raw);
    EXPECT_EQ(value.ToDecimalText(), c.back);
  }
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDecimalText("922337203685477.5808"); }),
            err::kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDecimalText("1.2.3"); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { Currency::FromDecimalText(""); }), err::kTypeMismatch);
}

}  // namespace
}  // namespace vb
