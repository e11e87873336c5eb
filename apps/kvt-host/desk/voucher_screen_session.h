// What a voucher page of the desk needs from a voucher session (goods
// received or returned, consignment received or returned). The session
// does the work through CGRV and the component's dialogs; the page only
// shows what it answers and passes on the buyer's commands. Toolkit-free.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "apps/kvt-host/desk/grid_table.h"

namespace kvt::host {

using Captioned = std::vector<std::pair<std::string, std::string>>;

class VoucherScreenSession {
 public:
  virtual ~VoucherScreenSession() = default;

  // "Goods received", ...; the page's heading.
  virtual std::string Title() const = 0;
  // The suppliers to choose from, (ID, name).
  virtual std::vector<std::pair<int32_t, std::string>> Suppliers() = 0;
  virtual void ChooseSupplier(int32_t supplier_id) = 0;
  // What the voucher is made from: outstanding orders, or the vouchers
  // that can be returned, of the chosen supplier.
  virtual GridTable Sources() = 0;
  virtual void OpenSource(int row) = 0;
  // The voucher's lines, formatted as the order lines are.
  virtual GridTable Lines() = 0;
  // Through the receive item dialog; false when the buyer cancels.
  virtual bool EditLine(int row) = 0;
  // The header strip (voucher number, date, order, references...) and the
  // totals, as (caption, value).
  virtual Captioned Header() = 0;
  virtual Captioned Totals() = 0;
  virtual bool Dirty() const = 0;
  // Through the save voucher dialog; false when the buyer cancels. Raises
  // vb::Error when the voucher cannot be posted.
  virtual bool Save() = 0;
  virtual void Print(bool preview) = 0;
  // The number the printed voucher and its PDF are named after.
  virtual std::string DocumentName() const = 0;
};

}  // namespace kvt::host
