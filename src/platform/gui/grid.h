// TStringGrid over QTableWidget with the platform's indices: fixed row 0 is the heading,
// fixed column 0 the row titles, and Cells[col][row] addresses both.
#pragma once

#include "platform/gui/control.h"

namespace kgui {

struct TGridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

using TSelectCellEvent = std::function<void(TComponent* sender, int col, int row, bool& can_select)>;
using TSetEditEvent = std::function<void(TComponent* sender, int col, int row, const std::string& value)>;

class TStringGrid : public TWinControl {
public:
  explicit TStringGrid(TComponent* owner);
  // Stops the table's signals first: hiding a focused table while the control goes away
  // moves its current cell, which must not reach a grid that no longer exists.
  ~TStringGrid() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int colCount() const;
  void setColCount(int n);
  int rowCount() const;
  void setRowCount(int n);
  int fixedCols() const { return fixed_cols_; }
  void setFixedCols(int n);  // 0 or 1
  int fixedRows() const { return fixed_rows_; }
  void setFixedRows(int n);  // 0 or 1
  std::string cell(int col, int row) const;
  void setCell(int col, int row, const std::string& text);
  int colWidth(int col) const;
  void setColWidth(int col, int width);
  int defaultColWidth() const { return default_col_width_; }
  void setDefaultColWidth(int w);
  int defaultRowHeight() const { return default_row_height_; }
  void setDefaultRowHeight(int h);
  uint32_t options() const { return options_; }  // bits of TGridOption
  void setOptions(uint32_t o);

  int col() const;
  int row() const;
  void setCol(int c);
  void setRow(int r);
  // The selected rectangle of non-fixed cells: rows contiguous from top to bottom.
  TGridRect selection() const;
  void setSelection(const TGridRect& r);
  int topRow() const;
  void setTopRow(int r);
  // Ends an open cell edit, keeping the typed text.
  void commitEdit();

  // Runs when the user moves to another cell; clearing can_select keeps the old one.
  TSelectCellEvent OnSelectCell;
  // Runs when the user has edited a cell's text (never for Cells set in code).
  TSetEditEvent OnSetEditText;

protected:
  void applyColor() override;
  QWidget* mouseWidget() const override;

private:
  void userMoved(int row, int col, int prev_row, int prev_col);
  void checkCell(int col, int row) const;
  int fixed_cols_ = 1, fixed_rows_ = 1;
  int default_col_width_ = 64, default_row_height_ = 24;
  uint32_t options_;
  std::string corner_;
  bool moving_ = false;
  bool setting_cell_ = false;
};

}  // namespace kgui
