// The windows' side of the parameter table: what the controls that show the parameters hold,
// addressed by the row's place in the table. The model reads and writes the parameters'
// texts and checks through this port only; the command layer, which knows which control
// shows which row, installs the implementation over the controls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrin {

class ParameterWindow {
public:
  virtual ~ParameterWindow() = default;
  // The edit of an edit row.
  virtual std::string text(size_t row) const = 0;
  virtual void set_text(size_t row, std::string_view text) = 0;
  // A check box row's box (button 0), or a choice row's radio button of its button-th value.
  virtual bool checked(size_t row, size_t button) const = 0;
  virtual void set_checked(size_t row, size_t button, bool on) = 0;
  // The combo box of an index row.
  virtual int item_index(size_t row) const = 0;
  virtual void set_item_index(size_t row, int index) = 0;
};

// The installed port; until one is installed, a window without controls: texts read empty,
// boxes unchecked, indexes -1, and writes go nowhere.
ParameterWindow& parameter_window();
// Installs a port (null: back to the window without controls). The caller keeps it alive.
void install_parameter_window(ParameterWindow* window);

}  // namespace kestrin
