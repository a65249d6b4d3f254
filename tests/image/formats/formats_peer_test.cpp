// Cross-checks with the peer readers and writers: fabio writes 8-bit, 16-bit and float
// TIFFs and a Bruker frame, PIL a big-endian TIFF and a GEL-tagged TIFF; Kestrin reads each
// to the same codes and intensities, and fabio reads back every TIFF Kestrin writes.
#include <gtest/gtest.h>

#include <cstring>

#include "image/formats/bruker.h"
#include "image/formats/tiff.h"
#include "support/temp_dir.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

class PeerFormats : public ::testing::Test {
protected:
  void SetUp() override { KESTRIN_REQUIRE_PEER("fabio"); }
  // Runs a script with the temporary folder as its working directory.
  void run(const std::string& body) {
    std::string out;
    const std::string script = "import os, sys\nimport numpy as np\nos.chdir(" + quote(dir.path()) + ")\n" + body;
    ASSERT_EQ(test::run_peer_script(dir, script, &out), 0) << out;
  }
  static std::string quote(const std::string& s) { return "'" + s + "'"; }
  template <class T>
  std::vector<T> raw(const std::string& name) {
    const auto bytes = test::read_bytes(dir.file(name));
    std::vector<T> v(bytes.size() / sizeof(T));
    std::memcpy(v.data(), bytes.data(), v.size() * sizeof(T));
    return v;
  }
  // The loader's sequence on the file: type test, then the reader of the type.
  int load_tiff(const std::string& name) {
    const auto bytes = test::read_bytes(dir.file(name));
    TiffTags tags;
    lines.clear();
    const bool is_float = sniff_tiff_type(bytes, tags, lines) == kTypeFloatTiff;
    return take(is_float ? decode_tiff_float_image(bytes, tags, DecodeOptions()) : decode_tiff_image(bytes, DecodeOptions()));
  }
  int take(DecodedImage d) {
    lines.insert(lines.end(), d.lines.begin(), d.lines.end());
    decoded = std::move(d);
    store = decoded.data;
    return decoded.ok ? 0 : 1;
  }
  const LogLines& log() const { return lines; }
  void expect_codes_and_intensities(const std::vector<double>& expected) {
    ASSERT_EQ(store.image_codes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(store.intensity_table[store.image_codes[i]], expected[i]) << "pixel " << i;
  }
  ImageData store;
  DecodedImage decoded;
  LogLines lines;
  test::TempDir dir;
};

constexpr const char* kFabioIntegerTiffs = R"(
import fabio.tifimage
for bits, dtype in ((8, np.uint8), (16, np.uint16)):
    d = ((np.arange(37 * 23) * 2654435761) % (2 ** bits)).astype(dtype).reshape(23, 37)
    fabio.tifimage.TifImage(data=d).write('f%d.tif' % bits)
    back = fabio.open('f%d.tif' % bits).data
    assert (back == d).all()
    back.astype('<f8').tofile('f%d.expected' % bits)
)";

TEST_F(PeerFormats, FabioIntegerTiffs) {
  run(kFabioIntegerTiffs);
  for (int bits : {8, 16}) {
    const auto name = "f" + std::to_string(bits);
    ASSERT_EQ(load_tiff(name + ".tif"), 0) << bits;
    EXPECT_EQ(store.BytesPerPixel, bits / 8);
    EXPECT_EQ(store.ImageWidth, 37);
    expect_codes_and_intensities(raw<double>(name + ".expected"));
  }
}

constexpr const char* kFabioFloatTiff = R"(
import fabio.tifimage
rng = np.random.default_rng(5)
d = rng.uniform(-300.0, 70000.0, size=(19, 41)).astype(np.float32)
d[0, :6] = [-250.0, 70000.0, 0.0, -100.0, 65435.0, 12.75]
fabio.tifimage.TifImage(data=d).write('float.tif')
back = fabio.open('float.tif').data.astype(np.float64)
codes = np.trunc(np.clip(back, -100.0, 65435.0) + 100.0)
(codes - 100.0).astype('<f8').tofile('float.expected')
print(back.min())
)";

TEST_F(PeerFormats, FabioFloatTiff) {
  run(kFabioFloatTiff);
  ASSERT_EQ(load_tiff("float.tif"), 0);
  EXPECT_FALSE(decoded.fuji);  // only a Fuji header declares a type of its own
  expect_codes_and_intensities(raw<double>("float.expected"));
  EXPECT_EQ(log().size(), 3u);
  EXPECT_EQ(log()[1], " read_tiff_float_file()");
  EXPECT_EQ(log()[2].rfind("minimum inten =-", 0), 0u) << log()[2];
}

