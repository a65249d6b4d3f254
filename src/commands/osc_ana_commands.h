// What the oscillation analysis window's buttons do: its remembered output folder, the
// reference list, the list of image files of the series, and the batch with its Pause,
// Continue and Cancel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin {

// The file in the configuration folder that keeps the output folder, as its one line.
inline constexpr const char* kOscIniFile = "frmOscAna.ini";
// The caption of the output folder picker.
inline constexpr const char* kOscFolderCaption = "出力先フォルダの選択";
// The filters of the window's open dialog for spot lists and for image files.
inline constexpr const char* kSpotCsvOpenFilter = "csv text file(*.csv)|*.CSV";
inline constexpr const char* kOscImageFilter = "RIGAKU image file(*.img)|*.IMG";

// Creating the window: OscOutputFolder := the ini file's line. A missing file (the first
// run) leaves it empty without a word; a file that cannot be read is logged.
void osc_ana_form_create();

// The window's open dialog (opdImageFile) set up for a spot list: file must exist, the
// remembered result folder as the start, "csv text file(*.csv)|*.CSV". The name chosen, empty
// after a cancel. The spot windows load their lists through it too.
std::string run_spot_csv_open_dialog();

// Load Spot List: the dialog above, then load_spot_reference_list.
void osc_load_spot_list_command();
// load_spot_reference, then the reference grid (also when the file raised part-way).
void load_spot_reference_list(const std::string& file_name);

// Select Target Files: the multi-select image dialog; the names chosen are sorted
// (sort_strings) and appended to memFileName, one per line.
void osc_select_files_command();
void append_target_files(std::vector<std::string> names);
// The lines of memFileName that are not blank.
std::vector<std::string> target_files();

// Execute: the folder picker starting at OscOutputFolder (a cancel runs nothing), then
// run_osc_ana_batch over the target files with the suffix of edtAddString.
void osc_execute_command();
// OscOutputFolder := folder; the batch as a long run with BatchState reset to run, so a
// Cancel of an earlier run does not end this one; afterwards the ini file is rewritten.
void run_osc_ana_batch(const std::vector<std::string>& files, const std::string& folder, const std::string& suffix);
// The batch itself: the search settings read from the window's edits ("Spot Search setting
// read errro!" and 1 when one is not a number), then osc_ana_batch with its lines in the log
// and the image redrawn after each image's search.
int32_t osc_ana_batch_with_settings(const std::vector<std::string>& files, const std::string& folder,
                                    const std::string& suffix);

// Pause, Continue and Cancel (also the background window's Pause and Cancel).
void batch_pause_command();
void batch_continue_command();
void batch_cancel_command();
// The background window's Pause: any state but "run" becomes "run", "run" becomes "pause".
void batch_toggle_pause_command();

}  // namespace kestrin
