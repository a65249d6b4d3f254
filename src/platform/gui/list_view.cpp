// TListView over Qt's item views: the view's properties and enumerations, its two views over
// the one model, selection, owner data, the sort, searches and hit tests. The model, the
// delegate and the items and columns have files of their own.
#include "platform/gui/list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTreeView>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/list_view_internal.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

const EnumInfo& viewStyleType() {
  static const EnumInfo info{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
  return info;
}
const EnumInfo& itemChangeType() {
  static const EnumInfo info{"TItemChange", {"ctText", "ctImage", "ctState"}};
  return info;
}
const EnumInfo& displayCodeType() {
  static const EnumInfo info{"TDisplayCode", {"drBounds", "drIcon", "drLabel", "drSelectBounds"}};
  return info;
}
const EnumInfo& searchDirectionType() {
  static const EnumInfo info{"TSearchDirection", {"sdLeft", "sdRight", "sdAbove", "sdBelow", "sdAll"}};
  return info;
}
const EnumInfo& itemStateType() {
  static const EnumInfo info{
      "TItemState", {"isNone", "isCut", "isDropHilited", "isFocused", "isSelected", "isActivating"}, "TItemStates"};
  return info;
}
const EnumInfo& listArrangementType() {
  static const EnumInfo info{"TListArrangement",
                             {"arAlignBottom", "arAlignLeft", "arAlignRight", "arAlignTop", "arDefault", "arSnapToGrid"}};
  return info;
}
const EnumInfo& itemFindType() {
  static const EnumInfo info{"TItemFind", {"ifData", "ifPartialString", "ifExactString", "ifNearest"}};
  return info;
}
const EnumInfo& customDrawStageType() {
  static const EnumInfo info{"TCustomDrawStage", {"cdPrePaint", "cdPostPaint", "cdPreErase", "cdPostErase"}};
  return info;
}
const EnumInfo& customDrawStateType() {
  static const EnumInfo info{"TCustomDrawStateKind",
                             {"cdsSelected", "cdsGrayed", "cdsDisabled", "cdsChecked", "cdsFocused", "cdsDefault",
                              "cdsHot", "cdsMarked", "cdsIndeterminate"},
                             "TCustomDrawState"};
  return info;
}
const EnumInfo& ownerDrawStateType() {
  static const EnumInfo info{"TOwnerDrawStateKind",
                             {"odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused", "odDefault",
                              "odHotLight", "odInactive", "odNoAccel", "odNoFocusRect", "odReserved1", "odReserved2",
                              "odComboBoxEdit"},
                             "TOwnerDrawState"};
  return info;
}

namespace {
// A stable merge sort of positions that stays inside its arrays whatever the comparison
// answers (a script's comparison need not be consistent).
template <class Less>
void mergeSort(std::vector<uint32_t>& order, Less less) {
  const size_t n = order.size();
  std::vector<uint32_t> buf(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) buf[k++] = less(order[j], order[i]) ? order[j++] : order[i++];
      while (i < mid) buf[k++] = order[i++];
      while (j < hi) buf[k++] = order[j++];
    }
    order.swap(buf);
  }
}

bool startsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && sameText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

// ---- TListView ----

