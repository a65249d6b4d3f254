// TTreeView over a QTreeView and one item model on our own nodes. Invariants: a node in the
// tree has a parent (the hidden root for the top level); a node that left the tree is marked
// deleting and is only read until its deletion hook has run; a node's item id, once given,
// finds it until it is freed. Code that runs handlers over nodes it took before holds them
// under a TTreeNodes::Watch, since a handler may delete them.
#include "platform/gui/tree_view.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

#include "base/text_file.h"
#include "platform/classes/handles.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/tab_controls.h"

namespace kgui {

const EnumInfo& nodeAttachModeType() {
  static const EnumInfo info{"TNodeAttachMode", {"naAdd", "naAddFirst", "naAddChild", "naAddChildFirst", "naInsert"}};
  return info;
}

// ---- the item model ----

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

  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    const TTreeNode* p = parentNodeOf(parent);
    if (column != 0 || row < 0 || row >= p->count()) return {};
    return createIndex(row, 0, p->children_[static_cast<size_t>(row)]);
  }
  QModelIndex parent(const QModelIndex& child) const override {
    const TTreeNode* node = nodeOf(child);
    return node ? indexOf(node->parent_) : QModelIndex();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.column() > 0 ? 0 : parentNodeOf(parent)->count();
  }
  int columnCount(const QModelIndex&) const override { return 1; }
  bool hasChildren(const QModelIndex& parent) const override {
    const TTreeNode* p = parentNodeOf(parent);
    return parent.isValid() ? p->hasChildren() : p->count() > 0;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const TTreeNode* node = nodeOf(index);
    if (node && (role == Qt::DisplayRole || role == Qt::EditRole)) return qs(node->text_);
    return {};
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!view_.readOnly()) f |= Qt::ItemIsEditable;
    return f;
  }
  // The editor's text: OnEdited may change it before it is taken.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    TTreeNode* node = nodeOf(index);
    if (!node || role != Qt::EditRole) return false;
    std::string text = ss(value.toString());
    TTreeNodes::Watch watch(*view_.items());
    fire(view_.OnEdited, &view_, node, text);
    if (TTreeNode* still = watch.live(node)) still->setText(text);
    return true;
  }

  void textChanged(const TTreeNode* node) {
    const QModelIndex i = indexOf(node);
    if (i.isValid()) emit dataChanged(i, i);
  }
  // Children of parent reordered: persistent indexes follow their nodes.
  void reordered(std::vector<TTreeNode*>& children, const std::vector<TTreeNode*>& order) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    children = order;
    if (!children.empty()) children.front()->parent_->rows_stale_ = true;
    QModelIndexList after;
    for (const QModelIndex& i : before) after.push_back(indexOf(nodeOf(i)));
    changePersistentIndexList(before, after);
    emit layoutChanged();
  }

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

// ---- the selection model: OnChanging before the current node moves ----

class TreeSelection : public QItemSelectionModel {
public:
  TreeSelection(TTreeView& view, QAbstractItemModel* model, QObject* parent)
      : QItemSelectionModel(model, parent), view_(view) {}

  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
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
  void select(const QModelIndex& index, SelectionFlags command) override {
    select(QItemSelection(index, index), command);
  }
  // A refused node is not selected either (a press sets the current node, then selects).
  void select(const QItemSelection& selection, SelectionFlags command) override {
    if (refused_.isValid() && selection.contains(refused_)) return;
    QItemSelectionModel::select(selection, command);
  }

private:
  TTreeView& view_;
  QPersistentModelIndex refused_;
};

// ---- the widget: expanding, collapsing and editing by the user go through the layer ----

class TreeWidget : public QTreeView {
public:
  explicit TreeWidget(TTreeView* owner) : owner_(owner) {}
  using QTreeView::edit;
  bool editing() const { return state() == EditingState; }
  void finishEdit(bool cancel) {
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>()) {
      if (!editor->isVisible()) continue;
      if (!cancel) commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
      return;
    }
  }

