// Name tables: the hash, the observable key order, case folding and item freeing; the
// sort algorithms of value lists.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "script/core/errors.h"
#include "script/core/hash_table.h"
#include "script/core/object.h"
#include "script/core/value_list.h"

namespace kestrin::script {
namespace {

TEST(HashTable, KeyHashOfKnownKeys) {
  EXPECT_EQ(KeyHash(""), 0u);
  EXPECT_EQ(KeyHash("a"), 97u);
  EXPECT_EQ(KeyHash("ab"), 486u);
  // Rotation, not shift: 16 rotations by 2 bring the first byte back to bit 0.
  EXPECT_EQ(KeyHash(std::string("\x01") + std::string(16, '\0')), 1u);
  // Bytes are unsigned.
  EXPECT_EQ(KeyHash("\x82\xA0"), ((0x82u << 2) ^ 0xA0u));
}

TEST(HashTable, BaseMethodNamesFallInTheirBuckets) {
  const std::pair<const char*, uint32_t> rows[] = {
      {"getEvents", 6}, {"getProperties", 6}, {"hasOwnProperty", 7}, {"getKeys", 9}, {"hasKey", 9},
      {"valueOf", 14}, {"removeKey", 15}, {"toString", 16}, {"getMethods", 21}};
  for (auto [name, bucket] : rows) EXPECT_EQ(KeyHash(name) % 23, bucket) << name;
}

TEST(HashTable, KeysListBucketByBucketThenInNameOrder) {
  TIntegerHashTable t(23, false);
  for (const char* k : {"b", "a", "B", "A", "ab", "Ab", "_x", "1", "z"}) t.SetValue(k, 1);
  // Buckets: "1" 3, "ab" 3, "a" 5, "b" 6, "_x" 7, "z" 7, "Ab" 13, "A" 19, "B" 20.
  EXPECT_EQ(t.Keys(), (std::vector<std::string>{"1", "ab", "a", "b", "_x", "z", "Ab", "A", "B"}));
  EXPECT_EQ(t.KeyText(), "1\r\nab\r\na\r\nb\r\n_x\r\nz\r\nAb\r\nA\r\nB");
}

TEST(HashTable, OneBucketShowsTheNameOrder) {
  TIntegerHashTable t(1, false);
  for (const char* k : {"B", "a", "A", "b", "_", "1", "ab", "Ab"}) t.SetValue(k, 1);
  EXPECT_EQ(t.Keys(), (std::vector<std::string>{"_", "1", "a", "A", "ab", "Ab", "b", "B"}));
}

TEST(HashTable, IgnoreCaseFindsAnyCaseAndKeepsTheNewestKey) {
  TIntegerHashTable t(23, true);
  int freed = 0;
  t.on_free_item = [&](TIntegerHashTable::Item&) { ++freed; };
  t.SetValue("Abc", 1);
  EXPECT_EQ(t.GetValue("ABC"), 1);
  EXPECT_EQ(t.GetValue("abc"), 1);
  t.SetValue("ABC", 2);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(t.Keys(), std::vector<std::string>{"ABC"});
  EXPECT_EQ(t.GetValue("abc"), 2);
}

TEST(HashTable, IgnoreCaseLeavesTrailBytesAlone) {
  // 0x83 0x41 and 0x83 0x61 are different two-byte characters, not a case pair.
  TIntegerHashTable t(1, true);
  t.SetValue("\x83\x41", 1);
  EXPECT_FALSE(t.HasKey("\x83\x61"));
  EXPECT_EQ(LocaleLower("A\x83\x41Z"), "a\x83\x41z");
}

TEST(HashTable, RemoveClearAndMissingKeys) {
  TStringHashTable t(13, false);
  int freed = 0;
  t.on_free_item = [&](TStringHashTable::Item&) { ++freed; };
  t.SetValue("x", "1");
  t.SetValue("y", "2");
  t.SetValue("z", "3");
  EXPECT_TRUE(t.Remove("x"));
  EXPECT_FALSE(t.Remove("x"));
  EXPECT_EQ(t.GetValue("x"), "");
  t.Clear();
  EXPECT_EQ(freed, 3);
  EXPECT_EQ(t.KeyText(), "");
  t.raise_error = true;
  try {
    t.GetValue("x");
    FAIL();
  } catch (const EHashTableError& e) {
    EXPECT_STREQ(e.what(), "dont has key");
  }
}

TEST(HashTable, ObjectTableFreesWhatItOwns) {
  struct Tracked {
    explicit Tracked(int* n) : count(n) {}
    ~Tracked() { ++*count; }
    int* count;
  };
  int freed = 0;
  {
    TObjectHashTable<Tracked> t(101, false);
    t.SetValue("a", new Tracked(&freed));
    t.SetValue("a", new Tracked(&freed));  // replacement frees the old one
    t.SetValue("b", new Tracked(&freed));
    t.SetValue("c", new Tracked(&freed));
    EXPECT_EQ(freed, 1);
    EXPECT_TRUE(t.Remove("b"));
    EXPECT_EQ(freed, 2);
  }
  EXPECT_EQ(freed, 4);  // destruction frees the rest
  Tracked kept(&freed);
  {
    TObjectHashTable<Tracked> t(3, false);
    t.owns_objects = false;
    t.SetValue("x", &kept);
  }
  EXPECT_EQ(freed, 4);
}

std::vector<std::string> TextsOf(const TJValueList& l) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < l.GetCount(); ++i) out.push_back(ValueToStdString(l.GetValue(i)));
  return out;
}

