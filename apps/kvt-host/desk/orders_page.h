// The desk's purchase-order page: the company's orders, filtered by
// supplier, status and the days they were ordered, a page at a time (older pages on request), and
// the order screen for the one opened. Double click or Enter opens an order; New order starts one
// for a supplier.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/order_list.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace kvt::host {

class DeskOutput;
class GridView;
class OrderEditor;

class OrdersPage : public QWidget {
 public:
  OrdersPage(const DeskContext& desk, DeskOutput& output, QWidget* parent = nullptr);

  // Reads the list's first page again under the chosen filter.
  void ReloadList();
  // Appends the next older page (the "Show older orders" button).
  void ShowOlder();
  // Opens order `order_id` on the order screen; false when it cannot be
  // read (the buyer is told why).
  bool OpenOrder(int32_t order_id);
  // Starts a new order for the supplier the buyer picks.
  void NewOrder();
  // True when the page may go: see OrderEditor::ConfirmLeave.
  bool ConfirmLeave();

  OrderEditor& Editor() { return *editor_; }
  GridView& List() { return *list_; }

  std::function<void(const std::string&)> on_note;

 private:
  void ShowEditor(bool shown);
  OrderListFilter Filter() const;

  const DeskContext& desk_;
  DeskOutput& output_;
  QStackedWidget* stack_ = nullptr;
  QComboBox* supplier_filter_ = nullptr;
  QComboBox* status_filter_ = nullptr;
  QLineEdit* from_filter_ = nullptr;
  QLineEdit* to_filter_ = nullptr;
  GridView* list_ = nullptr;
  QPushButton* older_ = nullptr;
  OrderList orders_;
  OrderEditor* editor_ = nullptr;
};

}  // namespace kvt::host
