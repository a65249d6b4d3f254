// Synthetic ring images from a laboratory-frame forward model.
#include "support/ring_image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "image/image_store.h"
#include "support/tiff_fixture.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {

namespace {

using Vec = std::array<double, 3>;
using Mat = std::array<Vec, 3>;

Mat multiply(const Mat& a, const Mat& b) {
  Mat m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}

Vec apply(const Mat& m, const Vec& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Mat rotation_z(double a) { return {{{std::cos(a), -std::sin(a), 0}, {std::sin(a), std::cos(a), 0}, {0, 0, 1}}}; }
// Turns +x towards +z (away from the sample) by a.
Mat tilt_x_to_z(double a) { return {{{std::cos(a), 0, -std::sin(a)}, {0, 1, 0}, {std::sin(a), 0, std::cos(a)}}}; }

}  // namespace

double lab_two_theta(const RingGeometry& g, double x, double y) {
  const double deg = std::acos(-1.0) / 180.0;
  // The tilt axis lies in the detector plane, perpendicular to the azimuth Beta.
  const Mat r = multiply(rotation_z(g.Beta * deg), multiply(tilt_x_to_z(g.Phi * deg), rotation_z(-g.Beta * deg)));
  const Vec on_detector{(x - g.X0) * g.pixel_x, (g.Y0 - y) * g.pixel_y, 0.0};
  Vec lab = apply(r, on_detector);
  lab[2] += g.Lo;
  const double len = std::sqrt(lab[0] * lab[0] + lab[1] * lab[1] + lab[2] * lab[2]);
  return std::acos(lab[2] / len) / deg;
}

double lab_curved_two_theta(const RingGeometry& g, double x, double y) {
  const double deg = std::acos(-1.0) / 180.0;
  const double phi = (x - g.X0) * g.pixel_x / g.Lo;  // the arc's angle round the axis
  const Vec lab{g.Lo * std::sin(phi), (g.Y0 - y) * g.pixel_y, g.Lo * std::cos(phi)};
  const double len = std::sqrt(lab[0] * lab[0] + lab[1] * lab[1] + lab[2] * lab[2]);
  return std::acos(lab[2] / len) / deg;
}

std::vector<uint16_t> make_ring_image(const RingImageSpec& spec) {
  const RingGeometry& g = spec.geometry;
  std::vector<uint16_t> codes(size_t(g.width) * size_t(g.height));
  std::mt19937 rng(spec.seed);
  for (int32_t y = 0; y < g.height; ++y) {
    for (int32_t x = 0; x < g.width; ++x) {
      const double t = spec.curved ? lab_curved_two_theta(g, x, y) : lab_two_theta(g, x, y);
      double v = spec.background;
      for (const Ring& ring : spec.rings) {
        const double z = (t - ring.two_theta) / ring.sigma;
        const double u2 = z * z / (2 * std::log(2.0));  // in half widths at half maximum, squared
        v += ring.amplitude * ((1 - ring.lorentz_share) * std::exp(-0.5 * z * z) + ring.lorentz_share / (1 + u2));
      }
      if (spec.poisson) v = double(std::poisson_distribution<int32_t>(v)(rng));
      codes[size_t(x) + size_t(g.width) * size_t(y)] = uint16_t(std::clamp(std::round(v), 0.0, 65535.0));
    }
  }
  return codes;
}

RingImageSpec three_ring_spec() {
  RingImageSpec spec;
  spec.geometry = {400, 400, 200.3, 199.6, 150, 0.1, 0.1, 0, 0};
  spec.rings = {{3.0, 0.04, 3000}, {5.0, 0.04, 2000}, {7.0, 0.05, 1500}};
  return spec;
}

void write_ring_tiff(const std::string& path, const RingImageSpec& spec) {
  TiffFixture tiff;
  tiff.width = uint32_t(spec.geometry.width);
  tiff.height = uint32_t(spec.geometry.height);
  tiff.bits = 16;
  tiff.samples = encode_samples(make_ring_image(spec), 16, false);
  write_bytes(path, tiff.build());
}

void load_into_current_image(const std::vector<uint16_t>& codes, int32_t width, int32_t height) {
  ImageStore& img = current_image();
  img.set_size(width, height, 2);
  img.image_codes.assign(codes.begin(), codes.end());
  for (int i = 0; i < kCodeCount; ++i) img.intensity_table[size_t(i)] = i;
  img.image_type = kTypeTiff;
  img.ImageBaseName = "ring";
  img.NoImageFlag = 0;
}

std::string write_ring_raxis(const std::string& path, double shift) {
  RingImageSpec spec;
  spec.rings = {{4.0 + shift, 0.15, 3000}, {7.0 + shift, 0.2, 2000}};
  RaxisFixture f;
  f.width = f.height = 200;
  f.camera_length = 100;
  f.wavelength = 1.0f;
  f.codes = make_ring_image(spec);
  return f.write(path);
}

}  // namespace kestrin::test
