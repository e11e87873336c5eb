// A voucher page of the desk: supplier picker, the orders or vouchers the
// voucher is made from, its lines in a grid formatted as the order lines,
// the header strip, totals bottom-right, Save and Print. It shows a
// VoucherScreenSession; without one it says the screen is not there yet.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "apps/kvt-host/desk/voucher_screen_session.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;

namespace kvt::host {

class DeskOutput;
class GridView;

class VoucherPage : public QWidget {
 public:
  VoucherPage(std::string title, DeskOutput& output, QWidget* parent = nullptr);

  // Shows `session` (nullptr: the placeholder).
  void SetSession(std::unique_ptr<VoucherScreenSession> session);
  // True when the page may go: nothing unsaved, or the buyer saved or
  // discarded it.
  bool ConfirmLeave();

 private:
  void Refresh();
  void Save();
  void Print(bool preview);

  std::string title_;
  DeskOutput& output_;
  std::unique_ptr<VoucherScreenSession> session_;
  QLabel* placeholder_ = nullptr;
  QWidget* body_ = nullptr;
  QComboBox* suppliers_ = nullptr;
  GridView* sources_ = nullptr;
  GridView* lines_ = nullptr;
  QLabel* header_ = nullptr;
  QFormLayout* totals_ = nullptr;
  std::vector<QPushButton*> buttons_;
};

}  // namespace kvt::host
