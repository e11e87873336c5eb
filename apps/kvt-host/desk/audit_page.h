// The desk's audit page: the trail of what was done (and refused), newest
// first, filtered by user, dates and document, an older page on request;
// and a document's history, the same rows for one order or voucher.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "apps/kvt-host/sessions/audit_list.h"
#include "apps/kvt-host/sessions/desk_context.h"

class QLineEdit;
class QPushButton;
class QLabel;

namespace kvt::host {

class GridView;

class AuditPage : public QWidget {
 public:
  AuditPage(const DeskContext& desk, QWidget* parent = nullptr);

  // Reads the newest page under the filters; a failure is reported.
  void Search();
  // Sets the filters (empty clears one) and searches.
  void Filter(const AuditSearch& search);

 protected:
  // The trail is read when the page is first shown, not when the desk opens.
  void showEvent(QShowEvent* event) override;

 private:
  void ShowRows();

  const DeskContext& desk_;
  AuditList list_;
  QLineEdit* user_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QLineEdit* document_ = nullptr;
  QPushButton* older_ = nullptr;
  QLabel* count_ = nullptr;
  GridView* grid_ = nullptr;
  bool searched_ = false;
};

// Shows, over `parent`, the audit rows of `document` ("order PO000111",
// "voucher GRV000208") in a window of their own.
void ShowHistory(QWidget* parent, data::Connection& connection, const std::string& document);

}  // namespace kvt::host
