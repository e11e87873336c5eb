#include "apps/kvt-host/desk/orders_page.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <memory>

#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "apps/kvt-host/desk/order_editor.h"
#include "apps/kvt-host/sessions/audit_list.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "platform/value/error.h"
#include "services/failure_words.h"

namespace kvt::host {
namespace {

constexpr int kSupplierColumn = 1;

// Shows the wait cursor while a reading runs.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

OrdersPage::OrdersPage(const DeskContext& desk, DeskOutput& output, QWidget* parent)
    : QWidget(parent), desk_(desk), output_(output) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  stack_ = new QStackedWidget(this);
  layout->addWidget(stack_);

  auto* list_page = new QWidget(stack_);
  auto* list_layout = new QVBoxLayout(list_page);
  list_layout->addWidget(Heading("Purchase orders", list_page));

  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel("Supplier:", list_page));
  supplier_filter_ = new QComboBox(list_page);
  supplier_filter_->setObjectName("supplierFilter");
  supplier_filter_->addItem("All suppliers", 0);
  for (const auto& [id, name] : ReadSuppliers(*desk_.connection, desk_.company_id)) {
    supplier_filter_->addItem(ToQt(name), id);
  }
  filters->addWidget(supplier_filter_);
  filters->addSpacing(12);
  filters->addWidget(new QLabel("Status:", list_page));
  status_filter_ = new QComboBox(list_page);
  status_filter_->setObjectName("statusFilter");
  status_filter_->addItem("All", -1);
  for (OrderProgress progress :
       {OrderProgress::kPending, OrderProgress::kOpen, OrderProgress::kPartReceived,
        OrderProgress::kReceived, OrderProgress::kClosed, OrderProgress::kCancelled}) {
    status_filter_->addItem(ToQt(ProgressText(progress)), static_cast<int>(progress));
  }
  filters->addWidget(status_filter_);
  filters->addSpacing(12);
  auto day_filter = [&](const char* caption, const char* name) {
    filters->addWidget(new QLabel(caption, list_page));
    auto* edit = new QLineEdit(list_page);
    edit->setObjectName(name);
    edit->setPlaceholderText("yyyy-mm-dd");
    edit->setClearButtonEnabled(true);
    edit->setMaximumWidth(120);
    filters->addWidget(edit);
    return edit;
  };
  from_filter_ = day_filter("Ordered from:", "ordersFrom");
  to_filter_ = day_filter("to:", "ordersTo");
  filters->addStretch();
  auto* open = new QPushButton("&Open", list_page);
  auto* add = new QPushButton("&New order\u2026", list_page);
  add->setObjectName("newOrder");
  add->setEnabled(!desk_.ReadOnly());
  if (const auto user = DeskUser(desk_)) {
    const std::string why = user->WhyNot(access::Action::kEditOrder);
    if (!why.empty()) add->setEnabled(false);
    add->setToolTip(ToQt(why));
  }
  filters->addWidget(open);
  filters->addWidget(add);
  list_layout->addLayout(filters);

  list_ = new GridView(kSupplierColumn, list_page);
  list_->setObjectName("orderList");
  list_->on_activate = [this](int row) {
    if (row < static_cast<int>(orders_.order_ids.size())) OpenOrder(orders_.order_ids[row]);
  };
  list_layout->addWidget(list_, 1);
  auto* footer = new QHBoxLayout;
  footer->addWidget(NoteLabel("Double-click an order or press Enter to open it.", list_page), 1);
  older_ = new QPushButton("Show &older orders", list_page);
  older_->setObjectName("ordersOlder");
  older_->setEnabled(false);
  footer->addWidget(older_);
  list_layout->addLayout(footer);
  stack_->addWidget(list_page);

  editor_ = new OrderEditor(output_, stack_);
  editor_->on_close = [this] {
    ShowEditor(false);
    Guarded(this, "Reading the orders", [&] { ReloadList(); });
  };
  editor_->on_saved = [this] { Guarded(this, "Reading the orders", [&] { ReloadList(); }); };
  editor_->on_note = [this](const std::string& note) {
    if (on_note) on_note(note);
  };
  stack_->addWidget(editor_);

