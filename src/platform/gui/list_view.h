// TListView: items kept in our own vector and shown through one item model, by a QTreeView
// in vsReport and a QListView in the icon and list styles. Sorting reorders the vector, so an
// item's Index and its place on screen agree. An owner-data list keeps no items: it has a
// count and fills one temporary item through OnData for each row it needs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/classes/strings.h"
#include "platform/gui/control.h"
#include "platform/gui/tab_controls.h"  // THitTest and hitTestType

class QAbstractItemView;
class QItemSelection;
class QItemSelectionModel;
class QListView;
class QTreeView;

namespace kgui {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemStateKind { isNone, isCut, isDropHilited, isFocused, isSelected, isActivating };
enum TListArrangement { arAlignBottom, arAlignLeft, arAlignRight, arAlignTop, arDefault, arSnapToGrid };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateKind {
  cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked, cdsIndeterminate
};
enum TOwnerDrawStateKind {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};

const EnumInfo& viewStyleType();
const EnumInfo& itemChangeType();
const EnumInfo& displayCodeType();
const EnumInfo& searchDirectionType();
const EnumInfo& itemStateType();      // set "TItemStates"
const EnumInfo& listArrangementType();
const EnumInfo& itemFindType();
const EnumInfo& customDrawStageType();
const EnumInfo& customDrawStateType();  // set "TCustomDrawState"
const EnumInfo& ownerDrawStateType();   // set "TOwnerDrawState"

class TListView;
class TListItems;
class TListItem;

// An item's sub-item texts (columns 2 onwards); every change repaints the item.
class TListSubItems : public TStrings {
public:
  explicit TListSubItems(TListItem& item) : item_(item) {}
  int count() const override;
  std::string get(int index) const override;
  void put(int index, const std::string& s) override;
  void insert(int index, const std::string& s) override;
  void remove(int index) override;
  void clear() override;

protected:
  void setUpdateState(bool updating) override {
    if (!updating) changed();
  }

private:
  void changed();
  std::string& line(int index);
  TListItem& item_;
  // No text, one text, or a list of them: most items have one sub-item or none, and a
  // million of them then cost no allocation of their own.
  std::variant<std::monostate, std::string, std::vector<std::string>> lines_;
};

class TListItem : public TPersistent {
public:
  explicit TListItem(TListItems* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // The native copy: caption, images, indent, states, sub-items and the data pointer.
  void assign(const TPersistent& source) override;

  TListItems* owner() const { return owner_; }
  TListView* listView() const;
  // -1 once the item has left its list (while its deletion events run).
  int index() const { return index_; }
  uint32_t id() const { return id_; }

  std::string caption() const { return caption_; }
  void setCaption(const std::string& caption);
  TStrings* subItems() const { return &sub_items_; }
  int imageIndex() const { return image_index_; }
  void setImageIndex(int v);
  int overlayIndex() const { return extras_ ? extras_->overlay_index : -1; }
  void setOverlayIndex(int v) { extras().overlay_index = v; }
  int stateIndex() const { return extras_ ? extras_->state_index : -1; }
  void setStateIndex(int v) { extras().state_index = v; }
  int indent() const { return extras_ ? extras_->indent : 0; }
  void setIndent(int v) { extras().indent = v; }
  bool cut() const { return cut_; }
  void setCut(bool v);
  bool dropTarget() const;
  void setDropTarget(bool v);
  bool checked() const { return checked_; }
  void setChecked(bool v);
  // Selection and focus live in the view's selection model.
  bool selected() const;
  void setSelected(bool v);
  bool focused() const;
  void setFocused(bool v);
  TPoint position() const;
  void setPosition(TPoint p);
  int left() const { return position().x; }
  void setLeft(int v) { setPosition({v, position().y}); }
  int top() const { return position().y; }
  void setTop(int v) { setPosition({position().x, v}); }
  // The image of sub-item i; -1 outside the sub-items.
  int subItemImage(int i) const;
  void setSubItemImage(int i, int image);

  // The machinery's link to the item's script object; never the script's own data.
  void* data() const { return data_; }
  void setData(void* d) { data_ = d; }

  void deleteItem();  // the platform's Delete
  // The part `code` (drBounds ...) of the item in the list's coordinates; zeros while the
  // list is not on screen, when nothing is laid out.
  TRect displayRect(int code) const;
  bool editCaption();
  void cancelEdit();
  void makeVisible(bool partial_ok);
  void update();
  int workArea() const { return 0; }

private:
  friend class TListItems;
  friend class TListView;
  void reset(int index);  // an owner-data row about to be filled
  TListItems* owner_;
  int index_ = -1;
  uint32_t id_ = 0;
  std::string caption_;
  mutable TListSubItems sub_items_{*this};
  // What few items use lives apart, so a million plain items stay small.
  struct Extras {
    std::vector<int> sub_images;
    int overlay_index = -1, state_index = -1, indent = 0;
    bool drop_target = false, selected = false, focused = false;  // outside a list only
    bool has_position = false;
    TPoint position{0, 0};
  };
  Extras& extras();
  std::unique_ptr<Extras> extras_;
  int image_index_ = -1;
  bool cut_ = false, checked_ = false;
  void* data_ = nullptr;
};

class ListItemPool;

class TListItems : public TPersistent {
public:
  explicit TListItems(TListView& view);
  ~TListItems() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TListView* owner() const { return &view_; }