const ClassInfo& TListView::staticClassInfo() {
  using T = TListView;
  static const ClassInfo info(
      "TListView", &TWinControl::staticClassInfo(),
      {boolProp<T>("Checkboxes", &T::checkboxes, &T::setCheckboxes, false),
       classProp<T, TListColumns>("Columns", &T::columns),
       boolProp<T>("GridLines", &T::gridLines, &T::setGridLines, false),
       classProp<T, TListItems>("Items", &T::items),
       boolProp<T>("MultiSelect", &T::multiSelect, &T::setMultiSelect, false),
       boolProp<T>("OwnerData", &T::ownerData, &T::setOwnerData, false),
       boolProp<T>("OwnerDraw", &T::ownerDraw, &T::setOwnerDraw, false),
       boolProp<T>("ReadOnly", &T::readOnly, &T::setReadOnly, false),
       boolProp<T>("RowSelect", &T::rowSelect, &T::setRowSelect, false),
       boolProp<T>("ShowColumnHeaders", &T::showColumnHeaders, &T::setShowColumnHeaders, true),
       ordProp<T, int>("ViewStyle", PropKind::Enumeration, &T::viewStyle, &T::setViewStyle, &viewStyleType(), vsIcon),
       eventProp<T>("OnAdvancedCustomDraw", &T::OnAdvancedCustomDraw),
       eventProp<T>("OnAdvancedCustomDrawItem", &T::OnAdvancedCustomDrawItem),
       eventProp<T>("OnAdvancedCustomDrawSubItem", &T::OnAdvancedCustomDrawSubItem),
       eventProp<T>("OnChange", &T::OnChange), eventProp<T>("OnChanging", &T::OnChanging),
       eventProp<T>("OnColumnClick", &T::OnColumnClick),
       eventProp<T>("OnColumnDragged", &T::OnColumnDragged),
       eventProp<T>("OnColumnRightClick", &T::OnColumnRightClick), eventProp<T>("OnCompare", &T::OnCompare),
       eventProp<T>("OnCustomDraw", &T::OnCustomDraw), eventProp<T>("OnCustomDrawItem", &T::OnCustomDrawItem),
       eventProp<T>("OnCustomDrawSubItem", &T::OnCustomDrawSubItem), eventProp<T>("OnData", &T::OnData),
       eventProp<T>("OnDataFind", &T::OnDataFind), eventProp<T>("OnDataHint", &T::OnDataHint),
       eventProp<T>("OnDataStateChange", &T::OnDataStateChange),
       eventProp<T>("OnDeletion", &T::OnDeletion), eventProp<T>("OnDrawItem", &T::OnDrawItem),
       eventProp<T>("OnEdited", &T::OnEdited), eventProp<T>("OnEditing", &T::OnEditing),
       eventProp<T>("OnGetImageIndex", &T::OnGetImageIndex),
       eventProp<T>("OnGetSubItemImage", &T::OnGetSubItemImage), eventProp<T>("OnInfoTip", &T::OnInfoTip),
       eventProp<T>("OnInsert", &T::OnInsert),
       eventProp<T>("OnSelectItem", &T::OnSelectItem)});
  return info;
}

TListView::TListView(TComponent* owner) : TWinControl(owner, new QWidget()) {
  items_ = std::make_unique<TListItems>(*this);
  columns_ = std::make_unique<TListColumns>(*this);
  temp_ = std::make_unique<TListItem>(items_.get());
  tree_ = new QTreeView();
  list_ = new QListView();
  model_ = new ListViewModel(*this);
  selection_ = new QItemSelectionModel(model_);
  tree_delegate_ = new ListViewDelegate(*this, widget());
  list_delegate_ = new ListViewDelegate(*this, widget());
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(tree_), static_cast<QAbstractItemView*>(list_)}) {
    QItemSelectionModel* own = nullptr;
    v->setModel(model_);
    own = v->selectionModel();
    v->setSelectionModel(selection_);
    delete own;
    v->setItemDelegate(v == tree_ ? tree_delegate_ : list_delegate_);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    watch(v->viewport());
    QObject::connect(v, &QAbstractItemView::clicked, [this] { click(); });
  }
  // Views must not ask every row: one row's size stands for all.
  tree_->setRootIsDecorated(false);
  tree_->setItemsExpandable(false);
  tree_->setUniformRowHeights(true);
  tree_->setAllColumnsShowFocus(true);
  list_->setUniformItemSizes(true);
  list_->setLayoutMode(QListView::Batched);
  list_->setResizeMode(QListView::Adjust);
  QHeaderView* header = tree_->header();
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(header, &QHeaderView::sectionClicked,
                   [this](int section) { fire(OnColumnClick, this, columns_->items(section)); });
  QObject::connect(header, &QHeaderView::sectionMoved, [this] { fire(OnColumnDragged, this); });
  QObject::connect(header, &QHeaderView::sectionResized, [this](int section, int, int size) {
    if (TListColumn* c = columns_->items(section); c && !syncing_) c->width_ = size;
  });
  QObject::connect(header, &QHeaderView::customContextMenuRequested, [this, header](const QPoint& p) {
    const QPoint screen = header->mapToGlobal(p);
    fire(OnColumnRightClick, this, columns_->items(header->logicalIndexAt(p)), TPoint{screen.x(), screen.y()});
  });
  QObject::connect(selection_, &QItemSelectionModel::selectionChanged,
                   [this](const QItemSelection& s, const QItemSelection& d) { selectionChanged(s, d); });
  auto* stack = new QStackedLayout(widget());
  stack->setContentsMargins(0, 0, 0, 0);
  stack->addWidget(list_);
  stack->addWidget(tree_);
  setViewStyle(vsIcon);
  setColor(clWindow);
  setBounds(0, 0, 250, 150);
}

