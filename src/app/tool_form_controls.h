// Builders of the tool windows' controls. Every control is owned by its form, so the
// controls port finds it by name, and placed on `parent` (the form, a panel or a group box).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/gui/form.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/std_controls.h"
#include "ports/controls.h"

namespace kestrin::app {

// A tool window: hidden, named, captioned and sized (client size).
void set_up_tool_form(kgui::TForm* form, std::string_view name, const std::string& caption, int width, int height);

kgui::TLabel* add_label(kgui::TForm* form, kgui::TWinControl* parent, const std::string& caption, int left, int top);
kgui::TEdit* add_edit(kgui::TForm* form, kgui::TWinControl* parent, ControlName name, std::string_view text,
                      int left, int top, int width);
kgui::TButton* add_button(kgui::TForm* form, kgui::TWinControl* parent, ControlName name, const std::string& caption,
                          int left, int top, int width, int height);
kgui::TCheckBox* add_check_box(kgui::TForm* form, kgui::TWinControl* parent, ControlName name,
                               const std::string& caption, int left, int top, int width);
kgui::TRadioButton* add_radio_button(kgui::TForm* form, kgui::TWinControl* parent, ControlName name,
                                     const std::string& caption, int left, int top, int width);
kgui::TGroupBox* add_group_box(kgui::TForm* form, kgui::TWinControl* parent, const std::string& caption, int left,
                               int top, int width, int height);
kgui::TMemo* add_memo(kgui::TForm* form, kgui::TWinControl* parent, ControlName name, int left, int top, int width,
                      int height);

// The start text of `name` among a window's start texts ("" when it has none).
std::string_view start_text(std::span<const ControlText> texts, ControlName name);

}  // namespace kestrin::app
