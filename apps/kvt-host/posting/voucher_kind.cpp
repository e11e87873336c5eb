#include "apps/kvt-host/posting/voucher_kind.h"

#include <string>

#include "apps/kvt-host/posting/voucher.h"

namespace kvt::posting {

namespace {

constexpr VoucherKind kKinds[] = {
    {kGoodsReceived, "GRV", "Invoice", 0, false},
    {kGoodsReturned, "GRN", "Credit Note", kGoodsReceived, false},
    {kConsignmentReceived, "CRV", "Receipt", 0, true},
    {kConsignmentReturned, "CRN", "Return Note", kConsignmentReceived, true},
};

constexpr size_t kNumberDigits = 6;

// The series index (GRVs_Series) keys on a three-letter prefix.
static_assert([] {
  for (const VoucherKind& kind : kKinds) {
    if (std::char_traits<char>::length(kind.number_prefix) != 3) return false;
  }
  return true;
}());

}  // namespace

const char kLastVoucherNumberSql[] =
    "SELECT VoucherNumber FROM GRVs WHERE CompanyID = ?1 AND "
    "substr(VoucherNumber, 1, 3) = ?2 ORDER BY length(VoucherNumber) DESC, "
    "VoucherNumber DESC LIMIT 1";

const VoucherKind* FindVoucherKind(int32_t tran_type) {
  for (const VoucherKind& kind : kKinds) {
    if (kind.tran_type == tran_type) return &kind;
  }
  return nullptr;
}

std::string NextVoucherNumber(const std::string& prefix, const std::string& last) {
  size_t start = last.size();
  while (start > 0 && last[start - 1] >= '0' && last[start - 1] <= '9') {
    --start;
  }
  // Decimal addition on the digits themselves: no width limit, no parsing.
  std::string digits = last.substr(start);
  size_t i = digits.size();
  for (; i > 0 && digits[i - 1] == '9'; --i) digits[i - 1] = '0';
  if (i == 0) {
    digits.insert(digits.begin(), '1');
  } else {
    ++digits[i - 1];
  }
  if (digits.size() < kNumberDigits) {
    digits.insert(0, kNumberDigits - digits.size(), '0');
  }
  return prefix + digits;
}

}  // namespace kvt::posting
