// The standard controls: panels, group boxes, labels, edits, buttons, check boxes, radio
// buttons and radio groups, with the platform's defaults and event rules.
#pragma once

#include <optional>

#include <memory>

#include "platform/classes/strings.h"
#include "platform/gui/control.h"

class QLabel;
class QButtonGroup;

namespace kgui {

class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int bevelInner() const { return bevel_inner_; }
  void setBevelInner(int b);
  int bevelOuter() const { return bevel_outer_; }
  void setBevelOuter(int b);
  int bevelWidth() const { return bevel_width_; }
  void setBevelWidth(int w);
  int alignment() const { return alignment_; }
  void setAlignment(int a);

protected:
  void applyCaption() override;
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  void applyBevel();
  QLabel* label_;
  int bevel_inner_ = bvNone, bevel_outer_ = bvRaised, bevel_width_ = 1, alignment_ = taCenter;
};

class TGroupBox : public TWinControl {
public:
  explicit TGroupBox(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

protected:
  void applyCaption() override;
  TRect alignRect() const override;
};

class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool autoSize() const { return auto_size_; }
  void setAutoSize(bool a);
  int alignment() const { return alignment_; }
  void setAlignment(int a);
  bool wordWrap() const { return word_wrap_; }
  void setWordWrap(bool w);

protected:
  void applyCaption() override;
  void applyFont() override;

private:
  void adjustSize();
  QLabel* label() const;
  bool auto_size_ = true, word_wrap_ = false;
  int alignment_ = taLeftJustify;
};

class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  std::string text() const;
  void setText(const std::string& text);
  bool readOnly() const;
  void setReadOnly(bool r);
  int maxLength() const { return max_length_; }
  void setMaxLength(int n);
  int passwordChar() const { return password_char_; }
  void setPasswordChar(int c);
  int borderStyle() const { return border_style_; }
  void setBorderStyle(int s);  // bsNone or bsSingle
  void selectAll();

  TNotifyEvent OnChange;

protected:
  void applyColor() override;

private:
  int max_length_ = 0, password_char_ = 0, border_style_ = bsSingle;
};

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool isDefault() const { return default_; }
  void setDefault(bool d);
  bool cancel() const { return cancel_; }
  void setCancel(bool c) { cancel_ = c; }
  int modalResult() const { return modal_result_; }
  void setModalResult(int m) { modal_result_ = m; }
  // A button with a ModalResult gives it to its form, then runs OnClick.
  void click() override;

protected:
  void applyCaption() override;
  void applyColor() override {}

private:
  bool default_ = false, cancel_ = false;
  int modal_result_ = 0;
};

// Check boxes run OnClick whenever their state changes, by the user or by code.
class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool checked() const { return state() == cbChecked; }
  void setChecked(bool c) { setState(c ? cbChecked : cbUnchecked); }
  int state() const;
  void setState(int s);
  bool allowGrayed() const;
  void setAllowGrayed(bool a);

protected:
  void applyCaption() override;
  void applyColor() override {}
};

// Radio buttons run OnClick when they become checked, by the user or by code; setting
// Checked to false on the checked one leaves its group with none checked.
class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool checked() const;
  void setChecked(bool c);

protected:
  void applyCaption() override;
  void applyColor() override {}
};

class TRadioGroup : public TWinControl {
public:
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TStrings* items() const { return items_.get(); }
  int itemIndex() const { return item_index_; }
  // Checks that item (-1: none) and runs OnClick for a valid index, as the platform does.
  void setItemIndex(int index);
  int columns() const { return columns_; }
  void setColumns(int c);

protected:
  void applyCaption() override;
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  void rebuild();
  void arrange();
  void buttonToggled(int index, bool on);
  std::unique_ptr<TStringList> items_;
  QButtonGroup* group_;
  int item_index_ = -1, columns_ = 1;
  bool updating_ = false;

public:
  // Applies the value its setter kept while a form description was read.
  void loaded() override;

private:
  std::optional<int> pending_index_;
};

}  // namespace kgui
