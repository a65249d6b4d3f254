// Tool windows and the bars built on them: TToolBar flows its TToolButtons in cells of
// ButtonWidth x ButtonHeight from the left, starting a new row at the right edge when
// Wrapable (and after a button with Wrap); TCoolBar lays its bands out in rows, each band
// holding a caption and one child control.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/classes/item_list.h"
#include "platform/gui/control.h"

class QLabel;

namespace kgui {

class TPopupMenu;

enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
enum TEdgeStyle { esNone, esRaised, esLowered };
enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
const EnumInfo& edgeBorderType();  // set "TEdgeBorders"
const EnumInfo& edgeStyleType();
const EnumInfo& toolButtonStyleType();

// A windowed control drawn with edges on the sides EdgeBorders names.
class TToolWindow : public TWinControl {
public:
  explicit TToolWindow(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  uint32_t edgeBorders() const { return edge_borders_; }
  void setEdgeBorders(uint32_t borders);
  int edgeInner() const { return edge_inner_; }
  void setEdgeInner(int style);
  int edgeOuter() const { return edge_outer_; }
  void setEdgeOuter(int style);

protected:
  TToolWindow(TComponent* owner, uint32_t edge_borders);
  // The client rectangle inside the edges.
  TRect edgeRect() const;
  virtual void edgesChanged() {}

private:
  void applyEdges();
  uint32_t edge_borders_;
  int edge_inner_ = esRaised, edge_outer_ = esLowered;
};

class TToolBar;

// A button of a tool bar: a push button, a check button (grouped check buttons are
// exclusive), a drop-down button, or a separator or divider keeping its own width.
class TToolButton : public TControl {
public:
  explicit TToolButton(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int style() const { return style_; }
  void setStyle(int style);
  bool down() const;
  void setDown(bool down);
  bool grouped() const { return grouped_; }
  void setGrouped(bool g) { grouped_ = g; }
  bool allowAllUp() const { return allow_all_up_; }
  void setAllowAllUp(bool a) { allow_all_up_ = a; }
  bool wrap() const { return wrap_; }
  void setWrap(bool w);
  int imageIndex() const { return image_index_; }
  void setImageIndex(int i) { image_index_ = i; }
  bool indeterminate() const { return indeterminate_; }
  void setIndeterminate(bool i);
  bool marked() const { return marked_; }
  void setMarked(bool m) { marked_ = m; }
  TPopupMenu* dropdownMenu() const { return dropdown_menu_; }
  void setDropdownMenu(TPopupMenu* menu);
  // The position among the tool bar's buttons; -1 off a tool bar.
  int index() const;
  TToolBar* toolBar() const;

  void setBounds(int left, int top, int width, int height) override;
  void setVisible(bool visible) override;

protected:
  void applyCaption() override;
  void applyColor() override {}
  void notification(TComponent* c, Operation op) override;

private:
  friend class TToolBar;
  void userClicked();
  void place(int left, int top, int width, int height) { setBoundsQuietly(left, top, width, height); }
  void relayout();
  int style_ = tbsButton;
  bool grouped_ = false, allow_all_up_ = false, wrap_ = false, indeterminate_ = false, marked_ = false;
  bool down_ = false;
  int image_index_ = -1;
  TPopupMenu* dropdown_menu_ = nullptr;
};

class TToolBar : public TToolWindow {
public:
  explicit TToolBar(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int buttonCount() const;
  TToolButton* buttons(int index) const;  // nil out of range
  // Rows the buttons take at the bar's present width.
  int rowCount() const { return row_count_; }
  int buttonWidth() const { return button_width_; }
  void setButtonWidth(int w);
  int buttonHeight() const { return button_height_; }
  void setButtonHeight(int h);
  bool wrapable() const { return wrapable_; }
  void setWrapable(bool w);
  int indent() const { return indent_; }
  void setIndent(int i);
  bool showCaptions() const { return show_captions_; }
  void setShowCaptions(bool s);
  bool flat() const { return flat_; }
  void setFlat(bool f);
  // Shows the button's drop-down menu under it; false for no button of this bar or no menu.
  bool trackMenu(TToolButton* button);
  // Places the buttons: left to right from Indent, a new row past the right edge (when
  // Wrapable) or after a button with Wrap.
  void arrange();

protected:
  void clientSizeChanged() override { arrange(); }
  void childrenChanged() override { arrange(); }
  void edgesChanged() override { arrange(); }

private:
  int button_width_ = 23, button_height_ = 22, indent_ = 0, row_count_ = 0;
  bool wrapable_ = true, show_captions_ = false, flat_ = false;
  bool arranging_ = false;
};

class TCoolBands;

// One band of a cool bar: its caption, its control, its width and the rows it breaks.
class TCoolBand : public TPersistent {
public:
  explicit TCoolBand(TCoolBands& owner) : owner_(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Copies another band's settings (not its control).
  void assign(const TPersistent& source) override;
  bool breakRow() const { return break_; }
  void setBreakRow(bool b);
  TWinControl* control() const { return control_; }
  // The control becomes a child of the bar; a control of another band leaves that band.
  // The bar or a control holding it raises EPropertyError "Invalid property value".
  void setControl(TWinControl* control);
  bool fixedSize() const { return fixed_size_; }
  void setFixedSize(bool f);
  int minHeight() const { return min_height_; }
  void setMinHeight(int h);
  int minWidth() const { return min_width_; }
  void setMinWidth(int w);
  std::string text() const { return text_; }
  void setText(const std::string& t);
  bool visible() const { return visible_; }
  void setVisible(bool v);
  int width() const { return width_; }
  void setWidth(int w);
  int index() const;

private:
  friend class TCoolBands;
  friend class TCoolBar;
  void changed();
  TCoolBands& owner_;
  TWinControl* control_ = nullptr;
  std::string text_;
  bool break_ = true, fixed_size_ = false, visible_ = true;
  int min_height_ = 25, min_width_ = 0, width_ = 0;
};

class TCoolBar;

class TCoolBands : public TPersistent {
public:
  explicit TCoolBands(TCoolBar& bar) : bar_(bar) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Takes the settings of another collection's bands, item by item.
  void assign(const TPersistent& source) override;
  int count() const { return items_.count(); }
  TCoolBand* items(int index) const { return items_.at(index); }  // nil out of range
  int indexOf(const TCoolBand* band) const { return items_.indexOf(band); }
  TCoolBand* add();
  void remove(TCoolBand* band);
  void clear();
  TCoolBand* findBand(const TComponent* control) const;
  TCoolBar& bar() const { return bar_; }

private:
  TCoolBar& bar_;
  ItemList<TCoolBand> items_;
};

class TCoolBar : public TToolWindow {
public:
  explicit TCoolBar(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TCoolBands* bands() const { return bands_.get(); }
  bool showText() const { return show_text_; }
  void setShowText(bool s);
  bool fixedOrder() const { return fixed_order_; }
  void setFixedOrder(bool f) { fixed_order_ = f; }
  bool fixedSize() const { return fixed_size_; }
  void setFixedSize(bool f) { fixed_size_ = f; }
  bool autoSize() const { return auto_size_; }
  void setAutoSize(bool a);
  int rowCount() const { return row_count_; }
  // Places the bands: a band with Break starts a row; the last band of a row reaches to
  // the right edge; a row is as high as its tallest control or MinHeight.
  void arrange();

  TNotifyEvent OnChange;

protected:
  void clientSizeChanged() override { arrange(); }
  // A windowed child without a band gets one (and the bands place it: its Align goes to
  // alNone); a child that left takes its band along.
  void childrenChanged() override;
  void edgesChanged() override { arrange(); }

private:
  std::unique_ptr<TCoolBands> bands_;
  std::vector<QLabel*> labels_;
  bool show_text_ = true, fixed_order_ = false, fixed_size_ = false, auto_size_ = false;
  bool arranging_ = false;
  int row_count_ = 0;
};

}  // namespace kgui