protected:
  void mousePressEvent(QMouseEvent* event) override {
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
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    TTreeNodes::Watch watch(*owner_->items());
    TTreeNode* node = owner_->model()->nodeOf(indexAt(event->position().toPoint()));
    QTreeView::mouseDoubleClickEvent(event);
    if (node = watch.live(node); node && node->hasChildren() && !editing()) toggle(node);
  }
  void keyPressEvent(QKeyEvent* event) override {
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
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
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

private:
  static void toggle(TTreeNode* node) {
    if (node->expanded()) node->collapse(false);
    else node->expand(false);
  }
  TTreeView* owner_;
};

// ---- TTreeNode ----

const ClassInfo& TTreeNode::staticClassInfo() {
  static const ClassInfo info("TTreeNode", &TPersistent::staticClassInfo());
  return info;
}

void TTreeNode::assign(const TPersistent& source) {
  const auto* from = dynamic_cast<const TTreeNode*>(&source);
  if (!from) return TPersistent::assign(source);
  image_index_ = from->image_index_;
  selected_index_ = from->selected_index_;
  overlay_index_ = from->overlay_index_;
  state_index_ = from->state_index_;
  has_children_ = from->has_children_;
  data_ = from->data_;
  setText(from->text_);
}

TTreeView* TTreeNode::treeView() const { return &owner_.view_; }

uint32_t TTreeNode::itemId() const {
  if (id_ == 0) {
    id_ = windowHandles().handleOf(this);
    owner_.with_ids_.insert(this);
  }
  return id_;
}

void TTreeNode::setText(const std::string& text) {
  text_ = text;
  if (!deleting_) owner_.view_.model()->textChanged(this);
}

TTreeNode* TTreeNode::parent() const { return parent_ == &owner_.root_ ? nullptr : parent_; }

TTreeNode* TTreeNode::item(int index) const {
  return index >= 0 && index < count() ? children_[static_cast<size_t>(index)] : nullptr;
}

int TTreeNode::index() const {
  if (!parent_) return 0;
  owner_.numberRows(parent_);
  return row_;
}

int TTreeNode::absoluteIndex() const {
  if (deleting_) return -1;
  owner_.refreshOrder();
  return abs_;
}

TTreeNode* TTreeNode::getNextSibling() const { return parent_ ? parent_->item(index() + 1) : nullptr; }
TTreeNode* TTreeNode::getPrevSibling() const { return parent_ ? parent_->item(index() - 1) : nullptr; }

// The node after this one's branch: its next sibling, else the nearest ancestor's.
static TTreeNode* nextAfterBranch(const TTreeNode* node) {
  for (const TTreeNode* at = node; at; at = at->parent())
    if (TTreeNode* next = at->getNextSibling()) return next;
  return nullptr;
}

TTreeNode* TTreeNode::getNext() const {
  if (!children_.empty()) return children_.front();
  return nextAfterBranch(this);
}

TTreeNode* TTreeNode::getPrev() const {
  TTreeNode* prev = getPrevSibling();
  if (!prev) return parent();
  while (!prev->children_.empty()) prev = prev->children_.back();
  return prev;
}

TTreeNode* TTreeNode::getNextVisible() const {
  if (expanded_ && !children_.empty()) return children_.front();
  return nextAfterBranch(this);
}

TTreeNode* TTreeNode::getPrevVisible() const {
  TTreeNode* prev = getPrevSibling();
  if (!prev) return parent();
  while (prev->expanded_ && !prev->children_.empty()) prev = prev->children_.back();
  return prev;
}

TTreeNode* TTreeNode::getNextChild(const TTreeNode* child) const {
  const int i = indexOf(child);
  return i < 0 ? nullptr : item(i + 1);
}

TTreeNode* TTreeNode::getPrevChild(const TTreeNode* child) const {
  const int i = indexOf(child);
  return i < 0 ? nullptr : item(i - 1);
}

bool TTreeNode::hasAsParent(const TTreeNode* node) const {
  if (!node) return false;
  for (const TTreeNode* at = parent_; at; at = at->parent_)
    if (at == node) return true;
  return false;
}

int TTreeNode::indexOf(const TTreeNode* child) const {
  return child && child->parent_ == this ? child->index() : -1;
}

bool TTreeNode::isVisible() const {
  if (deleting_) return false;
  for (const TTreeNode* at = parent(); at; at = at->parent())
    if (!at->expanded_) return false;
  return true;
}

void TTreeNode::setExpanded(bool e) {
  if (e) expand(false);
  else collapse(false);
}

