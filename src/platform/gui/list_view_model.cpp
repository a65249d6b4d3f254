// The list view's model: what both views ask of the items, row by row and column by column,
// and the changes of rows it announces to them, at once or by a reset.
#include <QTimer>
#include <algorithm>

#include "platform/gui/guard.h"
#include "platform/gui/list_view_internal.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

void ListViewModel::scheduleReset() {
  if (reset_pending_) return;
  reset_pending_ = true;
  QTimer::singleShot(0, this, [this] { resetNow(); });
}

void ListViewModel::resetNow() {
  if (lv_.modelBusy()) {
    reset_pending_ = false;
    scheduleReset();
    return;
  }
  ModelDepth depth(lv_);
  beginResetModel();
  reset_pending_ = false;
  rows_ = lv_.rowCount();
  columns_ = std::max(1, lv_.columns()->count());
  endResetModel();
  lv_.columnsChanged();
}

void ListViewModel::insertRowsNow(int first, int last, const std::function<void()>& change) {
  {
    ModelDepth depth(lv_);
    beginInsertRows({}, first, last);
    change();
    rows_ += last - first + 1;
    endInsertRows();
  }
  if (rows_ != lv_.rowCount()) scheduleReset();
}

void ListViewModel::removeRowsNow(int first, int last, const std::function<void()>& change) {
  {
    ModelDepth depth(lv_);
    beginRemoveRows({}, first, last);
    change();
    rows_ -= last - first + 1;
    endRemoveRows();
  }
  if (rows_ != lv_.rowCount()) scheduleReset();
}

void ListViewModel::setColumnCount(int n) {
  n = std::max(1, n);
  if (n > columns_) {
    beginInsertColumns({}, columns_, n - 1);
    columns_ = n;
    endInsertColumns();
  } else if (n < columns_) {
    beginRemoveColumns({}, n, columns_ - 1);
    columns_ = n;
    endRemoveColumns();
  }
  emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

void ListViewModel::rowsChanged(int first, int last) {
  if (rows_ == 0 || first >= rows_) return;
  emit dataChanged(index(first, 0), index(std::min(last, rows_ - 1), columns_ - 1));
}

void ListViewModel::moveRows(const std::vector<uint32_t>& new_row_of_old) {
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& i : from) {
    const size_t old = static_cast<size_t>(i.row());
    to.append(old < new_row_of_old.size() ? index(static_cast<int>(new_row_of_old[old]), i.column()) : QModelIndex());
  }
  changePersistentIndexList(from, to);
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= lv_.rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole && role != Qt::ToolTipRole &&
      role != Qt::TextAlignmentRole)
    return {};
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    const TListColumn* c = lv_.columns()->items(column);
    const int a = c ? c->alignment() : taLeftJustify;
    return QVariant::fromValue(Qt::AlignVCenter | (a == taRightJustify ? Qt::AlignRight
                                                   : a == taCenter     ? Qt::AlignHCenter
                                                                       : Qt::AlignLeft));
  }
  ModelDepth depth(lv_);
  TListItem* item = lv_.rowItem(index.row());
  if (!item) return {};
  switch (role) {
    case Qt::CheckStateRole:
      if (!lv_.checkboxes() || column != 0) return {};
      return item->checked() ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole: {
      if (!lv_.OnInfoTip) return {};
      std::string tip;
      fire(lv_.OnInfoTip, &lv_, item, tip);
      return tip.empty() ? QVariant() : QVariant(qs(tip));
    }
    default:
      if (column == 0) return qs(item->caption());
      if (column - 1 < item->subItems()->count()) return qs(item->subItems()->get(column - 1));
      return QString();
  }
}

bool ListViewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= lv_.rowCount()) return false;
  if (TListItem* item = lv_.rowItem(index.row())) item->setChecked(value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0 && !lv_.readOnly()) f |= Qt::ItemIsEditable;
  if (index.column() == 0 && lv_.checkboxes()) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  const TListColumn* c = lv_.columns()->items(section);
  if (role == Qt::DisplayRole) return c ? qs(c->caption()) : QString();
  if (role == Qt::TextAlignmentRole && c)
    return QVariant::fromValue(Qt::AlignVCenter | (c->alignment() == taRightJustify ? Qt::AlignRight
                                                   : c->alignment() == taCenter     ? Qt::AlignHCenter
                                                                                    : Qt::AlignLeft));
  return {};
}

}  // namespace kgui
