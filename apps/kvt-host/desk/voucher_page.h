// A voucher page of the desk, in the order screen's style: the supplier
// picker, what the voucher is made from (orders with stock to come, or
// received vouchers) and the lines of the one opened, the header strip,
// the voucher's lines in a grid, the totals bottom-right, Save (the save
// voucher dialog, then posting), Print and Reprint of posted vouchers and,
// for consignment, the supplier's consignment stock and its sale. What the
// voucher holds lives in a VoucherScreenSession; this widget shows it.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/sessions/voucher_screen_session.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;

namespace kvt::host {

class DeskOutput;
class GridView;

class VoucherPage : public QWidget {
 public:
  VoucherPage(std::unique_ptr<VoucherScreenSession> session, DeskOutput& output,
              QWidget* parent = nullptr);
  ~VoucherPage() override;

  VoucherScreenSession& Session() { return *session_; }
  // True when the page may go: no lines on the voucher, or the clerk saved
  // or discarded them. False when the clerk chose to go back.
  bool ConfirmLeave();

  // The clerk's commands.
  void ChooseSupplier(int32_t supplier_id);
  void OpenSource(int row);
  void ReceiveLine(int source_row);
  void EditLine(int row);
  void RemoveLine(int row);
  // True when the voucher was posted.
  bool SaveVoucher();
  // Previews the voucher posted last here, else the one the clerk picks;
  // a reprint is always picked, and marked "Copy".
  void PrintVoucher(bool reprint);
  void RecordSale(int row);
  // Shows the audit trail of the voucher posted last here, else of the one
  // the clerk picks.
  void ShowVoucherHistory();
  // Disables what `user`'s roles do not allow, the reason as the tooltip;
  // posting checks again.
  void LimitTo(const access::UserAccess& user);

  std::function<void(const std::string&)> on_note;  // a line for the status bar
  // Shows the audit rows of a document ("voucher GRV000208").
  std::function<void(const std::string& document)> on_history;

 private:
  QWidget* BuildBottom();
  void Refresh(int select_line);
  void TakeHeaderEdits();
  // Refuses a change with the session's reason; true when refused.
  bool Refused();
  std::string Hint() const;
  // The voucher posted last here, unless `always_pick`; otherwise the one
  // of the supplier's the clerk picks. None when there is none or the
  // clerk gave up.
  std::optional<PostedNumber> PickPosted(bool always_pick, const QString& title,
                                         const QString& prompt);

  std::unique_ptr<VoucherScreenSession> session_;
  DeskOutput& output_;
  int32_t supplier_id_ = 0;
  int source_row_ = -1;  // the row of the source open, in the list shown
  PostedNumber last_posted_;
  QLabel* unsaved_ = nullptr;
  QLabel* locked_ = nullptr;
  QComboBox* suppliers_ = nullptr;
  QLabel* posted_ = nullptr;
  QLabel* hint_ = nullptr;
  QGroupBox* sources_box_ = nullptr;
  QGroupBox* source_lines_box_ = nullptr;
  GridView* sources_ = nullptr;
  GridView* source_lines_ = nullptr;
  QLineEdit* del_note_ = nullptr;
  QLineEdit* supplier_ref_ = nullptr;
  QLabel* source_caption_ = nullptr;
  QLabel* source_ = nullptr;
  GridView* lines_ = nullptr;
  QGroupBox* stock_box_ = nullptr;
  GridView* stock_ = nullptr;
  std::vector<QPushButton*> change_buttons_;
  std::string post_refusal_;  // why the user may not post; empty when they may
  std::vector<QLabel*> totals_;
};

}  // namespace kvt::host
