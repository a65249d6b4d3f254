// Controls over lists and ranges: combo boxes, list boxes, memos and scroll bars, with
// their items or lines exposed as TStrings.
#pragma once

#include <memory>

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

  TNotifyEvent OnChange;

protected:
  void applyColor() override;

private:
  std::unique_ptr<TCallbackStrings> items_;
  int style_ = csDropDown;
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

}  // namespace kgui
