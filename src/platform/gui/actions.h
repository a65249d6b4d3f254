// Actions: a command that controls and menu items link to. A linked client's click runs the
// action's OnExecute when the client has no OnClick of its own; TAction mirrors its
// Caption, Enabled, Checked, Visible and Hint into every linked client.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/control.h"

namespace kgui {

class TBasicAction : public TComponent {
public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Runs OnExecute (inside the handler guard); false when there is none.
  virtual bool execute();
  // Runs OnUpdate; false when there is none.
  virtual bool update();

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
  std::vector<TComponent*> clients_;
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

protected:
  void applyTo(TComponent* client) override;

private:
  void applyAll();
  std::string caption_, hint_;
  bool enabled_ = true, checked_ = false, visible_ = true;
};

}  // namespace kgui
