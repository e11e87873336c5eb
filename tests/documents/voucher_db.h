// Vouchers written straight into a temporary demo database, as the host
// posts them, for the voucher printing tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tests/support/temp_demo_database.h"

namespace kvt::documents::testing {

struct VoucherLine {
  double qty = 3;
  // Unit price, trade, rebate and other discount, net, tax, total.
  std::array<const char*, 7> amounts = {"12.50", "1.00", "0.50", "0.25", "35.75", "5.36", "41.11"};
  std::string description = "Hex bolt M8 x 40";
};

class VoucherDb {
 public:
  static constexpr const char* kDatabase = "KvtVoucherTest";

  explicit VoucherDb(data::Backend backend = data::Backend::kSQLite);
  // Voucher `id` of transaction type `tran_type` with `count` copies of
  // `line`. Returns (20, 32) have no order of their own: they return
  // demo voucher 1.
  void AddVoucher(int32_t id, int32_t tran_type, int count, const VoucherLine& line = {});
  // The value all users of kDatabase have in a control; nullptr: none.
  void SaveControlValue(const std::string& kind, const std::string& name, int index,
                        const char* value) {
    db_.SaveControlValue(kDatabase, "", kind, name, index, value);
  }
  // The print data comes without `column`.
  void DropColumn(const std::string& column);
  std::string ConnectionText() const { return db_.ConnectionText(); }

 private:
  test_support::TempDemoDatabase db_;
};

}  // namespace kvt::documents::testing
