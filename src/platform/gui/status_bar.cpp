// TStatusBar over a row of QLabels, one per panel.
#include "platform/gui/status_bar.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {
namespace {

const EnumInfo& bevelType() {
  static const EnumInfo info{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
  return info;
}
const EnumInfo& styleType() {
  static const EnumInfo info{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
  return info;
}

Qt::Alignment qtPanelAlignment(int alignment) {
  switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

int frameOf(int bevel) {
  switch (bevel) {
    case pbLowered: return QFrame::Panel | QFrame::Sunken;
    case pbRaised: return QFrame::Panel | QFrame::Raised;
    default: return QFrame::NoFrame;
  }
}

}  // namespace

// ---- TStatusPanel ----

const ClassInfo& TStatusPanel::staticClassInfo() {
  using T = TStatusPanel;
  static const ClassInfo info(
      "TStatusPanel", &TPersistent::staticClassInfo(),
      {ordProp<T, int>("Alignment", PropKind::Enumeration, &T::alignment, &T::setAlignment, &alignmentType(),
                       taLeftJustify),
       ordProp<T, int>("Bevel", PropKind::Enumeration, &T::bevel, &T::setBevel, &bevelType(), pbLowered),
       ordProp<T, int>("Style", PropKind::Enumeration, &T::style, &T::setStyle, &styleType(), psText),
       strProp<T>("Text", &T::text, &T::setText),
       // Written always, as the designer writes it.
       ordProp<T, int>("Width", PropKind::Integer, &T::width, &T::setWidth)});
  return info;
}

void TStatusPanel::assign(const TPersistent& source) {
  auto* p = dynamic_cast<const TStatusPanel*>(&source);
  if (!p) return TPersistent::assign(source);
  text_ = p->text_;
  width_ = p->width_;
  alignment_ = p->alignment_;
  bevel_ = p->bevel_;
  style_ = p->style_;
  changed();
}

void TStatusPanel::changed() { owner_.changed(); }
void TStatusPanel::setText(const std::string& t) { text_ = t; changed(); }
void TStatusPanel::setWidth(int w) { width_ = std::max(0, w); changed(); }
void TStatusPanel::setAlignment(int a) { alignment_ = a; changed(); }
void TStatusPanel::setBevel(int b) { bevel_ = b; changed(); }
void TStatusPanel::setStyle(int s) { style_ = s; changed(); }

int TStatusPanel::index() const { return owner_.indexOf(this); }

// ---- TStatusPanels ----

const ClassInfo& TStatusPanels::staticClassInfo() {
  static const ClassInfo info("TStatusPanels", &TCollection::staticClassInfo());
  return info;
}

TStatusPanel* TStatusPanels::add() {
  TStatusPanel* panel = items_.add(std::make_unique<TStatusPanel>(*this));
  changed();
  return panel;
}

void TStatusPanels::clear() {
  items_.clear();
  changed();
}

void TStatusPanels::assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TStatusPanels*>(&source);
  if (!other) return TPersistent::assign(source);
  if (other == this) return;
  items_.resize(other->count(), [this] { return std::make_unique<TStatusPanel>(*this); });
  for (int i = 0; i < count(); ++i) items(i)->assign(*other->items(i));
  changed();
}

// ---- TStatusBar ----

const ClassInfo& TStatusBar::staticClassInfo() {
  using T = TStatusBar;
  static const ClassInfo info(
      "TStatusBar", &TWinControl::staticClassInfo(),
      {[] {
         auto p = classProp<T, TStatusPanels>("Panels", &T::panels);
         p.item_type = &TStatusPanel::staticClassInfo;
         return p;
       }(),
       boolProp<T>("SimplePanel", &T::simplePanel, &T::setSimplePanel, false),
       strProp<T>("SimpleText", &T::simpleText, &T::setSimpleText),
       eventProp<T>("OnDrawPanel", &T::OnDrawPanel), eventProp<T>("OnHint", &T::OnHint)});
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner, new QWidget()) {
  panels_ = std::make_unique<TStatusPanels>([this] { rebuild(); });
  setBounds(0, 0, 200, 19);
  setAlign(alBottom);
  rebuild();
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::setSimplePanel(bool s) {
  simple_panel_ = s;
  rebuild();
}

void TStatusBar::setSimpleText(const std::string& t) {
  simple_text_ = t;
  rebuild();
}

TRect TStatusBar::panelRect(int index) const {
  if (simple_panel_ || index < 0 || index >= panels_->count()) return {0, 0, 0, 0};
  int left = 0;
  for (int i = 0; i < index; ++i) left += panels_->items(i)->width();
  const int right = index == panels_->count() - 1 ? std::max(left, width()) : left + panels_->items(index)->width();
  return {left, 0, right, height()};
}

void TStatusBar::rebuild() {
  // A handler run from a panel's own paint may change the panels: its label goes later.
  for (QLabel* l : labels_) {
    l->hide();
    handlerDepth() > 0 ? l->deleteLater() : delete l;
  }
  labels_.clear();
  const int n = simple_panel_ ? 1 : panels_->count();
  for (int i = 0; i < n; ++i) {
    auto* label = new QLabel(widget());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (simple_panel_) {
      label->setText(qs(simple_text_));
      label->setGeometry(0, 0, width(), height());
    } else {
      const TStatusPanel* p = panels_->items(i);
      if (p->style() == psText) label->setText(qs(p->text()));
      label->setAlignment(qtPanelAlignment(p->alignment()));
      label->setFrameStyle(frameOf(p->bevel()));
      const TRect r = panelRect(i);
      label->setGeometry(r.left, r.top, r.width(), r.height());
      watch(label);
    }
    label->show();
    labels_.push_back(label);
  }
}

bool TStatusBar::handleEvent(QObject* target, QEvent* event) {
  if (target == widget() && event->type() == QEvent::Resize) {
    const bool handled = TWinControl::handleEvent(target, event);
    rebuild();
    return handled;
  }
  if (event->type() == QEvent::Paint && !simple_panel_) {
    for (size_t i = 0; i < labels_.size(); ++i) {
      TStatusPanel* p = panels_->items(static_cast<int>(i));
      if (labels_[i] != target) continue;
      if (p && p->style() == psOwnerDraw) fire(OnDrawPanel, this, p, panelRect(static_cast<int>(i)));
      break;
    }
  }
  return TWinControl::handleEvent(target, event);
}

}  // namespace kgui
