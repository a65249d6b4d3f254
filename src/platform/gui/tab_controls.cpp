// TTabControl, TPageControl and TTabSheet over a QTabBar of our own above a client area.
// QTabBar has no veto for a change, so the layer takes the tab presses itself: a press on
// another tab asks OnChanging first, and the bar itself never changes its tab on input.
#include "platform/gui/tab_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

const EnumInfo& hitTestType() {
  static const EnumInfo info{"THitTest",
                             {"htAbove", "htBelow", "htNowhere", "htOnItem", "htOnButton", "htOnIcon",
                              "htOnIndent", "htOnLabel", "htOnRight", "htOnStateIcon", "htToLeft", "htToRight"},
                             "THitTests"};
  return info;
}

namespace {

TRect rectOf(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

}  // namespace

// ---- TCustomTabControl ----

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner, new QWidget()) {
  bar_ = new QTabBar(widget());
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(true);
  bar_->show();
  watch(bar_);
  setBounds(0, 0, 289, 193);
  placeBar();
}

TCustomTabControl::~TCustomTabControl() = default;

// The height of the tab row, from the bar's tabs as they are now.
int TCustomTabControl::barHeight() const {
  return std::max(bar_->sizeHint().height(), bar_->fontMetrics().height() + 8);
}

void TCustomTabControl::placeBar() { bar_->setGeometry(0, 0, std::max(0, width()), barHeight()); }

void TCustomTabControl::applyFont() {
  TWinControl::applyFont();
  placeBar();
}

TRect TCustomTabControl::alignRect() const {
  const int top = barHeight() + 4;
  return {4, top, std::max(4, clientWidth() - 4), std::max(top, clientHeight() - 4)};
}

TRect TCustomTabControl::displayRect() const { return alignRect(); }

int TCustomTabControl::rowCount() const { return bar_->count() > 0 ? 1 : 0; }

int TCustomTabControl::currentTab() const { return bar_->currentIndex(); }

// An index outside the tabs changes nothing.
void TCustomTabControl::setCurrentTab(int index) {
  if (index < 0 || index >= bar_->count()) return;
  syncing_ = true;
  bar_->setCurrentIndex(index);
  syncing_ = false;
}

int TCustomTabControl::indexOfTabAt(int x, int y) const { return bar_->tabAt(bar_->mapFrom(widget(), QPoint(x, y))); }

uint32_t TCustomTabControl::hitTestInfoAt(int x, int y) const {
  uint32_t bits = 0;
  if (indexOfTabAt(x, y) >= 0) return (1u << htOnItem) | (1u << htOnLabel);
  if (y < 0) bits |= 1u << htAbove;
  if (y >= height()) bits |= 1u << htBelow;
  if (x < 0) bits |= 1u << htToLeft;
  if (x >= width()) bits |= 1u << htToRight;
  return bits ? bits : 1u << htNowhere;
}

TRect TCustomTabControl::tabRect(int index) const {
  if (index < 0 || index >= bar_->count()) return {0, 0, 0, 0};
  return rectOf(bar_->tabRect(index).translated(bar_->pos()));
}

void TCustomTabControl::scrollTabs(int delta) {
  // The bar scrolls to keep its current tab in sight: show the tab delta places on.
  const int target = std::clamp(currentTab() + delta, 0, std::max(0, bar_->count() - 1));
  if (bar_->count() == 0) return;
  const int keep = currentTab();
  syncing_ = true;
  bar_->setCurrentIndex(target);
  bar_->setCurrentIndex(keep);
  syncing_ = false;
}

void TCustomTabControl::userSelectTab(int index) {
  if (index == currentTab()) return;
  bool allow = true;
  fire(OnChanging, this, allow);
  if (!allow) return;
  selectTab(index);
  fire(OnChange, this);
}

bool TCustomTabControl::handleEvent(QObject* target, QEvent* event) {
  if (target == bar_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        const int index = bar_->tabAt(me->position().toPoint());
        if (me->button() == Qt::LeftButton && index >= 0) userSelectTab(index);
        return true;
      }
      case QEvent::Wheel:
        return true;  // the wheel would change the tab without asking
      default:
        break;
    }
  }
  if (target == widget() && event->type() == QEvent::Resize) placeBar();
  // The bar asks for a new size when its tabs change: the client area follows.
  if (target == widget() && event->type() == QEvent::LayoutRequest) {
    placeBar();
    realign();
  }
  return TWinControl::handleEvent(target, event);
}