// The node and its branch in tree order.
static std::vector<TTreeNode*> branchNodes(TTreeNode* node) {
  std::vector<TTreeNode*> nodes;
  for (TTreeNode* at = node; at; at = at->getNext()) {
    if (at != node && !at->hasAsParent(node)) break;
    nodes.push_back(at);
  }
  return nodes;
}

void TTreeNode::expand(bool recurse) {
  if (deleting_) return;
  if (!recurse) {
    owner_.view_.askExpanding(this, true);
    return;
  }
  TTreeNodes::Watch watch(owner_);
  for (TTreeNode* n : branchNodes(this))
    if (watch.live(n)) owner_.view_.askExpanding(n, true);
}

void TTreeNode::collapse(bool recurse) {
  if (deleting_) return;
  TTreeNodes::Watch watch(owner_);
  const std::vector<TTreeNode*> branch = recurse ? branchNodes(this) : std::vector<TTreeNode*>{this};
  // Children first, so the parent closes last.
  for (auto n = branch.rbegin(); n != branch.rend(); ++n)
    if (watch.live(*n)) owner_.view_.askExpanding(*n, false);
}

void TTreeNode::setHasChildren(bool h) {
  has_children_ = h;
  if (!deleting_) owner_.view_.model()->textChanged(this);
}

void TTreeNode::setCut(bool c) {
  cut_ = c;
  if (!deleting_) owner_.view_.model()->textChanged(this);
}

bool TTreeNode::dropTarget() const { return owner_.view_.drop_target_ == this; }
void TTreeNode::setDropTarget(bool d) {
  if (d) owner_.view_.setDropTarget(this);
  else if (dropTarget()) owner_.view_.setDropTarget(nullptr);
}

void TTreeNode::setFocused(bool f) { focused_ = f; }

bool TTreeNode::selected() const { return !deleting_ && owner_.view_.selected() == this; }

void TTreeNode::setSelected(bool s) {
  if (deleting_) return;
  if (s) owner_.view_.setSelected(this);
  else if (selected()) owner_.view_.setSelected(nullptr);
}

void TTreeNode::remove() { owner_.remove(this); }

void TTreeNode::deleteChildren() {
  if (deleting_) return;
  owner_.view_.checkChangeable();
  // Watched: a handler run by one deletion may delete others.
  TTreeNodes::Watch watch(owner_);
  const std::vector<TTreeNode*> children = children_;
  for (TTreeNode* n : children)
    if (watch.live(n)) owner_.remove(n);
}

void TTreeNode::moveTo(TTreeNode* destination, TNodeAttachMode mode) {
  TTreeNodes& nodes = owner_;
  TTreeView& view = nodes.view_;
  view.checkChangeable();
  nodes.checkUsable(this);
  if (destination) nodes.checkUsable(destination);
  if (destination == this || (destination && destination->hasAsParent(this)))
    throw EPropertyError("A node cannot move into its own branch");
  TTreeNode* old_parent = parent_;
  const int from = index();
  TTreeNode* new_parent = !destination ? &nodes.root_
                          : (mode == naAddChild || mode == naAddChildFirst) ? destination
                                                                            : destination->parent_;
  // The row in the new parent's list once the node has left its old place.
  int row = 0;
  const int others = new_parent->count() - (new_parent == old_parent ? 1 : 0);
  if (mode == naInsert && destination) row = destination->index() - (new_parent == old_parent && destination->index() > from);
  else if (mode == naAdd || mode == naAddChild || (mode == naInsert && !destination)) row = others;
  int deepest = level_;
  const std::vector<TTreeNode*> branch = branchNodes(this);
  for (const TTreeNode* n : branch) deepest = std::max(deepest, n->level_);
  const int new_level = new_parent == &nodes.root_ ? 0 : new_parent->level_ + 1;
  if (new_level + deepest - level_ >= kMaxTreeDepth) throw EPropertyError("tree too deep");
  const int before_removal = new_parent == old_parent && row >= from ? row + 1 : row;
  if (new_parent == old_parent && (before_removal == from || before_removal == from + 1)) return;
  TreeModel& model = *view.model();
  {
    StructureChange change(view);
    model.beginMoveRows(model.indexOf(old_parent), from, from, model.indexOf(new_parent), before_removal);
    old_parent->children_.erase(old_parent->children_.begin() + from);
    old_parent->rows_stale_ = true;
    new_parent->children_.insert(new_parent->children_.begin() + row, this);
    new_parent->rows_stale_ = true;
    parent_ = new_parent;
    const int delta = new_level - level_;
    for (TTreeNode* n : branch) n->level_ += delta;
    nodes.orderChanged();
    model.endMoveRows();
  }
  if (old_parent != &nodes.root_ && old_parent->children_.empty() && old_parent->expanded_) {
    old_parent->expanded_ = false;
    view.applyExpanded(old_parent);
  }
  view.runPendingChange();
}

