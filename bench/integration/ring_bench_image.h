// The ring images of the integration benchmarks: a SIDE x SIDE image reaching about 30
// degrees in its corners, loaded into the current image with the main window set for it, or
// written as raw 16-bit pixels for the peer's run.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "image/image_store.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/ring_image.h"

namespace kestrin::bench {

inline test::RingImageSpec ring_spec(int side) {
  test::RingImageSpec spec;
  spec.geometry.width = spec.geometry.height = side;
  spec.geometry.X0 = side / 2.0 - 0.3;
  spec.geometry.Y0 = side / 2.0 + 0.2;
  spec.geometry.pixel_x = spec.geometry.pixel_y = 0.1;
  spec.geometry.Lo = side * 0.1 * 1.2;
  spec.geometry.Phi = 2;
  spec.geometry.Beta = 30;
  spec.rings = {{5, 0.05, 3000}, {11, 0.05, 2000}, {17, 0.08, 1500}, {23, 0.08, 1000}};
  spec.background = 50;
  return spec;
}

// The main window's edits for the image of `side`, 2theta from 0 in steps of 0.01, on
// fresh headless controls.
inline void set_ring_edits(int side) {
  const test::RingGeometry g = ring_spec(side).geometry;
  reset_headless_ports();
  Controls& c = controls();
  c.set_text(frmMain::edtCenterX0, FloatToStr(g.X0));
  c.set_text(frmMain::edtCenterY0, FloatToStr(g.Y0));
  c.set_text(frmMain::edtCameraLength, FloatToStr(g.Lo));
  c.set_text(frmMain::edtPixelX, FloatToStr(g.pixel_x));
  c.set_text(frmMain::edtPixelY, FloatToStr(g.pixel_y));
  c.set_text(frmMain::edtPhi, FloatToStr(g.Phi));
  c.set_text(frmMain::edtBeta, FloatToStr(g.Beta));
  c.set_text(frmMain::edt2ThetaBegin, "0");
  c.set_text(frmMain::edt2ThetaEnd, "40");
  c.set_text(frmMain::edt2ThetaStep, "0.01");
  c.set_checked(frmMain::rbtnRectangle, true);
  c.set_item_index(frmMain::cmbDirection, 6);
}

// Generates and loads the image of `side` (once per side) and sets the edits.
inline void load_ring_image(int side) {
  static int loaded = 0;
  if (loaded != side) test::load_into_current_image(test::make_ring_image(ring_spec(side)), side, side);
  loaded = side;
  set_ring_edits(side);
}

// Loads a raw file written by write_ring_image straight into the image store, so that
// nothing but the pixels is held (for measuring memory peaks).
inline bool load_ring_raw(int side, const char* path) {
  test::load_into_current_image(std::vector<uint16_t>(1), 1, 1);
  ImageStore& img = current_image();
  img.set_size(side, side, 2);
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(img.image_codes.data()), std::streamsize(img.image_codes.size() * 2))) return false;
  set_ring_edits(side);
  return true;
}

// Writes the image of `side` as raw little-endian 16-bit pixels and prints its geometry:
// X0 Y0 Lo pX pY Phi Beta.
inline int write_ring_image(int side, const char* path) {
  const std::vector<uint16_t> codes = test::make_ring_image(ring_spec(side));
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * sizeof(uint16_t)));
  const test::RingGeometry g = ring_spec(side).geometry;
  std::printf("%s %s %s %s %s %s %s\n", FloatToStr(g.X0).c_str(), FloatToStr(g.Y0).c_str(), FloatToStr(g.Lo).c_str(),
              FloatToStr(g.pixel_x).c_str(), FloatToStr(g.pixel_y).c_str(), FloatToStr(g.Phi).c_str(),
              FloatToStr(g.Beta).c_str());
  return out ? 0 : 1;
}

}  // namespace kestrin::bench
