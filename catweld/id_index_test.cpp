#include "catweld/id_index.h"

#include <vector>

#include <gtest/gtest.h>

namespace catweld {
namespace {

// Keys with many equal hashes: the index must tell them apart by the predicate alone.
struct Keys {
  std::vector<uint32_t> of_id;
  uint32_t hash(uint32_t key) const { return key % 7; }
  uint32_t insert(IdIndex& index, uint32_t key) {
    auto id = static_cast<uint32_t>(of_id.size());
    of_id.push_back(key);
    return index.insert_first(hash(key), id, [&](uint32_t other) { return of_id[other] == key; });
  }
  uint32_t find(const IdIndex& index, uint32_t key) const {
    return index.find(hash(key), [&](uint32_t id) { return of_id[id] == key; });
  }
};

TEST(IdIndex, FindsTheFirstIdOfEachKeyThroughGrowth) {
  IdIndex index;
  Keys keys;
  EXPECT_EQ(keys.find(index, 5), IdIndex::kNone);
  for (uint32_t key = 0; key < 1000; ++key) EXPECT_EQ(keys.insert(index, key * 3), key);
  for (uint32_t key = 0; key < 1000; ++key) EXPECT_EQ(keys.insert(index, key * 3), key);
  EXPECT_EQ(index.size(), 1000u);
  for (uint32_t key = 0; key < 1000; ++key) {
    EXPECT_EQ(keys.find(index, key * 3), key);
    EXPECT_EQ(keys.find(index, key * 3 + 1), IdIndex::kNone);
  }
}

}  // namespace
}  // namespace catweld