TListView::~TListView() {
  destroying_ = true;
  std::vector<TListItem*> gone;
  gone.swap(items_->items_);
  for (TListItem* item : gone) {
    item->index_ = -1;
    if (ItemLifecycle) ItemLifecycle(item, false);
    items_->destroy(item);
  }
  if (ItemLifecycle) ItemLifecycle(temp_.get(), false);
  delete tree_;
  delete list_;
  delete selection_;
  delete model_;
}

QAbstractItemView* TListView::view() const {
  return view_style_ == vsReport ? static_cast<QAbstractItemView*>(tree_) : list_;
}

ListViewDelegate* TListView::delegate() const { return view_style_ == vsReport ? tree_delegate_ : list_delegate_; }

QWidget* TListView::mouseWidget() const { return view()->viewport(); }

void TListView::applyColor() {
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(tree_), static_cast<QAbstractItemView*>(list_)}) {
    QPalette p = v->palette();
    p.setColor(QPalette::Base, toQColor(color()));
    v->setPalette(p);
  }
}

void TListView::setViewStyle(int style) {
  view_style_ = std::clamp(style, static_cast<int>(vsIcon), static_cast<int>(vsReport));
  if (view_style_ != vsReport) {
    list_->setViewMode(view_style_ == vsIcon ? QListView::IconMode : QListView::ListMode);
    list_->setFlow(view_style_ == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    list_->setWrapping(true);
    list_->setMovement(view_style_ == vsList ? QListView::Static : QListView::Free);
  }
  static_cast<QStackedLayout*>(widget()->layout())->setCurrentWidget(view());
  view()->viewport()->setMouseTracking(true);
}

void TListView::setOwnerData(bool o) {
  if (o == owner_data_) return;
  items_->clear();
  owner_data_ = o;
  virtual_count_ = 0;
  filled_row_ = -1;
  ++generation_;
  model_->scheduleReset();
}

void TListView::setCheckboxes(bool c) {
  checkboxes_ = c;
  updateItems(0, rowCount() - 1);
}

bool TListView::multiSelect() const { return tree_->selectionMode() == QAbstractItemView::ExtendedSelection; }

void TListView::setMultiSelect(bool m) {
  const auto mode = m ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
  tree_->setSelectionMode(mode);
  list_->setSelectionMode(mode);
}

bool TListView::rowSelect() const { return tree_->allColumnsShowFocus(); }
void TListView::setRowSelect(bool r) { tree_->setAllColumnsShowFocus(r); }
bool TListView::showColumnHeaders() const { return !tree_->isHeaderHidden(); }
void TListView::setShowColumnHeaders(bool s) { tree_->setHeaderHidden(!s); }

int TListView::rowCount() const {
  return owner_data_ ? virtual_count_ : static_cast<int>(items_->items_.size());
}

TListItem* TListView::rowItem(int row) const {
  // The views going with the list may still ask for rows: they get none and fire nothing.
  if (row < 0 || row >= rowCount() || destroying_) return nullptr;
  return owner_data_ ? fill(row) : items_->items_[static_cast<size_t>(row)];
}

// The temporary item of an owner-data row: OnData fills it once per row between paints.
// A read made by the handler itself gets the item as it is, unfilled again.
TListItem* TListView::fill(int row) const {
  if (filling_ || row == filled_row_) return temp_.get();
  ModelDepth depth(*this);
  filling_ = true;
  temp_->reset(row);
  filled_row_ = row;
  auto* self = const_cast<TListView*>(this);
  fire(OnData, self, temp_.get());
  filling_ = false;
  return temp_.get();
}

void TListView::renumber(size_t from) {
  auto& v = items_->items_;
  for (size_t i = from; i < v.size(); ++i) v[i]->index_ = static_cast<int>(i);
}

void TListView::checkChangeAllowed() const {
  if (sorting_) throw EPropertyError("Cannot change the items while they are sorted");
  if (destroying_) throw EPropertyError("Cannot change the items of a list being destroyed");
}

// The items have left the vector: each one's deletion event runs, then the lifecycle hook,
// then it is freed. A handler may change the list meanwhile; the items in hand are no longer in it.
void TListView::itemsRemoved(std::vector<TListItem*> gone, int, int) {
  ++generation_;
  filled_row_ = -1;
  for (TListItem* item : gone) {
    item->index_ = -1;
    if (drop_target_ == item) drop_target_ = nullptr;
  }
  for (TListItem* item : gone) {
    fire(OnDeletion, this, item);
    if (ItemLifecycle) ItemLifecycle(item, false);
    items_->destroy(item);
  }
}

void TListView::countChanged(int old_count, int new_count) {
  ++generation_;
  filled_row_ = -1;
  if (ItemLifecycle) ItemLifecycle(temp_.get(), false);
  if (!model_->direct()) model_->scheduleReset();
  else if (new_count > old_count) model_->insertRowsNow(old_count, new_count - 1, [] {});
  else if (new_count < old_count) model_->removeRowsNow(new_count, old_count - 1, [] {});
}

void TListView::columnsChanged() {
  if (!model_) return;
  if (model_->direct()) model_->setColumnCount(columns_->count());
  else model_->scheduleReset();
  QHeaderView* header = tree_->header();
  syncing_ = true;
  for (int i = 0; i < columns_->count() && i < header->count(); ++i) {
    const TListColumn* c = columns_->items(i);
    header->setSectionResizeMode(i, c->autoSize() ? QHeaderView::Stretch : QHeaderView::Interactive);
    if (!c->autoSize()) header->resizeSection(i, c->width());
  }
  syncing_ = false;
}

void TListView::itemChanged(const TListItem* item, int change) {
  if (item == temp_.get() || item->index_ < 0 || owner_data_) return;
  if (model_->direct()) model_->rowsChanged(item->index_, item->index_);
  if (OnChange) fire(OnChange, this, const_cast<TListItem*>(item), change);
}

// The user's selection and the code's. Rows leaving the list (their selection goes with
// them) and selections made while a view paints fire nothing.
void TListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  if (destroying_ || modelBusy()) return;
  const uint64_t generation = generation_;
  auto each = [&](const QItemSelection& ranges, bool on) {
    for (const QItemSelectionRange& r : ranges) {
      if (r.left() != 0 && r.width() < model_->columnCount()) continue;
      if (owner_data_ && r.height() > 1) {
        const uint32_t old_state = on ? 0 : 1u << isSelected, new_state = on ? 1u << isSelected : 0;
        fire(OnDataStateChange, this, r.top(), r.bottom(), old_state, new_state);
        continue;
      }
      for (int row = r.top(); row <= r.bottom(); ++row) {
        if (generation != generation_) return;
        TListItem* item = rowItem(row);
        if (!item) return;
        if (OnChange) fire(OnChange, this, item, static_cast<int>(ctState));
        if (generation != generation_) return;
        if (OnSelectItem) fire(OnSelectItem, this, rowItem(row), on);
      }
    }
  };
  each(deselected, false);
  if (generation == generation_) each(selected, true);
}

