// TToolWindow over a widget that paints its edges, TToolBar and TToolButton over
// QToolButtons, TCoolBar with one QLabel per band caption.
#include "platform/gui/tool_bars.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_convert.h"

namespace kgui {
namespace {

// Paints a line of each edge style on the sides the tool window names.
class EdgeWidget : public QWidget {
public:
  std::function<void(QPainter&)> paintEdges;

protected:
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (!paintEdges) return;
    QPainter p(this);
    paintEdges(p);
  }
};

constexpr int kSeparatorWidth = 8;

bool isSeparator(int style) { return style == tbsSeparator || style == tbsDivider; }

QToolButton* toolButtonOf(const TControl* c) { return static_cast<QToolButton*>(c->widget()); }

}  // namespace

const EnumInfo& edgeBorderType() {
  static const EnumInfo info{"TEdgeBorder", {"ebLeft", "ebTop", "ebRight", "ebBottom"}, "TEdgeBorders"};
  return info;
}
const EnumInfo& edgeStyleType() {
  static const EnumInfo info{"TEdgeStyle", {"esNone", "esRaised", "esLowered"}};
  return info;
}
const EnumInfo& toolButtonStyleType() {
  static const EnumInfo info{"TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}};
  return info;
}

// ---- TToolWindow ----

constexpr uint32_t kAllEdges = setOf({ebLeft, ebTop, ebRight, ebBottom});

const ClassInfo& TToolWindow::staticClassInfo() {
  using T = TToolWindow;
  static const ClassInfo info(
      "TToolWindow", &TWinControl::staticClassInfo(),
      {ordProp<T, uint32_t>("EdgeBorders", PropKind::Set, &T::edgeBorders, &T::setEdgeBorders, &edgeBorderType(),
                            kAllEdges),
       ordProp<T, int>("EdgeInner", PropKind::Enumeration, &T::edgeInner, &T::setEdgeInner, &edgeStyleType(),
                       esRaised),
       ordProp<T, int>("EdgeOuter", PropKind::Enumeration, &T::edgeOuter, &T::setEdgeOuter, &edgeStyleType(),
                       esLowered)});
  return info;
}

TToolWindow::TToolWindow(TComponent* owner) : TToolWindow(owner, kAllEdges) {}

TToolWindow::TToolWindow(TComponent* owner, uint32_t edge_borders)
    : TWinControl(owner, new EdgeWidget()), edge_borders_(edge_borders) {
  static_cast<EdgeWidget*>(widget())->paintEdges = [this](QPainter& p) {
    const QPalette& pal = widget()->palette();
    const int w = width(), h = height();
    int inset = 0;
    for (int style : {edge_outer_, edge_inner_}) {
      if (style == esNone) continue;
      // Raised: light top-left, dark bottom-right; lowered the other way round.
      const QColor tl = style == esRaised ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
      const QColor br = style == esRaised ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
      const int i = inset++;
      auto line = [&](int edge, const QColor& c, int x1, int y1, int x2, int y2) {
        if (!(edge_borders_ & (1u << edge))) return;
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
      };
      line(ebLeft, tl, i, i, i, h - 1 - i);
      line(ebTop, tl, i, i, w - 1 - i, i);
      line(ebRight, br, w - 1 - i, i, w - 1 - i, h - 1 - i);
      line(ebBottom, br, i, h - 1 - i, w - 1 - i, h - 1 - i);
    }
  };
  setColor(clBtnFace);
}

TRect TToolWindow::edgeRect() const {
  const int depth = (edge_inner_ != esNone) + (edge_outer_ != esNone);
  auto side = [&](int edge) { return (edge_borders_ & (1u << edge)) ? depth : 0; };
  return {side(ebLeft), side(ebTop), std::max(side(ebLeft), clientWidth() - side(ebRight)),
          std::max(side(ebTop), clientHeight() - side(ebBottom))};
}

void TToolWindow::applyEdges() {
  widget()->update();
  edgesChanged();
}

void TToolWindow::setEdgeBorders(uint32_t borders) {
  edge_borders_ = borders & kAllEdges;
  applyEdges();
}

void TToolWindow::setEdgeInner(int style) {
  edge_inner_ = std::clamp(style, int(esNone), int(esLowered));
  applyEdges();
}

void TToolWindow::setEdgeOuter(int style) {
  edge_outer_ = std::clamp(style, int(esNone), int(esLowered));
  applyEdges();
}

// An ancestor's property published again with this class's default.
static PropertyInfo withDefault(const ClassInfo& ancestor, std::string_view name, int64_t def) {
  PropertyInfo p = *ancestor.findProperty(name);
  p.default_ord = def;
  return p;
}

// ---- TToolButton ----

const ClassInfo& TToolButton::staticClassInfo() {
  using T = TToolButton;
  static const ClassInfo info(
      "TToolButton", &TControl::staticClassInfo(),
      {boolProp<T>("AllowAllUp", &T::allowAllUp, &T::setAllowAllUp, false), captionProp(),
       boolProp<T>("Down", &T::down, &T::setDown, false),
       [] {
         PropertyInfo p;
         p.name = "DropdownMenu";
         p.kind = PropKind::Class;
         p.get = [](const TPersistent& o) {
           return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).dropdownMenu()));
         };
         p.set = [](TPersistent& o, const PropValue& v) {
           auto* const* target = std::get_if<TPersistent*>(&v);
           auto* menu = target && *target ? dynamic_cast<TPopupMenu*>(*target) : nullptr;
           if (target && *target && !menu) throw EPropertyError("Invalid property value");
           static_cast<T&>(o).setDropdownMenu(menu);
         };
         return p;
       }(),
       boolProp<T>("Grouped", &T::grouped, &T::setGrouped, false),
       ordProp<T, int>("ImageIndex", PropKind::Integer, &T::imageIndex, &T::setImageIndex, nullptr, -1),
       boolProp<T>("Indeterminate", &T::indeterminate, &T::setIndeterminate, false),
       boolProp<T>("Marked", &T::marked, &T::setMarked, false),
       ordProp<T, int>("Style", PropKind::Enumeration, &T::style, &T::setStyle, &toolButtonStyleType(), tbsButton),
       boolProp<T>("Wrap", &T::wrap, &T::setWrap, false)});
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TControl(owner, new QToolButton()) {
  auto* b = toolButtonOf(this);
  b->setFocusPolicy(Qt::NoFocus);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QObject::connect(b, &QToolButton::clicked, [this] { userClicked(); });
  setBoundsQuietly(0, 0, 23, 22);
}

