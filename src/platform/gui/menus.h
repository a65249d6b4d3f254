// Main menus and menu items over QMenuBar, QMenu and QAction; captions keep the platform's
// "&" accelerator marks, and "-" makes a separator.
#pragma once

#include <QPointer>
#include <QMenuBar>
#include <vector>

#include "platform/gui/control.h"

class QAction;
class QMenu;

namespace kgui {

class TBasicAction;
class TMenu;

// How TMenu::findItem reads its value.
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
const EnumInfo& findItemKindType();

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return caption_; }
  void setCaption(const std::string& caption);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  // The platform's short-cut code: a virtual key with scShift, scCtrl and scAlt bits.
  int shortCut() const { return short_cut_; }
  void setShortCut(int short_cut);
  int helpContext() const { return help_context_; }
  void setHelpContext(int context) { help_context_ = context; }
  // Merging main menus goes by group: see TMainMenu::merge.
  int groupIndex() const { return group_index_; }
  void setGroupIndex(int index);
  std::string hint() const { return hint_; }
  void setHint(const std::string& hint);
  bool isLine() const { return caption_ == "-"; }

  // Sub-items: add appends and insert puts at index (the item keeps its owner), remove
  // detaches.
  void add(TMenuItem* item);
  void insert(int index, TMenuItem* item);
  void remove(TMenuItem* item);
  int indexOf(const TMenuItem* item) const;
  int count() const { return static_cast<int>(items_.size()); }
  TMenuItem* items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* parentItem() const { return parent_; }
  // The main or popup menu whose tree holds the item; nil when none.
  TMenu* parentMenu() const;
  void click();
  // Separators: each makes sure a visible line stands where it says and returns the index
  // just past that line (0 for a top line of an item without sub-items, which adds none);
  // the two that name an item give -1 when it is not a sub-item of this one. The lines
  // are sub-items this item owns.
  int newTopLine();
  int newBottomLine();
  int insertNewLineBefore(TMenuItem* item);
  int insertNewLineAfter(TMenuItem* item);
  // Gives each sub-item that has no accelerator, or one an earlier sub-item uses, the
  // first free letter of its caption; true when a caption changed.
  bool rethinkHotkeys();
  // Shows the lines between visible items and hides leading, trailing and doubled ones;
  // true when one changed.
  bool rethinkLines();
  // Lets the linked action update the item (its Enabled, Checked ...), as before a drop-down.
  void initiateAction();
  bool hasParent() const override { return true; }
  // An item read from a form description goes into the enclosing menu or item.
  void setParentComponent(TComponent* parent) override;
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override;
  // The item's command number and menu handle, from the handle tables, given on first use.
  uint32_t command() const;
  uint32_t handle() const;

  QAction* action() const { return action_; }
  // The linked action: without an OnClick, a click runs its OnExecute.
  TBasicAction* linkedAction() const { return linked_action_; }
  void setLinkedAction(TBasicAction* action);
  TNotifyEvent OnClick;

protected:
  void notification(TComponent* c, Operation op) override;

private:
  void rebuildMenu();
  // A property of this item changed (rebuild false) or its sub-items did (rebuild true):
  // the menu that holds the tree hears of it.
  void changed(bool rebuild);
  TMenuItem* newLine();
  QAction* action_;
  TBasicAction* linked_action_ = nullptr;
  QMenu* submenu_ = nullptr;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::string caption_, hint_;
  bool enabled_ = true, checked_ = false, visible_ = true;
  int short_cut_ = 0, help_context_ = 0, group_index_ = 0;
  friend class TMenu;
  friend class TMainMenu;
  friend class TPopupMenu;
  TMenu* menu_ = nullptr;  // on a menu's root item: the menu
};

using TMenuChangeEvent = std::function<void(TComponent* sender, TMenuItem* source, bool rebuild)>;

// What main and popup menus share: the root item, look-ups by command, handle and short
// cut, and OnChange.
class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // The invisible root whose sub-items are the menu's entries.
  TMenuItem* items() const { return root_; }
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override {
    root_->getChildren(proc, root);
  }
  // The menu's handle (its root item's) and the window that gets its commands.
  uint32_t handle() const { return root_->handle(); }
  uint32_t windowHandle() const { return window_handle_; }
  void setWindowHandle(uint32_t handle) { window_handle_ = handle; }
  // The item whose Command, Handle or ShortCut is value, the items of a merged menu
  // included; nil when none.
  virtual TMenuItem* findItem(int64_t value, TFindItemKind kind) const;
  // Clicks the item with that command (or handle); false when there is none.
  bool dispatchCommand(uint32_t command);
  bool dispatchPopup(uint32_t handle);
  // The help topic of the item found by command (or handle): its own, else its nearest
  // parent's; 0 when none.
  int getHelpContext(int64_t value, bool by_command) const;

  TMenuChangeEvent OnChange;

protected:
  friend class TMenuItem;
  virtual void itemChanged(TMenuItem* source, bool rebuild);
  TMenuItem* root_;

private:
  uint32_t window_handle_ = 0;
};

class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Shows the top-level items on bar (nullptr detaches); called by the form.
  void attach(QMenuBar* bar);
  // Merging shows menu's top-level items with ours by GroupIndex: its items of a group
  // take the place of ours of the same group, its other groups go in group order. The
  // items themselves stay where they are; unmerge shows ours alone again. Only one menu
  // is merged at a time.
  void merge(TMainMenu* menu);
  void unmerge(TMainMenu* menu);
  TMainMenu* merged() const { return merged_; }
  // The top-level items the bar shows, in order.
  std::vector<TMenuItem*> shownItems() const;
  TMenuItem* findItem(int64_t value, TFindItemKind kind) const override;

protected:
  void itemChanged(TMenuItem* source, bool rebuild) override;
  void notification(TComponent* c, Operation op) override;

private:
  void rebuildBar();
  QPointer<QMenuBar> bar_;
  TMainMenu* merged_ = nullptr;       // the menu merged into this one
  TMainMenu* merged_into_ = nullptr;  // the menu this one is merged into
};

// A menu shown at a point on demand (a control's context menu).
class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Runs OnPopup, then shows the entries at the screen point; returns at once (the chosen
  // item's OnClick runs from the event loop).
  void popup(int x, int y);
  // The component whose context menu was shown last (nil: none).
  TComponent* popupComponent() const { return popup_component_; }
  void setPopupComponent(TComponent* c);

  TNotifyEvent OnPopup;

protected:
  void notification(TComponent* c, Operation op) override;

private:
  TComponent* popup_component_ = nullptr;
};

}  // namespace kgui
