#pragma once
// The messages of a catalog by their 32-bit message key, the way a program that loads the
// catalog finds them: a key may name several messages when their texts collide, and a later
// message with the key text of an earlier one is never found at all.

#include <cstdint>
#include <string_view>
#include <vector>

#include "catalog/catalog_messages.h"
#include "catalog/first_match_index.h"

namespace catcheck {

class KeyIndex {
 public:
  static constexpr uint32_t kNone = catalog::FirstMatchIndex::kNone;

  // Indexes the messages of `catalog` in their order.
  explicit KeyIndex(const catalog::CatalogMessages& catalog);

  uint32_t key(uint32_t message) const { return keys_[message]; }
  // The first message with `key`, or kNone.
  uint32_t first(uint32_t key) const;
  // The first message with the key of `message`: itself, or an earlier one.
  uint32_t first_of(uint32_t message) const { return first_of_[message]; }
  // The next message after `message` with its key and another key text, or kNone.
  uint32_t next_text(uint32_t message) const { return next_text_[message]; }
  // The earlier message with the same key text, or kNone for the first of its text.
  uint32_t duplicate_of(uint32_t message) const { return duplicate_of_[message]; }
  // The message among those of `key` whose key text is `text`: the same bytes first, else the
  // same text once escapes are decoded; kNone when none has it.
  uint32_t find_text(uint32_t key, std::string_view text) const;

 private:
  void add(uint32_t message);

  const catalog::CatalogMessages& catalog_;
  std::vector<uint32_t> keys_;
  std::vector<uint32_t> next_text_;
  std::vector<uint32_t> duplicate_of_;
  std::vector<uint32_t> first_of_;
  catalog::FirstMatchIndex by_key_;
};

// Whether two key texts are one text once their escapes are decoded.
bool same_key_text(std::string_view a, std::string_view b);

}  // namespace catcheck
