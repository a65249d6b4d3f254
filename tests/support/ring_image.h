// Synthetic diffraction images with Gaussian (or pseudo-Voigt) rings, from an independent forward model: each
// pixel is placed in the laboratory by rotation matrices (detector turned by the tilt about
// an in-plane axis through the beam centre) and its scattering angle is acos(z / |r|).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct Ring {
  double two_theta;  // degrees
  double sigma;      // degrees
  double amplitude;  // counts at the ring's top
  // Share of a Lorentzian of the same half width at half maximum in the profile (0 a pure
  // Gaussian, 1 a pure Lorentzian), as rings of real powders have it.
  double lorentz_share = 0;
};

struct RingGeometry {
  int32_t width = 200, height = 200;
  double X0 = 100, Y0 = 100;        // beam centre (pixel centres at integer coordinates)
  double Lo = 100;                  // sample to beam centre, mm
  double pixel_x = 0.1, pixel_y = 0.1;  // mm
  double Phi = 0, Beta = 0;         // tilt and tilt azimuth, degrees
};

// Scattering angle of pixel (x, y), degrees, from the laboratory vector.
double lab_two_theta(const RingGeometry& g, double x, double y);
// The same on a curved imaging plate: a cylinder of radius Lo round the sample, its axis
// along the columns; column offsets are arc lengths, row offsets run along the axis. The
// tilt does not enter.
double lab_curved_two_theta(const RingGeometry& g, double x, double y);

struct RingImageSpec {
  RingGeometry geometry;
  std::vector<Ring> rings;
  double background = 10;
  bool poisson = false;
  uint32_t seed = 1;
  bool curved = false;  // a curved imaging plate instead of a flat detector
};

// Pixel codes (row-major, row 0 first): the rounded intensities, clamped to 0..65535.
std::vector<uint16_t> make_ring_image(const RingImageSpec& spec);

// Three rings at 3, 5 and 7 degrees on a 400 x 400 detector 150 mm from the sample, the
// beam off the image's middle: the image the script tests and benchmarks share.
RingImageSpec three_ring_spec();
// Writes make_ring_image(spec) as a 16-bit TIFF file (rows in order, little-endian).
void write_ring_tiff(const std::string& path, const RingImageSpec& spec);
// A 200 x 200 R-AXIS file (camera length 100 mm, wavelength 1 A) with rings at 4 and 7
// degrees around (100, 100); `shift` moves both rings' angles, so two files differ. Returns
// the path.
std::string write_ring_raxis(const std::string& path, double shift = 0);

// Puts codes into the current image as a 16-bit image with the identity intensity
// table, base name "ring", and sets NoImageFlag to 0.
void load_into_current_image(const std::vector<uint16_t>& codes, int32_t width, int32_t height);

}  // namespace kestrin::test
