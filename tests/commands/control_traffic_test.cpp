// How many times the most used run (load an image, integrate it, save the pattern, as a
// script does it) reads or writes the windows' controls.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "base/paths.h"
#include "commands/kestrin_methods.h"
#include "commands/parameter_io.h"
#include "commands/wiring.h"
#include "image/image_store.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/ports.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// Arguments given as texts.
class Texts : public MethodArgs {
public:
  explicit Texts(std::string v) : v_(std::move(v)) {}
  size_t count() const override { return v_.empty() ? 0 : 1; }
  double number(size_t) const override { return 0; }
  int32_t integer(size_t) const override { return 0; }
  std::string text(size_t) const override { return v_; }

private:
  std::string v_;
};

void call(const std::string& name, const std::string& argument = {}) {
  const KestrinMethod* m = find_kestrin_method(name);
  ASSERT_NE(m, nullptr) << name;
  call_kestrin_method(*m, Texts(argument));
}

// The parameters are read from their controls only when a control changed, and a text the
// parameter code wrote is taken without reading it back, so what is left is showing the
// result: the load writes the 12 parameters an image and its ".kes" set, the 2theta step's
// rewritten text, the image window's two display edges (edit and label each) and the spot
// window's search area (2); the angle integration (the start region: sectors of 22.5
// degrees) writes the 6 ranges of the main and the graph window. Nothing is read: the
// header locks the load consults are the model's, which the lock boxes update when they
// change. (Reading every edit at every operation, the same run took 86.)
TEST(ControlTraffic, LoadIntegrateSaveTouchesTheControlsOnlyToShowTheResult) {
  reset_state();
  wire_program({});
  TempDir dir;
  const std::string image = write_ring_raxis(dir.file("ring.img"));
  read_parameters(current_image().ImageHeight);  // as the main window's start does
  headless_controls().reset_traffic();
  call("LoadImageFile", image);
  call("AngleIntensity");
  call("SaveNaxFile", dir.file("ring.sec"));
  const HeadlessControls::Traffic traffic = headless_controls().traffic();
  std::cout << "control reads " << traffic.reads << ", writes " << traffic.writes << '\n';
  EXPECT_EQ(current_image().NoImageFlag, 0);
  EXPECT_FALSE(state().nax_pattern.empty());
  EXPECT_TRUE(file_exists(dir.file("ring.sec")));
  EXPECT_EQ(traffic.reads, 0);
  EXPECT_EQ(traffic.writes, 25);
}

}  // namespace
}  // namespace kestrin::test
