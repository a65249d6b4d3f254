// The file commands of the windows: each prepares the main window's shared open or save
// dialog for its kind of file (filter, options, remembered folder and filter index), runs
// it, hands the chosen name to the loader or writer and records the matching script line.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// Dialog filters, "text|pattern|..." pairs.
extern const char* const kImageFilter;
extern const char* const kPatternOpenFilter;
extern const char* const kPatternSaveFilter;
extern const char* const kMaskFilter;
extern const char* const kParamFilter;

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

// Plain forwards to routines that run their own dialogs.
void load_peak_command();
void save_peak_command();
void save_fit_command();
void save_img_command();


}  // namespace kestrin
