// The tree view's nodes: a node's text, place, relatives and states, its moves and
// deletion, and the node list that makes, attaches, detaches and frees them.
#include <QAbstractItemView>
#include <algorithm>

#include "platform/classes/handles.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/tree_view_internal.h"

namespace kgui {

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

}  // namespace kgui
