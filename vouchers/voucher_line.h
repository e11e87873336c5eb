// The voucher line as CGRV shows it to the host: text properties that read
// and write the receive item dialog's controls, and the fills that prepare
// the dialog from a database row for each kind of line.
//
// Nothing here traps a failure: a fill raises at its first failure (a
// missing column, a closed set or one at its end), keeping what it already
// wrote, and the line is then not calculated; CGRV names the style.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "component/dialog.h"
#include "component/dialog_property.h"
#include "vouchers/frmEditGRVDetail.h"

namespace kvt::data {
class RecordSet;
}

namespace kvt::vouchers {

// A new, unloaded receive item dialog for the thread's dialog slot.
std::shared_ptr<component::Dialog> MakeReceiveItemDialog();
// The thread's receive item dialog: a fresh one is created when the slot is
// empty, and it is loaded (hidden) when it is not.
frmEditGRVDetail& SharedReceiveItemDialog();

// CGRV's line properties, one row each.
std::span<const component::DialogProperty<frmEditGRVDetail>> VoucherLineProperties();

class VoucherLine {
 public:
  explicit VoucherLine(frmEditGRVDetail& form) : form_(form) {}

  std::string Get(std::string_view property) const;
  void Let(std::string_view property, const std::string& text);

  // A received line from an outstanding purchase-order line; the set is
  // returned to the row it stood on.
  void AssignAllForAdding(data::RecordSet& source);
  // A received (or consignment) line being corrected, from its detail row;
  // `consignment` also reads the three consignment quantities.
  void AssignAllForEditing(data::RecordSet& detail, bool consignment);
  // A returned line from a received voucher's line: the whole quantity is
  // proposed, percentages cascade as when receiving.
  void AssignAllForReturnAdding(data::RecordSet& received);
  // A consignment received line: as adding, then only the quantity stays
  // open (for the life of the dialog instance).
  void AssignAllForCRVAdding(data::RecordSet& source);
  // A consignment returned line from a received consignment line: the
  // quantity left is proposed; all percentages are of the sub total.
  void AssignAllForCRVReturnAdding(data::RecordSet& received);

 private:
  // What the discount percentages are taken of: the sub total and the
  // amounts left after the earlier discounts (rounded to cents, or exact),
  // or the sub total for all three.
  enum class Bases { kCascadeRoundedToCents, kCascade, kSubTotal };

  void SetTotalsVisible(bool visible);
  void BindTaxCodes();
  void SetPercentages(double trade, double rebate, double other);
  // Unit price, the three discounts, net, tax and total, formatted.
  void FillAmounts(data::RecordSet& row, const char* net_column, const char* tax_column);
  void FillConsignmentQuantities(data::RecordSet& row);
  // Hides the totals and takes the key, tax code and product of the line
  // returned against.
  void FillReturnedProduct(data::RecordSet& received);
  void DerivePercentages(Bases bases);

  frmEditGRVDetail& form_;
};

}  // namespace kvt::vouchers