  auto reload = [this] { Guarded(this, "Reading the orders", [&] { ReloadList(); }); };
  connect(supplier_filter_, &QComboBox::currentIndexChanged, this, reload);
  connect(status_filter_, &QComboBox::currentIndexChanged, this, reload);
  for (QLineEdit* edit : {from_filter_, to_filter_}) {
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, reload] {
      // Focus leaving an unchanged field reads nothing again.
      if (edit->isModified()) reload();
      edit->setModified(false);
    });
  }
  connect(open, &QPushButton::clicked, this, [this] {
    const int row = list_->CurrentRow();
    if (row >= 0) OpenOrder(orders_.order_ids.at(row));
  });
  connect(add, &QPushButton::clicked, this, [this] { NewOrder(); });
  connect(older_, &QPushButton::clicked, this,
          [this] { Guarded(this, "Reading the orders", [&] { ShowOlder(); }); });
  reload();
}

void OrdersPage::ReloadList() {
  const int32_t selected_id =
      list_->CurrentRow() >= 0 ? orders_.order_ids.at(list_->CurrentRow()) : 0;
  {
    BusyCursor busy;
    orders_ = ReadOrderList(*desk_.connection, desk_.company_id, Filter());
    list_->Show(orders_.table);
    older_->setEnabled(orders_.has_more);
  }
  int row = orders_.order_ids.empty() ? -1 : 0;
  for (size_t i = 0; i < orders_.order_ids.size(); ++i) {
    if (orders_.order_ids[i] == selected_id) row = static_cast<int>(i);
  }
  list_->SelectRow(row);
}

OrderListFilter OrdersPage::Filter() const {
  OrderListFilter filter;
  filter.supplier_id = supplier_filter_->currentData().toInt();
  if (const int chosen = status_filter_->currentData().toInt(); chosen >= 0) {
    filter.progress = static_cast<OrderProgress>(chosen);
  }
  filter.from = TypedDay(from_filter_->text().toStdString(), "first");
  filter.to = TypedDay(to_filter_->text().toStdString(), "last");
  return filter;
}

void OrdersPage::ShowOlder() {
  const int row = list_->CurrentRow();
  {
    BusyCursor busy;
    ReadMoreOrders(*desk_.connection, desk_.company_id, Filter(), orders_);
    list_->Show(orders_.table);
    older_->setEnabled(orders_.has_more);
  }
  list_->SelectRow(row);
}

bool OrdersPage::OpenOrder(int32_t order_id) {
  if (stack_->currentWidget() == editor_ && !editor_->ConfirmLeave()) return false;
  try {
    BusyCursor busy;
    auto session = std::make_unique<OrderSession>(desk_);
    session->Open(order_id);
    editor_->Show(std::move(session));
  } catch (const vb::Error& error) {
    QMessageBox::warning(this, "Purchase orders",
                         ToQt(services::PlainFailure("Opening the order", error)));
    return false;
  }
  ShowEditor(true);
  return true;
}

void OrdersPage::NewOrder() {
  if (desk_.ReadOnly()) {
    QMessageBox::information(this, "Purchase orders",
                             ToQt("No new order can be made: the database is read-only (" +
                                  desk_.read_only_reason + ")."));
    return;
  }
  if (stack_->currentWidget() == editor_ && !editor_->ConfirmLeave()) return;
  QStringList names;
  const auto suppliers = ReadSuppliers(*desk_.connection, desk_.company_id);
  for (const auto& supplier : suppliers) names << ToQt(supplier.second);
  bool chosen = false;
  const QString name = QInputDialog::getItem(this, "New purchase order",
                                             "Order from supplier:", names, 0, false, &chosen);
  if (!chosen) return;
  try {
    auto session = std::make_unique<OrderSession>(desk_);
    session->StartNew(suppliers.at(names.indexOf(name)).first);
    editor_->Show(std::move(session));
  } catch (const vb::Error& error) {
    QMessageBox::warning(this, "Purchase orders",
                         ToQt(services::PlainFailure("Starting a new order", error)));
    return;
  }
  ShowEditor(true);
}

bool OrdersPage::ConfirmLeave() {
  return stack_->currentWidget() != editor_ || editor_->ConfirmLeave();
}

void OrdersPage::ShowEditor(bool shown) {
  stack_->setCurrentWidget(shown ? static_cast<QWidget*>(editor_) : stack_->widget(0));
  if (!shown) list_->setFocus();
}

}  // namespace kvt::host
