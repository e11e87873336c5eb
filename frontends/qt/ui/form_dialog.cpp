#include "frontends/qt/ui/form_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtGlobal>

#include "frontends/qt/ui/qt_dates.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/ui/date_picker.h"
#include "platform/value/error.h"
#include "services/failure_words.h"

namespace kvt::qt {

namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

std::string WidgetName(const ui::Control& control) {
  return control.IsArrayElement() ? control.Name() + "(" + std::to_string(control.Index()) + ")"
                                  : control.Name();
}

// Shown and enabled as the user sees it: through every containing frame.
bool ShownEnabled(const ui::Control& control) {
  for (const ui::Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

bool ShownVisible(const ui::Control& control) {
  for (const ui::Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Visible()) return false;
  }
  return true;
}

Qt::Alignment AlignmentOf(int alignment) {
  switch (alignment) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

FormDialog::FormDialog(ui::Form& form) : QDialog(nullptr), form_(form) {
  setObjectName(ToQt(form.TypeName()));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(TwipsToPixels(form.Width()), TwipsToPixels(form.Height()));
  for (const auto& control : form.Controls()) Create(*control);
  SyncAll();
  setWindowTitle(ToQt(form.Caption()));
}

FormDialog::~FormDialog() = default;

QWidget* FormDialog::WidgetOf(const ui::Control& control) const {
  auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second;
}

ui::Control* FormDialog::ControlOf(QObject* widget) const {
  auto found = controls_.find(widget);
  return found == controls_.end() ? nullptr : found->second;
}

template <class Action>
void FormDialog::Act(Action&& action) {
  try {
    action();
  } catch (const vb::Error& error) {
    // An untrapped handler error would end the program on the platform;
    // the dialog says so on screen and stays usable.
    QMessageBox::warning(this, windowTitle(),
                         QString::fromStdString(services::PlainFailure(
                             "That step in " + windowTitle().toStdString(), error)));
  } catch (const std::exception& error) {
    QMessageBox::warning(this, windowTitle(),
                         QString::fromStdString("That step in " + windowTitle().toStdString() +
                                                " did not work: " + error.what()));
  }
  SyncAll();
}

void FormDialog::Create(ui::Control& control) {
  ui::Control* model = &control;
  QWidget* widget = nullptr;
  switch (control.Kind()) {
    case ui::ControlKind::kLabel: {
      auto* label = new QLabel(this);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      widget = label;
      break;
    }
    case ui::ControlKind::kFrame: widget = new QGroupBox(this); break;
    case ui::ControlKind::kTextBox: {
      auto* edit = new QLineEdit(this);
      auto& text_box = static_cast<ui::TextBox&>(control);
      // Pastes and cuts arrive as whole-text edits.
      connect(edit, &QLineEdit::textEdited, this, [this, &text_box](const QString& text) {
        Act([&] {
          text_box.Select(0, static_cast<int>(text_box.Text().size()));
          text_box.ReplaceSelection(text.toStdString());
        });
      });
      auto track_selection = [this, edit, &text_box] {
        if (syncing_) return;
        if (edit->hasSelectedText()) {
          text_box.Select(edit->selectionStart(), static_cast<int>(edit->selectedText().size()));
        } else {
          text_box.Select(edit->cursorPosition(), 0);
        }
      };
      connect(edit, &QLineEdit::cursorPositionChanged, this, track_selection);
      connect(edit, &QLineEdit::selectionChanged, this, track_selection);
      widget = edit;
      break;
    }
    case ui::ControlKind::kCheckBox: {
      auto* check = new QCheckBox(this);
      check->setTristate(true);
      connect(check, &QCheckBox::clicked, this,
              [this, model] { Act([&] { form_.UserClick(*model); }); });
      widget = check;
      break;
    }
    case ui::ControlKind::kOptionButton: {
      auto* option = new QRadioButton(this);
      // The model keeps the group exclusive.
      option->setAutoExclusive(false);
      connect(option, &QRadioButton::clicked, this,
              [this, model] { Act([&] { form_.UserClick(*model); }); });
      widget = option;
      break;
    }
    case ui::ControlKind::kCommandButton: {
      auto* button = new QPushButton(this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this,
              [this, model] { Act([&] { form_.UserClick(*model); }); });
      widget = button;
      break;
    }
    case ui::ControlKind::kDataCombo: {
      auto* combo = new QComboBox(this);
      auto& data_combo = static_cast<ui::DataCombo&>(control);
      connect(combo, &QComboBox::activated, this,
              [this, &data_combo](int row) { Act([&] { form_.UserSelectRow(data_combo, row); }); });
      widget = combo;
      break;
    }
    case ui::ControlKind::kDatePicker: {
      auto* edit = new QDateEdit(this);
      edit->setCalendarPopup(true);
      auto& picker = static_cast<ui::DatePicker&>(control);
      connect(edit, &QDateEdit::dateChanged, this, [this, &picker](QDate date) {
        if (syncing_) return;
        Act([&] { form_.UserPickDate(picker, FromQDate(date)); });
      });
      widget = edit;
      break;
    }
    case ui::ControlKind::kDataGrid: {
      auto* table = new QTableWidget(this);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      table->setSelectionMode(QAbstractItemView::NoSelection);
      widget = table;
      break;
    }
  }
  widget->setObjectName(ToQt(WidgetName(control)));
  widget->setFocusPolicy(control.TakesFocus() ? Qt::StrongFocus : Qt::NoFocus);
  widget->installEventFilter(this);
  widgets_[&control] = widget;
  controls_[widget] = &control;
}

void FormDialog::Sync(ui::Control& control) {
  QWidget* widget = WidgetOf(control);
  if (widget == nullptr) return;
  const bool was_syncing = syncing_;
  syncing_ = true;
  const QSignalBlocker blocker(widget);
  widget->setGeometry(TwipsToPixels(control.FormLeft()), TwipsToPixels(control.FormTop()),
                      TwipsToPixels(control.Width()), TwipsToPixels(control.Height()));
  widget->setEnabled(ShownEnabled(control));
  widget->setVisible(ShownVisible(control));
  QFont font(ToQt(control.GetFont().name));
  font.setPointSizeF(control.GetFont().size);
  font.setBold(control.GetFont().bold);
  widget->setFont(font);
  switch (control.Kind()) {
    case ui::ControlKind::kLabel: {
      auto& label = static_cast<ui::Label&>(control);
      auto* view = static_cast<QLabel*>(widget);
      view->setText(ToQt(label.Caption()));
      view->setAlignment(AlignmentOf(label.Alignment()));
      break;
    }
    case ui::ControlKind::kFrame:
      static_cast<QGroupBox*>(widget)->setTitle(ToQt(static_cast<ui::Frame&>(control).Caption()));
      break;
    case ui::ControlKind::kTextBox: {
      auto& text_box = static_cast<ui::TextBox&>(control);
      auto* edit = static_cast<QLineEdit*>(widget);
      if (edit->text().toStdString() != text_box.Text()) edit->setText(ToQt(text_box.Text()));
      edit->setReadOnly(text_box.Locked());
      edit->setMaxLength(text_box.MaxLength() > 0 ? text_box.MaxLength() : 32767);
      edit->setAlignment(AlignmentOf(text_box.Alignment()));
      if (text_box.SelLength() > 0) {
        edit->setSelection(text_box.SelStart(), text_box.SelLength());
      } else {
        edit->setCursorPosition(text_box.SelStart());
      }
      break;
    }
    case ui::ControlKind::kCheckBox: {
      auto& check = static_cast<ui::CheckBox&>(control);
      auto* view = static_cast<QCheckBox*>(widget);
      view->setText(ToQt(check.Caption()));
      view->setCheckState(check.Value() == ui::vbChecked  ? Qt::Checked
                          : check.Value() == ui::vbGrayed ? Qt::PartiallyChecked
                                                          : Qt::Unchecked);
      break;
    }
    case ui::ControlKind::kOptionButton: {
      auto& option = static_cast<ui::OptionButton&>(control);
      auto* view = static_cast<QRadioButton*>(widget);
      view->setText(ToQt(option.Caption()));
      view->setChecked(option.Value());
      break;
    }
    case ui::ControlKind::kCommandButton:
      static_cast<QPushButton*>(widget)->setText(
          ToQt(static_cast<ui::CommandButton&>(control).Caption()));
      break;
    case ui::ControlKind::kDataCombo: {
      auto& combo = static_cast<ui::DataCombo&>(control);
      auto* view = static_cast<QComboBox*>(widget);
      QStringList items;
      for (const auto& row : combo.Rows()) items << ToQt(row.list_text);
      QStringList shown;
      for (int i = 0; i < view->count(); ++i) shown << view->itemText(i);
      if (shown != items) {
        view->clear();
        view->addItems(items);
      }
      view->setEditable(combo.Style() == 0);
      view->setCurrentIndex(combo.SelectedRow());
      if (combo.Style() == 0 && combo.SelectedRow() < 0) {
        view->setEditText(ToQt(combo.Text()));
      }
      break;
    }
    case ui::ControlKind::kDatePicker: {
      auto& picker = static_cast<ui::DatePicker&>(control);
      auto* edit = static_cast<QDateEdit*>(widget);
      if (picker.Value()) {
        edit->setSpecialValueText(QString());
        edit->setDate(ToQDate(*picker.Value()));
      } else {
        edit->setSpecialValueText(QStringLiteral(" "));
        edit->setDate(edit->minimumDate());
      }
      break;
    }
    case ui::ControlKind::kDataGrid: {
      auto& grid = static_cast<ui::DataGrid&>(control);
      auto* table = static_cast<QTableWidget*>(widget);
      QStringList headers;
      for (const auto& column : grid.Columns()) headers << ToQt(column);
      table->setColumnCount(static_cast<int>(headers.size()));
      table->setHorizontalHeaderLabels(headers);
      table->setRowCount(static_cast<int>(grid.Rows().size()));
      for (size_t row = 0; row < grid.Rows().size(); ++row) {
        const auto& values = grid.Rows()[row];
        for (size_t column = 0; column < values.size(); ++column) {
          table->setItem(static_cast<int>(row), static_cast<int>(column),
                         new QTableWidgetItem(ToQt(values[column])));
        }
      }
      break;
    }
  }
  syncing_ = was_syncing;
}

void FormDialog::SyncAll() {
  for (const auto& control : form_.Controls()) Sync(*control);
  setWindowTitle(ToQt(form_.Caption()));
  FocusChanged(form_.ActiveControl());
}

void FormDialog::ControlChanged(ui::Control& control) { Sync(control); }

void FormDialog::FocusChanged(ui::Control* control) {
  if (control == nullptr) return;
  QWidget* widget = WidgetOf(*control);
  if (widget == nullptr || widget->hasFocus()) return;
  const bool was_syncing = syncing_;
  syncing_ = true;
  widget->setFocus(Qt::OtherFocusReason);
  syncing_ = was_syncing;
}

void FormDialog::FormChanged() {
  setWindowTitle(ToQt(form_.Caption()));
  if ((!form_.Loaded() || !form_.Visible()) && isVisible()) done(0);
}

bool FormDialog::RouteKey(ui::Control& control, QKeyEvent* event) {
  const int key = event->key();
  const bool shifted = (event->modifiers() & Qt::ShiftModifier) != 0;
  const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
  auto route = [&](auto&& user_action) {
    Act([&] {
      if (form_.ActiveControl() != &control) form_.UserFocus(control);
      if (form_.ActiveControl() == &control) user_action();
    });
    return true;
  };
  switch (key) {
    case Qt::Key_Tab:
      return route([&] { form_.UserKey(ui::vbKeyTab, shifted ? ui::vbShiftMask : 0); });
    case Qt::Key_Backtab: return route([&] { form_.UserKey(ui::vbKeyTab, ui::vbShiftMask); });
    case Qt::Key_Return:
    case Qt::Key_Enter: return route([&] { form_.UserKey(ui::vbKeyReturn); });
    case Qt::Key_Escape: return route([&] { form_.UserKey(ui::vbKeyEscape); });
    default: break;
  }
  const QString text = event->text();
  const bool printable = !command && !text.isEmpty() && text.at(0).isPrint();
  switch (control.Kind()) {
    case ui::ControlKind::kTextBox:
      if (key == Qt::Key_Backspace) return route([&] { form_.UserKey(ui::vbKeyBack); });
      if (key == Qt::Key_Delete) return route([&] { form_.UserKey(ui::vbKeyDelete); });
      if (printable) return route([&] { form_.UserType(text.toStdString()); });
      return false;
    case ui::ControlKind::kCommandButton:
    case ui::ControlKind::kCheckBox:
    case ui::ControlKind::kOptionButton:
      if (printable) return route([&] { form_.UserType(text.toStdString()); });
      return false;
    default: return false;
  }
}

bool FormDialog::eventFilter(QObject* watched, QEvent* event) {
  ui::Control* control = ControlOf(watched);
  if (control != nullptr && event->type() == QEvent::FocusIn && !syncing_ &&
      form_.ActiveControl() != control) {
    Act([&] { form_.UserFocus(*control); });
  }
  if (control != nullptr && event->type() == QEvent::KeyPress &&
      RouteKey(*control, static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Act([&] { form_.UserKey(ui::vbKeyReturn); });
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormDialog::reject() {
  // Escape reaches the form's Cancel button, if it has one, and nothing
  // else: the platform's dialogs do not close on Escape by themselves.
  Act([&] { form_.UserKey(ui::vbKeyEscape); });
}

void FormDialog::closeEvent(QCloseEvent* event) {
  if (form_.Loaded() && form_.Visible()) Act([&] { form_.UserClose(); });
  if (form_.Loaded() && form_.Visible()) {
    event->ignore();
  } else {
    event->accept();
  }
}

}  // namespace kvt::qt
