// Private to the tree view's files: the item model on our own nodes, the selection model that
// asks OnChanging first, the widget that routes the user's expanding and editing through the
// layer, and the count of changes of the model under way.
#pragma once

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTreeView>
#include <string>
#include <vector>

#include "platform/gui/tree_view.h"

namespace kgui {

// The item model: one column, the index of a node carries the node.
class TreeModel : public QAbstractItemModel {
public:
  TreeModel(TTreeView& view, QObject* parent) : QAbstractItemModel(parent), view_(view) {}

  TTreeNode* nodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr;
  }
  TTreeNode* parentNodeOf(const QModelIndex& index) const {
    return index.isValid() ? nodeOf(index) : &view_.items()->root_;
  }
  QModelIndex indexOf(const TTreeNode* node) const {
    if (!node || node->deleting_ || node == &view_.items()->root_) return {};
    return createIndex(node->index(), 0, const_cast<TTreeNode*>(node));
  }

  QModelIndex index(int row, int column, const QModelIndex& parent) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex&) const override { return 1; }
  bool hasChildren(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  void textChanged(const TTreeNode* node);
  void reordered(std::vector<TTreeNode*>& children, const std::vector<TTreeNode*>& order);

  using QAbstractItemModel::beginInsertRows;
  using QAbstractItemModel::beginMoveRows;
  using QAbstractItemModel::beginRemoveRows;
  using QAbstractItemModel::beginResetModel;
  using QAbstractItemModel::endInsertRows;
  using QAbstractItemModel::endMoveRows;
  using QAbstractItemModel::endRemoveRows;
  using QAbstractItemModel::endResetModel;

private:
  TTreeView& view_;
};

// A change of the model: OnChange that Qt's own moves of the current node cause waits for
// its end.
class StructureChange {
public:
  explicit StructureChange(TTreeView& view) : depth_(view.structure_depth_) { ++depth_; }
  ~StructureChange() { --depth_; }
  StructureChange(const StructureChange&) = delete;
  StructureChange& operator=(const StructureChange&) = delete;

private:
  int& depth_;
};

// The selection model: OnChanging before the current node moves.

class TreeSelection : public QItemSelectionModel {
public:
  TreeSelection(TTreeView& view, QAbstractItemModel* model, QObject* parent)
      : QItemSelectionModel(model, parent), view_(view) {}

  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override;
  void select(const QModelIndex& index, SelectionFlags command) override;
  void select(const QItemSelection& selection, SelectionFlags command) override;

private:
  TTreeView& view_;
  QPersistentModelIndex refused_;
};

// The widget: expanding, collapsing and editing by the user go through the layer.

class TreeWidget : public QTreeView {
public:
  explicit TreeWidget(TTreeView* owner) : owner_(owner) {}
  using QTreeView::edit;
  bool editing() const { return state() == EditingState; }
  void finishEdit(bool cancel);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
  static void toggle(TTreeNode* node);
  TTreeView* owner_;
};

}  // namespace kgui
