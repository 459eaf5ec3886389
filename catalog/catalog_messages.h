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

// One language line of a message, held compactly: a catalog of a million lines keeps them all.
class MessageLine {
 public:
  MessageLine() = default;
  MessageLine(const CatalogLine& line);  // a key or translation line

  // The whole line, leading blanks skipped, without its line end.
  std::string_view content() const { return {data_, size_}; }
  std::string_view code() const { return {data_, code_size_}; }
  // What stands between '[' and ']' (blanks around it left out); empty without an index.
  std::string_view plural() const { return {data_ + plural_begin_, plural_size_}; }
  bool is_plural() const { return plural_begin_ != 0; }  // "[]" is an index too
  bool is_one_form() const { return plural() == "1"; }
  // After the ':' and its one optional blank.
  std::string_view text() const { return content().substr(text_begin_); }
  int line() const { return line_; }

 private:
  const char* data_ = nullptr;
  uint32_t size_ = 0;
  int line_ = 0;
  uint32_t text_begin_ = 0;
  uint32_t plural_begin_ = 0;
  uint32_t plural_size_ = 0;
  uint8_t code_size_ = 0;
};

struct Message {
  int line = 0;  // of the key line
  std::string_view key_text;
  uint32_t first_comment = 0;  // into CatalogMessages::comments()
  uint32_t comment_count = 0;
  uint32_t first_line = 0;  // into CatalogMessages::lines()
  uint32_t line_count = 0;
};

// What sees every line of a catalog as CatalogMessages reads it, for callers that look at the
// lines too (checks), so that the catalog is read once.
class LineVisitor {
 public:
  virtual void visit(const CatalogLine& line, std::string_view key_language) = 0;

 protected:
  ~LineVisitor() = default;
};

class CatalogMessages {
 public:
  // Reads `bytes` by `rules`, with `key_language` as the key language unless it is empty, and
  // shows each line to `visitor` when one is given.
  CatalogMessages(std::string_view bytes, ReadRules rules, std::string_view key_language = {},
                  LineVisitor* visitor = nullptr);

  std::string_view key_language() const { return key_language_; }
  const std::vector<Message>& messages() const { return messages_; }
  std::span<const MessageLine> lines(const Message& message) const {
    return {lines_.data() + message.first_line, message.line_count};
  }
  // The comment lines right above the key line, as written.
  std::span<const std::string_view> comments(const Message& message) const {
    return {comments_.data() + message.first_comment, message.comment_count};
  }
  // The codes of the translation languages, in the order they first appear (a scan of every
  // line: only callers that need it pay for it).
  std::vector<std::string_view> languages() const;
  // Whether every line is valid UTF-8; else the catalog is Latin-1.
  bool is_utf8() const { return utf8_; }

 private:
  void add_line(const CatalogLine& line);
  void drop_pending_comments();

  std::string_view key_language_;
  std::vector<Message> messages_;
  std::vector<MessageLine> lines_;
  std::vector<std::string_view> comments_;  // of the messages, and those read since the last
  uint32_t pending_comments_ = 0;           // line that is no comment
  bool utf8_ = true;
};

}  // namespace catalog