  int count() const;
  // Owner data: the count of rows (OnData fills them); otherwise EListError.
  void setCount(int n);
  // nil out of range; for owner data the temporary item filled for that row.
  TListItem* item(int index) const;
  TListItem* add();
  TListItem* insert(int index);  // "List index out of bounds (n)" outside 0..Count
  void remove(int index);        // the platform's Delete; the same error outside the items
  void clear();
  int indexOf(const TListItem* item) const;
  // Inside an update the views hear of the changes once, at the end.
  void beginUpdate() { ++update_count_; }
  void endUpdate();
  int updateCount() const { return update_count_; }

private:
  friend class TListView;
  friend class TListItem;
  TListItem* make();
  void destroy(TListItem* item);
  TListView& view_;
  std::vector<TListItem*> items_;
  std::unique_ptr<ListItemPool> pool_;
  int update_count_ = 0;
};

class TListColumns;

class TListColumn : public TPersistent {
public:
  explicit TListColumn(TListColumns& owner) : owner_(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  void assign(const TPersistent& source) override;
  std::string caption() const { return caption_; }
  void setCaption(const std::string& c);
  int width() const { return width_; }
  void setWidth(int w);
  int alignment() const { return alignment_; }
  void setAlignment(int a);
  bool autoSize() const { return auto_size_; }
  void setAutoSize(bool a);
  int minWidth() const { return min_width_; }
  void setMinWidth(int w);
  int maxWidth() const { return max_width_; }
  void setMaxWidth(int w);
  int index() const;

private:
  friend class TListView;
  void changed();
  TListColumns& owner_;
  std::string caption_;
  int width_ = 50, alignment_ = 0, min_width_ = 0, max_width_ = 0;
  bool auto_size_ = false;
};

class TListColumns : public TPersistent {
public:
  explicit TListColumns(TListView& view) : view_(view) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  void assign(const TPersistent& source) override;
  int count() const { return static_cast<int>(items_.size()); }
  TListColumn* items(int index) const;  // nil out of range
  TListColumn* add();
  void clear();
  TListView* owner() const { return &view_; }

private:
  friend class TListColumn;
  TListView& view_;
  std::vector<std::unique_ptr<TListColumn>> items_;
  // Columns taken out stay until the list goes: a script may still hold one.
  std::vector<std::unique_ptr<TListColumn>> removed_;
};

using TLVNotifyEvent = std::function<void(TComponent* sender, TListItem* item)>;
using TLVChangeEvent = std::function<void(TComponent* sender, TListItem* item, int change)>;
using TLVChangingEvent = std::function<void(TComponent* sender, TListItem* item, int change, bool& allow)>;
using TLVColumnClickEvent = std::function<void(TComponent* sender, TListColumn* column)>;
using TLVColumnRClickEvent = std::function<void(TComponent* sender, TListColumn* column, TPoint point)>;
using TLVCompareEvent =
    std::function<void(TComponent* sender, TListItem* a, TListItem* b, int data, int& compare)>;
using TLVCustomDrawEvent = std::function<void(TComponent* sender, const TRect& rect, bool& default_draw)>;
using TLVAdvancedCustomDrawEvent =
    std::function<void(TComponent* sender, const TRect& rect, int stage, bool& default_draw)>;
using TLVCustomDrawItemEvent =
    std::function<void(TComponent* sender, TListItem* item, uint32_t state, bool& default_draw)>;
using TLVAdvancedCustomDrawItemEvent =
    std::function<void(TComponent* sender, TListItem* item, uint32_t state, int stage, bool& default_draw)>;
using TLVCustomDrawSubItemEvent =
    std::function<void(TComponent* sender, TListItem* item, int sub_item, uint32_t state, bool& default_draw)>;
using TLVAdvancedCustomDrawSubItemEvent = std::function<void(TComponent* sender, TListItem* item, int sub_item,
                                                             uint32_t state, int stage, bool& default_draw)>;
using TLVOwnerDataFindEvent =
    std::function<void(TComponent* sender, int find, const std::string& text, TPoint position, int data,
                       int start, int direction, bool wrap, int& index)>;
using TLVOwnerDataHintEvent = std::function<void(TComponent* sender, int start, int end)>;
using TLVOwnerDataStateChangeEvent =
    std::function<void(TComponent* sender, int start, int end, uint32_t old_state, uint32_t new_state)>;
using TLVDrawItemEvent = std::function<void(TComponent* sender, TListItem* item, const TRect& rect, uint32_t state)>;
using TLVEditedEvent = std::function<void(TComponent* sender, TListItem* item, std::string& text)>;
using TLVEditingEvent = std::function<void(TComponent* sender, TListItem* item, bool& allow)>;
using TLVSubItemImageEvent =
    std::function<void(TComponent* sender, TListItem* item, int sub_item, int& image_index)>;
using TLVInfoTipEvent = std::function<void(TComponent* sender, TListItem* item, std::string& tip)>;
using TLVSelectItemEvent = std::function<void(TComponent* sender, TListItem* item, bool selected)>;

class ListViewModel;
class ListViewDelegate;

class TListView : public TWinControl {
public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  TListItems* items() const { return items_.get(); }
  TListColumns* columns() const { return columns_.get(); }
  int viewStyle() const { return view_style_; }
  void setViewStyle(int style);
  bool ownerData() const { return owner_data_; }
  void setOwnerData(bool o);  // changing it empties the list
  bool readOnly() const { return read_only_; }
  void setReadOnly(bool r) { read_only_ = r; }
  bool checkboxes() const { return checkboxes_; }
  void setCheckboxes(bool c);
  bool multiSelect() const;
  void setMultiSelect(bool m);
  bool rowSelect() const;
  void setRowSelect(bool r);
  bool showColumnHeaders() const;
  void setShowColumnHeaders(bool s);
  bool gridLines() const { return grid_lines_; }
  void setGridLines(bool g) { grid_lines_ = g; }
  bool ownerDraw() const { return owner_draw_; }
  void setOwnerDraw(bool o) { owner_draw_ = o; }