TToolBar* TToolButton::toolBar() const { return dynamic_cast<TToolBar*>(parent()); }

int TToolButton::index() const {
  const TToolBar* bar = toolBar();
  if (!bar) return -1;
  for (int i = 0; i < bar->buttonCount(); ++i)
    if (bar->buttons(i) == this) return i;
  return -1;
}

void TToolButton::relayout() {
  if (TToolBar* bar = toolBar()) bar->arrange();
}

void TToolButton::setBounds(int left, int top, int width, int height) {
  setBoundsQuietly(left, top, width, height);
  if (toolBar()) relayout();
  else if (parent() && align() != alNone) parent()->realign(this);
}

void TToolButton::setVisible(bool visible) {
  TControl::setVisible(visible);
  relayout();
}

void TToolButton::setStyle(int style) {
  style = std::clamp(style, int(tbsButton), int(tbsDivider));
  if (style == style_) return;
  style_ = style;
  auto* b = toolButtonOf(this);
  b->setCheckable(style == tbsCheck);
  b->setChecked(style == tbsCheck && down_);
  b->setAutoRaise(isSeparator(style) || (toolBar() && toolBar()->flat()));
  if (isSeparator(style)) setBoundsQuietly(left(), top(), kSeparatorWidth, height());
  applyCaption();
  relayout();
}

bool TToolButton::down() const { return down_; }

// Down shows the button pressed; a grouped check button that goes down lifts the others of
// its group (the run of adjacent grouped check buttons).
void TToolButton::setDown(bool down) {
  down_ = down;
  auto* b = toolButtonOf(this);
  if (b->isCheckable()) {
    QSignalBlocker quiet(b);
    b->setChecked(down);
  } else {
    b->setDown(down);
  }
  TToolBar* bar = toolBar();
  if (!down || !grouped_ || style_ != tbsCheck || !bar) return;
  const int me = index();
  auto inGroup = [&](int i) {
    TToolButton* o = bar->buttons(i);
    return o && o->grouped_ && o->style_ == tbsCheck;
  };
  for (int step : {-1, 1})
    for (int i = me + step; inGroup(i); i += step)
      if (bar->buttons(i)->down_) bar->buttons(i)->setDown(false);
}

void TToolButton::setWrap(bool w) {
  wrap_ = w;
  relayout();
}

void TToolButton::setIndeterminate(bool i) {
  indeterminate_ = i;
  toolButtonOf(this)->setEnabled(enabled() && !i);
}