int ByFirstChar(const Value& a, const Value& b) {
  return static_cast<int>(ValueToStdString(a)[0]) - static_cast<int>(ValueToStdString(b)[0]);
}

TEST(ListSort, MergeAndInsertionSortsAreStable) {
  for (uint8_t type : {0, 2}) {
    TJValueList l{Value::String("b1"), Value::String("a1"), Value::String("b2"), Value::String("a2"),
                  Value::String("c1"), Value::String("a3")};
    l.Sort(ByFirstChar, type);
    EXPECT_EQ(TextsOf(l), (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "c1"})) << int(type);
  }
}

TEST(ListSort, MergeSortSplitsAtHalfOfEachBound) {
  TJValueList l;
  for (int i = 0; i < 6; ++i) l.AddInteger(i);
  std::vector<std::pair<int, int>> calls;
  l.Sort([&](const Value& a, const Value& b) {
    calls.emplace_back(a.integer(), b.integer());
    return a.integer() - b.integer();
  }, 0);
  // [0,5] splits at 0/2 + 5/2 = 2, and [3,5] at 3/2 + 5/2 = 3.
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {1, 2}, {4, 5}, {3, 4}, {0, 3}, {1, 3}, {2, 3}}));
}

TEST(ListSort, QuicksortWithAnInconsistentComparisonKeepsEveryItem) {
  std::mt19937 rng(7);
  for (uint8_t type : {1, 0, 2}) {
    TJValueList l;
    for (int i = 0; i < 200; ++i) l.AddInteger(i);
    l.Sort([&](const Value&, const Value&) { return static_cast<int>(rng() % 3) - 1; }, type);
    std::vector<bool> seen(200, false);
    for (int32_t i = 0; i < l.GetCount(); ++i) seen[static_cast<size_t>(l.GetValue(i).integer())] = true;
    EXPECT_EQ(l.GetCount(), 200);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 200);
  }
}

TEST(ListSort, AFailedOrMeddlingComparisonLeavesNoDuplicates) {
  TJValueList l{Value::Integer(3), Value::Integer(1), Value::Integer(2)};
  int calls = 0;
  EXPECT_THROW(l.Sort([&](const Value& a, const Value& b) {
    if (++calls == 2) throw EJThrow("EThrow", "");
    return a.integer() - b.integer();
  }), EJThrow);
  EXPECT_EQ(TextsOf(l), (std::vector<std::string>{"3", "1", "2"}));
  l.Sort([&](const Value& a, const Value& b) {
    l.Clear();
    return a.integer() - b.integer();
  });
  EXPECT_EQ(TextsOf(l), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(ValueList, IndexErrorsAreScriptErrors) {
  TJValueList l{Value::Integer(1)};
  try {
    l.GetValue(1);
    FAIL();
  } catch (const EJThrow& e) {
    EXPECT_EQ(e.error_name, "EIndexError");
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_THROW(l.Put(-1, Value()), EJThrow);
  EXPECT_THROW(l.Delete(5), EJThrow);
  EXPECT_THROW(l.Insert(3, Value()), EJThrow);
  EXPECT_THROW(l.SetCount(kMaxListCount + 1), EJThrow);
  l.Insert(1, Value::Integer(2));
  l.SetCount(4);
  EXPECT_EQ(TextsOf(l), (std::vector<std::string>{"1", "2", "undefined", "undefined"}));
}

}  // namespace
}  // namespace kestrin::script

namespace kestrin::script {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The sort key orders as LocaleCompare does, over names that differ in every way the order
// knows: symbols, digits, letters, case only, length, NUL bytes, two-byte characters whose
// trail byte looks like a capital ("\x83\x41" is "ア") or like a lead byte.
TEST(HashTable, SortKeysOrderAsLocaleCompare) {
  const std::string names[] = {"", "a", "A", "b", "B", "ab", "aB", "Ab", "abc", "a b", "a-b", "a1", "1a", "10",
                               "9", "_x", std::string("a\0b", 3), std::string("a\0", 2), "\x83\x41", "\x83\x61",
                               "\x83\x41x", "\x83\x41X", "\x81\x81", "\x81\x81\x41", "z\x83\x41", "Z\x83\x41",
                               "\xE0\x40", "\xFF", "~"};
  for (const std::string& a : names)
    for (const std::string& b : names) {
      std::string ka, kb;
      AppendLocaleSortKey(a, ka);
      AppendLocaleSortKey(b, kb);
      EXPECT_EQ(Sign(ka.compare(kb)), Sign(LocaleCompare(a, b))) << "'" << a << "' '" << b << "'";
    }
}

}  // namespace
}  // namespace kestrin::script