  TListItem* selected() const;  // the first selected item
  void setSelected(TListItem* item);  // nil clears the selection
  TListItem* itemFocused() const;
  void setItemFocused(TListItem* item);
  TListItem* dropTarget() const;
  void setDropTarget(TListItem* item);
  TListItem* topItem() const;
  int selCount() const;
  int visibleRowCount() const;
  int itemIndex() const;
  void setItemIndex(int index);
  TPoint viewOrigin() const;
  TRect boundingRect() const;

  // OnCompare when assigned, else the caption order; stable. False for an owner-data list
  // or while a sort runs.
  bool alphaSort();
  // The caption order of alphaSort without OnCompare: the byte order of the keys that key
  // appends for each caption (nil: the captions' own bytes).
  using CaptionKey = void (*)(std::string_view caption, std::string& out);
  void setCaptionOrder(CaptionKey key) { caption_key_ = key; }
  void arrange(int code);
  TListItem* findCaption(int start, const std::string& value, bool partial, bool inclusive, bool wrap);
  TListItem* getItemAt(int x, int y) const;
  TListItem* getNearestItem(TPoint point, int direction) const;
  TListItem* getNextItem(TListItem* start, int direction, uint32_t states) const;
  uint32_t getHitTestInfoAt(int x, int y) const;  // THitTest bits
  std::string getSearchString() const { return search_; }
  bool isEditing() const;
  void scroll(int dx, int dy);
  int stringWidth(const std::string& text) const;
  void updateItems(int first, int last);

