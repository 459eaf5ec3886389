#include "catcheck/key_index.h"

#include "catalog/catalog_format.h"
#include "catalog/text_routines.h"

namespace catcheck {

bool same_key_text(std::string_view a, std::string_view b) {
  if (a == b) return true;
  bool escaped = a.find('\\') != std::string_view::npos || b.find('\\') != std::string_view::npos;
  return escaped && catalog::unescape_key_text(a) == catalog::unescape_key_text(b);
}

KeyIndex::KeyIndex(const catalog::CatalogMessages& catalog) : catalog_(catalog) {
  size_t count = catalog.messages().size();
  keys_.reserve(count);
  next_text_.assign(count, kNone);
  duplicate_of_.assign(count, kNone);
  first_of_.resize(count);
  by_key_.reserve(count);
  bool numeric = catalog.key_language() == "00";
  for (const catalog::Message& message : catalog.messages())
    keys_.push_back(catalog::message_key(message.key_text, numeric));
  for (uint32_t message = 0; message < count; ++message) add(message);
}

uint32_t KeyIndex::first(uint32_t key) const {
  return by_key_.find(key, [&](uint32_t other) { return keys_[other] == key; });
}

// The messages of one key form a chain of distinct key texts, so that a catalog with many
// copies of one message still costs one comparison per text, not per copy.
void KeyIndex::add(uint32_t message) {
  uint32_t key = keys_[message];
  uint32_t at =
      by_key_.insert_first(key, message, [&](uint32_t other) { return keys_[other] == key; });
  first_of_[message] = at;
  std::string_view text = catalog_.messages()[message].key_text;
  while (at != message) {
    if (same_key_text(catalog_.messages()[at].key_text, text)) {
      duplicate_of_[message] = at;
      return;
    }
    if (next_text_[at] == kNone) next_text_[at] = message;
    at = next_text_[at];
  }
}

uint32_t KeyIndex::find_text(uint32_t key, std::string_view text) const {
  const auto& messages = catalog_.messages();
  for (uint32_t at = first(key); at != kNone; at = next_text_[at])
    if (messages[at].key_text == text) return at;
  for (uint32_t at = first(key); at != kNone; at = next_text_[at])
    if (same_key_text(messages[at].key_text, text)) return at;
  return kNone;
}

}  // namespace catcheck
