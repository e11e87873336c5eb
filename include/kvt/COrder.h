// COrder — what the host's purchase-order screen drives: the shared
// settings, the delivery-details dialog and its answers.
//
// Every COrder and CGRV on a thread shares one store of settings and
// dialogs; a COrder keeps no state of its own, so any instance reaches the
// same dialogs. All members run on the host's user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "kvt/enumerations.h"
#include "kvt/export.h"
#include "platform/value/variant.h"

namespace kvt {

class KVT_EXPORT COrder {
 public:
  COrder();
  ~COrder();
  COrder(const COrder&) = delete;
  COrder& operator=(const COrder&) = delete;
  COrder(COrder&&) noexcept;
  COrder& operator=(COrder&&) noexcept;

  // Shared settings (seen by every COrder and CGRV on the thread; last
  // write wins; there are no getters). UserID is kept and never read.
  void ConnectionString(const std::string& value);
  void CompanyID(int32_t value);
  void UserID(int32_t value);
  void QtyDecimals(int32_t value);
  void PriceDecimals(int32_t value);

  // Delivery dialog lifecycle. None raises.
  // Creates the shared dialog if there is none and loads it (not shown);
  // a loaded dialog is left alone. A failed load leaves no dialog.
  void LoadDeliveryForm();
  // Unloads a loaded dialog and releases it; otherwise does nothing.
  void UnloadDeliveryForm();
  // Creates and loads the dialog if there is none, then shows it modally;
  // returns when the user has confirmed (dialog hidden, still loaded) or
  // cancelled (dialog unloaded).
  void ShowDeliveryForm();
  // Hides the dialog if there is one. (Spelled as hosts call it.)
  void HideDeliveyForm();
  // True while the dialog is loaded: after ShowDeliveryForm, true means
  // the user confirmed and false that the user cancelled. False with no
  // dialog.
  bool IsDeliveryFormLoaded();

  // The delivery dialog's fields; each reads or writes the control itself.
  // None traps a failure: with no dialog (before LoadDeliveryForm or after
  // UnloadDeliveryForm) each raises 91 (Object variable or With block
  // variable not set).
  std::string Order_No() const;
  void Order_No(const std::string& value);
  std::string Date_Ordered() const;
  void Date_Ordered(const std::string& value);
  std::string Supplier_Name() const;
  void Supplier_Name(const std::string& value);
  std::string Created_By() const;
  void Created_By(const std::string& value);
  std::string Del_Name() const;
  void Del_Name(const std::string& value);
  std::string Del_Address1() const;
  void Del_Address1(const std::string& value);
  std::string Del_Address2() const;
  void Del_Address2(const std::string& value);
  std::string Del_Address3() const;
  void Del_Address3(const std::string& value);
  std::string Del_PostCode() const;
  void Del_PostCode(const std::string& value);
  // Whether "Save Order now and Print Order" can be chosen. Disabling it
  // does not change the choice.
  bool Process_Order_Enabled() const;
  void Process_Order_Enabled(bool value);
  // Whether "Save as a Pending Order" can be chosen.
  bool Save_Order_Enabled() const;
  void Save_Order_Enabled(bool value);
  // True: "Save Order now and Print Order"; false: "Save as a Pending
  // Order".
  bool OrderNow() const;
  // The "Show Preview" choice; a greyed check box counts as true.
  bool Show_Report_Preview() const;

  // Late binding. The slot of member `name` (case-insensitive) in the
  // published slot order; raises 438 for a name the class does not have.
  static int32_t SlotOf(std::string_view name);
  // Runs member `slot` or `name` as `kind`; a Let's value is the last
  // argument. Raises 438 for an unknown member or kind, 450 for a Let
  // without a value, and whatever the member itself raises.
  vb::Variant Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args);
  vb::Variant Invoke(std::string_view name, CallKind kind,
                     std::span<vb::Variant> args);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kvt
