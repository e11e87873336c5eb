#include "apps/kvt-host/desk/voucher_page.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "frontends/qt/ui/qt_dates.h"
#include "platform/value/conversions.h"

namespace kvt::host {
namespace {

constexpr int kProductColumn = 1;
// The sources' references (our ref, delivery note) take the room left.
constexpr int kReferenceColumn = 2;

QGroupBox* GridBox(GridView*& grid, const char* name, int stretch_column, QWidget* parent) {
  auto* box = new QGroupBox(parent);
  auto* layout = new QVBoxLayout(box);
  grid = new GridView(stretch_column, box);
  grid->setObjectName(name);
  layout->addWidget(grid);
  return box;
}

void SetIfChanged(QLineEdit* edit, const std::string& text) {
  if (edit->text().toStdString() != text) edit->setText(ToQt(text));
}

}  // namespace

VoucherPage::VoucherPage(std::unique_ptr<VoucherScreenSession> session, DeskOutput& output,
                         QWidget* parent)
    : QWidget(parent), session_(std::move(session)), output_(output) {
  auto* layout = new QVBoxLayout(this);
  auto* title_row = new QHBoxLayout;
  title_row->addWidget(Heading(ToQt(session_->Title()), this));
  unsaved_ = new QLabel("\u25cf Lines not saved", this);
  unsaved_->setStyleSheet("color: #b00020; font-weight: bold;");
  locked_ = new QLabel(ToQt(session_->LockedReason()), this);
  locked_->setStyleSheet("color: #7a4b00;");
  title_row->addSpacing(16);
  title_row->addWidget(unsaved_);
  title_row->addStretch();
  title_row->addWidget(locked_);
  layout->addLayout(title_row);

  auto* supplier_row = new QHBoxLayout;
  supplier_row->addWidget(new QLabel("Supplier:", this));
  suppliers_ = new QComboBox(this);
  suppliers_->setObjectName("voucherSupplier");
  suppliers_->setMinimumContentsLength(30);
  suppliers_->setPlaceholderText("Choose the supplier");
  for (const auto& [id, name] : session_->Suppliers()) suppliers_->addItem(ToQt(name), id);
  suppliers_->setCurrentIndex(-1);
  supplier_row->addWidget(suppliers_);
  supplier_row->addSpacing(16);
  hint_ = NoteLabel(QString(), this);
  supplier_row->addWidget(hint_, 1);
  posted_ = new QLabel(this);
  posted_->setObjectName("postedVoucher");
  posted_->setStyleSheet("color: #1b5e20; font-weight: bold;");
  supplier_row->addWidget(posted_);
  layout->addLayout(supplier_row);

  auto* split = new QSplitter(Qt::Vertical, this);
  auto* top = new QSplitter(Qt::Horizontal, split);
  sources_box_ = GridBox(sources_, "voucherSources", kReferenceColumn, top);
  source_lines_box_ = GridBox(source_lines_, "sourceLines", kProductColumn, top);
  top->setSizes({460, 560});

  auto* middle = new QWidget(split);
  auto* middle_layout = new QVBoxLayout(middle);
  middle_layout->setContentsMargins(0, 0, 0, 0);
  auto* strip = new QGroupBox(middle);
  auto* grid = new QGridLayout(strip);
  auto edit = [&](const char* caption, const char* name, int column) {
    grid->addWidget(new QLabel(caption, strip), 0, column);
    auto* line = new QLineEdit(strip);
    line->setObjectName(name);
    line->setMaxLength(30);
    grid->addWidget(line, 0, column + 1);
    connect(line, &QLineEdit::textEdited, this, [this] { TakeHeaderEdits(); });
    return line;
  };
  del_note_ = edit("Delivery note:", "delNote", 0);
  source_caption_ = new QLabel(strip);
  source_ = new QLabel(strip);
  source_->setStyleSheet("font-weight: bold;");
  source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(source_caption_, 0, 2);
  grid->addWidget(source_, 0, 3);
  supplier_ref_ = edit("Supplier ref:", "voucherSupplierRef", 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 2);
  grid->setColumnStretch(5, 1);
  middle_layout->addWidget(strip);
  lines_ = new GridView(kProductColumn, middle);
  lines_->setObjectName("voucherLines");
  middle_layout->addWidget(lines_, 1);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  layout->addWidget(split, 1);
  layout->addWidget(BuildBottom());

  connect(suppliers_, &QComboBox::activated, this,
          [this](int index) { ChooseSupplier(suppliers_->itemData(index).toInt()); });
  sources_->on_activate = [this](int row) {
    Guarded(this, "Opening it", [&] { OpenSource(row); });
  };
  source_lines_->on_activate = [this](int row) {
    Guarded(this, "Receiving the line", [&] { ReceiveLine(row); });
  };
  lines_->on_activate = [this](int row) {
    Guarded(this, "Editing the line", [&] { EditLine(row); });
  };
  lines_->on_delete = [this](int row) {
    Guarded(this, "Removing the line", [&] { RemoveLine(row); });
  };
  Refresh(-1);
}

VoucherPage::~VoucherPage() = default;

QWidget* VoucherPage::BuildBottom() {
  auto* bottom = new QWidget(this);
  auto* row = new QHBoxLayout(bottom);
  row->setContentsMargins(0, 0, 0, 0);
  auto* commands = new QVBoxLayout;
  auto* receive = CommandButton(session_->IsReturn() ? "Re&turn line\u2026" : "Re&ceive line\u2026",
                                "receiveLine", this, "Receiving the line",
                                [this] { ReceiveLine(source_lines_->CurrentRow()); });
  auto* edit = CommandButton("&Edit line\u2026", "editVoucherLine", this, "Editing the line",
                             [this] { EditLine(lines_->CurrentRow()); });
  auto* remove = CommandButton("Re&move line", "removeVoucherLine", this, "Removing the line",
                               [this] { RemoveLine(lines_->CurrentRow()); });
  auto* save = CommandButton("&Save and post\u2026", "saveVoucher", this, "Saving the voucher",
                             [this] { SaveVoucher(); });
  auto* print = CommandButton("&Print\u2026", "printVoucher", this, "Printing",
                              [this] { PrintVoucher(false); });
  auto* reprint = CommandButton("Reprin&t copy\u2026", "reprintVoucher", this, "Printing",
                                [this] { PrintVoucher(true); });
  auto* history = CommandButton("&History\u2026", "voucherHistory", this, "Showing the history",
                                [this] { ShowVoucherHistory(); });
  change_buttons_ = {receive, edit, remove, save};
  for (QPushButton* button : {receive, edit, remove, save, print, reprint, history}) {
    commands->addWidget(button);
  }
  commands->addStretch();
  row->addLayout(commands);

  if (session_->IsConsignment()) {
    stock_box_ = GridBox(stock_, "consignmentStock", 1, bottom);
    QGroupBox* stock = stock_box_;
    auto* sale = CommandButton("Record &sale\u2026", "recordSale", this, "Recording the sale",
                               [this] { RecordSale(stock_->CurrentRow()); });
    change_buttons_.push_back(sale);
    static_cast<QVBoxLayout*>(stock->layout())->addWidget(sale, 0, Qt::AlignLeft);
    stock_->on_activate = [this](int line) {
      Guarded(this, "Recording the sale", [&] { RecordSale(line); });
    };
    row->addWidget(stock, 1);
  } else {
    row->addStretch(1);
  }

  std::vector<std::string> captions;
  for (const auto& [caption, value] : session_->Totals()) captions.push_back(caption);
  QGroupBox* totals = TotalsBox(captions, captions.size() - 1, "voucherTotal", totals_, bottom);
  row->addWidget(totals, 0, Qt::AlignRight | Qt::AlignBottom);
  return bottom;
}

std::string VoucherPage::Hint() const {
  const bool orders = !session_->IsReturn();
  if (supplier_id_ == 0) return "Choose the supplier the goods came from or go back to.";
  if (session_->Header().source.empty()) {
    return orders ? "Double-click an order (or press Enter) to receive against it."
                  : "Double-click a voucher (or press Enter) to return goods from it.";
  }
  return orders ? "Double-click a line of the order (or press Enter) to receive it."
                : "Double-click a line of the voucher (or press Enter) to return it.";
}

void VoucherPage::Refresh(int select_line) {
  const VoucherHeader header = session_->Header();
  sources_box_->setTitle(ToQt(session_->SourcesCaption()));
  sources_->Show(session_->Sources());
  source_lines_box_->setTitle(header.source.empty() ? QString("Lines")
                                                    : ToQt("Lines of " + header.source));
  source_lines_->Show(session_->SourceLines());
  source_lines_->SelectRow(header.source.empty() ? -1 : 0);
  lines_->Show(session_->Lines());
  lines_->SelectRow(std::min(select_line, session_->LineCount() - 1));
  SetIfChanged(del_note_, header.del_note_number);
  SetIfChanged(supplier_ref_, header.supplier_ref);
  source_caption_->setText(ToQt(header.source_caption + ":"));
  source_->setText(header.source.empty() ? QString("\u2014") : ToQt(header.source));
  const Captioned totals = session_->Totals();
  for (size_t i = 0; i < totals_.size() && i < totals.size(); ++i) {
    totals_[i]->setText(ToQt(totals[i].second));
  }
  sources_->SelectRow(header.source.empty() ? -1 : source_row_);
  if (stock_ != nullptr) {
    stock_box_->setTitle("Consignment stock of " +
                         (supplier_id_ == 0 ? QString("the supplier") : suppliers_->currentText()));
    stock_->Show(session_->ConsignmentStock());
  }
  hint_->setText(ToQt(Hint()));
  unsaved_->setVisible(session_->LineCount() > 0);
  const bool locked = !session_->LockedReason().empty();
  const bool may = post_refusal_.empty();
  for (QPushButton* button : change_buttons_) {
    button->setEnabled(may && !locked && supplier_id_ != 0);
  }
  for (QLineEdit* edit : {del_note_, supplier_ref_}) edit->setEnabled(may && !locked);
}

void VoucherPage::LimitTo(const access::UserAccess& user) {
  post_refusal_ = user.WhyNot(access::Action::kPostVoucher);
  for (QPushButton* button : change_buttons_) button->setToolTip(ToQt(post_refusal_));
  for (QLineEdit* edit : {del_note_, supplier_ref_}) edit->setToolTip(ToQt(post_refusal_));
  Refresh(lines_->CurrentRow());
}

void VoucherPage::TakeHeaderEdits() {
  session_->SetReferences(del_note_->text().toStdString(), supplier_ref_->text().toStdString());
}

bool VoucherPage::Refused() {
  const std::string reason = session_->LockedReason();
  if (reason.empty()) return false;
  QMessageBox::information(this, ToQt(session_->Title()), ToQt(reason));
  return true;
}

bool VoucherPage::ConfirmLeave() {
  if (session_->LineCount() == 0) return true;
  TakeHeaderEdits();
  const int count = session_->LineCount();
  switch (AskToLeave(this, session_->Title(),
                     "This voucher has " + std::to_string(count) +
                         (count == 1 ? " line" : " lines") + " that are not saved.",
                     "Save and post the voucher, discard its lines, or go back to it?")) {
    case LeaveAnswer::kSave: return SaveVoucher();
    case LeaveAnswer::kDiscard: return true;
    default: return false;
  }
}

void VoucherPage::ChooseSupplier(int32_t supplier_id) {
  const int index = suppliers_->findData(supplier_id);
  if (supplier_id == supplier_id_ || !ConfirmLeave()) {
    suppliers_->setCurrentIndex(suppliers_->findData(supplier_id_));
    return;
  }
  Guarded(this, "Choosing the supplier", [&] {
    session_->ChooseSupplier(supplier_id);
    supplier_id_ = supplier_id;
    suppliers_->setCurrentIndex(index);
    posted_->clear();
    last_posted_ = {};
  });
  Refresh(-1);
}

void VoucherPage::OpenSource(int row) {
  if (row < 0 || !ConfirmLeave()) return;
  session_->OpenSource(row);
  source_row_ = row;
  Refresh(-1);
  source_lines_->setFocus();
}

void VoucherPage::ReceiveLine(int source_row) {
  if (source_row < 0 || Refused()) return;
  TakeHeaderEdits();
  if (!session_->ReceiveLine(source_row)) return;
  Refresh(session_->LineCount() - 1);
  if (on_note) on_note("Line added to the voucher.");
}

void VoucherPage::EditLine(int row) {
  if (row < 0 || Refused()) return;
  TakeHeaderEdits();
  if (session_->EditLine(row) && on_note) on_note("Line " + std::to_string(row + 1) + " changed.");
  Refresh(row);
}

void VoucherPage::RemoveLine(int row) {
  if (row < 0 || Refused()) return;
  TakeHeaderEdits();
  if (session_->RemoveLine(row)) Refresh(row);
}

bool VoucherPage::SaveVoucher() {
  if (Refused()) return false;
  TakeHeaderEdits();
  const std::optional<PostedNumber> posted = session_->Save();
  Refresh(lines_->CurrentRow());
  if (!posted) return false;
  last_posted_ = *posted;
  posted_->setText(ToQt("Posted " + posted->voucher_number));
  if (on_note) on_note(session_->Title() + " voucher " + posted->voucher_number + " posted.");
  QMessageBox box(QMessageBox::Information, ToQt(session_->Title()),
                  ToQt("The voucher is posted as " + posted->voucher_number + "."),
                  QMessageBox::NoButton, this);
  box.setInformativeText("Print it now?");
  QPushButton* print = box.addButton("Print\u2026", QMessageBox::AcceptRole);
  box.addButton("Not now", QMessageBox::RejectRole);
  box.exec();
  if (box.clickedButton() == print) PrintVoucher(false);
  return true;
}

std::optional<PostedNumber> VoucherPage::PickPosted(bool always_pick, const QString& title,
                                                    const QString& prompt) {
  if (!always_pick && last_posted_.voucher_id != 0) return last_posted_;
  const Choices vouchers = session_->PostedVouchers();
  if (vouchers.empty()) {
    QMessageBox::information(this, ToQt(session_->Title()),
                             supplier_id_ == 0
                                 ? QString("Choose the supplier first.")
                                 : QString("This supplier has no posted voucher of this kind."));
    return std::nullopt;
  }
  QStringList names;
  int current = 0;
  for (const auto& [id, name] : vouchers) {
    if (id == last_posted_.voucher_id) current = static_cast<int>(names.size());
    names << ToQt(name);
  }
  bool picked = false;
  const QString name = QInputDialog::getItem(this, title, prompt, names, current, false, &picked);
  if (!picked) return std::nullopt;
  const auto& voucher = vouchers.at(names.indexOf(name));
  return PostedNumber{voucher.first, voucher.second.substr(0, voucher.second.find(' '))};
}

void VoucherPage::PrintVoucher(bool reprint) {
  const std::optional<PostedNumber> chosen = PickPosted(
      reprint, ToQt(reprint ? "Reprint a voucher" : "Print a voucher"),
      reprint ? "Voucher to print again, marked \u201cCopy\u201d:" : "Voucher to print:");
  if (!chosen) return;
  output_.SetDocumentName(chosen->voucher_number + (reprint ? "-copy" : ""));
  session_->Print(chosen->voucher_id, reprint);
}

void VoucherPage::ShowVoucherHistory() {
  const std::optional<PostedNumber> chosen =
      PickPosted(false, "A voucher's history", "Voucher whose history to show:");
  if (chosen && on_history) on_history("voucher " + chosen->voucher_number);
}

void VoucherPage::RecordSale(int row) {
  if (stock_ == nullptr || row < 0 || Refused()) return;
  const std::vector<std::string>& cells = stock_->Model().Table().rows.at(row);
  const std::string left = cells.at(5);
  QDialog ask(this);
  ask.setObjectName("consignmentSale");
  ask.setWindowTitle("Record a consignment sale");
  auto* form = new QFormLayout(&ask);
  form->addRow(
      new QLabel(ToQt(cells.at(1) + " off " + cells.at(0) + " (" +
                      (left.empty() ? std::string("never counted") : left + " left") + ")"),
                 &ask));
  auto* quantity = new QDoubleSpinBox(&ask);
  quantity->setObjectName("saleQty");
  quantity->setRange(0, 1e9);
  quantity->setDecimals(4);
  quantity->setValue(1);
  auto* date = new QDateEdit(QDate::currentDate(), &ask);
  date->setObjectName("saleDate");
  date->setCalendarPopup(true);
  date->setDisplayFormat("dd MMM yyyy");
  form->addRow("Quantity sold:", quantity);
  form->addRow("Sold on:", date);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
  buttons->button(QDialogButtonBox::Ok)->setText("Record sale");
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
  if (ask.exec() != QDialog::Accepted || quantity->value() <= 0) return;
  const double qty = quantity->value();
  const QDate sold_on = date->date();
  if (session_->RecordSale(row, qty, qt::FromQDate(sold_on)) && on_note) {
    on_note("Sale of " + vb::CStr(vb::Variant(qty)) + " " + cells.at(1) + " on " +
            sold_on.toString("dd MMM yyyy").toStdString() + " recorded.");
  }
  Refresh(lines_->CurrentRow());
  stock_->SelectRow(row);
}

}  // namespace kvt::host
