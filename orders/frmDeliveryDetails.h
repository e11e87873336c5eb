// frmDeliveryDetails — the "Delivery Details" dialog shown when the host
// saves a purchase order: which order is being saved, the delivery address,
// and whether to process the order now or keep it pending.
//
// The dialog decides nothing: the action button hides it (the user
// confirmed) and "&Cancel" unloads it; the host reads the answers back
// through COrder, whose properties (DeliveryProperties below) read and
// write the controls of the dialog in the thread's delivery slot.
#pragma once

#include <span>
#include <string>

#include "component/dialog.h"
#include "component/dialog_property.h"
#include "platform/ui/layout.h"

namespace kvt::ui {
class CheckBox;
class CommandButton;
class Label;
class OptionButton;
class TextBox;
}  // namespace kvt::ui

namespace kvt::orders {

class frmDeliveryDetails : public component::Dialog {
 public:
  frmDeliveryDetails();

  bool IsLoaded() const override { return is_loaded_; }

  enum class Array { kLblDMethod, kTxtDelAddr, kOptChoice, kChkShow };
  ui::Control& Element(Array array, int index);

 protected:
  void Build() override;
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  void OptionChosen(int index);
  void ActionClicked(int index);

  bool is_loaded_ = false;
  ui::ControlArray<ui::Label> lbl_dmethod_;
  ui::ControlArray<ui::TextBox> txt_del_addr_;
  ui::ControlArray<ui::OptionButton> opt_choice_;
  ui::ControlArray<ui::CommandButton> cmd_action_;
  ui::CheckBox* chk_show_ = nullptr;
};

// The thread's delivery dialog. Raises 91 (Object variable or With block
// variable not set) when the slot is empty; does not load it.
frmDeliveryDetails& SharedDeliveryDialog();

// COrder's order and delivery properties, one row each. They keep no copy
// and trap nothing: used while the slot is empty each raises 91.
std::span<const component::DialogProperty<frmDeliveryDetails>> DeliveryProperties();

}  // namespace kvt::orders
