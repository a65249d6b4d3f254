// CheckListBox: a list of lines with a check mark each, shown to the user in the check-list
// dialog of the UI services. The marks belong to the object and follow their lines when
// the lines move (insert, delete, sort); a new line starts unchecked.
#pragma once

#include <string>
#include <vector>

#include "script/builtins/builtin_props.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace kgui {
class TStringList;
}

namespace kestrin::script {

class TJEngine;

class TJCheckListBox : public TJObject {
public:
  explicit TJCheckListBox(BaseEngine* engine);
  ~TJCheckListBox() override;
  const ClassInfo& Class() const override;
  PublishedProperties* Published() override { return &props_; }
  void OnKill() override;

  kgui::TStringList& Lines() const;
  TJObject* Items() const { return items_.object(); }
  // The mark of line `index`; "EIndexError" with `method` outside the lines.
  bool Checked(int32_t index, const char* method) const;
  void SetChecked(int32_t index, bool checked, const char* method);
  std::vector<bool>& Marks() { return marks_; }

private:
  // The list may outlive the box (a script keeps it): it stops telling the box.
  void Unhook();
  void Changing();
  void Changed();

  Value items_;
  std::vector<bool> marks_;
  std::vector<std::string> before_;  // the lines before the change under way
  PropTable props_;
};

// Registers "CheckListBox".
void RegisterCheckListObjects(TJEngine& engine);

}  // namespace kestrin::script
