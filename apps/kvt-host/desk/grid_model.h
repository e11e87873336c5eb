// The Qt model and view set-up of the desk's grids: a GridTable shown as
// it is, numbers right-aligned, rows handed to the view in batches so a
// long list shows at once.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <functional>

#include "apps/kvt-host/sessions/grid_table.h"

namespace kvt::host {

class GridModel : public QAbstractTableModel {
 public:
  // A cell's text from this length on is shown whole in its tooltip too.
  static constexpr int kWholeInTooltipFrom = 48;

  explicit GridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void SetTable(GridTable table);
  const GridTable& Table() const { return table_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  GridTable table_;
  int shown_ = 0;
};

// A grid the buyer works in: one whole row selected at a time; Enter or a
// double click activates the row, Delete asks to remove it.
class GridView : public QTableView {
 public:
  // Shows a GridModel of its own; `stretch_column` takes the room the
  // other columns, sized to their content, leave.
  GridView(int stretch_column, QWidget* parent = nullptr);

  GridModel& Model() { return *model_; }
  // Shows `table`, its columns sized to it.
  void Show(GridTable table);

  std::function<void(int row)> on_activate;
  std::function<void(int row)> on_delete;

  // The selected row, or -1.
  int CurrentRow() const;
  void SelectRow(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  GridModel* model_;
  int stretch_column_;
};

}  // namespace kvt::host
