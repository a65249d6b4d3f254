// TTreeView over a QTreeView and one item model on our own nodes. Invariants: a node in the
// tree has a parent (the hidden root for the top level); a node that left the tree is marked
// deleting and is only read until its deletion hook has run; a node's item id, once given,
// finds it until it is freed. Code that runs handlers over nodes it took before holds them
// under a TTreeNodes::Watch, since a handler may delete them.
#include "platform/gui/tree_view.h"

#include <QItemSelectionModel>
#include <QTreeView>
#include <algorithm>

#include "base/text_file.h"
#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/tab_controls.h"
#include "platform/gui/tree_view_internal.h"

namespace kgui {

const EnumInfo& nodeAttachModeType() {
  static const EnumInfo info{"TNodeAttachMode", {"naAdd", "naAddFirst", "naAddChild", "naAddChildFirst", "naInsert"}};
  return info;
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
