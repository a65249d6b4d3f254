// The registry store: the file format keeps every byte but NUL in names and values, keys
// compare without case and list sorted, a key goes with everything below it, and writers
// in parallel keep each other's values while readers never see half a file.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/cp932.h"
#include "platform/system/registry_store.h"

namespace kestrin::platform {
namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kestrin-registry-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    file_ = dir_ + "/registry/HKEY_CURRENT_USER.reg";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Text() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string dir_, file_;
};

TEST_F(RegistryStoreTest, EveryByteButNulSurvivesTheFile) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::mt19937 random(7);
  std::vector<std::string> texts = {all, "a=b", "[x]", "\\", "%41", ";c", "\r\n", " blank ", "",
                                    utf8_to_cp932("表ソ能=値[ソ]"), std::string(1, '\x95'), "\x95\\x", "x\x95"};
  for (int i = 0; i < 50; ++i) {
    std::string t;
    for (int n = random() % 20; n > 0; --n) t += static_cast<char>(1 + random() % 255);
    texts.push_back(t);
  }
  std::vector<RegistryKey> keys;
  for (size_t i = 0; i < texts.size(); ++i) {
    // Key names hold no "\" at a character start: that separates keys.
    std::string name;
    for (const std::string& part : SplitKeyPath(texts[i])) name += part;
    keys.push_back(RegistryKey{"Software\\" + (name.empty() ? "k" : name) + std::to_string(i), {{texts[i], texts[(i + 1) % texts.size()]}}});
  }
  const std::vector<RegistryKey> back = ParseRegistryText(RegistryText(keys));
  ASSERT_EQ(back.size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(back[i].path, keys[i].path) << i;
    EXPECT_EQ(back[i].values, keys[i].values) << i;
  }
  // Japanese names stay readable: only the escaped bytes at character starts change.
  EXPECT_EQ(RegistryText({RegistryKey{utf8_to_cp932("表\\ソ"), {{"a=b", utf8_to_cp932("値")}}}}),
            "; Kestrin registry: HKEY_CURRENT_USER\r\n[" + utf8_to_cp932("表\\ソ") + "]\r\na%3Db=" + utf8_to_cp932("値") + "\r\n");
}

TEST_F(RegistryStoreTest, KeysValuesAndSubtrees) {
  RegistryStore store(file_);
  ASSERT_TRUE(store.Open());
  EXPECT_FALSE(store.KeyExists("Software\\Kestrin"));
  ASSERT_TRUE(store.CreateKey("Software\\Kestrin"));
  EXPECT_TRUE(store.KeyExists("software\\KESTRIN\\"));
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\b", "z", "1"));
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\B\\deep", "x", "2"));
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\a", "y", "3"));
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\b", "A", "4"));
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\b", "Z", "5"));  // the same value as "z"
  EXPECT_EQ(store.SubKeyNames("Software\\Kestrin"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(store.ValueNames("software\\kestrin\\B"), (std::vector<std::string>{"z", "A"}));
  std::string value;
  ASSERT_TRUE(store.ReadValue("Software\\Kestrin\\b", "Z", value));
  EXPECT_EQ(value, "5");
  ASSERT_TRUE(store.WriteValue("Software\\Kestrin\\b", "nul", std::string("before\0after", 12)));
  ASSERT_TRUE(store.ReadValue("Software\\Kestrin\\b", "nul", value));
  EXPECT_EQ(value, "before");
  ASSERT_TRUE(store.DeleteValue("Software\\Kestrin\\b", "z"));
  ASSERT_TRUE(store.DeleteValue("Software\\Kestrin\\b", "missing"));
  EXPECT_FALSE(store.ReadValue("Software\\Kestrin\\b", "z", value));
  ASSERT_TRUE(store.DeleteKey("Software\\Kestrin\\B"));
  EXPECT_FALSE(store.KeyExists("Software\\Kestrin\\b\\deep"));
  EXPECT_EQ(store.SubKeyNames("Software\\Kestrin"), (std::vector<std::string>{"a"}));
  // A second store on the same file sees it all.
  RegistryStore other(file_);
  ASSERT_TRUE(other.Open());
  ASSERT_TRUE(other.ReadValue("Software\\Kestrin\\a", "y", value));
  EXPECT_EQ(value, "3");
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeWrittenIsRefused) {
  std::ofstream(dir_ + "/file") << "x";
  RegistryStore below_a_file(dir_ + "/file/registry/HKEY_CURRENT_USER.reg");
  std::string error;
  EXPECT_FALSE(below_a_file.Open(&error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(below_a_file.WriteValue("k", "n", "v"));
  std::filesystem::create_directories(file_);  // a folder where the file should be
  RegistryStore folder(file_);
  EXPECT_FALSE(folder.Open());
}

TEST_F(RegistryStoreTest, ParallelWritersKeepEachOthersValuesAndReadersSeeWholeFiles) {
  constexpr int kWriters = 4, kValues = 40;
  { RegistryStore first(file_); ASSERT_TRUE(first.Open()); }
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!done) {
      const std::string text = Text();
      if (!text.empty() && (text.rfind("; Kestrin registry", 0) != 0 || text.substr(text.size() - 2) != "\r\n")) ++torn;
    }
  });
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([&, w] {
      RegistryStore store(file_);  // each with its own lock descriptor, as another process
      for (int i = 0; i < kValues; ++i) store.WriteValue("Shared", "w" + std::to_string(w) + "v" + std::to_string(i), "x");
    });
  for (std::thread& t : writers) t.join();
  done = true;
  reader.join();
  EXPECT_EQ(torn, 0);
  RegistryStore check(file_);
  ASSERT_TRUE(check.Open());
  EXPECT_EQ(check.ValueNames("Shared").size(), size_t{kWriters * kValues});
  // Nothing is left beside the file but its lock.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_ + "/registry")) ++entries;
  EXPECT_EQ(entries, 2u);
}

}  // namespace
}  // namespace kestrin::platform
