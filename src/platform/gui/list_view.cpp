// TListView over Qt's item views: the item vector, the one model both views share, the
// delegate that paints (custom draw) and edits in place, and the sort.
#include "platform/gui/list_view.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
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

[[noreturn]] void indexError(int index) {
  throw EPropertyError("List index out of bounds (" + std::to_string(index) + ")");
}

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

// Counts the views' calls into the model: changes of rows made meanwhile wait for a reset.
class ModelDepth {
public:
  explicit ModelDepth(const TListView& lv) : depth_(lv.model_depth_) { ++depth_; }
  ~ModelDepth() { --depth_; }
  ModelDepth(const ModelDepth&) = delete;
  ModelDepth& operator=(const ModelDepth&) = delete;

private:
  int& depth_;
};

// The one model of both views. It announces rows_ and columns_; the list may hold fewer rows
// for a while (a change made from inside a paint waits for the reset), so every row is checked.
class ListViewModel : public QAbstractTableModel {
public:
  explicit ListViewModel(TListView& lv) : lv_(lv) {}
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : columns_; }
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Announces every change at once: from the event loop, after the update or paint that
  // delayed it.
  void scheduleReset() {
    if (reset_pending_) return;
    reset_pending_ = true;
    QTimer::singleShot(0, this, [this] { resetNow(); });
  }
  void resetNow() {
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
  bool direct() const { return !reset_pending_ && !lv_.modelBusy() && lv_.items()->updateCount() == 0; }
  // The views hear of the change while the model counts as busy: nothing a signal runs may
  // change the rows in between (it would wait for a reset).
  void insertRowsNow(int first, int last, const std::function<void()>& change) {
    {
      ModelDepth depth(lv_);
      beginInsertRows({}, first, last);
      change();
      rows_ += last - first + 1;
      endInsertRows();
    }
    if (rows_ != lv_.rowCount()) scheduleReset();
  }
  void removeRowsNow(int first, int last, const std::function<void()>& change) {
    {
      ModelDepth depth(lv_);
      beginRemoveRows({}, first, last);
      change();
      rows_ -= last - first + 1;
      endRemoveRows();
    }
    if (rows_ != lv_.rowCount()) scheduleReset();
  }
  void setColumnCount(int n) {
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
  void rowsChanged(int first, int last) {
    if (rows_ == 0 || first >= rows_) return;
    emit dataChanged(index(first, 0), index(std::min(last, rows_ - 1), columns_ - 1));
  }
  // Sorting: the persistent indexes (selection, current item, editor) follow their items.
  void moveRows(const std::vector<uint32_t>& new_row_of_old) {
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
      const size_t old = static_cast<size_t>(i.row());
      to.append(old < new_row_of_old.size() ? index(static_cast<int>(new_row_of_old[old]), i.column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
  }
  bool reset_pending_ = false;

private:
  TListView& lv_;
  int rows_ = 0;
  int columns_ = 1;
};

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

// Paints through the custom-draw events and edits captions in place: OnEditing may refuse
// the editor, OnEdited may change the text before it becomes the caption.
class ListViewDelegate : public QStyledItemDelegate {
public:
  ListViewDelegate(TListView& lv, QObject* parent) : QStyledItemDelegate(parent), lv_(lv) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (lv_.readOnly() || index.column() != 0 || index.row() >= lv_.rowCount()) return nullptr;
    const uint64_t generation = lv_.generation_;
    TListItem* item = lv_.rowItem(index.row());
    if (!item) return nullptr;
    bool allow = true;
    fire(lv_.OnEditing, &lv_, item, allow);
    if (!allow || generation != lv_.generation_) return nullptr;
    editor_ = QStyledItemDelegate::createEditor(parent, option, index);
    return editor_;
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    const int row = index.row();
    if (!line || row >= lv_.rowCount()) return;
    const uint64_t generation = lv_.generation_;
    TListItem* item = lv_.rowItem(row);
    if (!item) return;
    std::string text = ss(line->text());
    fire(lv_.OnEdited, &lv_, item, text);
    if (generation != lv_.generation_ || row >= lv_.rowCount()) return;
    if (TListItem* now = lv_.rowItem(row)) now->setCaption(text);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    ModelDepth depth(lv_);
    const int row = index.row(), column = index.column();
    const uint64_t generation = lv_.generation_;
    TListItem* item = row < lv_.rowCount() ? lv_.rowItem(row) : nullptr;
    if (!item) return;
    uint32_t state = 0;
    if (option.state & QStyle::State_Selected) state |= 1u << cdsSelected;
    if (option.state & QStyle::State_HasFocus) state |= 1u << cdsFocused;
    if (item->checked()) state |= 1u << cdsChecked;
    const TRect rect{option.rect.left(), option.rect.top(), option.rect.right() + 1, option.rect.bottom() + 1};
    bool default_draw = true;
    if (column == 0) {
      if (lv_.ownerDraw() && lv_.viewStyle() == vsReport && lv_.OnDrawItem) {
        uint32_t od = 0;
        if (state & (1u << cdsSelected)) od |= 1u << odSelected;
        if (state & (1u << cdsFocused)) od |= 1u << odFocused;
        fire(lv_.OnDrawItem, &lv_, item, rect, od);
        return;
      }
      fire(lv_.OnGetImageIndex, &lv_, item);
      if (generation == lv_.generation_) fire(lv_.OnCustomDrawItem, &lv_, item, state, default_draw);
      if (default_draw && generation == lv_.generation_)
        fire(lv_.OnAdvancedCustomDrawItem, &lv_, item, state, static_cast<int>(cdPrePaint), default_draw);
    } else {
      int image = item->subItemImage(column - 1);
      fire(lv_.OnGetSubItemImage, &lv_, item, column, image);
      if (generation == lv_.generation_) fire(lv_.OnCustomDrawSubItem, &lv_, item, column, state, default_draw);
      if (default_draw && generation == lv_.generation_)
        fire(lv_.OnAdvancedCustomDrawSubItem, &lv_, item, column, state, static_cast<int>(cdPrePaint), default_draw);
    }
    if (!default_draw || generation != lv_.generation_ || row >= lv_.rowCount()) return;
    QStyledItemDelegate::paint(painter, option, index);
  }

  QPointer<QWidget> editor() const { return editor_; }

private:
  TListView& lv_;
  mutable QPointer<QWidget> editor_;
};

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
