// Internal: the QDialog that renders one ui::Form while the Qt driver runs
// it modally.
#pragma once

#include <QDialog>
#include <map>

#include "platform/ui/form.h"

class QWidget;

namespace kvt::qt {

class FormDialog : public QDialog, public ui::FormObserver {
 public:
  explicit FormDialog(ui::Form& form);
  ~FormDialog() override;

  // The widget showing `control`, or nullptr.
  QWidget* WidgetOf(const ui::Control& control) const;

  // ui::FormObserver
  void ControlChanged(ui::Control& control) override;
  void FocusChanged(ui::Control* control) override;
  void FormChanged() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Create(ui::Control& control);
  void Sync(ui::Control& control);
  void SyncAll();
  ui::Control* ControlOf(QObject* widget) const;
  // Routes a key the model handles; false when Qt should handle it.
  bool RouteKey(ui::Control& control, QKeyEvent* event);
  // Runs a user action on the model, then brings every widget in step.
  template <class Action>
  void Act(Action&& action);

  ui::Form& form_;
  std::map<const ui::Control*, QWidget*> widgets_;
  std::map<QObject*, ui::Control*> controls_;
  bool syncing_ = false;
};

}  // namespace kvt::qt