void TToolButton::setDropdownMenu(TPopupMenu* menu) {
  if (dropdown_menu_) dropdown_menu_->removeFreeNotification(this);
  dropdown_menu_ = menu;
  if (menu) menu->freeNotification(this);
}

void TToolButton::notification(TComponent* c, Operation op) {
  TControl::notification(c, op);
  if (op == Operation::Remove && c == dropdown_menu_) dropdown_menu_ = nullptr;
}

void TToolButton::applyCaption() {
  const bool shown = !isSeparator(style_) && toolBar() && toolBar()->showCaptions();
  toolButtonOf(this)->setText(shown ? qs(caption()) : QString());
}

// Qt has already toggled a check button: a grouped one that may not be all up stays down.
void TToolButton::userClicked() {
  if (isSeparator(style_)) return;
  if (style_ == tbsCheck) {
    bool now = toolButtonOf(this)->isChecked();
    if (!now && grouped_ && !allow_all_up_) now = true;
    setDown(now);
  }
  click();
}

// ---- TToolBar ----

const ClassInfo& TToolBar::staticClassInfo() {
  using T = TToolBar;
  static const ClassInfo info(
      "TToolBar", &TToolWindow::staticClassInfo(),
      {withDefault(TControl::staticClassInfo(), "Align", alTop),
       withDefault(TToolWindow::staticClassInfo(), "EdgeBorders", setOf({ebTop})),
       ordProp<T, int>("ButtonHeight", PropKind::Integer, &T::buttonHeight, &T::setButtonHeight, nullptr, 22),
       ordProp<T, int>("ButtonWidth", PropKind::Integer, &T::buttonWidth, &T::setButtonWidth, nullptr, 23),
       boolProp<T>("Flat", &T::flat, &T::setFlat, false),
       ordProp<T, int>("Indent", PropKind::Integer, &T::indent, &T::setIndent, nullptr, 0),
       boolProp<T>("ShowCaptions", &T::showCaptions, &T::setShowCaptions, false),
       boolProp<T>("Wrapable", &T::wrapable, &T::setWrapable, true)});
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TToolWindow(owner, setOf({ebTop})) {
  setBounds(0, 0, 150, 29);
  setAlign(alTop);
  arrange();
}

int TToolBar::buttonCount() const {
  int n = 0;
  for (int i = 0; i < controlCount(); ++i) n += dynamic_cast<TToolButton*>(controls(i)) != nullptr;
  return n;
}

TToolButton* TToolBar::buttons(int index) const {
  if (index < 0) return nullptr;
  for (int i = 0; i < controlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(controls(i)); b && index-- == 0) return b;
  return nullptr;
}

void TToolBar::setButtonWidth(int w) {
  button_width_ = std::max(1, w);
  arrange();
}

void TToolBar::setButtonHeight(int h) {
  button_height_ = std::max(1, h);
  arrange();
}

void TToolBar::setWrapable(bool w) {
  wrapable_ = w;
  arrange();
}

void TToolBar::setIndent(int i) {
  indent_ = std::max(0, i);
  arrange();
}

void TToolBar::setShowCaptions(bool s) {
  show_captions_ = s;
  for (int i = 0; i < buttonCount(); ++i) buttons(i)->applyCaption();
}

void TToolBar::setFlat(bool f) {
  flat_ = f;
  for (int i = 0; i < buttonCount(); ++i) toolButtonOf(buttons(i))->setAutoRaise(f || isSeparator(buttons(i)->style()));
}

bool TToolBar::trackMenu(TToolButton* button) {
  if (!button || button->toolBar() != this || !button->dropdownMenu() || !button->widget()) return false;
  const QPoint at = button->widget()->mapToGlobal(QPoint(0, button->height()));
  button->dropdownMenu()->popup(at.x(), at.y());
  return true;
}

void TToolBar::arrange() {
  if (arranging_) return;
  arranging_ = true;
  const TRect r = edgeRect();
  const int start = r.left + indent_;
  int x = start, row = 0;
  bool row_used = false;
  for (int i = 0; TToolButton* b = buttons(i); ++i) {
    b->applyCaption();
    if (!b->visible()) continue;
    const int w = isSeparator(b->style()) ? b->width() : button_width_;
    if (row_used && wrapable_ && x + w > r.right) {
      x = start;
      ++row;
    }
    b->place(x, r.top + row * button_height_, w, button_height_);
    x += w;
    row_used = true;
    if (b->wrap()) {
      x = start;
      ++row;
      row_used = false;
    }
  }
  row_count_ = row + (row_used ? 1 : 0);
  row_count_ = std::max(row_count_, 1);
  arranging_ = false;
}


// ---- TCoolBand ----

const ClassInfo& TCoolBand::staticClassInfo() {
  using T = TCoolBand;
  static const ClassInfo info(
      "TCoolBand", &TPersistent::staticClassInfo(),
      {boolProp<T>("Break", &T::breakRow, &T::setBreakRow, true),
       [] {
         PropertyInfo p;
         p.name = "Control";
         p.kind = PropKind::Class;
         p.get = [](const TPersistent& o) { return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).control())); };
         p.set = [](TPersistent& o, const PropValue& v) {
           auto* const* target = std::get_if<TPersistent*>(&v);
           auto* control = target && *target ? dynamic_cast<TWinControl*>(*target) : nullptr;
           if (target && *target && !control) throw EPropertyError("Invalid property value");
           static_cast<T&>(o).setControl(control);
         };
         return p;
       }(),
       boolProp<T>("FixedSize", &T::fixedSize, &T::setFixedSize, false),
       ordProp<T, int>("MinHeight", PropKind::Integer, &T::minHeight, &T::setMinHeight, nullptr, 25),
       ordProp<T, int>("MinWidth", PropKind::Integer, &T::minWidth, &T::setMinWidth, nullptr, 0),
       strProp<T>("Text", &T::text, &T::setText), boolProp<T>("Visible", &T::visible, &T::setVisible, true),
       ordProp<T, int>("Width", PropKind::Integer, &T::width, &T::setWidth, nullptr, 0)});
  return info;
}

