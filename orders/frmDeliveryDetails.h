// frmDeliveryDetails — the "Delivery Details" dialog shown when the host
// saves a purchase order: which order is being saved, the delivery address,
// and whether to process the order now or keep it pending.
//
// The dialog decides nothing: the action button hides it (the user
// confirmed) and "&Cancel" unloads it; the host reads the answers back
// through COrder, whose properties are the functions of namespace
// `delivery` below and read and write the controls of the dialog in the
// thread's delivery slot.
#pragma once

#include <string>

#include "component/dialog.h"

namespace kvt::orders {

class frmDeliveryDetails : public component::Dialog {
 public:
  frmDeliveryDetails();

  bool IsLoaded() const override { return is_loaded_; }

 protected:
  void Build() override;
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  void OptionChosen(int index);
  void ActionClicked(int index);

  bool is_loaded_ = false;
};

// The delivery properties of COrder. Each reaches the dialog in the
// thread's delivery slot (loading it, as reaching a control does, when it
// is in the slot but unloaded) and keeps no copy. None traps a failure:
// with an empty slot each raises 91 (Object variable or With block
// variable not set) to the caller.
namespace delivery {

std::string Order_No();  // lblDMethod(0)
void Order_No(const std::string& value);
std::string Date_Ordered();  // lblDMethod(1)
void Date_Ordered(const std::string& value);
std::string Supplier_Name();  // lblDMethod(2)
void Supplier_Name(const std::string& value);
std::string Created_By();  // lblDMethod(3)
void Created_By(const std::string& value);
std::string Del_Name();  // txtDelAddr(0)
void Del_Name(const std::string& value);
std::string Del_Address1();  // txtDelAddr(1)
void Del_Address1(const std::string& value);
std::string Del_Address2();  // txtDelAddr(2)
void Del_Address2(const std::string& value);
std::string Del_Address3();  // txtDelAddr(3)
void Del_Address3(const std::string& value);
std::string Del_PostCode();  // txtDelAddr(4)
void Del_PostCode(const std::string& value);
// Whether "Save Order now and Print Order" (optChoice(0)) can be chosen;
// disabling it does not change which option is selected.
bool Process_Order_Enabled();
void Process_Order_Enabled(bool value);
// Whether "Save as a Pending Order" (optChoice(1)) can be chosen.
bool Save_Order_Enabled();
void Save_Order_Enabled(bool value);
// True when "Save Order now and Print Order" is selected.
bool OrderNow();
// True when "Show Preview" is not cleared (a greyed box counts as true).
bool Show_Report_Preview();

}  // namespace delivery

}  // namespace kvt::orders