constexpr const char* kFabioBruker = R"(
from fabio.brukerimage import BrukerImage
d = ((np.arange(1024 * 1024) * 7) % 30000).astype(np.uint16).reshape(1024, 1024)
d[1, 5] = 40000
h = {k: '0' for k in BrukerImage.HEADERS_KEYS[:37]}
h.update({'FORMAT': 86, 'VERSION': 1, 'HDRBLKS': 23, 'TITLE': '\n'.join('title %d' % i for i in range(8))})
BrukerImage(data=d, header=h).write('frame.ccd')
raw = open('frame.ccd', 'rb').read()
assert raw[39 * 80:39 * 80 + 9] == b'NPIXELB:2', raw[39 * 80:39 * 80 + 20]
back = BrukerImage().read('frame.ccd').data
assert (back == d).all()
back.astype('<u2').tofile('frame.codes')
)";

TEST_F(PeerFormats, FabioBrukerFrame) {
  run(kFabioBruker);
  ASSERT_EQ(take(decode_bruker_image(test::read_bytes(dir.file("frame.ccd")))), 0) << ::testing::PrintToString(log());
  EXPECT_EQ(store.image_codes, raw<uint16_t>("frame.codes"));
  EXPECT_EQ(store.intensity_table[40000], 40000 - 32768);
}

constexpr const char* kPilBigEndian = R"(
from PIL import Image
d = ((np.arange(300 * 200) * 40503) % 65536).astype('>u2').reshape(200, 300)
Image.frombytes('I;16B', (300, 200), d.tobytes()).save('be.tif')
assert open('be.tif', 'rb').read(2) == b'MM'
import fabio
assert (fabio.open('be.tif').data == d).all()
d.astype('<f8').tofile('be.expected')
)";

TEST_F(PeerFormats, PilBigEndianTiff) {
  run(kPilBigEndian);
  ASSERT_EQ(load_tiff("be.tif"), 0);
  expect_codes_and_intensities(raw<double>("be.expected"));
}

constexpr const char* kPilGel = R"(
from PIL import Image, TiffImagePlugin
d = ((np.arange(64 * 16) * 977) % 65536).astype('<u2').reshape(16, 64)
ifd = TiffImagePlugin.ImageFileDirectory_v2()
ifd[33445] = 2
ifd.tagtype[33445] = 4
ifd[33446] = TiffImagePlugin.IFDRational(1, 4)
ifd.tagtype[33446] = 5
ifd[33449] = 'Gel sample 7'
ifd.tagtype[33449] = 2
Image.frombytes('I;16', (64, 16), d.tobytes()).save('scan.gel', format='TIFF', tiffinfo=ifd)
(d.astype(np.float64) ** 2 / 4).astype('<f8').tofile('scan.expected')
)";

TEST_F(PeerFormats, PilGelTags) {
  run(kPilGel);
  ASSERT_EQ(take(decode_gel_image(test::read_bytes(dir.file("scan.gel")), DecodeOptions())), 0);
  EXPECT_EQ(log(), (LogLines{" read_gel_file()", "Squary root data format", "Scale Factor =1/4=0.25",
                                              "----------Sample Info begin----------", "Gel sample 7",
                                              "----------Sample Info end----------"}));
  expect_codes_and_intensities(raw<double>("scan.expected"));
}

constexpr const char* kFabioReadsBack = R"(
import fabio
for name in sys.argv[1:] if len(sys.argv) > 1 else ['w8.tif', 'w16.tif', 'wbe.tif']:
    fabio.open(name).data.astype('<u2').tofile(name + '.codes')
)";

TEST_F(PeerFormats, FabioReadsWhatKestrinWrites) {
  run(std::string(kFabioIntegerTiffs) + kPilBigEndian);
  const std::pair<const char*, const char*> copies[] = {{"f8.tif", "w8.tif"}, {"f16.tif", "w16.tif"}, {"be.tif", "wbe.tif"}};
  std::vector<std::vector<uint16_t>> written;
  for (const auto& [source, target] : copies) {
    ASSERT_EQ(load_tiff(source), 0);
    ImageData image = store;
    for (size_t i = 0; i < image.image_codes.size(); ++i) image.image_codes[i] = uint16_t(i * 13 % 251);
    ASSERT_TRUE(save_tiff_file(image, dir.file(source), dir.file(target), false).ok) << target;
    written.emplace_back(image.image_codes.begin(), image.image_codes.end());
  }
  run(kFabioReadsBack);
  for (size_t i = 0; i < written.size(); ++i)
    EXPECT_EQ(raw<uint16_t>(std::string(copies[i].second) + ".codes"), written[i]) << copies[i].second;
}

}  // namespace
}  // namespace kestrin