void TCoolBand::assign(const TPersistent& source) {
  auto* b = dynamic_cast<const TCoolBand*>(&source);
  if (!b) return TPersistent::assign(source);
  text_ = b->text_;
  break_ = b->break_;
  fixed_size_ = b->fixed_size_;
  visible_ = b->visible_;
  min_height_ = b->min_height_;
  min_width_ = b->min_width_;
  width_ = b->width_;
  changed();
}

void TCoolBand::changed() { owner_.bar().arrange(); }
void TCoolBand::setBreakRow(bool b) { break_ = b; changed(); }
void TCoolBand::setFixedSize(bool f) { fixed_size_ = f; changed(); }
void TCoolBand::setMinHeight(int h) { min_height_ = std::max(0, h); changed(); }
void TCoolBand::setMinWidth(int w) { min_width_ = std::max(0, w); changed(); }
void TCoolBand::setText(const std::string& t) { text_ = t; changed(); }
void TCoolBand::setVisible(bool v) { visible_ = v; changed(); }
void TCoolBand::setWidth(int w) { width_ = std::max(0, w); changed(); }

// The bar itself or a control that holds the bar cannot be a band's control.
void TCoolBand::setControl(TWinControl* control) {
  if (control == control_) return;
  for (const TWinControl* up = &owner_.bar(); up; up = up->parent())
    if (up == control) throw EPropertyError("Invalid property value");
  if (control)
    if (TCoolBand* other = owner_.findBand(control)) other->control_ = nullptr;
  control_ = control;
  if (control && width_ == 0) width_ = control->width() + 4;
  TCoolBar& bar = owner_.bar();
  if (control && control->parent() != &bar) control->setParent(&bar);  // arranges through the bar
  else changed();
}

int TCoolBand::index() const { return owner_.indexOf(this); }

// ---- TCoolBands ----

const ClassInfo& TCoolBands::staticClassInfo() {
  static const ClassInfo info("TCoolBands", &TPersistent::staticClassInfo());
  return info;
}

TCoolBand* TCoolBands::add() {
  TCoolBand* band = items_.add(std::make_unique<TCoolBand>(*this));
  bar_.arrange();
  return band;
}

void TCoolBands::remove(TCoolBand* band) {
  if (!items_.remove(band)) return;
  band->control_ = nullptr;
  bar_.arrange();
}

void TCoolBands::clear() {
  while (count() > 0) remove(items(count() - 1));
}

TCoolBand* TCoolBands::findBand(const TComponent* control) const {
  for (int i = 0; i < count(); ++i)
    if (items(i)->control_ == control) return items(i);
  return nullptr;
}

void TCoolBands::assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCoolBands*>(&source);
  if (!other) return TPersistent::assign(source);
  if (other == this) return;
  while (count() > other->count()) remove(items(count() - 1));
  while (count() < other->count()) add();
  for (int i = 0; i < count(); ++i) items(i)->assign(*other->items(i));
}

