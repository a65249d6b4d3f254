// TStringGrid: the platform's cell indices mapped onto a table with header sections.
#include "platform/gui/grid.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

static QTableWidget* table(QWidget* w) { return static_cast<QTableWidget*>(w); }

// The fixed cell where the heading row meets the title column is the table's corner button,
// which shows no text of its own: a label inside it shows the cell's text.
static QLabel* cornerLabel(QTableWidget* t) {
  auto* corner = t->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (!corner) return nullptr;
  if (auto* label = corner->findChild<QLabel*>()) return label;
  auto* layout = new QHBoxLayout(corner);
  layout->setContentsMargins(2, 0, 2, 0);
  auto* label = new QLabel(corner);
  label->setAlignment(Qt::AlignCenter);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  layout->addWidget(label);
  return label;
}

const ClassInfo& TStringGrid::staticClassInfo() {
  using T = TStringGrid;
  static const ClassInfo info(
      "TStringGrid", &TWinControl::staticClassInfo(),
      {ordProp<T, int>("ColCount", PropKind::Integer, &T::colCount, &T::setColCount, nullptr, 5),
       ordProp<T, int>("DefaultColWidth", PropKind::Integer, &T::defaultColWidth,
                       &T::setDefaultColWidth, nullptr, 64),
       ordProp<T, int>("DefaultRowHeight", PropKind::Integer, &T::defaultRowHeight,
                       &T::setDefaultRowHeight, nullptr, 24),
       ordProp<T, int>("FixedCols", PropKind::Integer, &T::fixedCols, &T::setFixedCols, nullptr, 1),
       ordProp<T, int>("FixedRows", PropKind::Integer, &T::fixedRows, &T::setFixedRows, nullptr, 1),
       ordProp<T, uint32_t>("Options", PropKind::Set, &T::options, &T::setOptions, &gridOptionType()),
       ordProp<T, int>("RowCount", PropKind::Integer, &T::rowCount, &T::setRowCount, nullptr, 5),
       eventProp<T>("OnSelectCell", &T::OnSelectCell), eventProp<T>("OnSetEditText", &T::OnSetEditText)});
  return info;
}

TStringGrid::TStringGrid(TComponent* owner)
    : TWinControl(owner, new QTableWidget()),
      options_(setOf({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect})) {
  QTableWidget* t = table(widget());
  t->setSelectionBehavior(QAbstractItemView::SelectItems);
  t->setSelectionMode(QAbstractItemView::ContiguousSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->horizontalHeader()->setDefaultSectionSize(default_col_width_);
  t->verticalHeader()->setDefaultSectionSize(default_row_height_);
  t->verticalHeader()->setMinimumSectionSize(1);
  t->setTextElideMode(Qt::ElideNone);  // the platform clips a long text at the cell's edge
  watch(t->viewport());
  QObject::connect(t, &QTableWidget::currentCellChanged,
                   [this](int r, int c, int pr, int pc) { userMoved(r, c, pr, pc); });
  QObject::connect(t, &QTableWidget::itemChanged, [this](QTableWidgetItem* item) {
    if (setting_cell_ || !item || item->row() < 0) return;
    fire(OnSetEditText, this, item->column() + fixed_cols_, item->row() + fixed_rows_, ss(item->text()));
  });
  setColCount(5);
  setRowCount(5);
  setColor(clWindow);
  setBounds(0, 0, 320, 120);
}

TStringGrid::~TStringGrid() {
  QTableWidget* t = table(widget());
  QObject::disconnect(t, &QTableWidget::currentCellChanged, nullptr, nullptr);
  QObject::disconnect(t, &QTableWidget::itemChanged, nullptr, nullptr);
}

QWidget* TStringGrid::mouseWidget() const { return table(widget())->viewport(); }

int TStringGrid::colCount() const { return table(widget())->columnCount() + fixed_cols_; }
int TStringGrid::rowCount() const { return table(widget())->rowCount() + fixed_rows_; }

void TStringGrid::setColCount(int n) {
  table(widget())->setColumnCount(std::max(0, n - fixed_cols_));
}

void TStringGrid::setRowCount(int n) {
  table(widget())->setRowCount(std::max(0, n - fixed_rows_));
}

void TStringGrid::setFixedCols(int n) {
  int cols = colCount();
  fixed_cols_ = std::clamp(n, 0, 1);
  table(widget())->verticalHeader()->setVisible(fixed_cols_ > 0);
  setColCount(cols);
}

void TStringGrid::setFixedRows(int n) {
  int rows = rowCount();
  fixed_rows_ = std::clamp(n, 0, 1);
  table(widget())->horizontalHeader()->setVisible(fixed_rows_ > 0);
  setRowCount(rows);
}

void TStringGrid::checkCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
    throw EPropertyError("Grid index out of range");
}

std::string TStringGrid::cell(int col, int row) const {
  checkCell(col, row);
  QTableWidget* t = table(widget());
  int c = col - fixed_cols_, r = row - fixed_rows_;
  QTableWidgetItem* item = nullptr;
  if (c < 0 && r < 0) return corner_;
  if (r < 0) item = t->horizontalHeaderItem(c);
  else if (c < 0) item = t->verticalHeaderItem(r);
  else item = t->item(r, c);
  return item ? ss(item->text()) : std::string();
}

