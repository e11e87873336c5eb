// The purchase-order screen of the desk: the order's header strip, its
// lines in a grid, the product picker, the selected product and the totals
// bottom-right, and the commands to save, preview, print and close. What
// the order holds lives in an OrderSession; this widget shows it and asks
// the buyer whenever an edit could be lost.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/sessions/order_session.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;

namespace kvt::host {

class DeskOutput;
class GridView;

class OrderEditor : public QWidget {
 public:
  explicit OrderEditor(DeskOutput& output, QWidget* parent = nullptr);
  ~OrderEditor() override;

  // Shows the order `session` holds, dropping the one shown before (ask
  // with ConfirmLeave first).
  void Show(std::unique_ptr<OrderSession> session);
  OrderSession* Session() { return session_.get(); }

  // True when the order may be left: nothing is unsaved, or the buyer saved
  // or discarded the changes. False when the buyer chose to go back.
  bool ConfirmLeave();

  std::function<void()> on_close;                   // the buyer closed the order
  std::function<void()> on_saved;                   // an order was written
  std::function<void(const std::string&)> on_note;  // a line for the status bar

  // The buyer's commands.
  void AddLine();
  void EditLine(int row);
  void RemoveLine(int row);
  // True when the order was written.
  bool SaveOrder();
  void PrintOrder(bool preview);
  void CloseOrder();
  // Closes the order for receiving or cancels it, once the buyer agrees.
  void EndOrder(OrderEnd end);
  // Shows what the audit trail holds for the saved order.
  void ShowOrderHistory();

 private:
  // The labels of the first products whose code `typed` begins.
  QStringList ProductPage(const std::string& typed) const;
  static constexpr size_t kProductPage = 50;
  void BuildHeader(QWidget* strip);
  QWidget* BuildBottom();
  void Refresh(int select_row);
  void ShowProduct(int row);
  void TakeHeaderEdits();
  // Refuses a change with the session's reason; true when refused.
  bool Refused();
  // Saves; `printed` tells whether the delivery dialog's choice printed it.
  bool Save(bool& printed);
  // Tells the buyer that someone else saved the order first and offers to
  // reload it.
  void RefuseChanged(const std::string& why);
  std::string OrderName() const;
  // Disables the commands and fields the user's roles do not allow, the
  // reason as their tooltip; the save itself checks again.
  void ShowWhatTheUserMay();

  DeskOutput& output_;
  std::unique_ptr<OrderSession> session_;
  QLabel* heading_ = nullptr;
  QLabel* unsaved_ = nullptr;
  QLabel* locked_ = nullptr;
  std::vector<QLabel*> header_values_;
  QLineEdit* our_ref_ = nullptr;
  QLineEdit* supplier_ref_ = nullptr;
  QLineEdit* message_ = nullptr;
  GridView* lines_ = nullptr;
  QComboBox* products_ = nullptr;
  QStringListModel* offered_ = nullptr;  // what the type-ahead offers
  QDoubleSpinBox* quantity_ = nullptr;
  std::vector<QPushButton*> change_buttons_;
  std::vector<QPushButton*> end_buttons_;
  QPushButton* history_ = nullptr;
  // Each command and field with the action it needs.
  std::vector<std::pair<QWidget*, access::Action>> needs_;
  std::optional<access::UserAccess> user_;  // none when it could not be read
  std::vector<QLabel*> product_values_;
  std::vector<QLabel*> totals_;
};

}  // namespace kvt::host