bool TListView::rowSelected(int row) const {
  return row < model_->rowCount() && selection_->isSelected(model_->index(row, 0));
}

void TListView::setRowSelected(int row, bool s) {
  const QModelIndex idx = model_->index(row, 0);
  if (!idx.isValid()) return;
  QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Rows;
  flags |= s ? (multiSelect() ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect)
             : QItemSelectionModel::Deselect;
  selection_->select(idx, flags);
}

TListItem* TListView::selected() const {
  int first = -1;
  for (const QItemSelectionRange& r : selection_->selection())
    if (first < 0 || r.top() < first) first = r.top();
  return first >= 0 ? rowItem(first) : nullptr;
}

void TListView::setSelected(TListItem* item) {
  if (!item || item->listView() != this || item->index_ < 0) {
    selection_->clearSelection();
    return;
  }
  setRowSelected(item->index_, true);
}

TListItem* TListView::itemFocused() const { return rowItem(selection_->currentIndex().row()); }

void TListView::setItemFocused(TListItem* item) {
  if (item && item->listView() == this && item->index_ >= 0) item->setFocused(true);
  else selection_->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

TListItem* TListView::dropTarget() const { return drop_target_; }

void TListView::setDropTarget(TListItem* item) {
  drop_target_ = item && item->listView() == this && item->index_ >= 0 && !owner_data_ ? item : nullptr;
}

TListItem* TListView::topItem() const {
  const QModelIndex idx = view()->indexAt(QPoint(1, 1));
  return idx.isValid() ? rowItem(idx.row()) : nullptr;
}

int TListView::selCount() const {
  int n = 0;
  for (const QItemSelectionRange& r : selection_->selection())
    if (r.left() == 0) n += r.height();
  return n;
}

int TListView::visibleRowCount() const {
  if (rowCount() == 0 || model_->rowCount() == 0) return 0;
  const int h = std::max(1, view()->visualRect(model_->index(0, 0)).height());
  return view()->viewport()->height() / h;
}

int TListView::itemIndex() const {
  const TListItem* item = selected();
  return item ? item->index_ : -1;
}

void TListView::setItemIndex(int index) {
  if (index < 0 || index >= model_->rowCount()) {
    selection_->clearSelection();
    return;
  }
  const QModelIndex idx = model_->index(index, 0);
  selection_->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

TPoint TListView::viewOrigin() const {
  return {view()->horizontalScrollBar()->value(), view()->verticalScrollBar()->value()};
}

TRect TListView::boundingRect() const {
  const int n = model_->rowCount();
  if (n == 0) return {0, 0, 0, 0};
  const TRect first = itemRect(0, drBounds);
  if (view_style_ == vsReport) {
    const int h = first.height();
    return {first.left, first.top, first.right, first.top + h * n};
  }
  TRect all = first;
  for (int row = 1; row < n; ++row) {
    const TRect r = itemRect(row, drBounds);
    all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
           std::max(all.bottom, r.bottom)};
  }
  return all;
}

bool TListView::alphaSort() {
  auto& v = items_->items_;
  if (owner_data_ || sorting_ || destroying_) return false;
  sorting_ = true;
  std::vector<uint32_t> order(v.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  try {
    if (OnCompare) {
      // The comparison runs script handlers: the items are held still (changes refused).
      mergeSort(order, [&](uint32_t a, uint32_t b) {
        int c = 0;
        fire(OnCompare, this, v[a], v[b], 0, c);
        return c < 0;
      });
    } else {
      // Every key made once, into one buffer: the comparisons are plain byte compares.
      std::string buffer;
      std::vector<size_t> ends(v.size());
      for (size_t i = 0; i < v.size(); ++i) {
        if (caption_key_) caption_key_(v[i]->caption_, buffer);
        else buffer += v[i]->caption_;
        ends[i] = buffer.size();
      }
      auto key = [&](uint32_t i) {
        const size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(buffer).substr(begin, ends[i] - begin);
      };
      mergeSort(order, [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    }
  } catch (...) {
    sorting_ = false;
    throw;
  }
  const bool direct = model_->direct();
  if (direct) emit model_->layoutAboutToBeChanged();
  std::vector<TListItem*> sorted(v.size());
  std::vector<uint32_t> new_row(v.size());
  for (size_t k = 0; k < order.size(); ++k) {
    sorted[k] = v[order[k]];
    new_row[order[k]] = static_cast<uint32_t>(k);
  }
  v.swap(sorted);
  renumber(0);
  if (direct) {
    model_->moveRows(new_row);
    emit model_->layoutChanged();
  } else {
    model_->scheduleReset();
  }
  ++generation_;
  sorting_ = false;
  return true;
}

void TListView::arrange(int) {
  if (view_style_ != vsReport) list_->doItemsLayout();
}

TListItem* TListView::findCaption(int start, const std::string& value, bool partial, bool inclusive, bool wrap) {
  const int n = rowCount();
  if (n == 0) return nullptr;
  if (owner_data_) {
    int index = -1;
    fire(OnDataFind, this, static_cast<int>(partial ? ifPartialString : ifExactString), value, TPoint{0, 0}, 0,
         start, static_cast<int>(sdAll), wrap, index);
    return index >= 0 && index < rowCount() ? items_->item(index) : nullptr;
  }
  const int first = std::clamp(inclusive ? start : start + 1, 0, n);
  auto matches = [&](int row) {
    const std::string& caption = items_->items_[static_cast<size_t>(row)]->caption_;
    return partial ? startsWithText(caption, value) : sameText(caption, value);
  };
  for (int row = first; row < n; ++row)
    if (matches(row)) return items_->items_[static_cast<size_t>(row)];
  if (wrap)
    for (int row = 0; row < first && row < n; ++row)
      if (matches(row)) return items_->items_[static_cast<size_t>(row)];
  return nullptr;
}

QPoint TListView::toViewport(int x, int y) const { return view()->viewport()->mapFrom(widget(), QPoint(x, y)); }

TListItem* TListView::getItemAt(int x, int y) const {
  const QModelIndex idx = view()->indexAt(toViewport(x, y));
  return idx.isValid() ? rowItem(idx.row()) : nullptr;
}

TListItem* TListView::getNearestItem(TPoint point, int direction) const {
  const int n = model_->rowCount();
  TListItem* best = nullptr;
  int64_t best_distance = 0;
  for (int row = 0; row < n && row < rowCount(); ++row) {
    const TRect r = itemRect(row, drBounds);
    const bool inside = direction == sdAll || (direction == sdBelow && r.top >= point.y) ||
                        (direction == sdAbove && r.bottom <= point.y) || (direction == sdRight && r.left >= point.x) ||
                        (direction == sdLeft && r.right <= point.x);
    if (!inside) continue;
    const int64_t dx = (r.left + r.right) / 2 - point.x, dy = (r.top + r.bottom) / 2 - point.y;
    const int64_t d = dx * dx + dy * dy;
    if (!best || d < best_distance) {
      best = rowItem(row);
      best_distance = d;
    }
  }
  return best;
}

uint32_t TListView::itemStates(int row) const {
  uint32_t s = 0;
  if (rowSelected(row)) s |= 1u << isSelected;
  if (selection_->currentIndex().row() == row) s |= 1u << isFocused;
  if (!owner_data_ && row < rowCount()) {
    const TListItem* item = items_->items_[static_cast<size_t>(row)];
    if (item->cut_) s |= 1u << isCut;
    if (drop_target_ == item) s |= 1u << isDropHilited;
  }
  return s;
}

// The next item from start (nil: from the first) in index order, forward for sdAll, sdBelow
// and sdRight, backward for sdAbove and sdLeft, that has every state asked for.
TListItem* TListView::getNextItem(TListItem* start, int direction, uint32_t states) const {
  const uint32_t wanted = states & ((1u << isCut) | (1u << isDropHilited) | (1u << isFocused) | (1u << isSelected));
  const int n = rowCount();
  const int from = start && start->listView() == this ? start->index_ : -1;
  const bool back = direction == sdAbove || direction == sdLeft;
  for (int row = back ? from - 1 : from + 1; row >= 0 && row < n; row += back ? -1 : 1)
    if ((itemStates(row) & wanted) == wanted) return rowItem(row);
  return nullptr;
}

uint32_t TListView::getHitTestInfoAt(int x, int y) const {
  uint32_t bits = 0;
  if (y < 0) bits |= 1u << htAbove;
  if (y >= height()) bits |= 1u << htBelow;
  if (x < 0) bits |= 1u << htToLeft;
  if (x >= width()) bits |= 1u << htToRight;
  if (bits) return bits;
  const QModelIndex idx = view()->indexAt(toViewport(x, y));
  if (!idx.isValid()) return 1u << htNowhere;
  return (1u << htOnItem) | (1u << htOnLabel);
}

bool TListView::isEditing() const { return !delegate()->editor().isNull(); }

void TListView::scroll(int dx, int dy) {
  QScrollBar* h = view()->horizontalScrollBar();
  QScrollBar* v = view()->verticalScrollBar();
  h->setValue(h->value() + dx);
  v->setValue(v->value() + dy);
}

int TListView::stringWidth(const std::string& text) const {
  return QFontMetrics(view()->font()).horizontalAdvance(qs(text));
}

void TListView::updateItems(int first, int last) {
  first = std::max(first, 0);
  if (last < first) return;
  filled_row_ = -1;
  if (model_->direct()) model_->rowsChanged(first, last);
}

TRect TListView::itemRect(int row, int code) const {
  const QModelIndex idx = model_->index(row, 0);
  if (!idx.isValid()) return {0, 0, 0, 0};
  QRect r = view()->visualRect(idx);
  if (view_style_ == vsReport && code != drLabel && code != drIcon)
    r.setRight(r.left() + std::max(r.width(), tree_->header()->length()) - 1);
  if (code == drIcon) r.setWidth(view_style_ == vsIcon ? r.width() : 0);
  if (code == drIcon && view_style_ == vsIcon) r.setHeight(std::max(0, r.height() - view()->fontMetrics().height()));
  const QPoint offset = view()->viewport()->mapTo(widget(), QPoint(0, 0));
  r.translate(offset);
  return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

bool TListView::handleEvent(QObject* target, QEvent* event) {
  if (event->type() == QEvent::Paint && target == view()->viewport()) {
    // A paint starts: owner-data rows are filled afresh; the handlers see the client area.
    filled_row_ = -1;
    ModelDepth depth(*this);
    const QRect r = view()->viewport()->rect();
    const TRect rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    bool default_draw = true;
    fire(OnCustomDraw, this, rect, default_draw);
    if (default_draw) fire(OnAdvancedCustomDraw, this, rect, static_cast<int>(cdPrePaint), default_draw);
    if (owner_data_ && OnDataHint && model_->rowCount() > 0) {
      const QModelIndex top = view()->indexAt(QPoint(1, 1));
      QModelIndex bottom = view()->indexAt(QPoint(1, r.bottom() - 1));
      const int first = top.isValid() ? top.row() : 0;
      const int last = bottom.isValid() ? bottom.row() : model_->rowCount() - 1;
      fire(OnDataHint, this, first, last);
    }
    if (!default_draw) return true;
  }
  return TWinControl::handleEvent(target, event);
}

}  // namespace kgui
