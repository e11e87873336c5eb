#include "apps/kvt-host/sessions/voucher_header_strip.h"

#include "platform/ui/controls.h"

namespace kvt::host {

std::string VoucherHeaderStrip::DelNoteNumber() { return Ctl<ui::TextBox>("txtHeader", 1).Text(); }
void VoucherHeaderStrip::DelNoteNumber(const std::string& text) {
  Ctl<ui::TextBox>("txtHeader", 1).Text(text);
}
std::string VoucherHeaderStrip::SourceCaption() { return Ctl<ui::Label>("lblHeader", 2).Caption(); }
void VoucherHeaderStrip::SourceCaption(const std::string& text) {
  Ctl<ui::Label>("lblHeader", 2).Caption(text);
}
std::string VoucherHeaderStrip::SupplierRef() { return Ctl<ui::TextBox>("txtHeader", 3).Text(); }
void VoucherHeaderStrip::SupplierRef(const std::string& text) {
  Ctl<ui::TextBox>("txtHeader", 3).Text(text);
}
std::string VoucherHeaderStrip::Total(int index) {
  return Ctl<ui::TextBox>("txtTotals", index).Text();
}

void VoucherHeaderStrip::ClearTotals() {
  for (int i = 4; i <= 9; ++i) Ctl<ui::TextBox>("txtTotals", i).Text("");
}

void VoucherHeaderStrip::Build() {
  Add<ui::TextBox>("txtHeader", 1);
  Add<ui::Label>("lblHeader", 2);
  Add<ui::TextBox>("txtHeader", 3);
  for (int i = 4; i <= 9; ++i) Add<ui::TextBox>("txtTotals", i).Locked(true);
}

const char* TotalCaption(int index) {
  static const char* const kCaptions[] = {
      "Trade discount", "Rebate discount", "Other discount", "Net amount", "Tax", "Voucher total"};
  return index >= 4 && index <= 9 ? kCaptions[index - 4] : "";
}

}  // namespace kvt::host
