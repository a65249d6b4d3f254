// File names reach scripts in CP932 as iconv converts them; a name without a CP932 form
// is listed with "?" for its characters and cannot be opened by that name: opening it
// fails, and touches no other file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "script/objects/object_script.h"
#include "support/temp_dir.h"

namespace kestrin::script {
namespace {

namespace fs = std::filesystem;

// The CP932 form of a UTF-8 name by the system's iconv; false when it has none.
bool IconvCp932(const test::TempDir& dir, const std::string& utf8, std::string& cp932) {
  const std::string in = dir.file("iconv.in");
  std::ofstream(in, std::ios::binary) << utf8;
  cp932.clear();
  return test::run_command("/usr/bin/iconv -f UTF-8 -t CP932 " + in + " 2>/dev/null", &cp932) == 0;
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(ScriptFileNames, ListedAsIconvConvertsThem) {
  test::TempDir dir;
  const std::string folder = dir.file("names");
  fs::create_directory(folder);
  const std::string names[] = {"表ソ能.txt", "ｱｲｳﾞ.txt", "①Ⅱ㈱.txt", "全角ＡＢＣ.txt", "naïve.txt", "😀.txt", "\xff\xfe.txt",
                               "plain.txt"};
  for (const std::string& n : names) std::ofstream(folder + "/" + n) << "content";
  // The script writes the names it lists as bytes (its output would be converted).
  const std::string listing = dir.file("listing");
  const auto listed = testing::RunScript("var s = new Directory('" + folder + "').files, f = new File('" + listing +
                                         "'); f.open('w'); for (var i = 0; i < s.count; i++) "
                                         "f.writeln(File.extractName(s[i]));");
  ASSERT_EQ(listed.error, "");
  std::ifstream in(listing, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::set<std::string> lines;
  for (size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.insert(bytes.substr(at, end - at));
  EXPECT_EQ(lines.size(), std::size(names));
  fs::remove(listing);
  const std::set<std::string> before = Entries(folder);
  for (const std::string& n : names) {
    std::string cp932;
    if (IconvCp932(dir, n, cp932)) {
      EXPECT_TRUE(lines.count(cp932)) << n;
      // Such a name opens by its listed form.
      const auto read = testing::RunScript("var f = new File('" + folder + "/" + n + "'); f.open(); print(f.read());");
      EXPECT_EQ(read.error, "") << n;
      EXPECT_EQ(read.out, "content");
      continue;
    }
    // Without a CP932 form: one "?" for each character that has none.
    const std::string shown = n == "naïve.txt" ? "na?ve.txt" : n == "😀.txt" ? "?.txt" : "??.txt";
    EXPECT_TRUE(lines.count(shown)) << n;
    for (const char* mode : {"", "'w'"}) {
      const auto open = testing::RunScript("new File('" + folder + "/" + shown + "').open(" + mode + ");");
      EXPECT_EQ(open.error, "Exception: EFileError(1) => can not open: " + folder + "/" + shown) << n;
    }
  }
  EXPECT_EQ(Entries(folder), before);
}

}  // namespace
}  // namespace kestrin::script
