// Writes the fuzz targets' seed corpus: a few small inputs per target, in corpus/<target>/,
// from the format fixtures and from texts of each reader's kind. The seeds are kept in the
// tree; run `fuzz_seed_writer tests/fuzz/corpus` from the source folder to make them again.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/bruker_fixture.h"
#include "support/fuji_fixture.h"
#include "support/hipic_fixture.h"
#include "support/raxis_fixture.h"
#include "support/tiff_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;
using namespace kestrin::test;

Bytes bytes_of(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// One target's seeds, written as seed-1, seed-2, ...
void seeds(const fs::path& root, const std::string& target, const std::vector<Bytes>& inputs) {
  const fs::path folder = root / target;
  fs::create_directories(folder);
  for (size_t i = 0; i < inputs.size(); ++i) {
    std::ofstream out(folder / ("seed-" + std::to_string(i + 1)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(inputs[i].data()), std::streamsize(inputs[i].size()));
  }
}

void texts(const fs::path& root, const std::string& target, std::initializer_list<std::string> inputs) {
  std::vector<Bytes> all;
  for (const std::string& s : inputs) all.push_back(bytes_of(s));
  seeds(root, target, all);
}

// A small BMP: 4 x 2 pixels of `bits` (8 with a grey palette, or 24).
Bytes small_bmp(int bits) {
  const int w = 4, h = 2, palette = bits == 8 ? 256 * 4 : 0;
  const int row = ((w * bits / 8) + 3) / 4 * 4, offset = 14 + 40 + palette, size = offset + row * h;
  auto le = [](Bytes& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  Bytes b = {'B', 'M'};
  le(b, uint32_t(size), 4), le(b, 0, 4), le(b, uint32_t(offset), 4);
  le(b, 40, 4), le(b, w, 4), le(b, h, 4), le(b, 1, 2), le(b, uint32_t(bits), 2), le(b, 0, 4);
  le(b, uint32_t(row * h), 4), le(b, 2835, 4), le(b, 2835, 4), le(b, 0, 4), le(b, 0, 4);
  for (int i = 0; i < palette / 4; ++i) le(b, uint32_t(i * 0x010101), 4);
  for (int i = 0; i < row * h; ++i) b.push_back(uint8_t(i * 37 + (i % 3 == 0 ? 255 : 0)));
  return b;
}

void image_readers(const fs::path& root) {
  const std::vector<uint16_t> codes = {0, 1, 2, 300, 40000, 65535, 7, 8};
  RaxisFixture raxis;
  raxis.width = 4, raxis.height = 2, raxis.record_length = 808;
  RaxisFixture band = raxis;
  band.rows = 1, band.start_row = 1;
  const std::string r = raxis.bytes(), b = band.bytes();
  seeds(root, "raxis_reader", {bytes_of(r), bytes_of(b), bytes_of(raxis.bytes(900))});

  TiffFixture tiff;
  tiff.width = 4, tiff.height = 2;
  tiff.samples = encode_samples(codes, 16, false);
  TiffFixture big = tiff;
  big.big_endian = true, big.long_sizes = true, big.rows_per_strip = 1;
  big.samples = encode_samples(codes, 16, true);
  TiffFixture eight = tiff;
  eight.bits = 8;
  eight.samples = encode_samples(codes, 8, false);
  TiffFixture gel = tiff;
  gel.extra = {{33445, 4, 1, gel.u32({2})}, {33446, 5, 1, join({gel.u32({1}), gel.u32({3})})}};
  TiffFixture floats = tiff;
  floats.bits = 32, floats.sample_format = 3;
  floats.samples = encode_float_samples({0.5f, -1.0f, 3e5f, 0.0f, 1.0f, 2.0f, 1e-3f, 7.0f}, false);
  seeds(root, "tiff_reader", {tiff.build(), big.build(), eight.build()});
  seeds(root, "gel_reader", {gel.build(), tiff.build()});
  seeds(root, "tiff_float_reader", {floats.build(), tiff.build()});

  seeds(root, "hipic_reader", {make_hipic(4, 2, 0, 3, Bytes(8, 5)), make_hipic(2, 2, 2, 0, Bytes(8, 0x81))});
  // The Bruker target pads an input whose last byte is odd to a whole frame.
  Bytes bruker = make_bruker(std::vector<uint16_t>(1024 * 1024, 3));
  bruker.resize(11776);
  Bytes bruker_padded = bruker;
  bruker_padded.push_back(1);
  seeds(root, "bruker_reader", {bruker, bruker_padded});

  BasHeader bas;
  bas.width = "4", bas.height = "2";
  Ba100Header ba100;
  ba100.height = "2", ba100.bytes_per_row = "4";
  seeds(root, "fuji_reader", {join({bytes_of(bas.text()), fuji_pixels(codes, 1)}),
                              join({bytes_of(ba100.text()), fuji_pixels(codes, 2)})});

  // The background loader: the first byte picks the extension (.img, .stl, .osc, .ccd,
  // .tif, .gel), the rest is the file.
  seeds(root, "bg_loader", {join({{0}, bytes_of(r)}), join({{4}, tiff.build()}), join({{5}, gel.build()}),
                            join({{2}, bytes_of(bas.text())})});
}

void bitmaps_and_masks(const fs::path& root) {
  const Bytes bmp8 = small_bmp(8), bmp24 = small_bmp(24);
  seeds(root, "dib_convert", {bmp8, bmp24});
  seeds(root, "dib_clipboard", {Bytes(bmp8.begin() + 14, bmp8.end()), Bytes(bmp24.begin() + 14, bmp24.end())});
  seeds(root, "mask_bmp", {bmp8, bmp24});
  // A ".bgz" mask: width and height, then the packed pixels.
  seeds(root, "mask_file", {{4, 0, 0, 0, 2, 0, 0, 0, 0xF0, 0x0F, 0xAA},
                            {3, 0, 0, 0, 3, 0, 0, 0, 0x78, 0x9C, 0x01, 0x02}});
  texts(root, "ring_mask_file", {"2\r\n100.5,3\r\n200,4\r\n", "1\r\n-5,0\r\n", "x,y\r\n"});
  seeds(root, "spread_reference", {join({{3, 9}, bytes_of("1\r\n2\r\n3\r\n")}), join({{1, 1}, bytes_of("0,0\r\n")})});
}

void analysis(const fs::path& root) {
  texts(root, "crystal_file", {"Si,5.4309,0\r\n1,1,1\r\n2,2,0\r\n3,1,1\r\n", "CeO2,5.411,0\r\n1,1,1\r\n", ",,\r\n"});
  // The first byte picks the reader: even the spot list, odd the reference list.
  texts(root, "spot_lists", {std::string("\0", 1) + "No,X,Y,Int\r\n1,10.5,20,300\r\n2,11,21,400\r\n",
                             "\x01" "1,2.5,100\r\n2,3.1,50\r\n", std::string("\0", 1) + "a,b\r\n"});
}

void base_and_text(const fs::path& root) {
  texts(root, "comma_text", {"a,b,c", "\"quoted, text\",plain,,", "\"unclosed,x", ""});
  texts(root, "program_file_line", {"100,200,300,400\r\n", "1\r\n2\r\n", ",,,"});
  texts(root, "percent_coding", {"a b%20c%zz+d", "%E3%81%82&x=1", std::string("x\0y z", 5)});
  // Format: a byte of argument kinds, then the values, then the format text.
  seeds(root, "script_format", {join({{0x12}, Bytes(16, 0x40), bytes_of("%d %5.2f %s %x %e")}),
                                join({{0x00}, bytes_of("%-8.3d|%*d|%%")})});
  texts(root, "tree_text", {"root\r\n\tchild\r\n\t\tgrandchild\r\nsecond\r\n", " a\r\n  b\r\n c\r\n", "\t\tdeep\r\n"});
  texts(root, "script_text", {std::string("\x01\x03\x05") + "abc\x82\xa0\x83\x41\xb1xyz", "\xff\x00\x02zen\x81\x40kaku"});
  texts(root, "japanese_code", {"ASCII only", "\x82\xa0\x82\xa2\xb1\xb2", "\x1b$B$\"$$\x1b(B", "=?ISO-2022-JP?B?GyRCJCIbKEI=?=",
                                "\xe3\x81\x82\xe3\x81\x84"});
  texts(root, "date_text", {"2024/02/29 23:59:59", "1999-12-31T00:00:00\nyyyy/mm/dd hh:nn:ss", "12:30\nddd dddd mmm"});
  texts(root, "crypt3", {"password\nab", "key\n./", "\n"});
  texts(root, "comma_list", {"a,b,\"c d\"", std::string("one\xfftwo\xff\"three\""), "\"\",,\""});
  texts(root, "ini_file", {"[Main]\r\nKey=Value\r\nOther = 1\r\n[Second]\r\nA=\r\n", "; comment\nno section\n[x", "[]\n=\n"});
  texts(root, "registry_text", {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestrin]\r\n\"Name\"=\"Value\"\r\n",
                                "[a]\r\n\"x\"=\"esc\\\\aped\\\"\"\r\n"});
  texts(root, "point_rect_text", {"(1,2)", "(10,20)-(30,40)", "(-5, 7)-(8,-9)", "(1,2"});
  texts(root, "form_text", {"object Form1: TForm\r\n  Left = 10\r\n  Caption = 'Hello'#13#10'there'\r\n"
                            "  object Button1: TButton\r\n    Top = 8\r\n    Items.Strings = (\r\n      'a'\r\n      'b')\r\n"
                            "  end\r\nend\r\n",
                            "object X: TPanel\r\n  Tag = -1\r\n  Font.Style = [fsBold, fsItalic]\r\n  Data = {0A0B}\r\nend\r\n"});
}

void script(const fs::path& root) {
  texts(root, "script_parser", {"var x = 1 + 2 * 3; function f(a, b) { return a ? b : -a; }",
                                "for (var i = 0; i < 3; i++) { if (i == 1) continue; else break; }",
                                "class A { function m() { return this; } } try { throw 1; } catch (e) {} finally {}",
                                "x = /ab+c/gi; s = \"str\\n\" + 'q'; switch (x) { case 1: default: }", "((((1))"});
  texts(root, "script_engine", {"var a = [3, 1, 2]; a.sort(); println(a.join(\"-\"));",
                                "function f(n) { return n < 2 ? n : f(n - 1) + f(n - 2); } println(f(10));",
                                "var s = \"abc\".toUpperCase(); println(s.length + s.charAt(1));",
                                "try { null.x; } catch (e) { println(e); }", "var o = {a: 1}; for (var k in o) println(k);"});
  // The regular-expression targets: a byte of modifiers, then (matching) the pattern length.
  seeds(root, "regex_compile", {join({{0x00}, bytes_of("a(b|c)*d")}), join({{0x41}, bytes_of("^[a-z]+\\d{2,3}$")}),
                                join({{0x03}, bytes_of("(a)(?:b)\\1[^x-z]")})});
  seeds(root, "regex_match", {join({{0x00, 5}, bytes_of("(a+)bxxaaab aab")}), join({{0x41, 3}, bytes_of("\\w$word end")})});
  seeds(root, "regexp_object", {join({{0x02, 3}, bytes_of("a.cabc axc $&")}), join({{0x01, 4}, bytes_of("(B)+ABBB b")})});
  // Struct members and native-call declarations, one a line.
  texts(root, "native_declare", {"l\nh\ns8\nw4\n", "i=ll\nf=s\nr=l\n", "d\nb\nc\n"});
  // The Kestrin object's methods: bytes choose the method, the argument kinds and values.
  seeds(root, "kestrin_methods", {{0, 1, 2, 3, 4}, {17, 2, 0, 0, 0, 1, 3, 'a', 'b'}, {200, 5, 1, 1, 1, 1, 1}});
  // The harness's reader of recorded lines: 0 an argument text, 1 a file name, 2 typed text.
  seeds(root, "macro_literal", {join({{0}, bytes_of("'text'")}), join({{0}, bytes_of("-12.5e3")}),
                                join({{1}, bytes_of("/data/a b.img")}), join({{2}, bytes_of("0.25")})});
}

void network(const fs::path& root) {
  texts(root, "url", {"http://user:pw@host:8080/a/b?c=d#e\n../x?y", "https://h/\n//other/p", "ftp://h:99999/\n",
                      "http://h/%41%zz\n?q"});
  texts(root, "http_text", {"Sun, 06 Nov 1994 08:49:37 GMT", "a=b; path=/; expires=Wed, 09 Jun 2021 10:18:14 GMT",
                            "<html><a href=\"x\" b=c>t</a><img src='i'></html>"});
  const std::string response =
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nSet-Cookie: a=b\r\n\r\nhello";
  texts(root, "http_response", {response, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
                                "HTTP/1.0 302 Found\r\nLocation: /other\r\n\r\n"});
  // The body framing: the first byte picks the framing and the piece size.
  seeds(root, "http_body", {join({{0x05}, bytes_of("3\r\nabc\r\n0\r\n\r\n")}), join({{0x02}, bytes_of("hello world")}),
                            join({{0x11}, bytes_of("a\r\n0123456789\r\n0\r\n\r\n")})});
  texts(root, "ftp_listing", {"drwxr-xr-x 2 user group 4096 Jan  1 12:00 dir\r\n-rw-r--r-- 1 u g 123 Dec 31  2020 a file.txt\r\n",
                              "01-02-21  03:04PM       <DIR>          folder\r\n01-02-21  03:04PM                 42 f.txt\r\n"});
  texts(root, "ftp_reply", {"220 Welcome\r\n227 Entering Passive Mode (127,0,0,1,4,1)\r\n",
                            "220-first\r\n220-second\r\n220 last\r\n331 ok\r\n"});
  texts(root, "pop3_reply", {"+OK ready\r\n+OK 1 5\r\n+OK\r\nSubject: hi\r\n\r\nbody\r\n..stuffed\r\n.\r\n", "-ERR no\r\n"});
  texts(root, "mail_parse",
        {"From: a@b\r\nSubject: hi\r\n\r\nbody\r\n",
         "Content-Type: multipart/mixed; boundary=\"XX\"\r\n\r\n--XX\r\nContent-Type: text/plain\r\n\r\ntext\r\n--XX\r\n"
         "Content-Type: application/octet-stream; name=\"a.bin\"\r\nContent-Transfer-Encoding: base64\r\n\r\nYWJj\r\n--XX--\r\n"});
  // A drop: the first byte the offered formats, the second where the URI list ends.
  seeds(root, "drop_payload", {join({{1, 20}, bytes_of("file:///tmp/a%20b.txt\r\n")}),
                               join({{3, 10}, bytes_of("file:///x\r\nplain text")}), join({{2, 0}, bytes_of("just text")})});
  texts(root, "form_load", {"object Form1: TForm\r\n  Left = 10\r\n  Caption = 'Hello'\r\n"
                            "  object Edit1: TEdit\r\n    Text = 'x'\r\n  end\r\nend\r\n"});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  image_readers(root);
  bitmaps_and_masks(root);
  analysis(root);
  base_and_text(root);
  script(root);
  network(root);
  return 0;
}
