// The integration commands: each runs its routine with the log as its report, records its
// macro line where it has one, then shows what the routine made: the range edits it names
// (from integration_params) and the redrawn graph.
#pragma once

#include <string_view>

#include "analysis/histogram_frame.h"

namespace kestrin {

// The range edits of `shown` in their formats (the main window's 2theta begin and end, the
// graph window's y, 2theta or x and y ranges, in the order the histograms always wrote
// them), then the graph redrawn when it asks for that.
void show_pattern(const PatternShow& shown);

// The search a histogram runs for a missing centre: find_center_and_show, then the edits
// read again, so the run integrates round the centre as the edits show it.
void find_missing_centre();

// The parameters read from the edits when an image is loaded (without one the routines
// only say so).
void read_image_parameters();
// The same for a routine that says `opening` (its banner) before it looks at the parameters:
// when an edit's text does not convert, `opening` is said before the error leaves, so the
// log shows the banner and then the error, as it did when the routine read the edits itself.
void read_image_parameters_after(std::string_view opening, Report& report);

// "Angle Intensity": records "Kestrin.AngleIntensity();", then the dispatcher.
void angle_intensity_command();
// "Curved IP > Angle - Intensity": refuses an image that is not a curved plate, else as
// "Angle Intensity".
void curved_angle_intensity_command();
// "Angle Intensity (fine)": refuses a curved plate, else records
// "Kestrin.FineAngleIntensity();" and runs the dispatcher.
void fine_angle_intensity_command();
// "Pixel Intensity": refuses a curved plate, else records "Kestrin.PixelIntensity();" and
// runs the dispatcher.
void pixel_intensity_command();
// "Sectoring": records "Kestrin.Sectoring();", then the sixteen fixed sectors.
void sectoring_command();

}  // namespace kestrin
