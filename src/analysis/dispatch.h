// The integration dispatchers: the region radios and the image type choose one routine.
#pragma once

namespace kestrin {

// "Angle Intensity": records its macro line, checks the angles of the chosen region and
// runs the box, band, sector or free-sector routine (curved-plate routines for type 9).
void calc_angle_histogram_selection();
// "Curved IP > Angle - Intensity": for a curved-plate image what "Angle Intensity" gives for
// the chosen region; an image of another type is refused with a line and the pattern stays.
void calc_curved_angle_histogram_selection();
// "Angle Intensity (fine)": the same for the sub-pixel routines; refuses curved plates.
void calc_fine_angle_histogram_selection();
// "Pixel Intensity": refuses curved plates, records its macro line and runs the box, band,
// sector or free-sector pixel histogram; a band along an axis is refused.
void calc_pixel_histogram_selection();

}  // namespace kestrin
