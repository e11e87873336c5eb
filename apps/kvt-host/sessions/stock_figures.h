// The stock figures the voucher screens and the story show, and the
// consignment sale the host records: read and written on the database of a
// connection text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/sessions/voucher_session.h"
#include "platform/value/date.h"

namespace kvt::host {

struct ProductStock {
  int32_t product_id = 0;
  std::string code;
  std::string description;
  double on_hand = 0;      // the business's own stock
  double consignment = 0;  // the suppliers' stock held on consignment
};

// The products `product_ids`, in that order; unknown keys are left out.
std::vector<ProductStock> ReadProductStock(const std::string& connection_text,
                                           const std::vector<int32_t>& product_ids);

// A line of a consignment received voucher and what became of it.
struct ConsignmentLine {
  int32_t line_id = 0;
  std::string voucher_number;
  std::string code;
  double received = 0;
  double sold = 0;
  double returned = 0;
  std::optional<double> left;  // none: never counted
  vb::Variant last_sold_on;    // the date of its last sale; Null before any

  // received = sold + returned + left (a line never counted does not).
  bool AddsUp() const;
};

// The lines of `supplier_id`'s consignment received vouchers in the
// company, in the order they were posted.
std::vector<ConsignmentLine> ReadConsignmentLines(const std::string& connection_text,
                                                  int32_t company_id, int32_t supplier_id);

// Records the sale of `qty` off consignment line `line_id` on `date`
// (posting::RecordConsignmentSale). A refusal is shown to the user as its
// message (title "Stock Receipts"); true when recorded.
bool SellConsignmentStock(const HostContext& context, int32_t line_id, double qty,
                          const vb::Date& date);

// posting::StockInvariantBreaches on the database: empty when every
// consignment line, product, order line and received line adds up.
std::vector<std::string> StockBreaches(const std::string& connection_text);

}  // namespace kvt::host
