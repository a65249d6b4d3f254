// Whole loads of Fuji, HiPiC, Bruker, TIFF, floating-point TIFF and GEL files through the
// loader and its reader table: the complete log of each load.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "base/convert.h"
#include "commands/file_commands.h"
#include "image/image_loader.h"
#include "image/loading_fixture.h"
#include "support/bruker_fixture.h"
#include "support/fuji_fixture.h"
#include "support/hipic_fixture.h"
#include "support/tiff_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

class FormatsLoad : public LoadingTest {
protected:
  Lines names(const std::string& path) {
    const std::string folder = dir_.path();
    const std::string base = path.substr(folder.size(), path.rfind('.') - folder.size());
    return {" Directory = " + folder, " Inf  name = " + folder + base + ".inf", " Img  name = " + path,
            " Base name = " + base};
  }
  Lines statistics(int log_min, int log_max, int log_sat, int lin_min, int lin_max, int lin_sat) {
    Lines l = {Format("Min to Max / Saturated intensity(log) = %d to %d / %d", {log_min, log_max, log_sat}),
               Format("Min to Max / Saturated intensity(linear) = %d to %d / %d", {lin_min, lin_max, lin_sat})};
    if (lin_max == lin_sat) l.push_back(" Saturated points were found.");
    return l;
  }
  Lines no_parameters(const std::string& path) {
    return {" No parameter file " + path.substr(0, path.rfind('.')) + ".kes   Default values are used."};
  }
  static Lines cat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
  std::string put(const std::string& name, const std::vector<uint8_t>& bytes) {
    write_bytes(dir_.file(name), bytes);
    return dir_.file(name);
  }
};

TEST_F(FormatsLoad, Bas2500Plate) {
  BasHeader h;
  h.bits = "16";
  std::ofstream(dir_.file("plate.inf"), std::ios::binary) << h.text();
  std::vector<uint16_t> codes(32);
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = uint16_t(i * 2001);
  const auto path = put("plate.img", fuji_pixels(codes, 2));
  load_img_proc(path);
  const auto lin = [](int c) { return Round(std::pow(10.0, c * 4.0 / 65536) + 0.5); };
  EXPECT_EQ(log(), cat({names(path),
                        {"*****  Fuji BAS2500 format  *****", " read_fuji_file() : Find gimg_file_name",
                         " Swapping byte order..."},
                        statistics(0, 62031, 65535, lin(0), lin(62031), lin(65535)), no_parameters(path)}));
  EXPECT_EQ(img().NoImageFlag, 0);
  EXPECT_EQ(img().image_type, kTypeBAS2500);
}

TEST_F(FormatsLoad, SixteenBitTiff) {
  TiffFixture f;
  f.samples = encode_samples({0, 7, 65535, 300, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1,
                              1, 1, 1, 1, 1, 1, 1, 1},
                             16, true);
  f.big_endian = true;
  const auto path = put("scan.tif", f.build());
  load_img_proc(path);
  EXPECT_EQ(log(), cat({{" read_tiff_file()"}, names(path), {" read_tiff_file()"},
                        statistics(0, 10000, 10000, 0, 65535, 65535), no_parameters(path)}));
  EXPECT_EQ(img().image_type, kTypeTiff);
  EXPECT_EQ(img().NoImageFlag, 0);
}

TEST_F(FormatsLoad, NotATiffFile) {
  const auto path = put("scan.tif", {'n', 'o', 't', ' ', 't', 'i', 'f', 'f'});
  load_img_proc(path);
  EXPECT_EQ(log(), cat({{" read_tiff_file()", " read_tiff_tags:error"}, names(path),
                        {" read_tiff_file()", " tiff file error", " load_img_proc() : TIFF image file " + path + " load error."}}));
  EXPECT_EQ(img().NoImageFlag, 1);
}

TEST_F(FormatsLoad, FloatTiffAndItsFailureLine) {
  TiffFixture f;
  f.bits = 32;
  f.sample_format = 3;
  f.width = 2;
  f.height = 2;
  f.samples = encode_float_samples({-250.0f, 5.5f, 70000.0f, 0.0f}, false);
  const auto path = put("f.tif", f.build());
  load_img_proc(path);
  EXPECT_EQ(log(), cat({{" read_tiff_file()"}, names(path), {" read_tiff_float_file()", "minimum inten =-250. out of range"},
                        statistics(0, 10000, 10000, -100, 65435, 65435), no_parameters(path)}));
  EXPECT_EQ(img().image_type, kTypeFloatTiff);
  f.samples.resize(10);
  const auto cut = put("cut.tif", f.build());
  the_log().clear_history();
  load_img_proc(cut);
  EXPECT_EQ(log().back(), " load_img_proc() : TIFF2 image file " + cut + " load error.");
  EXPECT_EQ(img().NoImageFlag, 1);
}

TEST_F(FormatsLoad, GelScan) {
  TiffFixture f;
  f.width = 4;
  f.height = 1;
  f.samples = encode_samples({0, 100, 10, 2}, 16, false);
  f.extra = {{33445, 4, 1, f.u32({2})}, {33446, 5, 1, f.u32({1, 4})}, {33449, 2, 4, {'a', 'b', 'c', 0}}};
  const auto path = put("scan.gel", f.build());
  load_img_proc(path);
  const int log_max = Round(std::log(2500.0) * 10000 / std::log(65535.0 * 65535.0 / 4));
  EXPECT_EQ(log(), cat({names(path),
                        {" read_gel_file()", "Squary root data format", "Scale Factor =1/4=0.25",
                         "----------Sample Info begin----------", "abc", "----------Sample Info end----------"},
                        statistics(0, log_max, 10000, 0, 2500, Round(65535.0 * 65535.0 / 4)), no_parameters(path)}));
  EXPECT_EQ(img().image_type, kTypeGel);
}

TEST_F(FormatsLoad, HipicImage) {
  const auto path = put("h.img", make_hipic(2, 1, 1, 0, {0x01, 0x80, 0x10, 0x00}));
  load_img_proc(path);
  EXPECT_EQ(log(), cat({names(path), statistics(0, Round(std::log(16.0) * 10000 / std::log(32767.0)), 10000, 1, 16, 32767),
                        no_parameters(path)}));
  EXPECT_EQ(img().image_type, kTypeHipic);
  EXPECT_EQ(edits().text(frmMain::edtPixelX), "  0.100000");
}

TEST_F(FormatsLoad, BrukerFrameReportsItsScannedStatistics) {
  std::vector<uint16_t> codes(1024 * 1024, 20);
  codes[77] = 5;
  codes[78] = 30000;
  const auto path = put("frame.ccd", make_bruker(codes));
  load_img_proc(path);
  const auto lg = [](double v) { return Round(std::log(v) * 10000 / std::log(32767.0)); };
  EXPECT_EQ(log(), cat({names(path), {" read_bruker_file()"}, statistics(lg(5), lg(30000), 10000, 5, 30000, 32767),
                        no_parameters(path)}));
  EXPECT_EQ(params().pixel_x, 1.0);
}

}  // namespace
}  // namespace kestrin::test
