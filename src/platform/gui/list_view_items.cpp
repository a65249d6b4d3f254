// The list view's items and columns: sub-item lines, items with their states, the item
// pool and list, and the report view's columns.
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/list_view_internal.h"

namespace kgui {

namespace {

[[noreturn]] void indexError(int index) {
  throw EPropertyError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---- TListSubItems ----

int TListSubItems::count() const {
  if (auto* many = std::get_if<std::vector<std::string>>(&lines_)) return static_cast<int>(many->size());
  return std::holds_alternative<std::string>(lines_) ? 1 : 0;
}

std::string& TListSubItems::line(int index) {
  if (auto* one = std::get_if<std::string>(&lines_)) return *one;
  return std::get<std::vector<std::string>>(lines_)[static_cast<size_t>(index)];
}

std::string TListSubItems::get(int index) const {
  checkIndex(index, count());
  return const_cast<TListSubItems*>(this)->line(index);
}

void TListSubItems::put(int index, const std::string& s) {
  checkIndex(index, count());
  line(index) = s;
  changed();
}

void TListSubItems::insert(int index, const std::string& s) {
  checkIndex(index, count() + 1);
  if (std::holds_alternative<std::monostate>(lines_)) {
    lines_.emplace<std::string>(s);
  } else if (auto* one = std::get_if<std::string>(&lines_)) {
    std::vector<std::string> many{index == 0 ? s : *one, index == 0 ? *one : s};
    lines_ = std::move(many);
  } else {
    auto& many = std::get<std::vector<std::string>>(lines_);
    many.insert(many.begin() + index, s);
  }
  changed();
}

void TListSubItems::remove(int index) {
  checkIndex(index, count());
  if (auto* many = std::get_if<std::vector<std::string>>(&lines_)) many->erase(many->begin() + index);
  else lines_ = std::monostate();
  changed();
}

void TListSubItems::clear() {
  if (count() == 0) return;
  lines_ = std::monostate();
  changed();
}

void TListSubItems::changed() {
  if (updateCount() > 0) return;
  if (TListView* lv = item_.listView()) lv->itemChanged(&item_, ctText);
}

// ---- TListItem ----

const ClassInfo& TListItem::staticClassInfo() {
  using T = TListItem;
  static const ClassInfo info(
      "TListItem", &TPersistent::staticClassInfo(),
      {strProp<T>("Caption", &T::caption, &T::setCaption),
       boolProp<T>("Checked", &T::checked, &T::setChecked, false),
       boolProp<T>("Cut", &T::cut, &T::setCut, false),
       boolProp<T>("DropTarget", &T::dropTarget, &T::setDropTarget, false),
       boolProp<T>("Focused", &T::focused, &T::setFocused, false),
       ordProp<T, int>("ImageIndex", PropKind::Integer, &T::imageIndex, &T::setImageIndex, nullptr, -1),
       ordProp<T, int>("Indent", PropKind::Integer, &T::indent, &T::setIndent, nullptr, 0),
       ordProp<T, int>("Index", PropKind::Integer, &T::index, nullptr),
       ordProp<T, int>("Left", PropKind::Integer, &T::left, &T::setLeft),
       ordProp<T, int>("OverlayIndex", PropKind::Integer, &T::overlayIndex, &T::setOverlayIndex, nullptr, -1),
       boolProp<T>("Selected", &T::selected, &T::setSelected, false),
       ordProp<T, int>("StateIndex", PropKind::Integer, &T::stateIndex, &T::setStateIndex, nullptr, -1),
       ordProp<T, int>("Top", PropKind::Integer, &T::top, &T::setTop)});
  return info;
}

TListItem::TListItem(TListItems* owner) : owner_(owner) {}

TListItem::Extras& TListItem::extras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

TListView* TListItem::listView() const { return owner_ ? owner_->owner() : nullptr; }

void TListItem::assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TListItem*>(&source);
  if (!other) return TPersistent::assign(source);
  if (other == this) return;
  caption_ = other->caption_;
  image_index_ = other->image_index_;
  extras_ = other->extras_ ? std::make_unique<Extras>(*other->extras_) : nullptr;
  cut_ = other->cut_;
  checked_ = other->checked_;
  data_ = other->data_;
  sub_items_.assign(other->sub_items_);
  if (TListView* lv = listView()) lv->itemChanged(this, ctText);
}

void TListItem::reset(int index) {
  index_ = index;
  caption_.clear();
  sub_items_.clear();
  extras_.reset();
  image_index_ = -1;
  cut_ = checked_ = false;
  data_ = nullptr;
}

void TListItem::setCaption(const std::string& caption) {
  TListView* lv = listView();
  if (lv && index_ >= 0 && lv->OnChanging) {
    bool allow = true;
    fire(lv->OnChanging, lv, this, static_cast<int>(ctText), allow);
    if (!allow) return;
  }
  caption_ = caption;
  if (lv) lv->itemChanged(this, ctText);
}

void TListItem::setImageIndex(int v) {
  image_index_ = v;
  if (TListView* lv = listView()) lv->itemChanged(this, ctImage);
}

void TListItem::setCut(bool v) {
  cut_ = v;
  if (TListView* lv = listView()) lv->itemChanged(this, ctState);
}

void TListItem::setChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  if (TListView* lv = listView()) lv->itemChanged(this, ctState);
}

bool TListItem::dropTarget() const {
  TListView* lv = listView();
  return lv && index_ >= 0 ? lv->drop_target_ == this : extras_ && extras_->drop_target;
}

void TListItem::setDropTarget(bool v) {
  TListView* lv = listView();
  if (!lv || index_ < 0) {
    extras().drop_target = v;
    return;
  }
  if (v) lv->drop_target_ = this;
  else if (lv->drop_target_ == this) lv->drop_target_ = nullptr;
}

bool TListItem::selected() const {
  TListView* lv = listView();
  return lv && index_ >= 0 ? lv->rowSelected(index_) : extras_ && extras_->selected;
}

void TListItem::setSelected(bool v) {
  TListView* lv = listView();
  if (lv && index_ >= 0) lv->setRowSelected(index_, v);
  else extras().selected = v;
}

bool TListItem::focused() const {
  TListView* lv = listView();
  return lv && index_ >= 0 ? lv->selection_->currentIndex().row() == index_ : extras_ && extras_->focused;
}

void TListItem::setFocused(bool v) {
  TListView* lv = listView();
  if (!lv || index_ < 0) {
    extras().focused = v;
    return;
  }
  if (v) lv->selection_->setCurrentIndex(lv->model_->index(index_, 0), QItemSelectionModel::NoUpdate);
  else if (focused()) lv->selection_->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

TPoint TListItem::position() const {
  if (extras_ && extras_->has_position) return extras_->position;
  TListView* lv = listView();
  if (!lv || index_ < 0) return {0, 0};
  const TRect r = lv->itemRect(index_, drBounds);
  return {r.left, r.top};
}

void TListItem::setPosition(TPoint p) {
  extras().position = p;
  extras().has_position = true;
}

int TListItem::subItemImage(int i) const {
  if (i < 0 || i >= sub_items_.count()) return -1;
  if (!extras_ || static_cast<size_t>(i) >= extras_->sub_images.size()) return -1;
  return extras_->sub_images[static_cast<size_t>(i)];
}

void TListItem::setSubItemImage(int i, int image) {
  if (i < 0 || i >= sub_items_.count()) return;
  std::vector<int>& images = extras().sub_images;
  if (images.size() <= static_cast<size_t>(i)) images.resize(static_cast<size_t>(i) + 1, -1);
  images[static_cast<size_t>(i)] = image;
  if (TListView* lv = listView()) lv->itemChanged(this, ctImage);
}

void TListItem::deleteItem() {
  if (owner_ && index_ >= 0 && !listView()->ownerData()) owner_->remove(index_);
}

TRect TListItem::displayRect(int code) const {
  TListView* lv = listView();
  const bool laid_out = lv && index_ >= 0 && lv->widget() && lv->widget()->isVisible();
  return laid_out ? lv->itemRect(index_, code) : TRect{0, 0, 0, 0};
}

bool TListItem::editCaption() {
  TListView* lv = listView();
  if (!lv || index_ < 0 || lv->readOnly()) return false;
  const QModelIndex idx = lv->model_->index(index_, 0);
  lv->selection_->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
  lv->view()->edit(idx);
  return lv->isEditing();
}

void TListItem::cancelEdit() {
  TListView* lv = listView();
  if (!lv) return;
  if (QPointer<QWidget> editor = lv->delegate()->editor())
    emit lv->delegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void TListItem::makeVisible(bool partial_ok) {
  TListView* lv = listView();
  if (!lv || index_ < 0) return;
  const QModelIndex idx = lv->model_->index(index_, 0);
  if (partial_ok && lv->view()->viewport()->rect().intersects(lv->view()->visualRect(idx))) return;
  lv->view()->scrollTo(idx, QAbstractItemView::EnsureVisible);
}

void TListItem::update() {
  if (TListView* lv = listView(); lv && index_ >= 0) lv->updateItems(index_, index_);
}

// ---- TListItems ----

// The items' memory: slots taken from blocks in turn, reused through a free list, all
// blocks given back when the last item goes. Blocks double up to 2 MiB, and those ask for
// huge pages: a million items cost a few hundred allocations and few page faults, not a
// million of each.
class ListItemPool {
public:
  ~ListItemPool() { release(); }
  void* take() {
    ++live_;
    if (free_) {
      Slot* s = free_;
      free_ = s->next;
      return s;
    }
    if (blocks_.empty() || used_ == blocks_.back().count) grow();
    return &blocks_.back().start[used_++];
  }
  void give(void* p) {
    auto* s = static_cast<Slot*>(p);
    s->next = free_;
    free_ = s;
    if (--live_ == 0) release();
  }

private:
  union Slot {
    Slot* next;
    alignas(TListItem) std::byte bytes[sizeof(TListItem)];
  };
  struct Block {
    Slot* start;
    size_t count;
  };
  static constexpr size_t kHuge = size_t(2) << 20;
  void grow() {
    const size_t bytes = blocks_.empty() ? 64 * sizeof(Slot) : std::min(kHuge, 2 * blocks_.back().count * sizeof(Slot));
    void* memory = bytes == kHuge ? std::aligned_alloc(kHuge, kHuge) : std::malloc(bytes);
    if (!memory) throw std::bad_alloc();
    if (bytes == kHuge) madvise(memory, kHuge, MADV_HUGEPAGE);
    blocks_.push_back({static_cast<Slot*>(memory), bytes / sizeof(Slot)});
    used_ = 0;
  }
  void release() {
    for (const Block& b : blocks_) std::free(b.start);
    blocks_.clear();
    free_ = nullptr;
    used_ = 0;
  }
  std::vector<Block> blocks_;
  Slot* free_ = nullptr;  // given back; taken first
  size_t used_ = 0;       // slots handed out from the last block
  size_t live_ = 0;
};

TListItems::TListItems(TListView& view) : view_(view), pool_(std::make_unique<ListItemPool>()) {}

TListItem* TListItems::make() {
  void* slot = pool_->take();
  return new (slot) TListItem(this);
}

void TListItems::destroy(TListItem* item) {
  item->~TListItem();
  pool_->give(item);
}

const ClassInfo& TListItems::staticClassInfo() {
  static const ClassInfo info("TListItems", &TPersistent::staticClassInfo());
  return info;
}

TListItems::~TListItems() {
  for (TListItem* item : items_) destroy(item);
}

int TListItems::count() const { return view_.rowCount(); }

void TListItems::setCount(int n) {
  if (!view_.ownerData()) throw EPropertyError("Count can only be set for an owner-data list");
  if (n < 0) throw EPropertyError("Invalid count (" + std::to_string(n) + ")");
  view_.checkChangeAllowed();
  const int old = view_.virtual_count_;
  view_.virtual_count_ = n;
  view_.countChanged(old, n);
}

TListItem* TListItems::item(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  if (!view_.ownerData()) return items_[static_cast<size_t>(index)];
  if (!view_.filling_) view_.filled_row_ = -1;  // every read asks OnData afresh
  return view_.fill(index);
}

TListItem* TListItems::add() { return insert(count()); }

TListItem* TListItems::insert(int index) {
  if (view_.ownerData() || index < 0 || index > count()) indexError(index);
  view_.checkChangeAllowed();
  TListItem* item = make();
  item->id_ = view_.next_id_++;
  auto change = [&] {
    const size_t at = std::min(static_cast<size_t>(index), items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), item);
    view_.renumber(at);
  };
  if (view_.model_->direct()) view_.model_->insertRowsNow(index, index, change);
  else {
    change();
    view_.model_->scheduleReset();
  }
  ++view_.generation_;
  if (view_.ItemLifecycle) view_.ItemLifecycle(item, true);
  fire(view_.OnInsert, &view_, item);
  return item;
}

void TListItems::remove(int index) {
  if (view_.ownerData() || index < 0 || index >= count()) indexError(index);
  view_.checkChangeAllowed();
  std::vector<TListItem*> gone{items_[static_cast<size_t>(index)]};
  auto change = [&] {
    if (static_cast<size_t>(index) >= items_.size() || items_[static_cast<size_t>(index)] != gone[0]) {
      gone.clear();  // taken out meanwhile, by whoever did it
      return;
    }
    items_.erase(items_.begin() + index);
    view_.renumber(static_cast<size_t>(index));
  };
  if (view_.model_->direct()) view_.model_->removeRowsNow(index, index, change);
  else {
    change();
    view_.model_->scheduleReset();
  }
  view_.itemsRemoved(std::move(gone), index, index);
}

void TListItems::clear() {
  view_.checkChangeAllowed();
  if (view_.ownerData()) {
    setCount(0);
    return;
  }
  if (items_.empty()) return;
  std::vector<TListItem*> gone;
  const int last = static_cast<int>(items_.size()) - 1;
  if (view_.model_->direct()) view_.model_->removeRowsNow(0, last, [&] { gone.swap(items_); });
  else {
    gone.swap(items_);
    view_.model_->scheduleReset();
  }
  view_.itemsRemoved(std::move(gone), 0, last);
}

int TListItems::indexOf(const TListItem* item) const {
  if (!item || item->owner_ != this || item->index_ < 0 || view_.ownerData()) return -1;
  return item->index_;
}

void TListItems::endUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) view_.model_->resetNow();
}

