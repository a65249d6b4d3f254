// Path pieces, the case-insensitive side-file lookup and the configuration folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/paths.h"
#include "support/temp_dir.h"
#include "base/text_file.h"

namespace kestrin {
namespace {

TEST(Paths, SplitsNamesAsWritten) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* base;
    const char* ext;
  } cases[] = {
      {"/data/a.b.IMG", "/data/", "a.b.IMG", "a.b", ".IMG"},
      {"a.img", "", "a.img", "a", ".img"},
      {"/data/noext", "/data/", "noext", "noext", ""},
      {"/da.ta/noext", "/da.ta/", "noext", "noext", ""},
      {"/data/", "/data/", "", "", ""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(folder_of(c.path), c.folder) << c.path;
    EXPECT_EQ(file_name_of(c.path), c.name) << c.path;
    EXPECT_EQ(base_name_of(c.path), c.base) << c.path;
    EXPECT_EQ(extension_of(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(change_extension("/data/a.img", ".kes"), "/data/a.kes");
  EXPECT_EQ(change_extension("/da.ta/a", ".inf"), "/da.ta/a.inf");
  EXPECT_TRUE(has_extension("/x/A.ImG", ".img"));
  EXPECT_FALSE(has_extension("/x/a.img2", ".img"));
  EXPECT_TRUE(iequals("AbC", "aBc"));
  EXPECT_FALSE(iequals("abc", "abd"));
  EXPECT_EQ(to_lower_ascii("A.IMG-Ä"), "a.img-Ä");
}

TEST(Paths, SideFileByExactThenUniqueCaseInsensitiveName) {
  test::TempDir dir;
  ASSERT_TRUE(write_text_file(dir.file("exact.inf"), {}));
  ASSERT_TRUE(write_text_file(dir.file("EXACT.INF"), {}));
  ASSERT_TRUE(write_text_file(dir.file("Only.Kes"), {}));
  ASSERT_TRUE(write_text_file(dir.file("twin.inf"), {}));
  ASSERT_TRUE(write_text_file(dir.file("TWIN.inf"), {}));

  EXPECT_EQ(find_side_file(dir.file("exact.inf")), dir.file("exact.inf"));
  EXPECT_EQ(find_side_file(dir.file("only.kes")), dir.file("Only.Kes"));
  EXPECT_EQ(find_side_file(dir.file("Twin.INF")), std::nullopt);  // ambiguous
  EXPECT_EQ(find_side_file(dir.file("none.inf")), std::nullopt);
  EXPECT_EQ(find_side_file(dir.file("nofolder/x.inf")), std::nullopt);
  EXPECT_FALSE(file_exists(dir.path()));
  EXPECT_TRUE(file_exists(dir.file("twin.inf")));
}

// Sets an environment variable for one test and restores it.
class EnvVar {
public:
  EnvVar(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~EnvVar() {
    if (had_) ::setenv(name_, old_.c_str(), 1);
    else ::unsetenv(name_);
  }

private:
  const char* name_;
  bool had_;
  std::string old_;
};

TEST(Paths, ConfigFolderFollowsXdgThenHome) {
  test::TempDir dir;
  {
    EnvVar xdg("XDG_CONFIG_HOME", (dir.file("cfg")).c_str());
    EXPECT_EQ(config_folder(), dir.file("cfg/kestrin/"));
    EXPECT_TRUE(ensure_config_folder());
    EXPECT_TRUE(write_text_file(config_folder() + "Kestrin.kes", {"x"}));
  }
  EnvVar xdg("XDG_CONFIG_HOME", nullptr);
  EnvVar home("HOME", (dir.file("home")).c_str());
  EXPECT_EQ(config_folder(), dir.file("home/.config/kestrin/"));
  EnvVar relative("XDG_CONFIG_HOME", "relative");
  EXPECT_EQ(config_folder(), dir.file("home/.config/kestrin/"));
}

}  // namespace
}  // namespace kestrin
