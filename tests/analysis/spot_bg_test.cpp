// The spot background calculation against its literal reference (pixel by pixel, every
// size, threshold and ring), on halo spots whose answer is known, and at the image's edges.
#include "analysis/spot_bg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis_fixture.h"
#include "rank_reference.h"

namespace kestrin::test {
namespace {

struct BgResult {
  int32_t status = 0, best_size = 0, distance = 0;
  double bg = 0, threshold = 0, amplitude = 0, net = 0;
  friend bool operator==(const BgResult&, const BgResult&) = default;
};

BgResult calc(int32_t start, int32_t end, double ts, double te, double spot, double y, double x) {
  BgResult r;
  r.status = spot_bg_calc(start, end, r.bg, r.best_size, r.threshold, r.amplitude, r.net, r.distance, ts, te, spot, y, x);
  return r;
}

// The calculation as written: medians by sorting each square, every ring's pixels divided
// by the median one by one, the thresholds counted by Round.
BgResult literal(int32_t start, int32_t end, double ts, double te, double spot, double Y, double X) {
  const ImageStore& img = current_image();
  const int32_t x = int32_t(std::nearbyint(X)), y = int32_t(std::nearbyint(Y));
  const int32_t S = std::min({start, x, y, img.ImageWidth - 1 - x, img.ImageHeight - 1 - y});
  BgResult r;
  if (S < end) return r.status = -1, r;
  auto I = [&](int32_t px, int32_t py) { return img.intensity(px, py); };
  std::vector<double> M(size_t(S + 1));
  for (int32_t h = end; h <= S; ++h) {
    std::vector<uint16_t> codes;
    for (int32_t py = y - h; py <= y + h; ++py)
      for (int32_t px = x - h; px <= x + h; ++px) codes.push_back(img.image_codes[size_t(px + img.ImageWidth * py)]);
    std::sort(codes.begin(), codes.end());
    M[size_t(h)] = img.intensity_table[codes[codes.size() / 2]];
  }
  auto ring = [&](int32_t k, auto fn) {
    for (int32_t px = x - k; px <= x + k; ++px) fn(px, y - k);
    for (int32_t px = x - k; px <= x + k; ++px) fn(px, y + k);
    for (int32_t py = y - k + 1; py <= y + k - 1; ++py) fn(x - k, py);
    for (int32_t py = y - k + 1; py <= y + k - 1; ++py) fn(x + k, py);
  };
  int32_t best = 999;
  r.best_size = 999;
  r.threshold = ts;
  const int32_t n = int32_t(std::nearbyint((ts - te) / 0.01));
  for (int32_t hs = S; hs >= end; --hs)
    for (int32_t i = 0; i <= n; ++i) {
      const double t = ts - i * 0.01;
      int32_t found = 999;
      bool flag = true;
      for (int32_t k = S; k >= end; --k) {
        bool hot = false;
        ring(k, [&](int32_t px, int32_t py) { hot = hot || I(px, py) / M[size_t(hs)] > t; });
        if (flag && !hot) found = k, flag = false;
        if (hot) flag = true;
      }
      if (found < best) best = found, r.best_size = hs, r.threshold = t;
    }
  if (best == 999) return r.status = -2, r;
  double sum = 0;
  int count = 0;
  ring(best, [&](int32_t px, int32_t py) { sum += I(px, py), ++count; });
  r.bg = sum / count;
  for (int32_t py = y - best; py <= y + best; ++py)
    for (int32_t px = x - best; px <= x + best; ++px) r.net += I(px, py) - r.bg;
  r.amplitude = spot - r.bg;
  r.distance = best;
  return r;
}

class SpotBgTest : public AnalysisTest {
protected:
  // A background of `level` with a spot of 1000 at (cx, cy) and a square ring of `halo` at
  // distance `radius` (codes; intensities through `scale`).
  static void halo_image(int32_t W, int32_t H, int32_t cx, int32_t cy, int32_t radius, uint16_t level, uint16_t halo,
                         double scale = 1.0) {
    std::vector<uint16_t> codes(size_t(W * H), level);
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        const int32_t d = std::max(std::abs(x - cx), std::abs(y - cy));
        if (d == radius) codes[size_t(x + W * y)] = halo;
        if (d <= 1) codes[size_t(x + W * y)] = 1000;
      }
    load_into_current_image(codes, W, H);
    for (int c = 0; c < kCodeCount; ++c) current_image().intensity_table[size_t(c)] = c * scale;
  }
};

TEST_F(SpotBgTest, TheHaloSetsTheBackgroundDistance) {
  halo_image(60, 60, 30, 30, 8, 100, 200);
  const BgResult r = calc(20, 3, 1.3, 1.1, 1000, 30, 30);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.distance, 7);  // the innermost ring that is cold after the hot halo
  EXPECT_EQ(r.best_size, 20);
  EXPECT_EQ(r.threshold, 1.3);
  EXPECT_EQ(r.bg, 100);
  EXPECT_EQ(r.amplitude, 900);
  EXPECT_EQ(r.net, 9 * 900.0);
  EXPECT_EQ(r, literal(20, 3, 1.3, 1.1, 1000, 30, 30));
}

