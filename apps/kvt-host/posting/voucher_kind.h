// What each voucher kind means to the posting: its number series, the
// supplier document raised with it, what it draws on and which stock it
// moves.
#pragma once

#include <cstdint>
#include <string>

namespace kvt::posting {

struct VoucherKind {
  int32_t tran_type;
  const char* number_prefix;      // "GRV": voucher numbers GRV000001...
  const char* supplier_document;  // "Invoice", "Credit Note"...
  // Returns draw on the lines of a received voucher of `source_type`;
  // receipts (source_type 0) on the lines of a purchase order.
  int32_t source_type;
  // Consignment vouchers move the suppliers' stock, not the owned stock.
  bool consignment;

  bool IsReturn() const { return source_type != 0; }
  // +1 for stock coming in, -1 for stock going back.
  int Direction() const { return IsReturn() ? -1 : 1; }
};

// The kind of transaction type 19, 20, 31 or 32; nullptr for any other.
const VoucherKind* FindVoucherKind(int32_t tran_type);

// The number after `last` in the series of `prefix`: its trailing digits
// plus one, at least six digits ("GRV000206" after "GRV000205"; "GRV000001"
// when `last` is empty or has no digits).
std::string NextVoucherNumber(const std::string& prefix, const std::string& last);

// The last number of a company's series (?1 the company, ?2 the prefix),
// longest first: GRV1000000 comes after GRV999999. The expressions are the
// series index's own (GRVs_Series), so that the index answers it.
extern const char kLastVoucherNumberSql[];

}  // namespace kvt::posting
