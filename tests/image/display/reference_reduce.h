// The colour reductions written the slow, obvious way: every range copied, statistics in
// doubles (exact for these small pictures), the exact reduction with one class per pixel.
#pragma once

#include <map>
#include <vector>

#include "support/dib_fixture.h"

namespace kestrin::test {

struct RefReduction {
  std::vector<RGBQuad> palette;
  std::vector<int> index;  // per pixel, top row first
  int steps = 0;
};

namespace reference {

struct Class {
  double red, green, blue, count;
  int key;
};

inline double channel(const Class& c, int ch) { return ch == 0 ? c.red : ch == 1 ? c.green : c.blue; }

inline void split(const std::vector<Class>& range, int level, int depth, RefReduction& out, std::map<int, int>& index_of) {
  if (level == depth) {
    ++out.steps;
    if (range.empty()) return;
    double n = 0, s[3] = {0, 0, 0};
    for (const Class& c : range) {
      n += c.count;
      for (int ch = 0; ch < 3; ++ch) s[ch] += channel(c, ch) * c.count;
    }
    out.palette.push_back(RGBQuad{uint8_t(s[2] / n), uint8_t(s[1] / n), uint8_t(s[0] / n), 0});
    for (const Class& c : range) index_of[c.key] = int(out.palette.size()) - 1;
    return;
  }
  std::vector<Class> low, high;
  if (!range.empty()) {
    double n = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
    for (const Class& c : range) {
      n += c.count;
      for (int ch = 0; ch < 3; ++ch) {
        s[ch] += channel(c, ch) * c.count;
        q[ch] += channel(c, ch) * channel(c, ch) * c.count;
      }
    }
    double var[3];  // n^2 times the variance
    for (int ch = 0; ch < 3; ++ch) var[ch] = n * q[ch] - s[ch] * s[ch];
    const int ch = 4 * var[1] > 3 * var[0] ? 1 : 2 * var[2] > 3 * var[0] ? 2 : 0;
    for (const Class& c : range) (channel(c, ch) <= s[ch] / n ? low : high).push_back(c);
  }
  split(low, level + 1, depth, out, index_of);
  split(high, level + 1, depth, out, index_of);
}

inline RefReduction run(const std::vector<Class>& classes, int depth, const std::vector<int>& key_of_pixel) {
  RefReduction out;
  std::map<int, int> index_of;
  split(classes, 0, depth, out, index_of);
  for (int k : key_of_pixel) out.index.push_back(index_of.at(k));
  return out;
}

}  // namespace reference

// Binned: 5-6-5 bins whose colour is the base plus the mean of the dropped low bits.
inline RefReduction reference_low(const std::vector<RefPixel>& pixels, int depth) {
  struct Bin {
    double count = 0, r = 0, g = 0, b = 0;
  };
  std::map<int, Bin> bins;
  std::vector<int> keys;
  for (const RefPixel& p : pixels) {
    const int key = (p.red >> 3) << 11 | (p.green >> 2) << 5 | p.blue >> 3;
    Bin& b = bins[key];
    b.count += 1, b.r += p.red % 8, b.g += p.green % 4, b.b += p.blue % 8;
    keys.push_back(key);
  }
  std::vector<reference::Class> classes;
  for (const auto& [key, b] : bins)
    classes.push_back({double((key >> 11) * 8 + int(b.r / b.count)), double(((key >> 5) & 63) * 4 + int(b.g / b.count)),
                       double((key & 31) * 8 + int(b.b / b.count)), b.count, key});
  return reference::run(classes, depth, keys);
}

// Exact: every pixel a class of count 1.
inline RefReduction reference_high(const std::vector<RefPixel>& pixels, int depth) {
  std::vector<reference::Class> classes;
  std::vector<int> keys;
  for (size_t i = 0; i < pixels.size(); ++i) {
    classes.push_back({double(pixels[i].red), double(pixels[i].green), double(pixels[i].blue), 1, int(i)});
    keys.push_back(int(i));
  }
  return reference::run(classes, depth, keys);
}

// 8 to 4 bits: one class per palette index in use.
inline RefReduction reference_8_to_4(const std::vector<RefPixel>& pixels) {
  std::map<int, reference::Class> used;
  std::vector<int> keys;
  for (const RefPixel& p : pixels) {
    auto [it, fresh] = used.try_emplace(p.index, reference::Class{double(p.red), double(p.green), double(p.blue), 0, p.index});
    it->second.count += 1;
    keys.push_back(p.index);
  }
  std::vector<reference::Class> classes;
  for (const auto& [i, c] : used) classes.push_back(c);
  return reference::run(classes, 4, keys);
}

}  // namespace kestrin::test
