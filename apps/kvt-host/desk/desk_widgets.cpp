#include "apps/kvt-host/desk/desk_widgets.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kvt::host {

void ReportFailure(QWidget* parent, const std::string& doing, const std::string& why) {
  QMessageBox::warning(parent, "Brellix Suppliers", ToQt(doing + " did not work: " + why));
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

QLabel* NoteLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setStyleSheet("color: #555;");
  return label;
}

}  // namespace kvt::host
