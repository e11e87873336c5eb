// The books simulator on both backends: fixed seeds here; with
// KVT_BOOKS_SECONDS set (scripts/simulate-books.sh), new seeds for that
// long on each backend. A failing seed is printed with the operations it
// ran, which the same seed runs again.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "tests/apps/books_simulator.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host::books {
namespace {

// A server round trip costs more than a file's: fewer operations a seed
// there keep a seed to seconds.
size_t OpsPerSeed(data::Backend backend) { return backend == data::Backend::kSQLite ? 40 : 12; }

class BooksSimulatorTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  // Runs `seed`; on a failure, the operations up to the failing one.
  bool RunSeed(uint64_t seed, size_t& ops_run) {
    const std::vector<Op> ops = RandomOps(seed, OpsPerSeed(GetParam()));
    const RunResult result = RunOps(GetParam(), ops);
    ops_run += result.steps;
    vouchers_ += result.vouchers;
    orders_ += result.orders;
    sales_ += result.sales;
    if (!result.failed_at) return true;
    std::string ran;
    for (size_t i = 0; i <= *result.failed_at; ++i) ran += "  " + Describe(ops[i]) + "\n";
    ADD_FAILURE() << "seed " << seed << " failed at operation " << *result.failed_at + 1 << ":\n"
                  << result.failure << "operations run:\n"
                  << ran;
    return false;
  }

  int64_t vouchers_ = 0, orders_ = 0, sales_ = 0;
};

TEST_P(BooksSimulatorTest, RandomWorkKeepsEveryRuleOfTheBooks) {
  size_t ops_run = 0, seeds = 0;
  const char* seconds = std::getenv("KVT_BOOKS_SECONDS");
  if (seconds == nullptr) {
    for (uint64_t seed : {11u, 12u}) {
      ++seeds;
      if (!RunSeed(seed, ops_run)) break;
    }
  } else {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(seconds));
    std::random_device device;
    while (std::chrono::steady_clock::now() < until) {
      const uint64_t seed = device();
      ++seeds;
      if (!RunSeed(seed, ops_run)) break;
    }
  }
  std::cout << "books simulator on " << data::BackendName(GetParam()) << ": " << ops_run
            << " operations in " << seeds << " seeds (" << orders_ << " orders, " << vouchers_
            << " vouchers, " << sales_ << " sales)\n";
  // A run that booked nothing would prove nothing.
  EXPECT_GT(orders_, 0);
  EXPECT_GT(vouchers_, 0);
  EXPECT_GT(sales_, 0);
}

KVT_INSTANTIATE_BACKENDS(BooksSimulatorTest);

}  // namespace
}  // namespace kvt::host::books
