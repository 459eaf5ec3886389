#pragma once
// A catalog read into its messages, for the tools that look at a catalog as a whole (export,
// checks): every message with its key line, the comment lines right above it and its language
// lines, each split into code, plural index and text. The views point into the catalog's bytes,
// which must outlive the object.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "catalog/catalog_reader.h"

namespace catalog {

// One language line of a message.
struct MessageLine {
  std::string_view content;  // the whole line, leading blanks skipped, without its line end
  std::string_view code;
  std::string_view plural;  // what stands between '[' and ']', empty without an index
  std::string_view text;    // after the ':' and its one optional blank
  int line = 0;

  bool is_plural() const { return plural.data() != nullptr; }  // "[]" is an index too
  bool is_one_form() const { return plural == "1"; }
};

struct Message {
  int line = 0;  // of the key line
  std::string_view key_text;
  std::vector<std::string_view> comments;  // the comment lines right above the key line, as written
  uint32_t first_line = 0;                 // into CatalogMessages::lines()
  uint32_t line_count = 0;
};

class CatalogMessages {
 public:
  // Reads `bytes` by `rules`, with `key_language` as the key language unless it is empty.
  CatalogMessages(std::string_view bytes, ReadRules rules, std::string_view key_language = {});

  std::string_view key_language() const { return key_language_; }
  const std::vector<Message>& messages() const { return messages_; }
  std::span<const MessageLine> lines(const Message& message) const {
    return {lines_.data() + message.first_line, message.line_count};
  }
  // The codes of the translation languages, in the order they first appear.
  const std::vector<std::string_view>& languages() const { return languages_; }
  // Whether every line is valid UTF-8; else the catalog is Latin-1.
  bool is_utf8() const { return utf8_; }

 private:
  void add_line(const CatalogLine& line);
  void note_language(std::string_view code);

  std::string_view key_language_;
  std::vector<Message> messages_;
  std::vector<MessageLine> lines_;
  std::vector<std::string_view> languages_;
  std::vector<std::string_view> comments_;  // since the last line that is no comment
  bool utf8_ = true;
};

// The plural index and text of a language line's head and rest, as a catalog line gives them.
MessageLine split_language_line(const CatalogLine& line);

}  // namespace catalog
