#pragma once
// Language codes: "en", "00" for numeric keys, or five characters with a hyphen third
// ("pt-BR"), as command lines, PO and XLIFF files and catalog lines give them.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/text_routines.h"

namespace catalog {

// A language code of at most five bytes ("en", "pt-BR"); the bytes are not validated.
class LanguageCode {
 public:
  LanguageCode() = default;
  explicit LanguageCode(std::string_view code);  // keeps at most the first five bytes

  std::string_view view() const { return {bytes_, size_}; }
  bool empty() const { return size_ == 0; }
  bool operator==(const LanguageCode& other) const { return view() == other.view(); }

 private:
  char bytes_[5] = {};
  uint8_t size_ = 0;
};

// The code at the start of `text`: five bytes when the third is '-', else two (fewer when the
// text is shorter).
LanguageCode copy_language_code(std::string_view text);

// A code may stand for a language only when it begins with an ASCII letter or digit; any other
// first byte (or none) would give an empty language prefix, which comment and blank lines share.
inline bool is_usable_code(std::string_view code) {
  return !code.empty() && is_ascii_alnum(code[0]);
}

// Whether every character of `code` is an ASCII letter or digit, two of them, or five with a
// hyphen third ("pt-BR").
bool is_valid_code(std::string_view code);

// A "[key=]<catalog>" argument of the tools that read a catalog: the code before an '=' that
// stands third or sixth (empty without one; the caller checks it with is_valid_code), and the
// catalog's name after it.
struct KeyedCatalog {
  std::string_view code;
  std::string_view path;
};
inline KeyedCatalog split_keyed_catalog(std::string_view argument) {
  size_t equals = argument.find('=');
  if (equals != 2 && equals != 5) return {{}, argument};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// The code at the start of a value that names a language in a translator's file (a PO header's
// Language, an XLIFF attribute): two letters or digits, or five when a hyphen or an underscore
// and two more letters or digits follow that end the value or a word ("pt_BR", "zh-TW",
// "pt_BR.UTF-8"); the underscore becomes a hyphen. Empty when the value does not begin with a
// valid code ("C", "x") or its separator is followed by anything else than two letters or
// digits ("zh_Hant").
LanguageCode code_from_locale(std::string_view value);

// The leading run of at most five ASCII letters, digits and '-'.
std::string_view language_prefix(std::string_view text);

// Whether two codes are the same bytes. Codes are a few bytes long: a loop beats a call to the
// library's memcmp, and the reading loops compare codes at every line.
inline bool same_code(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t at = 0; at < a.size(); ++at)
    if (a[at] != b[at]) return false;
  return true;
}

// Whether the language prefixes of `a` and `b` are equal (case-sensitive).
inline bool same_language(std::string_view a, std::string_view b) {
  return language_prefix(a) == language_prefix(b);
}

}  // namespace catalog