// ---- TTabControl ----

const ClassInfo& TTabControl::staticClassInfo() {
  using T = TTabControl;
  static const ClassInfo info(
      "TTabControl", &TWinControl::staticClassInfo(),
      {classProp<T, TStrings>("Tabs", &T::tabs),
       ordProp<T, int>("TabIndex", PropKind::Integer, &T::tabIndex, &T::setTabIndex, nullptr, -1),
       eventProp<TCustomTabControl>("OnChange", &T::OnChange),
       eventProp<TCustomTabControl>("OnChanging", &T::OnChanging)});
  return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  QTabBar* b = bar();
  tabs_ = std::make_unique<TCallbackStrings>(
      "TTabStrings", TCallbackStrings::Ops{[b] { return b->count(); }, [b](int i) { return ss(b->tabText(i)); },
                                           [b](int i, const std::string& s) { b->setTabText(i, qs(s)); },
                                           [b](int i, const std::string& s) { b->insertTab(i, qs(s)); },
                                           [b](int i) { b->removeTab(i); },
                                           [b] {
                                             while (b->count() > 0) b->removeTab(b->count() - 1);
                                           }});
}

TTabControl::~TTabControl() = default;

void TTabControl::setTabIndex(int index) { setCurrentTab(index); }

// ---- TTabSheet ----

const ClassInfo& TTabSheet::staticClassInfo() {
  using T = TTabSheet;
  static const ClassInfo info(
      "TTabSheet", &TWinControl::staticClassInfo(),
      {strProp<T>("Caption", &T::caption, &T::setCaption),
       ordProp<T, int>("PageIndex", PropKind::Integer, &T::pageIndex, &T::setPageIndex),
       boolProp<T>("TabVisible", &T::tabVisible, &T::setTabVisible, true), eventProp<T>("OnHide", &T::OnHide),
       eventProp<T>("OnShow", &T::OnShow)});
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner, new QWidget()) { setBounds(0, 0, 281, 165); }

TPageControl* TTabSheet::pageControl() const { return dynamic_cast<TPageControl*>(parent()); }

void TTabSheet::setParentComponent(TComponent* parent) {
  auto* pc = dynamic_cast<TPageControl*>(parent);
  if (!pc) throw EComponentError("Tab sheet " + name() + " lies outside a page control");
  setPageControl(pc);
}

void TTabSheet::setPageControl(TPageControl* pc) {
  if (pc != pageControl()) setParent(pc);
}

int TTabSheet::pageIndex() const {
  TPageControl* pc = pageControl();
  return pc ? pc->indexOfPage(this) : -1;
}

void TTabSheet::setPageIndex(int index) {
  if (TPageControl* pc = pageControl()) pc->movePage(this, index);
}

void TTabSheet::setTabVisible(bool v) {
  tab_visible_ = v;
  if (TPageControl* pc = pageControl()) pc->updateTabs();
}

int TTabSheet::tabIndex() const {
  TPageControl* pc = pageControl();
  if (!pc || !tab_visible_) return -1;
  int index = 0;
  for (TTabSheet* p : pc->pages_) {
    if (p == this) return index;
    if (p->tab_visible_) ++index;
  }
  return -1;
}

void TTabSheet::applyCaption() {
  if (TPageControl* pc = pageControl()) pc->updateTabs();
}

// ---- TPageControl ----

const ClassInfo& TPageControl::staticClassInfo() {
  using T = TPageControl;
  static const ClassInfo info("TPageControl", &TWinControl::staticClassInfo(),
                              {refProp<T, TTabSheet>("ActivePage", &T::activePage, &T::setActivePage),
                               eventProp<TCustomTabControl>("OnChange", &T::OnChange),
       eventProp<TCustomTabControl>("OnChanging", &T::OnChanging)});
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  auto read_only = [] { throw EPropertyError("The tabs of a page control are read-only"); };
  tabs_ = std::make_unique<TCallbackStrings>(
      "TTabStrings",
      TCallbackStrings::Ops{[this] { return bar()->count(); }, [this](int i) { return ss(bar()->tabText(i)); },
                            [read_only](int, const std::string&) { read_only(); },
                            [read_only](int, const std::string&) { read_only(); }, [read_only](int) { read_only(); },
                            read_only});
}

