// What the model knows of its parameters beyond the table: the header locks, which start
// checked and keep their own field each, and the sector count of a division angle.
#include <gtest/gtest.h>

#include <utility>

#include "model/parameters.h"

namespace kestrin::test {
namespace {

using P = IntegrationParams;

TEST(HeaderLocks, StartCheckedAndEachKeepsItsOwnFieldOnly) {
  reset_shared_state();
  const std::pair<const char*, double P::*> locks[] = {
      {"WaveLengthCheck", &P::wavelength},
      {"LoCheck", &P::Lo},
      {"PixelSizeXCheck", &P::pixel_x},
      {"PixelSizeYCheck", &P::pixel_y}};
  for (const auto& [lock, field] : locks) EXPECT_TRUE(header_locked(field)) << lock;
  for (const auto& [lock, field] : locks) {
    for (const auto& other : locks) set_header_lock(*parameter_named(other.first), other.second == field);
    for (const auto& other : locks) {
      EXPECT_EQ(header_locked(other.second), other.second == field) << lock << " " << other.first;
      EXPECT_EQ(lock_checked(*parameter_named(other.first)), other.second == field) << lock << " " << other.first;
    }
  }
  EXPECT_FALSE(header_locked(&P::Beta));  // a row without a lock
  reset_shared_state();
  EXPECT_TRUE(header_locked(&P::Lo));  // a fresh state has them checked again
}

TEST(SectorCount, IsTheCeilingOf360OverTheAngle) {
  const std::pair<double, double> cases[] = {{22.5, 16}, {360, 1}, {25, 15}, {7, 52}, {0.1, 3600}};
  for (auto [angle, count] : cases) EXPECT_EQ(sector_count_of(angle), count) << angle;
  EXPECT_EQ(smallest_division_angle_line(), "The division angle must be at least 0.1 degree (3600 sectors at most).");
}

}  // namespace
}  // namespace kestrin::test
