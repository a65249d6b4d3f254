// Files written through the main window keep '.' as the decimal point when the user's
// locale writes numbers with ','.
#include <clocale>
#include <cstdlib>

#include "app_fixture.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin::test {
namespace {

// The whole test program runs as if started with LC_ALL=de_DE.UTF-8: set before main, so
// the application object meets it at start as the program would.
const bool g_german = ::setenv("LC_ALL", "de_DE.UTF-8", 1) == 0;

using LocaleTest = AppTest;

TEST_F(LocaleTest, ParameterAndPatternFilesUseThePoint) {
  // The program sets the C numeric locale at start; take the user's back to prove that
  // no conversion depends on it.
  if (!g_german || !std::setlocale(LC_ALL, "") || std::localeconv()->decimal_point[0] != ',') {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "locale de_DE.UTF-8 missing";
    GTEST_SKIP() << "locale de_DE.UTF-8 not installed";
  }
  app::TfrmMain& m = main();
  dialogs_.answerFile(write_ring_image("ring.img"), 1);
  m.pbtnLoadImage->click();
  m.rbtnRectangle->setChecked(true);
  enter(m.edtCenterX0, "100.25");
  enter(m.edtCenterY0, "100");
  m.pbtnAngleIntensity->click();
  dialogs_.answerFile(dir_.file("p.kes"), 1);
  click_menu("File", "Save Param");
  dialogs_.answerFile(dir_.file("p.rie"), 3);
  click_menu("File", "Save Intensity");
  std::setlocale(LC_ALL, "C");
  const std::pair<const char*, const char*> files[] = {{"p.kes", " 100.25000"}, {"p.rie", "1.0000   0.0200"}};
  for (auto [name, number] : files) {
    std::string bytes;
    ASSERT_TRUE(read_file_bytes(dir_.file(name), bytes)) << name;
    EXPECT_NE(bytes.find(number), std::string::npos) << name;
    EXPECT_EQ(bytes.find(','), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace kestrin::test
