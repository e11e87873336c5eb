#include "apps/kvt-host/desk/order_editor.h"

#include <QComboBox>
#include <QCompleter>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

#include "apps/kvt-host/desk/audit_page.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "platform/value/error.h"
#include "services/failure_words.h"

namespace kvt::host {
namespace {

constexpr const char* kHeaderCaptions[] = {"Supplier", "Rep", "Date ordered", "Status",
                                           "Deliver to"};
constexpr const char* kTotalCaptions[] = {
    "Trade discount", "Rebate discount", "Other discount", "Net amount", "Tax",
    "Order total",    "Quantity"};
constexpr size_t kOrderTotal = 5;
constexpr int kProductColumn = 1;
constexpr int kPanelRows = 7;

std::string OneLine(const DeliveryAddress& d) {
  std::string line;
  for (const std::string* part : {&d.name, &d.address1, &d.address2, &d.address3, &d.post_code}) {
    if (!part->empty()) line += (line.empty() ? "" : ", ") + *part;
  }
  return line;
}

QLabel* ValueLabel(QWidget* parent, bool right) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (right) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

OrderEditor::OrderEditor(DeskOutput& output, QWidget* parent) : QWidget(parent), output_(output) {
  auto* layout = new QVBoxLayout(this);
  auto* title_row = new QHBoxLayout;
  heading_ = Heading(QString(), this);
  unsaved_ = new QLabel("\u25cf Unsaved changes", this);
  unsaved_->setObjectName("unsavedMark");
  unsaved_->setStyleSheet("color: #b00020; font-weight: bold;");
  locked_ = new QLabel(this);
  locked_->setStyleSheet("color: #7a4b00;");
  title_row->addWidget(heading_);
  title_row->addSpacing(16);
  title_row->addWidget(unsaved_);
  title_row->addStretch();
  title_row->addWidget(locked_);
  layout->addLayout(title_row);

  auto* strip = new QGroupBox(this);
  BuildHeader(strip);
  layout->addWidget(strip);

  lines_ = new GridView(kProductColumn, this);
  lines_->setObjectName("orderLines");
  lines_->on_activate = [this](int row) {
    Guarded(this, "Editing the line", [&] { EditLine(row); });
  };
  lines_->on_delete = [this](int row) {
    Guarded(this, "Removing the line", [&] { RemoveLine(row); });
  };
  connect(lines_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { ShowProduct(current.row()); });
  layout->addWidget(lines_, 1);

  auto* picker_row = new QHBoxLayout;
  picker_row->addWidget(new QLabel("Add product:", this));
  products_ = new QComboBox(this);
  products_->setObjectName("productPicker");
  products_->setEditable(true);
  products_->setInsertPolicy(QComboBox::NoInsert);
  products_->setMinimumContentsLength(40);
  products_->lineEdit()->setPlaceholderText("Type a product code");
  // Type-ahead on the code: the labels begin with it. The completer offers
  // a page of the codes typed so far, never the whole catalogue.
  offered_ = new QStringListModel(products_);
  auto* completer = new QCompleter(offered_, products_);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchStartsWith);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  products_->setCompleter(completer);
  connect(products_->lineEdit(), &QLineEdit::textEdited, this,
          [this, completer](const QString& typed) {
            if (!session_) return;
            // The completer filtered the page before this one; it offers this one.
            offered_->setStringList(ProductPage(typed.toStdString()));
            completer->setCompletionPrefix(typed);
            if (!typed.isEmpty()) completer->complete();
          });
  picker_row->addWidget(products_, 1);
  picker_row->addWidget(new QLabel("Qty:", this));
  quantity_ = new QDoubleSpinBox(this);
  quantity_->setObjectName("quantity");
  quantity_->setRange(0, 999999999);
  quantity_->setGroupSeparatorShown(true);
  picker_row->addWidget(quantity_);
  auto* add =
      CommandButton("&Add line\u2026", "addLine", this, "Adding the line", [this] { AddLine(); });
  auto* edit = CommandButton("&Edit line\u2026", "editLine", this, "Editing the line",
                             [this] { EditLine(lines_->CurrentRow()); });
  auto* remove = CommandButton("&Remove line", "removeLine", this, "Removing the line",
                               [this] { RemoveLine(lines_->CurrentRow()); });
  for (QPushButton* button : {add, edit, remove}) picker_row->addWidget(button);
  change_buttons_ = {add, remove};
  layout->addLayout(picker_row);

