#pragma once
// How far each language of a catalog is translated.

#include <cstddef>
#include <string_view>
#include <vector>

namespace catcheck {

struct LanguageStats {
  std::string_view code;
  size_t translated = 0;       // messages with a text in their line without plural index
  size_t empty = 0;            // messages whose line without plural index is empty
  size_t plural_complete = 0;  // plural messages with a text in both that line and [1]
  size_t missing(size_t messages) const { return messages - translated - empty; }
};

// Counted over the messages a program can reach: of messages with one key text, the first.
struct Statistics {
  std::string_view key_language;
  size_t messages = 0;
  size_t plural_messages = 0;            // with a [1] line in the key language
  std::vector<LanguageStats> languages;  // in the order they first appear
};

}  // namespace catcheck
