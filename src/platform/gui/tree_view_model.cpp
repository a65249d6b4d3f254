// The tree view's item model over our own nodes, and its selection model, which asks
// OnChanging before the current node moves.
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/tree_view_internal.h"

namespace kgui {

// ---- the item model ----

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
  const TTreeNode* p = parentNodeOf(parent);
  if (column != 0 || row < 0 || row >= p->count()) return {};
  return createIndex(row, 0, p->children_[static_cast<size_t>(row)]);
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
  const TTreeNode* node = nodeOf(child);
  return node ? indexOf(node->parent_) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
  return parent.column() > 0 ? 0 : parentNodeOf(parent)->count();
}

bool TreeModel::hasChildren(const QModelIndex& parent) const {
  const TTreeNode* p = parentNodeOf(parent);
  return parent.isValid() ? p->hasChildren() : p->count() > 0;
}

QVariant TreeModel::data(const QModelIndex& index, int role) const {
  const TTreeNode* node = nodeOf(index);
  if (node && (role == Qt::DisplayRole || role == Qt::EditRole)) return qs(node->text_);
  return {};
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!view_.readOnly()) f |= Qt::ItemIsEditable;
  return f;
}

// The editor's text: OnEdited may change it before it is taken.
bool TreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TTreeNode* node = nodeOf(index);
  if (!node || role != Qt::EditRole) return false;
  std::string text = ss(value.toString());
  TTreeNodes::Watch watch(*view_.items());
  fire(view_.OnEdited, &view_, node, text);
  if (TTreeNode* still = watch.live(node)) still->setText(text);
  return true;
}

void TreeModel::textChanged(const TTreeNode* node) {
  const QModelIndex i = indexOf(node);
  if (i.isValid()) emit dataChanged(i, i);
}

// Children of parent reordered: persistent indexes follow their nodes.
void TreeModel::reordered(std::vector<TTreeNode*>& children, const std::vector<TTreeNode*>& order) {
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  children = order;
  if (!children.empty()) children.front()->parent_->rows_stale_ = true;
  QModelIndexList after;
  for (const QModelIndex& i : before) after.push_back(indexOf(nodeOf(i)));
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

// ---- the selection model: OnChanging before the current node moves ----

void TreeSelection::setCurrentIndex(const QModelIndex& index, SelectionFlags command) {
  if (index.isValid() && index != currentIndex()) {
    const QPersistentModelIndex keep(index);
    if (!view_.allowSelect(view_.model()->nodeOf(index)) || !keep.isValid()) {
      refused_ = keep;
      return;
    }
    refused_ = QPersistentModelIndex();
    QItemSelectionModel::setCurrentIndex(keep, command);
    return;
  }
  refused_ = QPersistentModelIndex();
  QItemSelectionModel::setCurrentIndex(index, command);
}

void TreeSelection::select(const QModelIndex& index, SelectionFlags command) {
  select(QItemSelection(index, index), command);
}

// A refused node is not selected either (a press sets the current node, then selects).
void TreeSelection::select(const QItemSelection& selection, SelectionFlags command) {
  if (refused_.isValid() && selection.contains(refused_)) return;
  QItemSelectionModel::select(selection, command);
}

}  // namespace kgui