bool TTreeNode::alphaSort(bool recurse) {
  if (deleting_) return false;
  TTreeView& view = owner_.view_;
  view.checkChangeable();
  if (!recurse) {
    view.sortChildren(this);
    return true;
  }
  TTreeNodes::Watch watch(owner_);
  for (TTreeNode* n : branchNodes(this))
    if (watch.live(n) && n->count() > 1) view.sortChildren(n);
  return true;
}

void TTreeNode::makeVisible() {
  if (deleting_) return;
  std::vector<TTreeNode*> parents;
  for (TTreeNode* at = parent(); at; at = at->parent()) parents.push_back(at);
  TTreeNodes& nodes = owner_;
  TTreeNodes::Watch watch(nodes);
  for (auto p = parents.rbegin(); p != parents.rend(); ++p)
    if (watch.live(*p)) nodes.view_.askExpanding(*p, true);
  if (watch.live(this)) nodes.view_.view()->scrollTo(nodes.view_.model()->indexOf(this));
}

TRect TTreeNode::displayRect(bool text_only) const {
  TreeWidget* w = owner_.view_.view();
  const QRect r = w->visualRect(owner_.view_.model()->indexOf(this));
  if (!r.isValid()) return {0, 0, 0, 0};
  const QPoint at = w->viewport()->mapTo(w, r.topLeft());
  if (text_only) return {at.x(), at.y(), at.x() + r.width(), at.y() + r.height()};
  return {0, at.y(), w->viewport()->width(), at.y() + r.height()};
}

bool TTreeNode::editText() {
  if (deleting_) return false;
  TreeWidget* w = owner_.view_.view();
  const QModelIndex index = owner_.view_.model()->indexOf(this);
  w->setCurrentIndex(index);
  w->edit(index);
  return w->editing();
}

void TTreeNode::endEdit(bool cancel) { owner_.view_.view()->finishEdit(cancel); }

// ---- TTreeNodes ----

const ClassInfo& TTreeNodes::staticClassInfo() {
  static const ClassInfo info("TTreeNodes", &TPersistent::staticClassInfo());
  return info;
}

TTreeNodes::TTreeNodes(TTreeView& view) : view_(view) { root_.level_ = -1; }

TTreeNodes::~TTreeNodes() {
  std::vector<TTreeNode*> stack(root_.children_.begin(), root_.children_.end());
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    stack.insert(stack.end(), n->children_.begin(), n->children_.end());
    freeNode(n);
  }
}

TTreeNode* TTreeNodes::item(int absolute_index) const {
  if (absolute_index < 0 || absolute_index >= count_) return nullptr;
  refreshOrder();
  return order_[static_cast<size_t>(absolute_index)];
}

TTreeNode* TTreeNodes::getFirstNode() const { return root_.getFirstChild(); }

TTreeNode* TTreeNodes::getNode(uint32_t item_id) const {
  const void* obj = windowHandles().object(item_id);
  if (!obj || !with_ids_.count(obj)) return nullptr;
  return static_cast<TTreeNode*>(const_cast<void*>(obj));  // one of ours: the set says so
}

void TTreeNodes::checkUsable(const TTreeNode* node) const {
  if (node && (node->deleting_ || &node->owner_ != this)) throw EPropertyError("Invalid tree node");
}

TTreeNode* TTreeNodes::newNode(TTreeNode* parent, const std::string& text) {
  auto* node = new TTreeNode(*this);
  node->text_ = text;
  node->parent_ = parent;
  node->level_ = parent->level_ + 1;
  ++count_;
  return node;
}

