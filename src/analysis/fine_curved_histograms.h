// The 2theta histograms of the curved imaging plate (no tilt, no cos^3) and the sub-pixel
// ("fine") histograms of a flat detector, each over a box, a slanted band or a sector. The
// two box routines share their own frame; the band and sector routines use the frame of
// the flat 2theta histograms.
#pragma once

namespace kestrin {

void calc_curved_angle_histogram();
void calc_curved_angle_histogram_band();
void calc_curved_angle_histogram_sector();

void calc_fine_angle_histogram();
void calc_fine_angle_histogram_band();
void calc_fine_angle_histogram_sector();

}  // namespace kestrin
