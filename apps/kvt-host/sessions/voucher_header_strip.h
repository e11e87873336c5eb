// The voucher screen's header strip, as the component fills it: the
// delivery note number the clerk types (txtHeader(1)), the order number or
// the returned voucher's delivery note (lblHeader(2)), the supplier's
// reference (txtHeader(3)) and the six totals of the lines (txtTotals(4..9):
// trade, rebate and other discount, net amount, tax, voucher total).
// Toolkit-free: a screen shows these controls, a scripted run reads them.
#pragma once

#include <string>

#include "platform/ui/form.h"

namespace kvt::host {

class VoucherHeaderStrip : public ui::Form {
 public:
  VoucherHeaderStrip() : Form("frmVoucherHeader") {}

  std::string DelNoteNumber();
  void DelNoteNumber(const std::string& text);
  std::string SourceCaption();
  void SourceCaption(const std::string& text);
  std::string SupplierRef();
  void SupplierRef(const std::string& text);
  // Element 4 to 9, as the component wrote it ("1,234.50").
  std::string Total(int index);
  // Empties the six totals (a voucher without lines).
  void ClearTotals();

  // The arrays the component's header operations take.
  vb::Variant TextBoxes() { return Get("txtHeader"); }
  vb::Variant SourceLabels() { return Get("lblHeader"); }
  vb::Variant TotalBoxes() { return Get("txtTotals"); }

 protected:
  void Build() override;
};

// The captions of the totals, by element: "Trade discount" for 4 ...
// "Voucher total" for 9.
const char* TotalCaption(int index);

}  // namespace kvt::host
