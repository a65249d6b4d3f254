// Building the tool windows: each helper makes one named control of a form at its place,
// with the tool windows' colours, and a string grid is filled from a table of strings.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "app/panel_button.h"
#include "model/view_state.h"
#include "platform/gui/form.h"
#include "platform/gui/grid.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/paint_box.h"
#include "platform/gui/std_controls.h"
#include "ports/controls.h"

namespace kestrin::app {

class ToolFormBuilder {
public:
  // The start texts of the form's edits and labels, looked up by name.
  ToolFormBuilder(kgui::TForm* form, std::span<const ControlText> start_texts) : form_(form), texts_(start_texts) {}

  kgui::TGroupBox* group(kgui::TWinControl* parent, const char* caption, int left, int top, int width, int height);
  kgui::TLabel* label(kgui::TWinControl* parent, std::string_view caption, int left, int top);
  // A label that Qt-free code writes (a status or progress text), with its start text.
  kgui::TLabel* label(kgui::TWinControl* parent, ControlName name, int left, int top);
  kgui::TEdit* edit(kgui::TWinControl* parent, ControlName name, int left, int top, int width = 56);
  TPanelButton* button(kgui::TWinControl* parent, ControlName name, const char* caption, int left, int top,
                       int width = 120, int height = 26);
  kgui::TRadioButton* radio(kgui::TWinControl* parent, ControlName name, const char* caption, int left, int top,
                            int width = 150);
  kgui::TCheckBox* check(kgui::TWinControl* parent, ControlName name, const char* caption, int left, int top,
                         int width = 200);
  kgui::TStringGrid* grid(kgui::TWinControl* parent, ControlName name, int left, int top, int width, int height);
  kgui::TPanel* panel(kgui::TWinControl* parent, ControlName name, int left, int top, int width, int height);
  kgui::TPaintBox* paint_box(kgui::TWinControl* parent, ControlName name, int left, int top, int width, int height);
  kgui::TScrollBar* scroll_bar(kgui::TWinControl* parent, ControlName name, int left, int top, int width,
                               int height, bool vertical);
  kgui::TComboBox* combo(kgui::TWinControl* parent, ControlName name, int left, int top, int width,
                         std::initializer_list<const char*> items);
  kgui::TMemo* memo(kgui::TWinControl* parent, ControlName name, int left, int top, int width, int height);
  // Labelled edits one under another: labels at label_left, edits at edit_left, from top.
  struct LabelledEdit {
    kgui::TEdit** edit;
    ControlName name;
    const char* label;
  };
  void labelled_edits(kgui::TWinControl* parent, std::span<const LabelledEdit> rows, int label_left, int edit_left,
                      int top, int step = 25);

private:
  std::string start_text(ControlName name) const;
  kgui::TForm* form_;
  std::span<const ControlText> texts_;
};

// The grid shows the table: its size, then every cell.
void show_table(kgui::TStringGrid& grid, const StringGrid& table);

// A tool window's grid colour and form colour.
inline constexpr kgui::TColor kToolFormColour = 0xFFE4CE;

}  // namespace kestrin::app
