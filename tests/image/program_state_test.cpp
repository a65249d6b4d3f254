// Resetting the program: the merge and cake windows' pictures are part of the shared state, so
// the program's reset and the shared state's own reset leave none of them behind.
#include <gtest/gtest.h>

#include <vector>

#include "image/cake_picture.h"
#include "image/merge_images.h"
#include "image/program_state.h"
#include "model/state.h"

namespace kestrin::test {
namespace {

// Each picture made and changed as its window would, then checked against a fresh one.
struct Picture {
  const char* name;
  void (*make)();
  bool (*fresh)();
};

const Picture kPictures[] = {
    {"merge",
     [] {
       MergeState& m = merge_state();
       m.MergeCodes.assign(6, 7);
       m.width = 3;
       m.height = 2;
       m.Merged = true;
       m.magnification = 30;
       m.sort_state = 1;
       m.gauge.low = 100;
     },
     [] {
       const MergeState& m = merge_state();
       const MergeState fresh;
       return m.MergeCodes.empty() && m.width == 0 && m.height == 0 && !m.Merged && m.magnification == 100 &&
              m.sort_state == -1 && m.gauge.low == fresh.gauge.low &&
              m.MergeDIB.Height() == fresh.MergeDIB.Height();
     }},
    {"cake",
     [] {
       CakeState& c = cake_state();
       c.CakeDIB = cake_picture(std::vector<CakeSlice>(32, CakeSlice{}), kCake);
       c.made = true;
     },
     [] { return !cake_state().made && cake_state().CakeDIB.Height() == CakeState().CakeDIB.Height(); }},
};

TEST(ProgramState, ResetsClearTheMergeAndCakePictures) {
  const struct {
    const char* name;
    void (*reset)();
  } resets[] = {{"reset_state", reset_state}, {"reset_shared_state", reset_shared_state}};
  for (const auto& r : resets) {
    for (const Picture& p : kPictures) {
      p.make();
      ASSERT_FALSE(p.fresh()) << p.name;
      r.reset();
      EXPECT_TRUE(p.fresh()) << r.name << " " << p.name;
    }
  }
}

}  // namespace
}  // namespace kestrin::test
