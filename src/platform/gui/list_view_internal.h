// Private to the list view's files: the one model both views share, the count of the
// views' calls into it, and the delegate that paints and edits in place.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gui/list_view.h"

namespace kgui {

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
  void scheduleReset();
  void resetNow();
  bool direct() const { return !reset_pending_ && !lv_.modelBusy() && lv_.items()->updateCount() == 0; }
  // The views hear of the change while the model counts as busy: nothing a signal runs may
  // change the rows in between (it would wait for a reset).
  void insertRowsNow(int first, int last, const std::function<void()>& change);
  void removeRowsNow(int first, int last, const std::function<void()>& change);
  void setColumnCount(int n);
  void rowsChanged(int first, int last);
  // Sorting: the persistent indexes (selection, current item, editor) follow their items.
  void moveRows(const std::vector<uint32_t>& new_row_of_old);
  bool reset_pending_ = false;

private:
  TListView& lv_;
  int rows_ = 0;
  int columns_ = 1;
};

// Paints through the custom-draw events and edits captions in place: OnEditing may refuse
// the editor, OnEdited may change the text before it becomes the caption.
class ListViewDelegate : public QStyledItemDelegate {
public:
  ListViewDelegate(TListView& lv, QObject* parent) : QStyledItemDelegate(parent), lv_(lv) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  QPointer<QWidget> editor() const { return editor_; }

private:
  TListView& lv_;
  mutable QPointer<QWidget> editor_;
};

}  // namespace kgui
