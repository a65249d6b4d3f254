// The rank (percentile) filter over 16-bit codes: the window of a pixel, optionally sampled on
// a coarser mesh, and the code of a given rank in it. The kernel keeps a histogram of the
// window's codes that slides along the row, so its result is the exact rank element; the
// literal partial sort stays as the reference.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrin {

// A window of Size x Size pixels with its top-left corner at (x - h, y - h), h = Size div 2,
// sampled every Step + 1 pixels: k = Trunc((Size - 1) / (Step + 1) + 1) samples per side.
struct RankWindow {
  int32_t size = 3;
  int32_t step = 0;

  int32_t half() const { return size / 2; }
  int32_t samples() const;  // k
  int64_t count() const;    // N = k^2
  // Rank of Percent: Trunc((Percent - 50) N / 100) + N div 2, kept inside 0..N-1.
  int64_t rank(int32_t percent) const;
  // True when the window has at least one sample and a step of at least 0.
  bool usable() const;
};

// Counts of a multiset of codes, per code and per block of 256 codes, and a pivot code with
// the number of codes below it. Selecting a rank moves the pivot from where the last
// selection left it; neighbouring windows hold nearly the same codes, so it moves little.
class CodeHistogram {
public:
  CodeHistogram();
  void add(uint16_t v) {
    ++fine_[v];
    ++coarse_[v / kBlock];
    below_ += v < pivot_;
  }
  void remove(uint16_t v) {
    --fine_[v];
    --coarse_[v / kBlock];
    below_ -= v < pivot_;
  }
  // The code of rank r (0-based, ascending); r must be below the number of codes held.
  uint16_t select(uint64_t r);

private:
  static constexpr uint32_t kFineBins = 65536;
  static constexpr uint32_t kBlock = 256;  // fine bins per coarse bin
  std::vector<uint32_t> fine_, coarse_;
  uint32_t pivot_ = 0;
  uint64_t below_ = 0;
};

// One filter run: each pixel of rows from..to-1 (of the rows h..H-1-h the window allows)
// whose window lies inside the image gets the code of rank `rank` of its window's codes in
// `source`; other pixels of `dest` are not touched. `source` and `dest` must not overlap.
struct RankJob {
  std::span<const uint16_t> source;
  std::span<uint16_t> dest;
  int32_t width = 0, height = 0;
  RankWindow window;
  int64_t rank = 0;
};
void rank_filter_rows(const RankJob& job, int32_t from, int32_t to);

// The literal selection: passes k = 0..R bubble the smallest remaining code down to index k,
// so that window[R] is the code of rank R (0-based, ascending).
void partial_sort_codes(std::span<uint16_t> window, int64_t rank);

}  // namespace kestrin
