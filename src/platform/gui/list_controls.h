// Controls over lists and ranges: combo boxes, list boxes, memos and scroll bars, with
// their items or lines exposed as TStrings.
#pragma once

#include <memory>
#include <optional>

#include "platform/classes/strings.h"
#include "platform/gui/control.h"

namespace kgui {

// A combo box (the program's are drop-down lists). Setting ItemIndex in code runs no handler (-1 shows nothing chosen);
// OnChange runs when the user picks an item.
class TComboBox : public TWinControl {
public:
  explicit TComboBox(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TStrings* items() const { return items_.get(); }
  int itemIndex() const;
  void setItemIndex(int index);
  std::string text() const;
  int style() const { return style_; }
  void setStyle(int style);  // csDropDown (editable) or csDropDownList
  int dropDownCount() const;
  void setDropDownCount(int n);
  // The case the edit part keeps its text in (TEditCharCase); changing it converts the text.
  int charCase() const { return char_case_; }
  void setCharCase(int c);
  // Whether the list is open; opening it runs OnDropDown.
  bool droppedDown() const;
  void setDroppedDown(bool d);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

protected:
  void applyColor() override;

private:
  std::unique_ptr<TCallbackStrings> items_;
  int style_ = csDropDown;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_index_;
  int char_case_ = ecNormal;
};

class TListBox : public TWinControl {
public:
  explicit TListBox(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TStrings* items() const { return items_.get(); }
  int itemIndex() const;
  void setItemIndex(int index);
  bool multiSelect() const;
  void setMultiSelect(bool m);
  bool selected(int index) const;
  void setSelected(int index, bool s);
  int selCount() const;
  int topIndex() const;

protected:
  void applyColor() override;
  QWidget* mouseWidget() const override;

private:
  std::unique_ptr<TCallbackStrings> items_;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_index_;
};

// A list box whose items carry check boxes (three states with AllowGrayed) and can be
// disabled one by one. OnClickCheck runs when the user changes a check, never for code.
class TCheckListBox : public TListBox {
public:
  explicit TCheckListBox(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool allowGrayed() const { return allow_grayed_; }
  void setAllowGrayed(bool a);
  // Each raises the list's index error for an index outside the items.
  bool checked(int index) const { return state(index) == cbChecked; }
  void setChecked(int index, bool c) { setState(index, c ? cbChecked : cbUnchecked); }
  int state(int index) const;  // TCheckBoxState
  void setState(int index, int s);
  bool itemEnabled(int index) const;
  void setItemEnabled(int index, bool e);

  TNotifyEvent OnClickCheck;

private:
  void prepareItems();
  bool allow_grayed_ = false;
  bool quiet_ = false;  // set while the layer itself changes items
};

class TMemo : public TWinControl {
public:
  explicit TMemo(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Lines: an empty memo has none; each line is one paragraph of the text.
  TStrings* lines() const { return lines_.get(); }
  std::string text() const;  // lines joined by CR LF, as the platform's Text
  void setText(const std::string& text);
  bool readOnly() const;
  void setReadOnly(bool r);
  int scrollBars() const { return scroll_bars_; }
  void setScrollBars(int s);
  bool wordWrap() const;
  void setWordWrap(bool w);
  void clear();

  TNotifyEvent OnChange;

protected:
  void applyColor() override;
  QWidget* mouseWidget() const override;

private:
  std::unique_ptr<TCallbackStrings> lines_;
  int scroll_bars_ = ssNone;
};

// OnChange runs on every change of Position, by the user or by code.
class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int kind() const { return kind_; }
  void setKind(int kind);
  int min() const;
  void setMin(int v);
  int max() const;
  void setMax(int v);
  int position() const;
  void setPosition(int v);
  int smallChange() const;
  void setSmallChange(int v);
  int largeChange() const;
  void setLargeChange(int v);
  void setParams(int position, int min, int max);

  TNotifyEvent OnChange;

protected:
  void applyColor() override {}

private:
  int kind_ = sbHorizontal;
};

// A progress bar: Position between Min and Max, advanced by Step.
class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int min() const { return min_; }
  void setMin(int v);
  int max() const { return max_; }
  void setMax(int v);
  int position() const { return position_; }
  void setPosition(int v);  // kept between Min and Max
  int step() const { return step_; }
  void setStep(int v) { step_ = v; }
  // Position + Step; past Max it starts again at Min.
  void stepIt();
  // Position + delta, kept between Min and Max.
  void stepBy(int delta);

protected:
  void applyColor() override {}

private:
  void apply();
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_position_;
};

// A number edit with up and down arrows; MinValue equal to MaxValue means no limits.
class TSpinEdit : public TWinControl {
public:
  explicit TSpinEdit(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int minValue() const { return min_value_; }
  void setMinValue(int v);
  int maxValue() const { return max_value_; }
  void setMaxValue(int v);
  int value() const;
  void setValue(int v);  // kept within the limits, when there are any
  int increment() const;
  void setIncrement(int v);

  TNotifyEvent OnChange;

private:
  void applyRange();
  int min_value_ = 0, max_value_ = 0;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_value_;
};

}  // namespace kgui
