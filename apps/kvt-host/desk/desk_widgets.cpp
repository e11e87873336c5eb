#include "apps/kvt-host/desk/desk_widgets.h"
#include "services/failure_words.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kvt::host {

void ReportFailure(QWidget* parent, const std::string& doing, const std::string& why) {
  QMessageBox::warning(parent, "Brellix Suppliers", ToQt(doing + " did not work: " + why));
}

void ReportFailure(QWidget* parent, const std::string& doing, const vb::Error& error) {
  QMessageBox::warning(parent, "Brellix Suppliers", ToQt(services::PlainFailure(doing, error)));
}

QPushButton* CommandButton(const char* text, const char* name, QWidget* parent,
                           const std::string& doing, std::function<void()> action) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  QObject::connect(button, &QPushButton::clicked, parent,
                   [parent, doing, action = std::move(action)] { Guarded(parent, doing, action); });
  return button;
}

QLabel* Heading(const QString& text, QWidget* parent) {
  auto* heading = new QLabel(text, parent);
  QFont big = heading->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  heading->setFont(big);
  return heading;
}

LeaveAnswer AskToLeave(QWidget* parent, const std::string& title, const std::string& text,
                       const std::string& question) {
  QMessageBox box(QMessageBox::Warning, ToQt(title), ToQt(text), QMessageBox::NoButton, parent);
  box.setInformativeText(ToQt(question));
  QPushButton* save = box.addButton("Save\u2026", QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QMessageBox::Discard);
  QPushButton* back = box.addButton("Go back", QMessageBox::RejectRole);
  box.setDefaultButton(back);
  box.exec();
  if (box.clickedButton() == save) return LeaveAnswer::kSave;
  return box.clickedButton() == discard ? LeaveAnswer::kDiscard : LeaveAnswer::kGoBack;
}

QGroupBox* TotalsBox(const std::vector<std::string>& captions, size_t bold, const QString& name,
                     std::vector<QLabel*>& values, QWidget* parent) {
  auto* totals = new QGroupBox("Totals", parent);
  auto* form = new QFormLayout(totals);
  for (size_t i = 0; i < captions.size(); ++i) {
    auto* caption = new QLabel(ToQt(captions[i]), totals);
    auto* value = new QLabel(totals);
    value->setObjectName(name + ToQt(std::to_string(i + 1)));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(120);
    if (i == bold) {
      caption->setStyleSheet("font-weight: bold;");
      value->setStyleSheet("font-weight: bold;");
    }
    form->addRow(caption, value);
    values.push_back(value);
  }
  return totals;
}

QLabel* NoteLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setStyleSheet("color: #555;");
  return label;
}

}  // namespace kvt::host
