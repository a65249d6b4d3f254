// The member and variable map: agreement with a reference map through growth past the
// hash index, erasure and copies, and the tombstones that hide class methods.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "script/core/property_map.h"

namespace kestrin::script {
namespace {

void ExpectSame(PropertyMap& map, const std::map<std::string, int32_t>& want, int step) {
  ASSERT_EQ(map.size(), want.size()) << "step " << step;
  for (const auto& [key, value] : want) {
    PropertyMap::Entry* by_ref = map.Find(StrRef(key));
    PropertyMap::Entry* by_view = map.Find(std::string_view(key));
    ASSERT_TRUE(by_ref) << key << " step " << step;
    ASSERT_EQ(by_ref, by_view) << key;
    EXPECT_EQ(by_ref->value.integer(), value) << key << " step " << step;
  }
  std::map<std::string, int32_t> listed;
  for (const PropertyMap::Entry& e : map.entries()) listed[e.key.str()] = e.value.integer();
  EXPECT_EQ(listed, want) << "step " << step;
  EXPECT_FALSE(map.Find(std::string_view("absent")));
}

// Random stores, erasures, filtered erasures, copies and clears over 40 names, so the map
// crosses the size where it gains a hash index in both directions many times.
TEST(PropertyMap, AgreesWithAReferenceMapThroughGrowthErasureAndCopies) {
  std::mt19937 rng(7);
  PropertyMap map;
  std::map<std::string, int32_t> want;
  for (int step = 0; step < 4000; ++step) {
    const std::string key = "k" + std::to_string(rng() % 40);
    const int32_t value = static_cast<int32_t>(rng() % 1000);
    switch (rng() % 10) {
      case 0: case 1: case 2: case 3:
        map.Put(StrRef(key), Value::Integer(value));
        want[key] = value;
        break;
      case 4: case 5:
        EXPECT_EQ(map.Erase(key), want.erase(key) == 1) << key;
        break;
      case 6:
        map.EraseIf([&](const PropertyMap::Entry& e) { return e.value.integer() % 7 == value % 7; });
        std::erase_if(want, [&](const auto& kv) { return kv.second % 7 == value % 7; });
        break;
      case 7: {
        PropertyMap copy(map);
        map = PropertyMap();
        map = copy;  // the copy's own storage, then the map's again
        break;
      }
      case 8:
        if (rng() % 8 == 0) {
          map.ClearKeepingCapacity();
          want.clear();
        }
        break;
      default: {
        PropertyMap::Entry& e = map.FindOrAdd(StrRef(key));
        if (!want.count(key)) {
          e.value = Value::Integer(0);
          want[key] = 0;
        }
        break;
      }
    }
    ExpectSame(map, want, step);
  }
}

TEST(PropertyMap, TombstonesReadUndefinedUntilAStoreRevivesThem) {
  PropertyMap map;
  for (int i = 0; i < 12; ++i) map.Put(StrRef("m" + std::to_string(i)), Value::Integer(i));
  PropertyMap::Entry* e = map.Find(std::string_view("m3"));
  ASSERT_TRUE(e);
  e->MarkRemoved();
  EXPECT_TRUE(map.Find(std::string_view("m3"))->removed());
  EXPECT_EQ(map.Find(std::string_view("m3"))->value.type(), vtUndefined);
  PropertyMap copy(map);
  EXPECT_TRUE(copy.Find(std::string_view("m3"))->removed());
  map.Erase("m0");  // entries move: the tombstone moves with its entry
  EXPECT_TRUE(map.Find(std::string_view("m3"))->removed());
  map.Put(StrRef("m3"), Value::Integer(30));
  EXPECT_FALSE(map.Find(std::string_view("m3"))->removed());
  EXPECT_EQ(map.Find(std::string_view("m3"))->value.integer(), 30);
  Value moved_from = Value::Infinity(true);
  Value taken = std::move(moved_from);
  EXPECT_FALSE(moved_from.IsHole());  // NOLINT: a moved-from value is plain undefined
}

}  // namespace
}  // namespace kestrin::script
