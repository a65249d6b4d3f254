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

  // Sub-items: add appends (the item keeps its owner), remove detaches.
  void add(TMenuItem* item);
  void remove(TMenuItem* item);
  int count() const { return static_cast<int>(items_.size()); }
  TMenuItem* items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* parentItem() const { return parent_; }
  void click();
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
  QAction* action_;
  TBasicAction* linked_action_ = nullptr;
  QMenu* submenu_ = nullptr;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  std::string caption_;
  bool enabled_ = true, checked_ = false, visible_ = true;
  friend class TMainMenu;
  friend class TPopupMenu;
  std::function<void()> on_top_changed_;  // set on a main menu's root item
};

class TMainMenu : public TComponent {
public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // The invisible root whose sub-items are the menu bar's entries.
  TMenuItem* items() const { return root_; }
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override {
    root_->getChildren(proc, root);
  }
  // Shows the top-level items on bar (nullptr detaches); called by the form.
  void attach(QMenuBar* bar);

private:
  void rebuildBar();
  TMenuItem* root_;
  QPointer<QMenuBar> bar_;
};

// A menu shown at a point on demand (a control's context menu).
class TPopupMenu : public TComponent {
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // The invisible root whose sub-items are the menu's entries.
  TMenuItem* items() const { return root_; }
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override {
    root_->getChildren(proc, root);
  }
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
  TMenuItem* root_;
  TComponent* popup_component_ = nullptr;
};

}  // namespace kgui
