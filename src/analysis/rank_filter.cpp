// The rank filter kernel: a two-level histogram of the window's codes slides along each row,
// and a pivot that remembers how many codes lie below it walks to the wanted rank.
#include "analysis/rank_filter.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace kestrin {

namespace {

// The filter of one row. The pixels of one residue of x modulo (Step + 1) share all but one
// column of samples with their neighbour Step + 1 to the left, so each residue is one slide:
// the leftmost sample column leaves and a new one enters.
void filter_row(const RankJob& job, int32_t y, CodeHistogram& hist) {
  const RankWindow& w = job.window;
  const int32_t h = w.half(), k = w.samples();
  const int64_t stride = int64_t(w.step) + 1;
  const size_t W = size_t(job.width);
  const int32_t x_first = h, x_last = job.width - 1 - h;
  const uint16_t* top = job.source.data() + size_t(y - h) * W;  // the window's first row
  uint16_t* out = job.dest.data() + size_t(y) * W;
  auto column = [&](int64_t c, auto change) {
    const uint16_t* p = top + c;
    for (int32_t i = 0; i < k; ++i, p += stride * int64_t(W)) change(*p);
  };
  auto add = [&](uint16_t v) { hist.add(v); };
  auto remove = [&](uint16_t v) { hist.remove(v); };
  for (int64_t residue = 0; residue < stride && x_first + residue <= x_last; ++residue) {
    const int64_t x0 = x_first + residue;
    for (int32_t j = 0; j < k; ++j) column(x0 - h + j * stride, add);
    for (int64_t x = x0;; x += stride) {
      out[x] = hist.select(uint64_t(job.rank));
      if (x + stride > x_last) {
        for (int32_t j = 0; j < k; ++j) column(x - h + j * stride, remove);
        break;
      }
      column(x - h, remove);
      column(x - h + k * stride, add);
    }
  }
}

}  // namespace

CodeHistogram::CodeHistogram() : fine_(kFineBins, 0), coarse_(kFineBins / kBlock, 0) {}

uint16_t CodeHistogram::select(uint64_t r) {
  while (below_ > r) {
    const uint32_t block = pivot_ / kBlock;
    if (pivot_ % kBlock == 0 && below_ - coarse_[block - 1] > r) {
      below_ -= coarse_[block - 1];
      pivot_ -= kBlock;
    } else {
      --pivot_;
      below_ -= fine_[pivot_];
    }
  }
  while (below_ + fine_[pivot_] <= r) {
    if (pivot_ % kBlock == 0 && below_ + coarse_[pivot_ / kBlock] <= r) {
      below_ += coarse_[pivot_ / kBlock];
      pivot_ += kBlock;
    } else {
      below_ += fine_[pivot_];
      ++pivot_;
    }
  }
  return uint16_t(pivot_);
}

int32_t RankWindow::samples() const {
  if (step < 0 || size < 1) return 0;
  return int32_t((int64_t(size) - 1) / (int64_t(step) + 1) + 1);
}

int64_t RankWindow::count() const { return int64_t(samples()) * samples(); }

bool RankWindow::usable() const { return samples() > 0; }

int64_t RankWindow::rank(int32_t percent) const {
  const int64_t n = count();
  if (n <= 0) return 0;
  const int64_t r = (int64_t(percent) - 50) * n / 100 + n / 2;  // C++ division truncates toward zero
  return std::clamp<int64_t>(r, 0, n - 1);
}

void rank_filter_rows(const RankJob& job, int32_t from, int32_t to) {
  const int32_t h = job.window.half();
  const int32_t first = std::max(from, h), last = std::min(to - 1, job.height - 1 - h);
  if (!job.window.usable() || first > last || job.width - 1 - h < h) return;
  auto hist = std::make_unique<CodeHistogram>();
  for (int32_t y = first; y <= last; ++y) filter_row(job, y, *hist);
}

void partial_sort_codes(std::span<uint16_t> window, int64_t rank) {
  const int64_t n = int64_t(window.size());
  for (int64_t k = 0; k <= rank && k < n; ++k)
    for (int64_t j = n - 1; j >= k + 1; --j)
      if (window[size_t(j - 1)] > window[size_t(j)]) std::swap(window[size_t(j - 1)], window[size_t(j)]);
}

}  // namespace kestrin
