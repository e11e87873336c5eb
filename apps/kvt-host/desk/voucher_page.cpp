#include "apps/kvt-host/desk/voucher_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/grid_model.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

constexpr int kDescriptionColumn = 1;

}  // namespace

VoucherPage::VoucherPage(std::string title, DeskOutput& output, QWidget* parent)
    : QWidget(parent), title_(std::move(title)), output_(output) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading(ToQt(title_), this));
  placeholder_ = new QLabel(
      "This screen is not ready yet.\n\nFor now vouchers are received, returned and posted "
      "by the main job (kvt-host without options). The purchase orders they come from can "
      "be opened under Purchase orders.",
      this);
  placeholder_->setWordWrap(true);
  placeholder_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  placeholder_->setStyleSheet("color: #555; padding: 12px;");
  layout->addWidget(placeholder_, 1);

  body_ = new QWidget(this);
  auto* body = new QVBoxLayout(body_);
  body->setContentsMargins(0, 0, 0, 0);
  auto* supplier_row = new QHBoxLayout;
  supplier_row->addWidget(new QLabel("Supplier:", body_));
  suppliers_ = new QComboBox(body_);
  supplier_row->addWidget(suppliers_, 1);
  body->addLayout(supplier_row);
  header_ = new QLabel(body_);
  header_->setWordWrap(true);
  body->addWidget(header_);
  auto* split = new QSplitter(body_);
  sources_ = new GridView(kDescriptionColumn, split);
  lines_ = new GridView(kDescriptionColumn, split);
  split->setStretchFactor(1, 3);
  body->addWidget(split, 1);
  auto* bottom = new QHBoxLayout;
  auto* save =
      CommandButton("&Save\u2026", "saveVoucher", this, "Saving the voucher", [this] { Save(); });
  auto* preview = CommandButton("Print pre&view", "previewVoucher", this, "The preview",
                                [this] { Print(true); });
  auto* print =
      CommandButton("&Print\u2026", "printVoucher", this, "Printing", [this] { Print(false); });
  buttons_ = {save, preview, print};
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : buttons_) buttons->addWidget(button);
  buttons->addStretch();
  bottom->addLayout(buttons);
  bottom->addStretch();
  auto* totals = new QGroupBox("Totals", body_);
  totals_ = new QFormLayout(totals);
  bottom->addWidget(totals);
  body->addLayout(bottom);
  layout->addWidget(body_, 1);

  connect(suppliers_, &QComboBox::activated, this, [this](int index) {
    if (!session_ || index < 0 || !ConfirmLeave()) return;
    Guarded(this, "Choosing the supplier", [&] {
      session_->ChooseSupplier(suppliers_->itemData(index).toInt());
      Refresh();
    });
  });
  sources_->on_activate = [this](int row) {
    if (!session_ || !ConfirmLeave()) return;
    Guarded(this, "Opening it", [&] {
      session_->OpenSource(row);
      Refresh();
    });
  };
  lines_->on_activate = [this](int row) {
    if (!session_) return;
    Guarded(this, "Editing the line", [&] {
      if (session_->EditLine(row)) Refresh();
    });
  };
  SetSession(nullptr);
}

void VoucherPage::SetSession(std::unique_ptr<VoucherScreenSession> session) {
  session_ = std::move(session);
  placeholder_->setVisible(!session_);
  body_->setVisible(session_ != nullptr);
  if (!session_) return;
  suppliers_->clear();
  for (const auto& [id, name] : session_->Suppliers()) suppliers_->addItem(ToQt(name), id);
  suppliers_->setCurrentIndex(-1);
  Refresh();
}

void VoucherPage::Refresh() {
  sources_->Show(session_->Sources());
  lines_->Show(session_->Lines());
  std::string strip;
  for (const auto& [caption, value] : session_->Header()) {
    strip += "<b>" + caption + ":</b> " + value + "&nbsp;&nbsp;&nbsp; ";
  }
  header_->setText(ToQt(strip));
  while (totals_->rowCount() > 0) totals_->removeRow(0);
  for (const auto& [caption, value] : session_->Totals()) {
    auto* shown = new QLabel(ToQt(value));
    shown->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    shown->setMinimumWidth(120);
    totals_->addRow(ToQt(caption + ":"), shown);
  }
}

bool VoucherPage::ConfirmLeave() {
  if (!session_ || !session_->Dirty()) return true;
  const auto answer = QMessageBox::warning(
      this, ToQt(title_), ToQt("The voucher has changes that are not saved."),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
  if (answer == QMessageBox::Save) {
    Save();
    return !session_->Dirty();
  }
  return answer == QMessageBox::Discard;
}

void VoucherPage::Save() {
  try {
    session_->Save();
  } catch (const vb::Error& error) {
    QMessageBox::critical(this, ToQt(title_),
                          ToQt("The voucher was not saved: " + error.description() +
                               "\n\nYour changes are still here."));
  }
  Refresh();
}

void VoucherPage::Print(bool preview) {
  output_.SetDocumentName(session_->DocumentName());
  session_->Print(preview);
}

}  // namespace kvt::host