// ---- TCoolBar ----

const ClassInfo& TCoolBar::staticClassInfo() {
  using T = TCoolBar;
  static const ClassInfo info(
      "TCoolBar", &TToolWindow::staticClassInfo(),
      {withDefault(TControl::staticClassInfo(), "Align", alTop), boolProp<T>("AutoSize", &T::autoSize, &T::setAutoSize, false), classProp<T, TCoolBands>("Bands", &T::bands),
       boolProp<T>("FixedOrder", &T::fixedOrder, &T::setFixedOrder, false),
       boolProp<T>("FixedSize", &T::fixedSize, &T::setFixedSize, false),
       boolProp<T>("ShowText", &T::showText, &T::setShowText, true), eventProp<T>("OnChange", &T::OnChange)});
  return info;
}

TCoolBar::TCoolBar(TComponent* owner) : TToolWindow(owner), bands_(std::make_unique<TCoolBands>(*this)) {
  setBounds(0, 0, 150, 75);
  setAlign(alTop);
}

void TCoolBar::setShowText(bool s) {
  show_text_ = s;
  arrange();
}

void TCoolBar::setAutoSize(bool a) {
  auto_size_ = a;
  arrange();
}

void TCoolBar::childrenChanged() {
  if (!bands_) return;
  // A child on its way out is already off the list, though it still names this parent.
  auto isChild = [this](const TControl* c) {
    for (int i = 0; i < controlCount(); ++i)
      if (controls(i) == c) return true;
    return false;
  };
  for (int i = bands_->count() - 1; i >= 0; --i) {
    TCoolBand* band = bands_->items(i);
    if (band->control() && !isChild(band->control())) bands_->remove(band);
  }
  arranging_ = true;  // one arrangement at the end
  for (int i = 0; i < controlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(controls(i));
    if (!child) continue;
    child->setAlign(alNone);
    if (bands_->findBand(child)) continue;
    TCoolBand* band = bands_->add();
    band->control_ = child;
    band->width_ = child->width() + 4;  // the control's own width, fixed when the band is made
  }
  arranging_ = false;
  arrange();
}

void TCoolBar::arrange() {
  if (arranging_ || !bands_) return;
  arranging_ = true;
  for (QLabel* l : labels_) delete l;
  labels_.clear();
  const TRect r = edgeRect();
  std::vector<TCoolBand*> shown;
  for (int i = 0; i < bands_->count(); ++i)
    if (bands_->items(i)->visible()) shown.push_back(bands_->items(i));
  int y = r.top, rows = 0;
  const QFontMetrics metrics(widget()->font());
  for (size_t s = 0; s < shown.size();) {
    size_t e = s + 1;
    while (e < shown.size() && !shown[e]->breakRow()) ++e;
    int row_h = 0;
    for (size_t i = s; i < e; ++i)
      row_h = std::max({row_h, shown[i]->minHeight(), shown[i]->control() ? shown[i]->control()->height() : 0});
    auto labelWidth = [&](const TCoolBand* band) {
      return show_text_ && !band->text().empty() ? metrics.horizontalAdvance(qs(band->text())) + 8 : 0;
    };
    auto leastWidth = [&](const TCoolBand* band) { return band->minWidth() + labelWidth(band) + 4; };
    int x = r.left;
    for (size_t i = s; i < e; ++i) {
      TCoolBand* band = shown[i];
      const bool text = show_text_ && !band->text().empty();
      const int label_w = labelWidth(band);
      int band_w = std::max(band->width(), leastWidth(band));
      // A band leaves the bands after it in its row their least widths; the last one
      // reaches to the edge.
      int rest = 0;
      for (size_t j = i + 1; j < e; ++j) rest += leastWidth(shown[j]);
      band_w = std::max(std::min(band_w, r.right - x - rest), leastWidth(band));
      if (i + 1 == e) band_w = std::max(r.right - x, label_w);
      if (text) {
        auto* label = new QLabel(qs(band->text()), widget());
        label->setGeometry(x + 2, y, label_w, row_h);
        label->show();
        labels_.push_back(label);
      }
      if (TWinControl* c = band->control())
        c->setBounds(x + label_w + 2, y + (row_h - c->height()) / 2, std::max(0, band_w - label_w - 4), c->height());
      x += band_w;
    }
    y += row_h;
    ++rows;
    s = e;
  }
  row_count_ = rows;
  if (auto_size_ && !shown.empty()) setHeight(y + (height() - r.bottom));
  arranging_ = false;
}


}  // namespace kgui
