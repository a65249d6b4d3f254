// Actions: a command that controls and menu items link to. A linked client's click runs the
// action's Execute when the client has no OnClick of its own; TAction mirrors its
// Caption, Enabled, Checked, Visible and Hint into every linked client. An action list
// sees each of its actions' Execute and Update first. While the application is idle, every
// action with a linked client is updated (its OnUpdate runs).
#pragma once

#include <string>
#include <vector>

#include "platform/gui/control.h"

namespace kgui {

class TActionList;
class TBasicAction;

// An action list's handler for one of its actions; handled = true stops the action's own.
using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;
// Asked before a linked control shows the action's hint: the text may change, and
// can_show = false shows none.
using THintEvent = std::function<void(std::string& hint, bool& can_show)>;

class TBasicAction : public TComponent {
public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Asks the action list's OnExecute, then runs OnExecute (inside the handler guard);
  // false when neither handled it.
  virtual bool execute();
  // The same with the OnUpdate handlers.
  virtual bool update();
  // The list the action belongs to (nil: none); the list keeps its actions in order.
  TActionList* actionList() const { return list_; }
  void setActionList(TActionList* list);
  // The position in the action list; -1 without one.
  int index() const;
  // In a description an action of a list is written under its list, and joins the list it
  // is read under.
  bool hasParent() const override { return list_ != nullptr; }
  void setParentComponent(TComponent* parent) override;

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // Called by the clients as they link and unlink.
  void registerClient(TComponent* client);
  void unregisterClient(TComponent* client);
  const std::vector<TComponent*>& clients() const { return clients_; }

protected:
  void notification(TComponent* c, Operation op) override;
  // Gives a newly linked client the action's state.
  virtual void applyTo(TComponent*) {}

private:
  bool askList(bool execute);
  std::vector<TComponent*> clients_;
  TActionList* list_ = nullptr;
};

class TAction : public TBasicAction {
public:
  explicit TAction(TComponent* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return caption_; }
  void setCaption(const std::string& c);
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  bool checked() const { return checked_; }
  void setChecked(bool c);
  bool visible() const { return visible_; }
  void setVisible(bool v);
  std::string hint() const { return hint_; }
  void setHint(const std::string& h);
  // The hint a linked control shows, after OnHint; false when it shows none.
  bool doHint(std::string& hint);

  THintEvent OnHint;

protected:
  void applyTo(TComponent* client) override;

private:
  void applyAll();
  std::string caption_, hint_;
  bool enabled_ = true, checked_ = false, visible_ = true;
};

// A list of actions (their owner is usually the form): its OnExecute and OnUpdate see each
// action's Execute and Update before the action's own handlers. Freeing the list frees
// its actions.
class TActionList : public TComponent {
public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int actionCount() const { return static_cast<int>(actions_.size()); }
  TBasicAction* actions(int index) const;  // nil out of range
  void getChildren(const std::function<void(TComponent*)>& proc, const TComponent* root) const override;

  TNotifyEvent OnChange;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

private:
  friend class TBasicAction;
  void added(TBasicAction* action);
  void removed(TBasicAction* action);
  std::vector<TBasicAction*> actions_;
};

// Updates every action that has a linked client, as the application does when idle; a
// second call while one runs does nothing.
void updateActionsAtIdle();

}  // namespace kgui
