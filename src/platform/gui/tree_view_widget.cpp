// The tree view's widget: expanding, collapsing and editing by the user go through the layer,
// so the veto and change events run as they do for the same changes made in code.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/gui/guard.h"
#include "platform/gui/tree_view_internal.h"

namespace kgui {

void TreeWidget::finishEdit(bool cancel) {
  for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>()) {
    if (!editor->isVisible()) continue;
    if (!cancel) commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return;
  }
}

void TreeWidget::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  TTreeNode* node = owner_->model()->nodeOf(index);
  const int x = event->position().toPoint().x();
  const QRect r = visualRect(index);
  if (node && node->hasChildren() && event->button() == Qt::LeftButton && x < r.left() &&
      x >= r.left() - indentation()) {
    toggle(node);
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

void TreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  TTreeNodes::Watch watch(*owner_->items());
  TTreeNode* node = owner_->model()->nodeOf(indexAt(event->position().toPoint()));
  QTreeView::mouseDoubleClickEvent(event);
  if (node = watch.live(node); node && node->hasChildren() && !editing()) toggle(node);
}

void TreeWidget::keyPressEvent(QKeyEvent* event) {
  TTreeNode* node = owner_->model()->nodeOf(currentIndex());
  if (node && !editing()) {
    const int key = event->key();
    const bool open = key == Qt::Key_Plus || (key == Qt::Key_Right && !node->expanded());
    const bool close = key == Qt::Key_Minus || (key == Qt::Key_Left && node->expanded());
    if (key == Qt::Key_Asterisk) {
      node->expand(true);
      return;
    }
    if (open && node->hasChildren() && !node->expanded()) {
      node->expand(false);
      return;
    }
    if (close && node->expanded()) {
      node->collapse(false);
      return;
    }
    if (key == Qt::Key_Plus || key == Qt::Key_Minus) return;
  }
  QTreeView::keyPressEvent(event);
}

// OnEditing is asked only when an editor would open: a press on the selected node comes
// back here with AllEditTriggers after the double-click interval.
bool TreeWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool opens = trigger == AllEditTriggers || (trigger != SelectedClicked && (editTriggers() & trigger));
  TTreeNode* node = owner_->model()->nodeOf(index);
  if (!opens || !node || editing()) return QTreeView::edit(index, trigger, event);
  if (owner_->readOnly()) return false;
  const QPersistentModelIndex keep(index);
  bool allow = true;
  fire(owner_->OnEditing, owner_, node, allow);
  if (!allow || !keep.isValid()) return false;
  return QTreeView::edit(keep, trigger, event);
}

void TreeWidget::toggle(TTreeNode* node) {
  if (node->expanded()) node->collapse(false);
  else node->expand(false);
}

}  // namespace kgui