TEST_F(SpotBgTest, AllColdRingsGiveStartSize) {
  halo_image(60, 60, 30, 30, 40, 100, 100);
  const BgResult r = calc(20, 3, 1.3, 1.1, 1000, 30.4, 29.6);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.distance, 20);
  EXPECT_EQ(r.bg, 100);
}

// 30 and 10 per cent scan 21 thresholds, each computed from the start: a halo of 1.105
// times the median is hot only at the last one, 1.3 - 20 * 0.01.
TEST_F(SpotBgTest, TwentyOneThresholdsEachComputedFromTheStart) {
  halo_image(60, 60, 30, 30, 6, 200, 221, 0.5);
  const double ts = 30 / 100.0 + 1, te = 10 / 100.0 + 1;
  const BgResult r = calc(20, 3, ts, te, 1000, 30, 30);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.distance, 5);
  EXPECT_EQ(r.threshold, ts - 20 * 0.01);
  double accumulated = ts;
  for (int i = 0; i < 20; ++i) accumulated -= 0.01;
  EXPECT_NE(r.threshold, accumulated);
  EXPECT_EQ(r, literal(20, 3, ts, te, 1000, 30, 30));
}

TEST_F(SpotBgTest, NoFoundRingMeansNoBackgroundBorder) {
  // A checkerboard whose squares' medians are the low value: every ring is hot.
  const int32_t W = 50, H = 50;
  std::vector<uint16_t> codes(size_t(W * H));
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) codes[size_t(x + W * y)] = (x + y) % 2 ? 1000 : 100;
  load_into_current_image(codes, W, H);
  EXPECT_EQ(calc(20, 3, 1.3, 1.1, 1000, 24, 24).status, -2);
}

// Near every edge the largest square is the one that still fits; closer than EndSize there
// is none.
TEST_F(SpotBgTest, SpotsNearEachEdgeAgreeWithTheReference) {
  const int32_t W = 45, H = 38;
  load_into_current_image(random_codes(W, H, 4, 100, 30), W, H);
  const std::pair<double, double> spots[] = {{5, 19}, {40, 19}, {22, 4}, {22, 34}, {7.4, 8.6}, {22, 19}};
  for (const auto& [x, y] : spots) {
    const BgResult r = calc(20, 3, 1.3, 1.1, 500, y, x);
    EXPECT_EQ(r, literal(20, 3, 1.3, 1.1, 500, y, x)) << x << "," << y;
    EXPECT_LE(r.distance, std::min({int(x), int(y), W - 1 - int(x), H - 1 - int(y)}));
  }
  EXPECT_EQ(calc(20, 3, 1.3, 1.1, 500, 19, 2).status, -1);
  EXPECT_EQ(calc(20, 3, 1.3, 1.1, 500, 19, 43).status, -1);
  EXPECT_EQ(calc(20, -1, 1.3, 1.1, 500, 19, 22).status, -1);
  EXPECT_EQ(calc(20, 3, 1e9, 1.1, 500, 19, 22).status, -1);  // too many thresholds
}

}  // namespace
}  // namespace kestrin::test
