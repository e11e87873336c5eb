// modPublics — the store every COrder and CGRV on a thread shares: the
// host's settings, one slot per dialog kind, and the outside services,
// each created on first use. One store per thread; nothing is locked.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "component/dialog.h"

namespace kvt::services {
class DataGateway;
class NumberFormatService;
class ControlSettings;
}  // namespace kvt::services

namespace kvt::component {

// The dialog kinds, one slot each.
enum class DialogKind {
  kOrderItem,    // frmEditOrderDetail
  kDelivery,     // frmDeliveryDetails
  kReceiveItem,  // frmEditGRVDetail
  kSaveVoucher,  // frmSaveGRV
};
inline constexpr size_t kDialogKindCount = 4;

// Empty, or exactly one dialog instance (loaded or not).
struct DialogSlot {
  std::shared_ptr<Dialog> instance;
};

// Written by the host through either class; there are no getters on the
// classes. UserID is kept and never read.
struct SharedSettings {
  std::string connection_string;
  int32_t company_id = 0;
  int32_t user_id = 0;
  int32_t qty_decimals = 0;
  int32_t price_decimals = 0;
};

// The company's posting rules for the save voucher dialog, each a saved
// company check box ("chkAccountant"(0) and so on), read at every binding of
// the dialog; all off until read.
struct PostingRules {
  bool prior_periods = false;     // chkAccountant(0): before the current period
  bool future_periods = false;    // chkAccountant(1): after the current period
  bool auto_advance = false;      // chkAutoAdvancePeriod(1): today's period instead
  bool closed_periods = false;    // chkPriorPeriodGRVPosting(0): closed periods
  bool without_document = false;  // chkNonInvoiceGRV(0): no supplier document
};

class Store {
 public:
  Store();
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  SharedSettings settings;
  PostingRules posting_rules;
  // Set while the save voucher dialog is being filled (bound, loaded or its
  // period restored): its period lists then change without being checked.
  bool save_form_filling = false;

  DialogSlot& Slot(DialogKind kind) { return slots_[static_cast<size_t>(kind)]; }

  // The thread's service instances, created on first use. Whatever the
  // service's construction raises passes through.
  services::DataGateway& DataGateway();
  services::NumberFormatService& NumberFormat();
  services::ControlSettings& ControlSettings();
  // Replaces the thread's ControlSettings with a new, unconnected one, as
  // the save voucher dialog's binding does.
  services::ControlSettings& NewControlSettings();

 private:
  std::array<DialogSlot, kDialogKindCount> slots_;
  std::unique_ptr<services::DataGateway> data_gateway_;
  std::unique_ptr<services::NumberFormatService> number_format_;
  std::unique_ptr<services::ControlSettings> control_settings_;
};

// The calling thread's store, created empty on first use.
Store& ThreadStore();
// Drops the calling thread's store: settings back to empty, dialogs
// released without their unload handling (as at thread end). For tests and
// for a host that starts over.
void ResetThreadStore();

}  // namespace kvt::component
