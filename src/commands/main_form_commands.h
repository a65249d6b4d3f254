// What the main window's controls and menu do, without the widgets: the start state, the
// parameter edits' commit rule, the region radios and direction combo, and the commands
// whose routines take more than one call. Every recorded line goes to the macro list.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/parameter_table.h"
#include "ports/controls.h"

namespace kestrin {

constexpr int kEnterKey = 13;

// The process-wide start values the main window sets when it is created, before the
// settings file is read: geometry zeros, no image, no pattern, direction TOP, linear
// display, a fresh view and macro list, the default graph size.
void init_program_state();

// What creating the main window does to the process-wide state: the start values above,
// then the settings file of the configuration folder, then the geometry read from the
// controls (a text that does not convert is left for the next analysis to report).
void start_program_state();

// A key pressed in a parameter edit. Enter with an image loaded runs read_parameters,
// redraws the image and then records the setter line of the edit's row of the parameter
// table with its text as typed, or the shortest text of its value where the script lexer
// would not read the typed text as that number (recorded_number); no line for a row
// without a script name. Anything else does nothing (the text is taken at the next
// analysis).
void parameter_edit_key(ControlName edit, int key);

// A parameter's control changed by the user's hand (typed text, a check box, a radio
// button, the direction combo): it is read again at the next read_parameters, and a
// header lock's box is taken into the model at once.
void parameter_control_changed(ControlName control);

// A choice row (the region or the rectangle mode) set as a script setter sets it: the value
// into the model and its radio button checked. True when that button was not checked
// before, which is when a click command is due; the button's own click handler does not
// run it.
bool set_choice(const Parameter& row, int32_t value);
// The same, then the click command of the radio button that became checked, as a user's
// click runs it.
void choose_choice(const Parameter& row, int32_t value);
// choose_choice for the value that one radio button of a choice row stands for.
void choose_radio(ControlName radio);

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
// The script's FindCenter: records its macro line, reads the edits and runs find_center
// with its lines in the log; a centre found goes into the centre edits ("%10.5f", the row
// as the windows show it) and the image is redrawn. Returns find_center's status.
int32_t find_center_and_show();
void find_center_command(bool redraw);  // needs an image; the menu item also redraws
void import_mask_command();             // import_mask_file, after the window's message
// The script's CalcTilt: records its macro line and runs calc_tilt with its lines in the
// log; a tilt determined goes into edtBeta ("%8.3f") and edtPhi ("%10.6f"). Returns
// calc_tilt's status.
int32_t calc_tilt_command();
// The menu's "Peak search" and "Calc Tilt": as the script methods, and a line in the log
// saying why when there is no pattern to work on.
void peak_search_menu_command();
void calc_tilt_menu_command();
// "Calculate wave length": with an image, reads the edits, makes the 2theta pattern of the
// current settings and searches its peaks, then runs calc_wave_length with its lines in the
// log; a wavelength found goes into edtLambda ("%7.5f"; the parameter follows at the next
// reading).
void calc_wave_length_command();
// The spot search over the whole image with the spot window's settings, then the spot list.
// A setting that is not a number raises its conversion error before anything is searched.
void spot_search_command();
// The spot window with its list.
void show_spot_list_command();

// One round of the centre search without the direct beam: from (x, y) to a new centre.
using CentreRound = void (*)(double& x, double& y);
// The centre search without the direct beam, a long run (ports/long_run.h): asks whether
// to start from the centre edits (else from the image's middle, written into the edits),
// then ten rounds, each writing the new centre into the edits, reading the parameters,
// redrawing and letting the windows handle their events once.
void find_center_without_direct(CentreRound round);

// The menu's centre search without the direct beam: the ten rounds above, each one
// FindCenterNoDirect, its centre written into the edits as the windows show it.
void find_center_without_direct_command();
// One round of that search: the main window set to rectangle mode by direction with the
// strips' band, then FindCenterNoDirect with its lines in the log, the direction combo
// showing each strip's direction and each strip's peak search recorded and shown as the
// "Peak Search" button shows it. (x, y) becomes the centre found, y as the edits show it.
void find_center_without_direct_round(double& x, double& y);
// The automatic analysis, the main steps from a loaded image to its radial pattern: without
// an image logs " auto_analysis() : Image data does not exist."; otherwise reads the
// parameters, puts the centre on the direct-beam spot, makes the 16-sector patterns and
// searches their peaks, refines the tilt from them, then makes the pixel histogram of the
// current settings and searches its peaks. Each step logs, records its macro line and shows
// its result as on its own; a step that finds nothing does not stop the later ones.
void auto_analysis_command();

}  // namespace kestrin