TTreeNode* TTreeNodes::attach(TTreeNode* parent, int row, const std::string& text) {
  view_.checkChangeable();
  checkUsable(parent);
  if (parent->level_ + 1 >= kMaxTreeDepth) throw EPropertyError("tree too deep");
  TreeModel& model = *view_.model();
  TTreeNode* node = nullptr;
  {
    StructureChange change(view_);
    model.beginInsertRows(model.indexOf(parent), row, row);
    node = newNode(parent, text);
    const bool at_end = row == parent->count();
    parent->children_.insert(parent->children_.begin() + row, node);
    if (at_end && !parent->rows_stale_) node->row_ = row;
    else parent->rows_stale_ = true;
    orderChanged();
    model.endInsertRows();
  }
  view_.runPendingChange();
  return node;
}

TTreeNode* TTreeNodes::add(TTreeNode* sibling, const std::string& text) {
  checkUsable(sibling);
  TTreeNode* parent = sibling ? sibling->parent_ : &root_;
  return attach(parent, parent->count(), text);
}

TTreeNode* TTreeNodes::addFirst(TTreeNode* sibling, const std::string& text) {
  checkUsable(sibling);
  return attach(sibling ? sibling->parent_ : &root_, 0, text);
}

TTreeNode* TTreeNodes::addChild(TTreeNode* parent, const std::string& text) {
  TTreeNode* p = parent ? parent : &root_;
  checkUsable(parent);
  return attach(p, p->count(), text);
}

TTreeNode* TTreeNodes::addChildFirst(TTreeNode* parent, const std::string& text) {
  checkUsable(parent);
  return attach(parent ? parent : &root_, 0, text);
}

TTreeNode* TTreeNodes::insert(TTreeNode* sibling, const std::string& text) {
  checkUsable(sibling);
  if (!sibling) return attach(&root_, root_.count(), text);
  return attach(sibling->parent_, sibling->index(), text);
}

void TTreeNodes::numberRows(const TTreeNode* parent) const {
  if (!parent->rows_stale_) return;
  for (size_t i = 0; i < parent->children_.size(); ++i) parent->children_[i]->row_ = static_cast<int>(i);
  parent->rows_stale_ = false;
}

void TTreeNodes::refreshOrder() const {
  if (!order_stale_ && order_.size() == static_cast<size_t>(count_)) return;
  order_.clear();
  order_.reserve(static_cast<size_t>(count_));
  std::vector<TTreeNode*> stack(root_.children_.rbegin(), root_.children_.rend());
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    n->abs_ = static_cast<int>(order_.size());
    order_.push_back(n);
    stack.insert(stack.end(), n->children_.rbegin(), n->children_.rend());
  }
  order_stale_ = false;
}

// Takes the node with its branch out of the tree; the branch is marked deleting.
void TTreeNodes::detach(TTreeNode* node) {
  TTreeNode* parent = node->parent_;
  TreeModel& model = *view_.model();
  {
    StructureChange change(view_);
    const int row = node->index();
    model.beginRemoveRows(model.indexOf(parent), row, row);
    parent->children_.erase(parent->children_.begin() + row);
    parent->rows_stale_ = true;
    node->parent_ = nullptr;
    std::vector<TTreeNode*> stack{node};
    while (!stack.empty()) {
      TTreeNode* n = stack.back();
      stack.pop_back();
      n->deleting_ = true;
      --count_;
      stack.insert(stack.end(), n->children_.begin(), n->children_.end());
    }
    orderChanged();
    model.endRemoveRows();
  }
  if (parent != &root_ && parent->children_.empty() && parent->expanded_) {
    parent->expanded_ = false;
    view_.applyExpanded(parent);
  }
}

// Runs the deletion hook for each node of a detached branch, children before their parent,
// then frees them. The hooks may change the tree, never this branch.
void TTreeNodes::destroyBranch(TTreeNode* node) {
  std::vector<TTreeNode*> order;
  std::vector<TTreeNode*> stack{node};
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    order.push_back(n);
    stack.insert(stack.end(), n->children_.begin(), n->children_.end());
  }
  for (auto n = order.rbegin(); n != order.rend(); ++n) view_.nodeGone(*n);
  for (TTreeNode* n : order) freeNode(n);
}

TTreeNodes::Watch::Watch(TTreeNodes& nodes) : nodes_(nodes) { nodes_.watches_.push_back(this); }