// ---- TListColumn(s) ----

const ClassInfo& TListColumn::staticClassInfo() {
  using T = TListColumn;
  static const ClassInfo info(
      "TListColumn", &TPersistent::staticClassInfo(),
      {ordProp<T, int>("Alignment", PropKind::Enumeration, &T::alignment, &T::setAlignment, &alignmentType(),
                       taLeftJustify),
       boolProp<T>("AutoSize", &T::autoSize, &T::setAutoSize, false), strProp<T>("Caption", &T::caption, &T::setCaption),
       ordProp<T, int>("Index", PropKind::Integer, &T::index, nullptr),
       ordProp<T, int>("MaxWidth", PropKind::Integer, &T::maxWidth, &T::setMaxWidth, nullptr, 0),
       ordProp<T, int>("MinWidth", PropKind::Integer, &T::minWidth, &T::setMinWidth, nullptr, 0),
       ordProp<T, int>("Width", PropKind::Integer, &T::width, &T::setWidth, nullptr, 50)});
  return info;
}

void TListColumn::assign(const TPersistent& source) {
  auto* c = dynamic_cast<const TListColumn*>(&source);
  if (!c) return TPersistent::assign(source);
  caption_ = c->caption_;
  width_ = c->width_;
  alignment_ = c->alignment_;
  auto_size_ = c->auto_size_;
  min_width_ = c->min_width_;
  max_width_ = c->max_width_;
  changed();
}

