#pragma once
// The checks of one translation against the key text it translates: printf directives, the
// shape of its ends, and texts the reader takes otherwise than their writer meant.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catcheck/findings.h"
#include "catcheck/format_directives.h"

namespace catcheck {

// The key texts of one message, decoded once for all its translations, with their printf
// directives. It keeps views into the catalog and into itself, so it is neither copied nor
// moved.
class KeyTexts {
 public:
  // The texts of `message`: its key line's, and the first [1] line in the key language.
  KeyTexts(const catalog::CatalogMessages& catalog, const catalog::Message& message);
  KeyTexts(const KeyTexts&) = delete;
  KeyTexts& operator=(const KeyTexts&) = delete;

  std::string_view general() const { return general_; }
  // With a [1] text in the key language, the message is a plural message.
  bool is_plural() const { return one_.has_value(); }
  std::string_view one() const { return *one_; }
  const KeyFormat& general_format() const { return *general_format_; }
  const KeyFormat& one_format() const { return *one_format_; }

 private:
  std::string general_storage_;  // the decoded texts, where they hold escapes
  std::string one_storage_;
  std::string_view general_;
  std::optional<std::string_view> one_;
  std::optional<KeyFormat> general_format_;
  std::optional<KeyFormat> one_format_;
};

// Whether a raw text ends in a backslash that escapes nothing.
bool ends_in_lone_backslash(std::string_view text);

// Adds the findings of translation `line` (in file `file`) of a message with `key`.
// `scratch` is room the checks reuse from line to line.
void check_translation(const KeyTexts& key, const catalog::MessageLine& line, size_t file,
                       FormatScratch& scratch, Findings& findings);

}  // namespace catcheck
