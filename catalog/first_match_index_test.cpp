#include "catalog/first_match_index.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace catalog {
namespace {

// Keys with many equal hashes: the index must tell them apart by the predicate alone.
struct Keys {
  std::vector<uint32_t> of_id;
  uint32_t hash(uint32_t key) const { return key % 7; }
  uint32_t insert(FirstMatchIndex& index, uint32_t key) {
    auto id = static_cast<uint32_t>(of_id.size());
    of_id.push_back(key);
    return index.insert_first(hash(key), id, [&](uint32_t other) { return of_id[other] == key; });
  }
  uint32_t find(const FirstMatchIndex& index, uint32_t key) const {
    return index.find(hash(key), [&](uint32_t id) { return of_id[id] == key; });
  }
};

TEST(FirstMatchIndex, FindsTheFirstIdOfEachKeyThroughGrowth) {
  FirstMatchIndex index;
  Keys keys;
  EXPECT_EQ(keys.find(index, 5), FirstMatchIndex::kNone);
  for (uint32_t key = 0; key < 1000; ++key) EXPECT_EQ(keys.insert(index, key * 3), key);
  for (uint32_t key = 0; key < 1000; ++key) EXPECT_EQ(keys.insert(index, key * 3), key);
  EXPECT_EQ(index.size(), 1000u);
  for (uint32_t key = 0; key < 1000; ++key) {
    EXPECT_EQ(keys.find(index, key * 3), key);
    EXPECT_EQ(keys.find(index, key * 3 + 1), FirstMatchIndex::kNone);
  }
}

TEST(FirstMatchIndex, TextsKeepTheirFirstIdUntilReplaced) {
  std::vector<std::string> texts;
  auto same_as = [&](std::string_view text) {
    return [&texts, text](uint32_t id) { return texts[id] == text; };
  };
  FirstMatchIndex index;
  for (uint32_t id = 0; id < 3000; ++id) {
    texts.push_back("t" + std::to_string(id % 1000));  // each text three times
    EXPECT_EQ(index.insert_first(index_hash(texts[id]), id, same_as(texts[id])), id % 1000);
  }
  EXPECT_EQ(index.find(index_hash("t1000"), same_as("t1000")), FirstMatchIndex::kNone);
  EXPECT_EQ(index.find(index_hash(""), same_as("")), FirstMatchIndex::kNone);
  index.replace(index_hash("t5"), 2005, same_as("t5"));
  EXPECT_EQ(index.find(index_hash("t5"), same_as("t5")), 2005u);
  index.clear();
  EXPECT_EQ(index.find(index_hash("t5"), same_as("t5")), FirstMatchIndex::kNone);
}

}  // namespace
}  // namespace catalog
