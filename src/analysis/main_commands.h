// What the main window's controls and menu do, without the widgets: the start state, the
// parameter edits' commit rule, the region radios and direction combo, and the commands
// whose routines take more than one call. Every recorded line goes to the macro list.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kestrin {

constexpr int kEnterKey = 13;

// A parameter edit and the Kestrin method its committed value is recorded with (null:
// nothing is recorded).
struct ParameterEdit {
  const char* edit;
  const char* method;
};
// The sixteen parameter edits of the main window, top to bottom.
std::span<const ParameterEdit> parameter_edits();

// The process-wide start values the main window sets when it is created, before the
// settings file is read: geometry zeros, no image, no pattern, direction TOP, linear
// display, a fresh view and macro list, the default graph size.
void init_program_state();

// A key pressed in a parameter edit. Enter with an image loaded runs read_parameters,
// redraws the image and then records the edit's line with its text as typed; anything
// else does nothing (the text is taken at the next analysis).
void parameter_edit_key(std::string_view edit, int key);

// The region radios (0 rectangle, 1 sector, 2 sectored division), the rectangle-mode
// radios (0 direction, 1 angle) and the direction combo. Nothing happens while the
// settings are being loaded; otherwise: the mode is set, read_parameters runs, the image
// is redrawn and the line is recorded.
void region_radio_clicked(int32_t mode);
void rect_mode_radio_clicked(int32_t mode);
void direction_changed();

// Menu commands with more to them than one call.
void load_image_command();           // the image dialog, then the log window (also after a cancel)
void straight_line_integration();    // only for the rectangle by direction
void find_center_command(bool redraw);  // needs an image; the menu item also redraws
void find_center_without_direct();
void spot_search_command();

// Routines of other parts of the program that the main window's commands call; an empty
// entry logs that the routine is not there yet.
struct MainCommandHooks {
  void (*auto_analysis)() = nullptr;
  void (*calc_tilt)() = nullptr;
  void (*calc_wave_length)() = nullptr;
  void (*import_mask_file)() = nullptr;
  void (*print_image)() = nullptr;
  void (*print_nax_proc)() = nullptr;
  // One round of the centre search without the direct beam: from (x, y) to a new centre.
  void (*find_center_no_direct)(double& x, double& y) = nullptr;
  // Runs the spot search with the spot window's settings over the whole image and shows
  // the spot list.
  void (*spot_search)() = nullptr;
};
MainCommandHooks& main_command_hooks();

// Runs a hook, or logs that its routine is not available.
void run_main_hook(void (*fn)(), std::string_view routine);

}  // namespace kestrin