  // Told of every item that enters the list and of every item that leaves it, by any path
  // (delete, clear, a new owner-data count, the list's destruction). Not a published event:
  // clearing the events leaves it.
  std::function<void(TListItem* item, bool inserted)> ItemLifecycle;

  TLVAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TLVAdvancedCustomDrawItemEvent OnAdvancedCustomDrawItem;
  TLVAdvancedCustomDrawSubItemEvent OnAdvancedCustomDrawSubItem;
  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVColumnClickEvent OnColumnClick;
  TNotifyEvent OnColumnDragged;
  TLVColumnRClickEvent OnColumnRightClick;
  TLVCompareEvent OnCompare;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;
  TLVNotifyEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVOwnerDataHintEvent OnDataHint;
  TLVOwnerDataStateChangeEvent OnDataStateChange;
  TLVNotifyEvent OnDeletion;
  TLVDrawItemEvent OnDrawItem;
  TLVEditedEvent OnEdited;
  TLVEditingEvent OnEditing;
  TLVNotifyEvent OnGetImageIndex;
  TLVSubItemImageEvent OnGetSubItemImage;
  TLVInfoTipEvent OnInfoTip;
  TLVNotifyEvent OnInsert;
  TLVSelectItemEvent OnSelectItem;

  // The view showing the items now (a tree view in vsReport, else a list view).
  QAbstractItemView* view() const;

protected:
  bool handleEvent(QObject* target, QEvent* event) override;
  QWidget* mouseWidget() const override;
  void applyColor() override;

private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  friend class TListSubItems;
  friend class ListViewModel;
  friend class ListViewDelegate;
  friend class ModelDepth;

  int rowCount() const;
  TListItem* rowItem(int row) const;  // a stored item, or the filled temporary one
  TListItem* fill(int row) const;
  void itemInserted(int row);
  void itemsRemoved(std::vector<TListItem*> gone, int first, int last);
  void renumber(size_t from);
  void countChanged(int old_count, int new_count);
  void columnsChanged();
  void itemChanged(const TListItem* item, int change);
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  // Structural changes wait while a view is inside the model (painting, asking data).
  bool modelBusy() const { return model_depth_ > 0; }
  void checkChangeAllowed() const;
  TRect itemRect(int row, int code) const;
  QPoint toViewport(int x, int y) const;
  bool rowSelected(int row) const;
  void setRowSelected(int row, bool s);
  void firstPaintHint();
  uint32_t itemStates(int row) const;

  std::unique_ptr<TListItems> items_;
  std::unique_ptr<TListColumns> columns_;
  ListViewModel* model_ = nullptr;
  QItemSelectionModel* selection_ = nullptr;
  QTreeView* tree_ = nullptr;
  QListView* list_ = nullptr;
  ListViewDelegate* tree_delegate_ = nullptr;  // one per view: a delegate's editor belongs to one view
  ListViewDelegate* list_delegate_ = nullptr;
  ListViewDelegate* delegate() const;
  int view_style_ = vsIcon;
  bool owner_data_ = false;
  bool read_only_ = false, checkboxes_ = false, grid_lines_ = false, owner_draw_ = false;
  int virtual_count_ = 0;
  mutable std::unique_ptr<TListItem> temp_;  // the owner-data row being filled
  mutable int filled_row_ = -1;
  mutable bool filling_ = false;
  mutable int model_depth_ = 0;
  bool sorting_ = false;
  bool destroying_ = false;
  uint32_t next_id_ = 1;
  uint64_t generation_ = 0;  // moves on each structural change
  TListItem* drop_target_ = nullptr;
  std::string search_;
  CaptionKey caption_key_ = nullptr;
};

}  // namespace kgui
