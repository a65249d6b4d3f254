// What the peak list window does without its widgets: the text it copies, the deletion of
// its selected rows, and the buttons whose routines are not part of this build yet.
#pragma once

#include <string>
#include <vector>

namespace kestrin {

// The column heading above the list (and the first line of every copy).
inline constexpr const char* kPeakListHeading = "  Peak        x(pixel)      2theta(deg)      d(A)        Intensity";

// The text "Copy to Clipboard" puts there: the heading, then the selected rows, or every row
// when none of the first peak-count rows is selected; each line ends with CR LF. `selected`
// holds one flag per row.
std::string peak_list_copy_text(const std::vector<std::string>& rows, const std::vector<bool>& selected);

// "Delete Peak": the rows selected among the first peak-count ones (flags read before
// anything changes) are deleted from the last to the first, so each index still names the
// peak the user selected.
void delete_selected_peaks(const std::vector<bool>& selected);

// "Calc Distance": with a pixel pattern, reads the edits and runs camera_length_search with
// its lines in the log; after a search the camera length goes into edtCameraLength
// ("%10.6f") and the peak list and graph are redrawn.
void calc_distance_command();
// "Peak Fitting": PeakFitting.
void peak_fitting_command();

// Refills the peak window from the table and, while WindowShow is 1, shows it.
void show_peak_list();

}  // namespace kestrin