TTreeNodes::Watch::~Watch() { std::erase(nodes_.watches_, this); }

// Frees a node; its item id, if it had one, names nothing from now on, and every watch
// notes it.
void TTreeNodes::freeNode(TTreeNode* node) {
  for (Watch* watch : watches_) watch->freed_.insert(node);
  if (node->id_ != 0) {
    windowHandles().release(node);
    with_ids_.erase(node);
  }
  delete node;
}

void TTreeNodes::remove(TTreeNode* node) {
  if (!node || node->deleting_ || &node->owner_ != this) return;
  view_.checkChangeable();
  detach(node);
  destroyBranch(node);
  view_.runPendingChange();
}

void TTreeNodes::clear() { assignLines({}); }

void TTreeNodes::beginUpdate() {
  if (update_count_++ == 0) view_.widget()->setUpdatesEnabled(false);
}

void TTreeNodes::endUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) view_.widget()->setUpdatesEnabled(true);
}

void TTreeNodes::assignLines(const std::vector<TreeTextLine>& lines) {
  view_.checkChangeable();
  std::vector<TTreeNode*> old;
  TreeModel& model = *view_.model();
  {
    StructureChange change(view_);
    model.beginResetModel();
    old.swap(root_.children_);
    for (TTreeNode* top : old) {
      top->parent_ = nullptr;
      std::vector<TTreeNode*> stack{top};
      while (!stack.empty()) {
        TTreeNode* n = stack.back();
        stack.pop_back();
        n->deleting_ = true;
        stack.insert(stack.end(), n->children_.begin(), n->children_.end());
      }
    }
    count_ = 0;
    std::vector<TTreeNode*> path;  // the last node of each level so far
    for (const TreeTextLine& line : lines) {
      const size_t level = static_cast<size_t>(std::max(0, line.level));
      TTreeNode* parent = level == 0 || path.size() < level ? &root_ : path[level - 1];
      TTreeNode* node = newNode(parent, line.text);
      node->row_ = parent->count();
      parent->children_.push_back(node);
      path.resize(static_cast<size_t>(node->level_));
      path.push_back(node);
    }
    root_.rows_stale_ = false;
    orderChanged();
    model.endResetModel();
  }
  for (TTreeNode* top : old) destroyBranch(top);
  view_.runPendingChange();
}

std::vector<TreeTextLine> TTreeNodes::lines() const {
  refreshOrder();
  std::vector<TreeTextLine> out;
  out.reserve(order_.size());
  for (const TTreeNode* n : order_) out.push_back({n->level_, n->text_});
  return out;
}

// ---- TTreeView ----

