// Tabbed controls: TTabControl (one client area under a row of tabs) and TPageControl with
// its TTabSheet pages. A press on another tab asks OnChanging (which may refuse), then
// changes the tab and runs OnChange; a change from code runs neither.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/strings.h"
#include "platform/gui/control.h"

class QTabBar;

namespace kgui {

using TTabChangingEvent = std::function<void(TComponent* sender, bool& allow_change)>;

// The hit-test flags of a point, as the platform's THitTests.
enum THitTest {
  htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel,
  htOnRight, htOnStateIcon, htToLeft, htToRight
};
const EnumInfo& hitTestType();

class TCustomTabControl : public TWinControl {
public:
  ~TCustomTabControl() override;
  // The tab at a client point; -1 where there is none.
  int indexOfTabAt(int x, int y) const;
  uint32_t hitTestInfoAt(int x, int y) const;  // THitTest bits
  TRect tabRect(int index) const;             // empty for a tab that does not exist
  // The client area under the tabs.
  TRect displayRect() const;
  int rowCount() const;
  // Moves the first shown tab by delta tabs.
  void scrollTabs(int delta);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  TCustomTabControl(TComponent* owner);
  QTabBar* bar() const { return bar_; }
  int currentTab() const;
  void setCurrentTab(int index);  // quiet
  // The user picks a tab: OnChanging may refuse; then selectTab and OnChange.
  void userSelectTab(int index);
  // A change of the current tab to apply (the page control shows the page).
  virtual void selectTab(int index) { setCurrentTab(index); }
  TRect alignRect() const override;
  bool handleEvent(QObject* target, QEvent* event) override;
  void applyFont() override;

private:
  int barHeight() const;
  void placeBar();
  QTabBar* bar_;
};

class TTabControl : public TCustomTabControl {
public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TStrings* tabs() const { return tabs_.get(); }
  int tabIndex() const { return currentTab(); }
  void setTabIndex(int index);

private:
  std::unique_ptr<TStrings> tabs_;
};

class TPageControl;

// A page: a child control of its page control shown while its tab is the current one.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  TPageControl* pageControl() const;
  // Makes the sheet the last page of pc (nil: of none).
  void setPageControl(TPageControl* pc);
  // A sheet read from a form description becomes a page of the enclosing page control.
  void setParentComponent(TComponent* parent) override;
  int pageIndex() const;
  void setPageIndex(int index);
  bool tabVisible() const { return tab_visible_; }
  void setTabVisible(bool v);
  // The sheet's place among the shown tabs; -1 while its tab is hidden.
  int tabIndex() const;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void applyCaption() override;

private:
  bool tab_visible_ = true;
};

class TPageControl : public TCustomTabControl {
public:
  explicit TPageControl(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int pageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* pages(int index) const;  // nil out of range
  TTabSheet* activePage() const { return active_; }
  void setActivePage(TTabSheet* page);  // nil or a page of another control: none
  int activePageIndex() const;
  void setActivePageIndex(int index);
  // The captions of the pages' shown tabs; read-only (changing it raises EPropertyError).
  TStrings* tabs() const { return tabs_.get(); }
  // The next (or previous) page after current, wrapping; nil current starts at the end.
  TTabSheet* findNextPage(TTabSheet* current, bool go_forward, bool check_tab_visible) const;
  // The user's move to the next page: OnChanging and OnChange as for a tab click.
  void selectNextPage(bool go_forward, bool check_tab_visible = true);

protected:
  void selectTab(int index) override;
  void childrenChanged() override;
  // Keeps the pages on the client area; Ctrl+Tab moves to the next page as a click does.
  bool handleEvent(QObject* target, QEvent* event) override;

private:
  friend class TTabSheet;
  int indexOfPage(const TTabSheet* page) const;
  void movePage(TTabSheet* page, int index);
  // Builds the tab row from the pages and shows the active page only.
  void updateTabs();
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  std::unique_ptr<TStrings> tabs_;
};

}  // namespace kgui
