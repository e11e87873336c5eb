// Vouchers written straight into a temporary demo database, as the host
// would post them, for the voucher printing tests.
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/temp_demo_database.h"

namespace kvt::documents::testing {

// One voucher line; amounts as decimal text.
struct VoucherLine {
  double qty = 3;
  const char* unit_price = "12.50";
  const char* trade = "1.00";
  const char* rebate = "0.50";
  const char* other = "0.25";
  const char* net = "35.75";
  const char* tax = "5.36";
  const char* total = "41.11";
  std::string description = "Hex bolt M8 x 40";
};

class VoucherDb {
 public:
  static constexpr const char* kDatabase = "KvtVoucherTest";

  VoucherDb();

  // Adds voucher `id` of transaction type `tran_type` with `count` copies
  // of `line`. Returns (20, 32) carry no order of their own but return
  // demo voucher 1.
  void AddVoucher(int32_t id, int32_t tran_type, int count,
                  const VoucherLine& line = {});
  // Saves the value every user of kDatabase has in a control, replacing an
  // earlier one; nullptr forgets it.
  void SaveControlValue(const std::string& kind, const std::string& name, int index,
                        const char* value);
  // Makes the print-data procedure leave out the result column `column`.
  void DropColumn(const std::string& column);

  std::string ConnectionText() const { return db_.ConnectionText(); }

 private:
  test_support::TempDemoDatabase db_{"kvt_voucher_print"};
};

}  // namespace kvt::documents::testing
