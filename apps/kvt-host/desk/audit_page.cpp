#include "apps/kvt-host/desk/audit_page.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/grid_model.h"

namespace kvt::host {
namespace {

QLineEdit* FilterEdit(const char* name, const char* placeholder, int width, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setPlaceholderText(placeholder);
  edit->setFixedWidth(width);
  edit->setClearButtonEnabled(true);
  return edit;
}

std::string CountText(const AuditList& list) {
  const size_t shown = list.Table().rows.size();
  if (shown == 0) return "Nothing recorded under these filters.";
  return std::to_string(shown) + (shown == 1 ? " entry" : " entries") + ", newest first" +
         (list.HasMore() ? "; older ones follow." : ".");
}

}  // namespace

AuditPage::AuditPage(const DeskContext& desk, QWidget* parent)
    : QWidget(parent), desk_(desk), list_(*desk.connection) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("Audit trail", this));
  layout->addWidget(
      NoteLabel("Everything saved, posted, closed or refused, with who did it, when and from which "
                "machine. Leave a filter empty to take everything.",
                this));

  auto* filters = new QHBoxLayout();
  user_ = FilterEdit("auditUser", "any user", 140, this);
  from_ = FilterEdit("auditFrom", "yyyy-mm-dd", 110, this);
  to_ = FilterEdit("auditTo", "yyyy-mm-dd", 110, this);
  document_ = FilterEdit("auditDocument", "PO000111 or GRV000208", 200, this);
  filters->addWidget(new QLabel("User:", this));
  filters->addWidget(user_);
  filters->addWidget(new QLabel("From:", this));
  filters->addWidget(from_);
  filters->addWidget(new QLabel("To:", this));
  filters->addWidget(to_);
  filters->addWidget(new QLabel("Document:", this));
  filters->addWidget(document_);
  auto* search = new QPushButton("&Search", this);
  search->setObjectName("auditSearch");
  search->setDefault(true);
  filters->addWidget(search);
  filters->addStretch();
  layout->addLayout(filters);

  grid_ = new GridView(AuditList::kDetailsColumn, this);
  grid_->setObjectName("auditGrid");
  grid_->setWordWrap(false);
  layout->addWidget(grid_, 1);

  auto* footer = new QHBoxLayout();
  count_ = new QLabel(this);
  footer->addWidget(count_, 1);
  older_ = new QPushButton("Show &older entries", this);
  older_->setObjectName("auditOlder");
  older_->setEnabled(false);
  footer->addWidget(older_);
  layout->addLayout(footer);

  for (QLineEdit* edit : {user_, from_, to_, document_}) {
    connect(edit, &QLineEdit::returnPressed, this, [this] { Search(); });
  }
  connect(search, &QPushButton::clicked, this, [this] { Search(); });
  connect(older_, &QPushButton::clicked, this, [this] {
    if (Guarded(this, "Reading the audit trail", [&] { list_.More(); })) ShowRows();
  });
}

void AuditPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!searched_) Search();
}

void AuditPage::Search() {
  searched_ = true;
  const AuditSearch search{user_->text().toStdString(), document_->text().toStdString(),
                           from_->text().toStdString(), to_->text().toStdString()};
  if (Guarded(this, "Reading the audit trail", [&] { list_.Search(search); })) ShowRows();
}

void AuditPage::Filter(const AuditSearch& search) {
  user_->setText(ToQt(search.user));
  document_->setText(ToQt(search.document));
  from_->setText(ToQt(search.from));
  to_->setText(ToQt(search.to));
  Search();
}

void AuditPage::ShowRows() {
  const int row = grid_->CurrentRow();
  grid_->Show(list_.Table());
  if (row >= 0) grid_->SelectRow(row);
  older_->setEnabled(list_.HasMore());
  count_->setText(ToQt(CountText(list_)));
}

void ShowHistory(QWidget* parent, data::Connection& connection, const std::string& document) {
  AuditList list(connection);
  AuditSearch search;
  search.document = document;
  if (!Guarded(parent, "Reading the history of " + document, [&] { list.Search(search); })) {
    return;
  }
  QDialog dialog(parent);
  dialog.setObjectName("historyDialog");
  dialog.setWindowTitle(ToQt("History of " + document));
  auto* layout = new QVBoxLayout(&dialog);
  auto* grid = new GridView(AuditList::kDetailsColumn, &dialog);
  grid->setObjectName("historyGrid");
  grid->setWordWrap(false);
  layout->addWidget(grid, 1);
  auto* count = new QLabel(ToQt(CountText(list)), &dialog);
  layout->addWidget(count);
  auto* older = new QPushButton("Show &older entries", &dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  buttons->addButton(older, QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  auto show = [&] {
    grid->Show(list.Table());
    grid->setColumnHidden(AuditList::kDocumentColumn, true);  // the window's title says it
    older->setEnabled(list.HasMore());
    count->setText(ToQt(CountText(list)));
  };
  QObject::connect(older, &QPushButton::clicked, &dialog, [&] {
    if (Guarded(&dialog, "Reading the history", [&] { list.More(); })) show();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  show();
  dialog.resize(1000, 420);
  dialog.exec();
}

}  // namespace kvt::host
