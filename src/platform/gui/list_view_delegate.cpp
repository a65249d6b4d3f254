// The list view's delegate: painting through the custom-draw events and editing captions in
// place.
#include <QLineEdit>
#include <QPainter>

#include "platform/gui/guard.h"
#include "platform/gui/list_view_internal.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

QWidget* ListViewDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
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

void ListViewDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
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

void ListViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
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

}  // namespace kgui
