#pragma once
// The checks of one translation against the key text it translates: printf directives, the
// shape of its ends, and texts the reader takes otherwise than their writer meant.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/catalog_messages.h"
#include "catcheck/findings.h"

namespace catcheck {

// The key texts of one message, decoded once for all its translations.
struct KeyTexts {
  std::string general;             // the key line's text
  std::optional<std::string> one;  // the key language's [1] text: a plural message
  bool general_formats = false;    // whether the texts hold printf directives
  bool one_formats = false;

  KeyTexts() = default;
  explicit KeyTexts(std::string_view key_text, std::optional<std::string_view> key_one);
};

// The key texts of `message`: its key line's, and the first [1] line in the key language.
KeyTexts key_texts_of(const catalog::CatalogMessages& catalog, const catalog::Message& message);

// Whether a raw text ends in a backslash that escapes nothing.
bool ends_in_lone_backslash(std::string_view text);

// Adds the findings of translation `line` (in file `file`) of a message with `key`.
void check_translation(const KeyTexts& key, const catalog::MessageLine& line, size_t file,
                       Findings& findings);

}  // namespace catcheck
