// The file commands of the windows: each prepares the main window's shared open or save
// dialog for its kind of file (filter, options, remembered folder and filter index), runs
// it, hands the chosen name to the loader or writer and records the matching script line.
#pragma once

#include <string>
#include <string_view>

#include "image/image_loader.h"
#include "ports/file_dialogs.h"

namespace kestrin {

// Dialog filters, "text|pattern|..." pairs.
extern const char* const kImageFilter;
extern const char* const kPatternOpenFilter;
extern const char* const kPatternSaveFilter;
extern const char* const kMaskFilter;
extern const char* const kParamFilter;
extern const char* const kPeakFilter;
extern const char* const kFitFilter;

// The dialog commands. Each records "Kestrin.<Method>('<name>');" while recording is on,
// after the call, also for a cancelled dialog (empty name).
void load_img_dialog();
void load_nax_dialog();
void save_nax_dialog();
void load_mask_dialog();
void save_mask_dialog();
// The parameter-file dialogs change only the filter and the file name ("default.kes") of
// the dialog; a cancel loads or writes nothing.
void load_param_dialog();
void save_param_dialog();

// The parameter files of a name (the dialogs' and the script methods'): a file read is
// shown in the main window's edits; a file written takes the edits' values first (but for
// the settings file's name), and its lines go to the log.
void load_param_command(const std::string& name);
void save_param_command(const std::string& name);

// The pattern saves of a name (the dialog's, the script methods' and the batch's): the
// save dialog's slot remembers the name's folder and the dialog's filter index; a name
// without an extension takes the one of the dialog's filter, after the question
// "Overwrite <name>?" when that file exists (a No saves nothing); then save_nax_proc or
// save_nax_proc2 with its lines in the log.
void save_nax_command(const std::string& file_name);
void save_nax_command2(const std::string& file_name, double theta1, double theta2);

// load_nax_proc with the open dialog's filter index and its lines in the log; a pattern
// taken shows its edit texts, redraws the graph and refills the peak list.
void load_nax_command(const std::string& name);

// What the windows show after a good load: the parameters in their edits (then read back,
// so the geometry is what the edits show), the ClearMask macro line, the display edges, the
// image window and the spot window's search area (X1, Y1: the image's size). A parameter
// edit that does not convert raises its conversion error, but only after the windows follow
// the new image.
void show_loaded_image(const ImageLoad& load);
// The whole load of `name` with its lines in the log, then shown; true when it was loaded.
// The batches that load image after image (conversion, oscillation) are handed it.
bool load_image_command(const std::string& name);
// The same; always returns -1 (the script method's result).
int load_img_proc(const std::string& name);

// The mask files of a name (the dialogs' and the script methods'): load_mask_proc and
// save_mask_proc with the dialog's filter index and their lines in the log; a load that
// added to the mask redraws the image.
void load_mask_command(const std::string& name);
void save_mask_command(const std::string& name);

// The peak list load: the open dialog (the peak-open slot's folder, the dialog's filter
// index, which then goes back to the slot's), the name's checks and the file's bytes, then
// the main window's wavelength edit is read and the list goes into the peak table at that
// wavelength; a list read whole refills the peak list window.
void load_peak_command();
// The peak list and fit list saves: "save_peak_proc() : No peak." or "save_fit_proc() : No
// fit data." without anything to write, else the save dialog (with the overwrite prompt,
// the remembered folder and filter index and the default extension "std" or "csv"), then
// the writer with its lines in the log.
void save_peak_command();
void save_fit_command();
// Nothing without an image. Otherwise the save dialog of bitmap_save_setup, then
// save_img_proc with the chosen name and the dialog's filter index.
void save_img_command();

// The save dialog as bitmap files are saved: the dialog's last state with the remembered
// image-save folder and filter index, no file name, the filter "BITMAP (*.bmp)|*.BMP" and
// the extension "bmp".
FileDialogSetup bitmap_save_setup();

// The main window's save dialog for result files (background images, spot lists): the
// overwrite prompt, the image-save slot's remembered folder and filter index and an empty
// name. Afterwards the slot keeps the folder of the chosen name (empty after a cancel) and
// the dialog's filter index. Returns the chosen name, empty after a cancel.
std::string run_result_save_dialog(const char* filter, const char* default_ext);


}  // namespace kestrin