const ClassInfo& TTreeView::staticClassInfo() {
  using T = TTreeView;
  static const ClassInfo info(
      "TTreeView", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("Indent", PropKind::Integer, &T::indent, &T::setIndent, nullptr, 19),
       boolProp<T>("ReadOnly", &T::readOnly, &T::setReadOnly, false),
       boolProp<T>("ShowButtons", &T::showButtons, &T::setShowButtons, true),
       eventProp<T>("OnChange", &T::OnChange), eventProp<T>("OnChanging", &T::OnChanging),
       eventProp<T>("OnCollapsed", &T::OnCollapsed), eventProp<T>("OnCollapsing", &T::OnCollapsing),
       eventProp<T>("OnCompare", &T::OnCompare), eventProp<T>("OnDeletion", &T::OnDeletion),
       eventProp<T>("OnEdited", &T::OnEdited), eventProp<T>("OnEditing", &T::OnEditing),
       eventProp<T>("OnExpanded", &T::OnExpanded), eventProp<T>("OnExpanding", &T::OnExpanding)});
  return info;
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner, new TreeWidget(this)) {
  items_ = std::make_unique<TTreeNodes>(*this);
  TreeWidget* w = view();
  model_ = new TreeModel(*this, w);
  w->setModel(model_);
  QItemSelectionModel* old = w->selectionModel();
  w->setSelectionModel(new TreeSelection(*this, model_, w));
  delete old;
  w->setHeaderHidden(true);
  w->setUniformRowHeights(true);
  w->setItemsExpandable(false);
  w->setExpandsOnDoubleClick(false);
  w->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  QObject::connect(w->selectionModel(), &QItemSelectionModel::currentChanged, [this] { selectionMoved(); });
  watch(w->viewport());
  setColor(clWindow);
  setBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() {
  closing_ = true;
  sorting_ = false;  // the nodes go whatever is under way
  if (TreeWidget* w = view()) w->setModel(nullptr);
  items_->assignLines({});
  delete model_;
  model_ = nullptr;
}

TreeWidget* TTreeView::view() const { return static_cast<TreeWidget*>(widget()); }
QWidget* TTreeView::mouseWidget() const { return view()->viewport(); }

void TTreeView::applyColor() {
  QPalette pal = view()->palette();
  pal.setColor(QPalette::Base, toQColor(color()));
  view()->setPalette(pal);
}

void TTreeView::checkChangeable() const {
  if (sorting_) throw EPropertyError("The tree cannot change while it is sorted");
}

TTreeNode* TTreeView::selected() const { return model_->nodeOf(view()->selectionModel()->currentIndex()); }

void TTreeView::setSelected(TTreeNode* node) {
  if (node && !ownNode(node)) return;
  QItemSelectionModel* sel = view()->selectionModel();
  if (!node) {
    sel->clearCurrentIndex();
    sel->clearSelection();
    return;
  }
  sel->setCurrentIndex(model_->indexOf(node), QItemSelectionModel::ClearAndSelect);
}

// Nodes of other views and nodes being deleted are not taken.
bool TTreeView::ownNode(const TTreeNode* node) const {
  return node && !node->deleting_ && &node->owner_ == items_.get();
}

void TTreeView::setDropTarget(TTreeNode* node) {
  drop_target_ = ownNode(node) ? node : nullptr;
  view()->viewport()->update();
}

TTreeNode* TTreeView::topItem() const { return model_->nodeOf(view()->indexAt(QPoint(1, 1))); }

void TTreeView::setTopItem(TTreeNode* node) {
  if (ownNode(node)) view()->scrollTo(model_->indexOf(node), QAbstractItemView::PositionAtTop);
}

bool TTreeView::alphaSort() {
  checkChangeable();
  sortChildren(&items_->root_);
  std::vector<TTreeNode*> parents;
  for (TTreeNode* n = items_->getFirstNode(); n; n = n->getNext())
    if (n->count() > 1) parents.push_back(n);
  TTreeNodes::Watch watch(*items_);
  for (TTreeNode* n : parents)
    if (watch.live(n)) sortChildren(n);
  return true;
}

void TTreeView::sortChildren(TTreeNode* parent) {
  if (parent->count() < 2) return;
  std::vector<TTreeNode*> order = parent->children_;
  sorting_ = true;
  try {
    std::stable_sort(order.begin(), order.end(), [this](TTreeNode* a, TTreeNode* b) {
      // OnCompare starts from the text order and may change it.
      int c = text_compare_ ? text_compare_(a->text_, b->text_) : compareText(a->text_, b->text_);
      if (OnCompare) fire(OnCompare, this, a, b, 0, c);
      return c < 0;
    });
  } catch (...) {
    sorting_ = false;
    throw;
  }
  sorting_ = false;
  model_->reordered(parent->children_, order);
  items_->orderChanged();
}

// Every node in tree order, taken before any handler runs.
static std::vector<TTreeNode*> allNodes(const TTreeNodes& nodes) {
  std::vector<TTreeNode*> all;
  for (TTreeNode* n = nodes.getFirstNode(); n; n = n->getNext()) all.push_back(n);
  return all;
}

void TTreeView::fullExpand() {
  TTreeNodes::Watch watch(*items_);
  for (TTreeNode* n : allNodes(*items_))
    if (watch.live(n)) askExpanding(n, true);
}

void TTreeView::fullCollapse() {
  TTreeNodes::Watch watch(*items_);
  const std::vector<TTreeNode*> all = allNodes(*items_);
  for (auto n = all.rbegin(); n != all.rend(); ++n)
    if (watch.live(*n)) askExpanding(*n, false);
}

TTreeNode* TTreeView::getNodeAt(int x, int y) const {
  TreeWidget* w = view();
  return model_->nodeOf(w->indexAt(w->viewport()->mapFrom(w, QPoint(x, y))));
}

uint32_t TTreeView::hitTestInfoAt(int x, int y) const {
  auto bit = [](THitTest h) { return 1u << h; };
  uint32_t bits = 0;
  if (x < 0) bits |= bit(htToLeft);
  if (x >= width()) bits |= bit(htToRight);
  if (y < 0) bits |= bit(htAbove);
  if (y >= height()) bits |= bit(htBelow);
  if (bits) return bits;
  TreeWidget* w = view();
  const QPoint p = w->viewport()->mapFrom(w, QPoint(x, y));
  const QModelIndex index = w->indexAt(p);
  TTreeNode* node = model_->nodeOf(index);
  if (!node) return bit(htNowhere);
  const QRect r = w->visualRect(index);
  if (p.x() >= r.right()) return bit(htOnRight);
  if (p.x() >= r.left()) return bit(htOnItem) | bit(htOnLabel);
  if (p.x() >= r.left() - w->indentation() && node->hasChildren()) return bit(htOnButton);
  return bit(htOnIndent);
}

bool TTreeView::isEditing() const { return view()->editing(); }

void TTreeView::loadFromFile(const std::string& path) {
  std::string bytes;
  if (!kestrin::read_file_bytes(path, bytes)) throw EPropertyError("Cannot open file \"" + path + "\"");
  TreeTextRead read = ReadTreeText(bytes, kMaxTreeDepth);
  if (!read.error.empty()) throw EPropertyError(read.error);
  items_->assignLines(read.lines);
}

void TTreeView::saveToFile(const std::string& path) const {
  if (!kestrin::write_file_bytes(path, WriteTreeText(items_->lines())))
    throw EPropertyError("Cannot create file \"" + path + "\"");
}

bool TTreeView::showButtons() const { return view()->rootIsDecorated(); }
void TTreeView::setShowButtons(bool s) { view()->setRootIsDecorated(s); }
int TTreeView::indent() const { return view()->indentation(); }
void TTreeView::setIndent(int v) { view()->setIndentation(std::max(0, v)); }

// Asks the veto, then opens or closes the node in our tree and in Qt's view.
bool TTreeView::askExpanding(TTreeNode* node, bool expand) {
  if (node->deleting_ || node->expanded_ == expand) return false;
  if (expand && !node->hasChildren()) return false;
  bool allow = true;
  {
    TTreeNodes::Watch watch(*items_);
    fire(expand ? OnExpanding : OnCollapsing, this, node, allow);
    node = watch.live(node);
  }
  if (!node || !allow || node->expanded_ == expand) return false;
  if (expand && node->children_.empty()) {
    node->has_children_ = false;  // nothing to show: the handler added no children
    model_->textChanged(node);
    return false;
  }
  node->expanded_ = expand;
  applyExpanded(node);
  fire(expand ? OnExpanded : OnCollapsed, this, node);
  return true;
}

void TTreeView::applyExpanded(TTreeNode* node) {
  syncing_expand_ = true;
  view()->setExpanded(model_->indexOf(node), node->expanded_);
  syncing_expand_ = false;
}

bool TTreeView::allowSelect(TTreeNode* node) {
  if (!node || structure_depth_ > 0 || !OnChanging) return true;
  bool allow = true;
  fire(OnChanging, this, node, allow);
  return allow;
}

void TTreeView::selectionMoved() {
  if (structure_depth_ > 0 || closing_) {
    change_pending_ = true;
    return;
  }
  reportChange();
}

// After a change of the tree: OnChange when the selected node changed meanwhile, also when
// Qt dropped the current node with an ancestor without telling.
void TTreeView::runPendingChange() {
  if (structure_depth_ > 0 || closing_) return;
  TTreeNode* now = selected();
  if (!change_pending_ && (now ? now->itemId() : 0) == reported_) return;
  change_pending_ = false;
  reportChange();
}

void TTreeView::reportChange() {
  TTreeNode* now = selected();
  reported_ = now ? now->itemId() : 0;
  fire(OnChange, this, now);
}

void TTreeView::nodeGone(TTreeNode* node) {
  if (drop_target_ == node) drop_target_ = nullptr;
  if (!closing_) fire(OnDeletion, this, node);
  if (deletionHook) guarded([&] { deletionHook(node); });
}

}  // namespace kgui
