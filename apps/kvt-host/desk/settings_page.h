// The desk's settings page: the user's printed forms and printers, the
// company's posting rules and display decimals, saved where the component
// reads them.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/host_settings.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QVBoxLayout;

namespace kvt::host {

class SettingsPage : public QWidget {
 public:
  explicit SettingsPage(const DeskContext& desk, QWidget* parent = nullptr);

  // Shows what is saved (the edits on the page are dropped).
  void Reload();
  // Saves what the page shows; false when it could not (the user is told).
  bool Save();
  // Whether the page shows changes not saved yet.
  bool Dirty() const;
  // True when the page may go: nothing unsaved, or the user saved (and it
  // worked) or discarded the changes; false when the user goes back.
  bool ConfirmLeave();

  std::function<void(const std::string&)> on_note;

 private:
  PrintPreferences ShownPreferences() const;
  CompanySettings ShownCompany() const;
  void FillPrinters(QComboBox* list, const std::string& saved);
  void ShowWhatTheUserMay(QVBoxLayout* layout, QWidget* company);

  const DeskContext& desk_;
  std::vector<QComboBox*> forms_;  // orders, received, returned
  QComboBox* order_printer_ = nullptr;
  QComboBox* voucher_printer_ = nullptr;
  std::vector<QCheckBox*> rules_;
  QSpinBox* qty_decimals_ = nullptr;
  QSpinBox* price_decimals_ = nullptr;
  // What the page showed when last read or saved.
  PrintPreferences shown_preferences_;
  CompanySettings shown_company_;
};

}  // namespace kvt::host