TTabSheet* TPageControl::pages(int index) const {
  return index >= 0 && index < pageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int TPageControl::indexOfPage(const TTabSheet* page) const {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int TPageControl::activePageIndex() const { return indexOfPage(active_); }

void TPageControl::setActivePageIndex(int index) { setActivePage(pages(index)); }

void TPageControl::setActivePage(TTabSheet* page) {
  if (page && indexOfPage(page) < 0) return;
  if (page == active_) return;
  TTabSheet* old = active_;
  active_ = page;
  updateTabs();
  if (old) fire(old->OnHide, old);
  if (page) fire(page->OnShow, page);
}

void TPageControl::movePage(TTabSheet* page, int index) {
  const int from = indexOfPage(page);
  if (from < 0) return;
  index = std::clamp(index, 0, pageCount() - 1);
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + index, page);
  updateTabs();
}

void TPageControl::childrenChanged() {
  // The pages that are still children keep their order (a page being freed is no longer
  // among the children and is only compared, never used); new child sheets come last.
  std::vector<TTabSheet*> now;
  int removed_active_at = -1;
  for (size_t i = 0; i < pages_.size(); ++i) {
    bool child = false;
    for (int c = 0; c < controlCount() && !child; ++c) child = controls(c) == pages_[i];
    if (child) now.push_back(pages_[i]);
    else if (pages_[i] == active_) removed_active_at = static_cast<int>(now.size());
  }
  for (int c = 0; c < controlCount(); ++c)
    if (auto* sheet = dynamic_cast<TTabSheet*>(controls(c)); sheet && std::find(now.begin(), now.end(), sheet) == now.end())
      now.push_back(sheet);
  pages_ = std::move(now);
  if (removed_active_at >= 0) {
    // The page after the removed one takes its place, as the platform does.
    active_ = nullptr;
    if (!pages_.empty()) setActivePage(pages_[static_cast<size_t>(removed_active_at) % pages_.size()]);
  } else if (!active_ && !pages_.empty()) {
    active_ = pages_.front();
  }
  updateTabs();
}

void TPageControl::updateTabs() {
  QTabBar* b = bar();
  syncing_ = true;
  while (b->count() > 0) b->removeTab(b->count() - 1);
  for (TTabSheet* p : pages_)
    if (p->tabVisible()) b->addTab(qs(p->caption()));
  syncing_ = false;
  setCurrentTab(active_ ? active_->tabIndex() : -1);
  const TRect r = displayRect();
  for (TTabSheet* p : pages_) {
    p->setBounds(r.left, r.top, r.width(), r.height());
    p->setVisible(p == active_);
  }
}

bool TPageControl::handleEvent(QObject* target, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) && (ke->modifiers() & Qt::ControlModifier)) {
      selectNextPage(!(ke->modifiers() & Qt::ShiftModifier));
      return true;
    }
  }
  const bool handled = TCustomTabControl::handleEvent(target, event);
  if (target == widget() && event->type() == QEvent::Resize) {
    const TRect r = displayRect();
    for (TTabSheet* p : pages_) p->setBounds(r.left, r.top, r.width(), r.height());
  }
  return handled;
}

void TPageControl::selectTab(int index) {
  for (TTabSheet* p : pages_)
    if (p->tabIndex() == index) {
      setActivePage(p);
      return;
    }
}

TTabSheet* TPageControl::findNextPage(TTabSheet* current, bool go_forward, bool check_tab_visible) const {
  const int count = pageCount();
  if (count == 0) return nullptr;
  int start = indexOfPage(current);
  if (start < 0) start = go_forward ? count - 1 : 0;
  int i = start;
  do {
    i = go_forward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    if (!check_tab_visible || page->tabVisible()) return page;
  } while (i != start);
  return nullptr;
}

void TPageControl::selectNextPage(bool go_forward, bool check_tab_visible) {
  TTabSheet* page = findNextPage(active_, go_forward, check_tab_visible);
  if (!page || page == active_) return;
  bool allow = true;
  fire(OnChanging, this, allow);
  if (!allow) return;
  setActivePage(page);
  fire(OnChange, this);
}

}  // namespace kgui