  layout->addWidget(BuildBottom());

  auto* commands = new QHBoxLayout;
  auto* save =
      CommandButton("&Save\u2026", "saveOrder", this, "Saving the order", [this] { SaveOrder(); });
  auto* preview = CommandButton("Print pre&view", "previewOrder", this, "The preview",
                                [this] { PrintOrder(true); });
  auto* print =
      CommandButton("&Print\u2026", "printOrder", this, "Printing", [this] { PrintOrder(false); });
  auto* close = CommandButton("&Close order", "closeOrder", this, "Closing the order",
                              [this] { CloseOrder(); });
  auto* finish =
      CommandButton("Close for receivin&g…", "finishOrder", this, "Closing the order for receiving",
                    [this] { EndOrder(OrderEnd::kClose); });
  auto* cancel = CommandButton("Cance&l order…", "cancelOrder", this, "Cancelling the order",
                               [this] { EndOrder(OrderEnd::kCancel); });
  history_ = CommandButton("&History\u2026", "orderHistory", this, "Showing the history",
                           [this] { ShowOrderHistory(); });
  change_buttons_.push_back(save);
  end_buttons_ = {finish, cancel};
  needs_ = {{add, access::Action::kEditOrder},           {remove, access::Action::kEditOrder},
            {save, access::Action::kEditOrder},          {our_ref_, access::Action::kEditOrder},
            {supplier_ref_, access::Action::kEditOrder}, {message_, access::Action::kEditOrder},
            {products_, access::Action::kEditOrder},     {quantity_, access::Action::kEditOrder},
            {preview, access::Action::kPrintOrder},      {print, access::Action::kPrintOrder},
            {finish, access::Action::kCloseOrder},       {cancel, access::Action::kCancelOrder}};
  for (QPushButton* button : {save, preview, print}) commands->addWidget(button);
  commands->addWidget(history_);
  commands->addStretch();
  commands->addWidget(finish);
  commands->addWidget(cancel);
  commands->addWidget(close);
  layout->addLayout(commands);
}

OrderEditor::~OrderEditor() = default;

void OrderEditor::BuildHeader(QWidget* strip) {
  auto* grid = new QGridLayout(strip);
  const int places[][3] = {{0, 0, 1}, {0, 2, 1}, {0, 4, 1}, {0, 6, 1}, {1, 4, 3}};
  for (size_t i = 0; i < std::size(kHeaderCaptions); ++i) {
    grid->addWidget(new QLabel(QString(kHeaderCaptions[i]) + ":", strip), places[i][0],
                    places[i][1]);
    QLabel* value = ValueLabel(strip, false);
    if (i == 0) value->setStyleSheet("font-weight: bold;");
    header_values_.push_back(value);
    grid->addWidget(value, places[i][0], places[i][1] + 1, 1, places[i][2]);
  }
  auto edit = [&](const char* caption, const char* name, int row, int column, int span) {
    grid->addWidget(new QLabel(caption, strip), row, column);
    auto* line = new QLineEdit(strip);
    line->setObjectName(name);
    grid->addWidget(line, row, column + 1, 1, span);
    connect(line, &QLineEdit::textEdited, this, [this] { TakeHeaderEdits(); });
    return line;
  };
  our_ref_ = edit("Our ref:", "ourRef", 1, 0, 1);
  supplier_ref_ = edit("Supplier ref:", "supplierRef", 1, 2, 1);
  message_ = edit("Message:", "message", 2, 0, 7);
  our_ref_->setMaxLength(30);
  supplier_ref_->setMaxLength(30);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(3, 2);
  grid->setColumnStretch(5, 1);
  grid->setColumnStretch(7, 1);
}

QWidget* OrderEditor::BuildBottom() {
  auto* bottom = new QWidget(this);
  auto* row = new QHBoxLayout(bottom);
  row->setContentsMargins(0, 0, 0, 0);
  auto* product = new QGroupBox("Selected product", bottom);
  auto* panel = new QGridLayout(product);
  for (int i = 0; i < 2 * kPanelRows; ++i) {
    auto* caption = new QLabel(product);
    QLabel* value = ValueLabel(product, i != 0);
    product_values_.push_back(caption);
    product_values_.push_back(value);
    if (i == 0) {  // the description spans the panel
      caption->hide();
      panel->addWidget(value, 0, 0, 1, 4);
      continue;
    }
    const int column = i <= kPanelRows - 1 ? 0 : 2;
    const int line = i <= kPanelRows - 1 ? i : i - kPanelRows + 1;
    panel->addWidget(caption, line, column);
    panel->addWidget(value, line, column + 1);
  }
  panel->setColumnMinimumWidth(1, 70);
  panel->setColumnMinimumWidth(3, 70);
  panel->setHorizontalSpacing(18);
  panel->setColumnStretch(4, 1);  // the figures stay beside their captions
  row->addWidget(product, 1);

  QGroupBox* totals = TotalsBox({std::begin(kTotalCaptions), std::end(kTotalCaptions)}, kOrderTotal,
                                "total", totals_, bottom);
  totals->setObjectName("totals");
  row->addWidget(totals, 0, Qt::AlignRight | Qt::AlignBottom);
  return bottom;
}

std::string OrderEditor::OrderName() const {
  return session_ ? "Order " + session_->Header().order_number : std::string("Order");
}

void OrderEditor::Show(std::unique_ptr<OrderSession> session) {
  session_ = std::move(session);
  user_ = DeskUser(session_->Desk());
  // The drop-down holds the first page of the catalogue; typing finds the rest.
  products_->clear();
  products_->addItems(ProductPage(""));
  offered_->setStringList({});
  products_->setCurrentIndex(-1);
  const int decimals = session_->DisplayDecimals().quantity;
  quantity_->setDecimals(decimals);
  quantity_->setValue(1);
  const OrderHeader& header = session_->Header();
  our_ref_->setText(ToQt(header.our_ref));
  supplier_ref_->setText(ToQt(header.supplier_ref));
  message_->setText(ToQt(header.message));
  Refresh(session_->LineCount() > 0 ? 0 : -1);
  lines_->setFocus();
}

void OrderEditor::Refresh(int select_row) {
  const OrderHeader& header = session_->Header();
  heading_->setText(ToQt(session_->IsNew() ? "New purchase order " + header.order_number
                                           : "Purchase order " + header.order_number));
  const std::string values[] = {
      header.supplier_name, header.supplier_rep,
      FormatCell(header.date_ordered, CellKind::kDate, session_->DisplayDecimals()),
      session_->StatusText(), OneLine(header.delivery)};
  for (size_t i = 0; i < header_values_.size(); ++i) header_values_[i]->setText(ToQt(values[i]));
  lines_->Show(session_->LinesGrid());
  const std::vector<std::string> totals = session_->Totals();
  for (size_t i = 0; i < totals_.size() && i < totals.size(); ++i) {
    totals_[i]->setText(ToQt(totals[i]));
  }
  unsaved_->setVisible(session_->Dirty());
  const std::string reason = session_->LockedReason();
  locked_->setText(ToQt(reason));
  for (QPushButton* button : change_buttons_) button->setEnabled(reason.empty());
  for (QPushButton* button : end_buttons_) {
    button->setEnabled(reason.empty() && !session_->IsNew());
  }
  for (QWidget* edit : {static_cast<QWidget*>(our_ref_), static_cast<QWidget*>(supplier_ref_),
                        static_cast<QWidget*>(message_), static_cast<QWidget*>(products_),
                        static_cast<QWidget*>(quantity_)}) {
    edit->setEnabled(reason.empty());
  }
  history_->setEnabled(!session_->IsNew());
  ShowWhatTheUserMay();
  const int row = std::min(select_row, session_->LineCount() - 1);
  lines_->SelectRow(row);
  ShowProduct(row);
}

void OrderEditor::ShowWhatTheUserMay() {
  for (const auto& [widget, action] : needs_) {
    const std::string why = user_ ? user_->WhyNot(action) : std::string();
    if (!why.empty()) widget->setEnabled(false);
    widget->setToolTip(ToQt(why));
  }
}

void OrderEditor::ShowOrderHistory() {
  if (!session_ || session_->IsNew()) return;
  ShowHistory(this, *session_->Desk().connection, "order " + session_->Header().order_number);
}

void OrderEditor::ShowProduct(int row) {
  std::vector<std::pair<std::string, std::string>> details;
  if (session_ && row >= 0 && row < session_->LineCount()) {
    try {
      details = session_->ProductDetails(row);
    } catch (const vb::Error&) {
      details.clear();  // a line whose product is gone shows an empty panel
    }
  }
  for (size_t i = 0; i < product_values_.size() / 2; ++i) {
    const bool known = i < details.size();
    product_values_[2 * i]->setText(known ? ToQt(details[i].first + ":") : QString());
    product_values_[2 * i + 1]->setText(known ? ToQt(details[i].second) : QString());
  }
  if (details.empty()) product_values_[1]->setText("Select a line to see its product here.");
}

void OrderEditor::TakeHeaderEdits() {
  if (!session_) return;
  session_->SetReferences(our_ref_->text().toStdString(), supplier_ref_->text().toStdString(),
                          message_->text().toStdString());
  unsaved_->setVisible(session_->Dirty());
}

bool OrderEditor::Refused() {
  const std::string reason = session_ ? session_->LockedReason() : "No order is open.";
  if (reason.empty()) return false;
  QMessageBox::information(this, ToQt(OrderName()), ToQt(reason));
  return true;
}

QStringList OrderEditor::ProductPage(const std::string& typed) const {
  const std::vector<ProductChoice>& choices = session_->Products();
  QStringList labels;
  for (int index : ChoicesBeginning(choices, typed, kProductPage)) {
    labels << ToQt(choices[static_cast<size_t>(index)].Label());
  }
  return labels;
}

void OrderEditor::AddLine() {
  if (Refused()) return;
  const std::string typed = products_->currentText().toStdString();
  const std::vector<ProductChoice>& choices = session_->Products();
  const ProductLookup found = FindProduct(choices, typed);
  if (found.index < 0) {
    std::string why =
        "Choose the product to add: type the start of its code or pick it from "
        "the list.";
    if (found.candidates > 1) {
      why = std::to_string(found.candidates) + " product codes begin with \u201c" + typed +
            "\u201d: pick one from the list.";
    } else if (!typed.empty()) {
      why = "No product matches \u201c" + typed +
            "\u201d. Type the start of a product code, or pick one from the list.";
    }
    QMessageBox::information(this, ToQt(OrderName()), ToQt(why));
    products_->setFocus();
    return;
  }
  if (quantity_->value() <= 0) {
    QMessageBox::information(this, ToQt(OrderName()), "Type the quantity to order (above 0).");
    quantity_->setFocus();
    return;
  }
  if (!session_->AddLine(choices[found.index].id, quantity_->value())) return;
  products_->setCurrentIndex(-1);
  Refresh(session_->LineCount() - 1);
  if (on_note) on_note(choices[found.index].code + " added to " + OrderName() + ".");
}

void OrderEditor::EditLine(int row) {
  if (!session_ || row < 0 || Refused()) return;
  if (session_->EditLine(row) && on_note) on_note("Line " + std::to_string(row + 1) + " changed.");
  Refresh(row);
}

void OrderEditor::RemoveLine(int row) {
  if (!session_ || row < 0 || Refused()) return;
  const std::string refusal = session_->RemovalRefusal(row);
  if (!refusal.empty()) {
    QMessageBox::information(this, ToQt(OrderName()), ToQt(refusal));
    return;
  }
  const std::vector<std::string>& cells = lines_->Model().Table().rows[row];
  std::string question = "Remove line " + std::to_string(row + 1) + ", " + cells[0] + " \u2014 " +
                         cells[1] + " (" + cells[2] + ")?";
  if (session_->LineCount() == 1) {
    question += "\n\nIt is the order's only line: add another before saving the order.";
  }
  if (QMessageBox::question(this, ToQt(OrderName()), ToQt(question),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  session_->RemoveLine(row);
  Refresh(row);
}

bool OrderEditor::Save(bool& printed) {
  printed = false;
  if (Refused()) return false;
  TakeHeaderEdits();
  const std::string name = OrderName();
  OrderSession::SaveResult result;
  try {
    result = session_->Save();
  } catch (const vb::Error& error) {
    if (error.number() == kOrderChangedElsewhere) {
      RefuseChanged(error.description());
      return false;
    }
    QMessageBox::critical(
        this, ToQt(name),
        ToQt(services::PlainFailure("Saving " + name, error) + "\n\nYour changes are still here."));
    Refresh(lines_->CurrentRow());
    return false;
  }
  Refresh(lines_->CurrentRow());
  if (!result.saved) return false;
  if (on_saved) on_saved();
  const std::string saved = OrderName();
  if (result.print_now) {
    output_.SetDocumentName(session_->Header().order_number);
    session_->Print(result.preview, true);
    printed = true;
    if (on_note) on_note(saved + " saved and processed.");
  } else if (on_note) {
    on_note(saved + " saved as a pending order.");
  }
  return true;
}

void OrderEditor::RefuseChanged(const std::string& why) {
  QMessageBox box(QMessageBox::Warning, ToQt(OrderName()), ToQt(why + "."), QMessageBox::NoButton,
                  this);
  box.setInformativeText(
      "Nothing was saved. Reload shows the order as now saved and drops your changes; go back "
      "to keep them on screen while you note them.");
  QPushButton* reload = box.addButton("Reload", QMessageBox::AcceptRole);
  box.addButton("Go back", QMessageBox::RejectRole);
  box.exec();
  if (box.clickedButton() != reload) {
    Refresh(lines_->CurrentRow());
    return;
  }
  session_->Open(session_->Header().order_id);
  Show(std::move(session_));
  if (on_note) on_note(OrderName() + " reloaded.");
}

void OrderEditor::EndOrder(OrderEnd end) {
  if (!session_ || session_->IsNew() || Refused()) return;
  const std::string name = OrderName();
  const bool closing = end == OrderEnd::kClose;
  std::string question =
      closing ? "Close " + name +
                    " for receiving? What is still to come is no longer expected, and the "
                    "order is no longer offered on goods received vouchers."
              : "Cancel " + name +
                    "? Nothing was received against it; it stays on record as "
                    "cancelled.";
  if (session_->Dirty()) question += "\n\nYour changes that are not saved are dropped.";
  if (QMessageBox::question(this, ToQt(name), ToQt(question), QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  try {
    session_->End(end);
  } catch (const vb::Error& error) {
    if (error.number() == kOrderChangedElsewhere) {
      RefuseChanged(error.description());
    } else {
      QMessageBox::warning(
          this, ToQt(name),
          ToQt(error.number() == vb::err::kInvalidCall
                   ? error.description()
                   : services::PlainFailure(closing ? "Closing " + name : "Cancelling " + name,
                                            error)));
    }
    return;
  }
  Show(std::move(session_));
  if (on_saved) on_saved();
  if (on_note) on_note(name + (closing ? " closed for receiving." : " cancelled."));
}

bool OrderEditor::SaveOrder() {
  bool printed = false;
  return Save(printed);
}

void OrderEditor::PrintOrder(bool preview) {
  if (!session_) return;
  const std::string name = OrderName();
  if (session_->IsNew() || session_->Dirty()) {
    QMessageBox box(QMessageBox::Question, ToQt(name), QString(), QMessageBox::NoButton, this);
    QPushButton* save = box.addButton("Save first\u2026", QMessageBox::AcceptRole);
    QPushButton* as_saved = nullptr;
    if (session_->IsNew()) {
      box.setText(ToQt(name + " has not been saved yet."));
      box.setInformativeText("Only a saved order can be printed. Save it now?");
    } else {
      box.setText(ToQt(name + " has changes that are not saved."));
      box.setInformativeText("The printed order shows it as last saved. Save the changes first?");
      as_saved = box.addButton("Use last saved", QMessageBox::DestructiveRole);
    }
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == save) {
      bool printed = false;
      if (!Save(printed) || printed) return;
    } else if (as_saved == nullptr || box.clickedButton() != as_saved) {
      return;
    }
  }
  output_.SetDocumentName(session_->Header().order_number);
  session_->Print(preview);
}

bool OrderEditor::ConfirmLeave() {
  if (!session_ || !session_->Dirty()) return true;
  TakeHeaderEdits();
  const std::string name = OrderName();
  switch (AskToLeave(this, name, name + " has changes that are not saved.",
                     "Save them, discard them, or go back to the order?")) {
    case LeaveAnswer::kSave: return SaveOrder();
    case LeaveAnswer::kDiscard: return true;
    default: return false;
  }
}

void OrderEditor::CloseOrder() {
  if (!ConfirmLeave()) return;
  session_.reset();
  if (on_close) on_close();
}

}  // namespace kvt::host