void TListColumn::changed() { owner_.view_.columnsChanged(); }
void TListColumn::setCaption(const std::string& c) { caption_ = c; changed(); }
void TListColumn::setWidth(int w) {
  w = std::max(w, min_width_);
  if (max_width_ > 0) w = std::min(w, max_width_);
  width_ = std::max(0, w);
  changed();
}
void TListColumn::setAlignment(int a) { alignment_ = a; changed(); }
void TListColumn::setAutoSize(bool a) { auto_size_ = a; changed(); }
void TListColumn::setMinWidth(int w) { min_width_ = std::max(0, w); setWidth(width_); }
void TListColumn::setMaxWidth(int w) { max_width_ = std::max(0, w); setWidth(width_); }

int TListColumn::index() const {
  for (int i = 0; i < owner_.count(); ++i)
    if (owner_.items(i) == this) return i;
  return -1;
}

const ClassInfo& TListColumns::staticClassInfo() {
  static const ClassInfo info("TListColumns", &TPersistent::staticClassInfo());
  return info;
}

TListColumn* TListColumns::items(int index) const {
  return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

TListColumn* TListColumns::add() {
  items_.push_back(std::make_unique<TListColumn>(*this));
  view_.columnsChanged();
  return items_.back().get();
}

void TListColumns::clear() {
  for (auto& c : items_) removed_.push_back(std::move(c));
  items_.clear();
  view_.columnsChanged();
}

void TListColumns::assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TListColumns*>(&source);
  if (!other) return TPersistent::assign(source);
  if (other == this) return;
  clear();
  for (int i = 0; i < other->count(); ++i) add()->assign(*other->items(i));
}

}  // namespace kgui