void TStringGrid::setCell(int col, int row, const std::string& text) {
  checkCell(col, row);
  QTableWidget* t = table(widget());
  int c = col - fixed_cols_, r = row - fixed_rows_;
  if (c < 0 && r < 0) {
    corner_ = text;
    if (QLabel* label = cornerLabel(t)) label->setText(qs(text));
    return;
  }
  auto* item = new QTableWidgetItem(qs(text));
  setting_cell_ = true;
  if (r < 0) t->setHorizontalHeaderItem(c, item);
  else if (c < 0) t->setVerticalHeaderItem(r, item);
  else t->setItem(r, c, item);
  setting_cell_ = false;
}

int TStringGrid::colWidth(int col) const {
  checkCell(col, 0);
  int c = col - fixed_cols_;
  return c < 0 ? table(widget())->verticalHeader()->width() : table(widget())->columnWidth(c);
}

void TStringGrid::setColWidth(int col, int width) {
  checkCell(col, 0);
  int c = col - fixed_cols_;
  if (c < 0) table(widget())->verticalHeader()->setFixedWidth(width);
  else table(widget())->setColumnWidth(c, width);
}

void TStringGrid::setDefaultColWidth(int w) {
  default_col_width_ = w;
  table(widget())->horizontalHeader()->setDefaultSectionSize(w);
}

void TStringGrid::setDefaultRowHeight(int h) {
  default_row_height_ = h;
  table(widget())->verticalHeader()->setDefaultSectionSize(h);
  table(widget())->horizontalHeader()->setFixedHeight(h);
}

void TStringGrid::setOptions(uint32_t o) {
  options_ = o;
  QTableWidget* t = table(widget());
  t->setEditTriggers((o & (1u << goEditing)) ? QAbstractItemView::AllEditTriggers
                                             : QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior((o & (1u << goRowSelect)) ? QAbstractItemView::SelectRows
                                                    : QAbstractItemView::SelectItems);
  t->setSelectionMode((o & (1u << goRangeSelect)) ? QAbstractItemView::ContiguousSelection
                                                  : QAbstractItemView::SingleSelection);
  t->setShowGrid(o & ((1u << goVertLine) | (1u << goHorzLine)));
}

int TStringGrid::col() const { return table(widget())->currentColumn() + fixed_cols_; }
int TStringGrid::row() const { return table(widget())->currentRow() + fixed_rows_; }

void TStringGrid::setCol(int c) {
  moving_ = true;
  table(widget())->setCurrentCell(std::max(0, row() - fixed_rows_), c - fixed_cols_);
  moving_ = false;
}

void TStringGrid::setRow(int r) {
  moving_ = true;
  table(widget())->setCurrentCell(r - fixed_rows_, std::max(0, col() - fixed_cols_));
  moving_ = false;
}

TGridRect TStringGrid::selection() const {
  QList<QTableWidgetSelectionRange> ranges = table(widget())->selectedRanges();
  if (ranges.isEmpty()) return {col(), row(), col(), row()};
  const auto& r = ranges.front();
  return {r.leftColumn() + fixed_cols_, r.topRow() + fixed_rows_, r.rightColumn() + fixed_cols_,
          r.bottomRow() + fixed_rows_};
}

void TStringGrid::setSelection(const TGridRect& r) {
  QTableWidget* t = table(widget());
  moving_ = true;
  t->clearSelection();
  t->setCurrentCell(r.top - fixed_rows_, r.left - fixed_cols_);
  t->setRangeSelected(QTableWidgetSelectionRange(r.top - fixed_rows_, r.left - fixed_cols_,
                                                 r.bottom - fixed_rows_, r.right - fixed_cols_),
                      true);
  moving_ = false;
}

int TStringGrid::topRow() const {
  QTableWidget* t = table(widget());
  return t->rowAt(0) < 0 ? fixed_rows_ : t->rowAt(0) + fixed_rows_;
}

void TStringGrid::setTopRow(int r) {
  QTableWidget* t = table(widget());
  if (QTableWidgetItem* item = t->item(r - fixed_rows_, 0))
    t->scrollToItem(item, QAbstractItemView::PositionAtTop);
  else if (r - fixed_rows_ >= 0 && r - fixed_rows_ < t->rowCount())
    t->verticalScrollBar()->setValue(r - fixed_rows_);
}

void TStringGrid::commitEdit() {
  // Moving the current cell away and back closes an open editor and commits its text.
  QTableWidget* t = table(widget());
  QModelIndex current = t->currentIndex();
  moving_ = true;
  t->setCurrentIndex(QModelIndex());
  t->setCurrentIndex(current);
  moving_ = false;
}

void TStringGrid::userMoved(int r, int c, int pr, int pc) {
  if (moving_ || r < 0 || c < 0) return;
  bool can_select = true;
  fire(OnSelectCell, this, c + fixed_cols_, r + fixed_rows_, can_select);
  if (!can_select && pr >= 0 && pc >= 0) {
    moving_ = true;
    table(widget())->setCurrentCell(pr, pc);
    moving_ = false;
  }
}

void TStringGrid::applyColor() {
  QPalette pal = widget()->palette();
  pal.setColor(QPalette::Base, toQColor(color()));
  widget()->setPalette(pal);
}

}  // namespace kgui
