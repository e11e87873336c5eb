#include "apps/kvt-host/desk/grid_model.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace kvt::host {
namespace {

constexpr int kBatch = 500;

}  // namespace

void GridModel::SetTable(GridTable table) {
  beginResetModel();
  table_ = std::move(table);
  shown_ = std::min<int>(kBatch, static_cast<int>(table_.rows.size()));
  endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const GridColumn& column = table_.columns[index.column()];
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(table_.rows[index.row()][index.column()]);
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter |
                               (column.RightAligned() ? Qt::AlignRight : Qt::AlignLeft));
  }
  // A long text (an audit entry's details) is cut off in its column: the
  // tooltip shows it whole, wrapped as rich text wraps.
  if (role == Qt::ToolTipRole) {
    const QString text = QString::fromStdString(table_.rows[index.row()][index.column()]);
    if (text.size() > kWholeInTooltipFrom) return "<p>" + text.toHtmlEscaped() + "</p>";
  }
  return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const GridColumn& column = table_.columns[section];
  if (role == Qt::DisplayRole) return QString::fromStdString(column.caption);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter |
                               (column.RightAligned() ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

bool GridModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && shown_ < static_cast<int>(table_.rows.size());
}

void GridModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid()) return;
  const int more = std::min<int>(kBatch, static_cast<int>(table_.rows.size()) - shown_);
  if (more <= 0) return;
  beginInsertRows(QModelIndex(), shown_, shown_ + more - 1);
  shown_ += more;
  endInsertRows();
}

GridView::GridView(int stretch_column, QWidget* parent)
    : QTableView(parent), model_(new GridModel(this)), stretch_column_(stretch_column) {
  setModel(model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAlternatingRowColors(true);
  setWordWrap(false);
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  horizontalHeader()->setHighlightSections(false);
  connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && on_activate) on_activate(index.row());
  });
}

int GridView::CurrentRow() const {
  const QModelIndexList rows =
      selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void GridView::SelectRow(int row) {
  if (model() == nullptr || row < 0 || row >= model()->rowCount()) {
    clearSelection();
    return;
  }
  selectRow(row);
  setCurrentIndex(model()->index(row, 0));
}

void GridView::Show(GridTable table) {
  model_->SetTable(std::move(table));
  QHeaderView* header = horizontalHeader();
  const int columns = model_->columnCount();
  for (int i = 0; i < columns; ++i) {
    header->setSectionResizeMode(
        i, i == stretch_column_ ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  }
}

void GridView::keyPressEvent(QKeyEvent* event) {
  const int row = CurrentRow();
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && row >= 0 &&
      on_activate) {
    on_activate(row);
    return;
  }
  if (event->key() == Qt::Key_Delete && row >= 0 && on_delete) {
    on_delete(row);
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace kvt::host
