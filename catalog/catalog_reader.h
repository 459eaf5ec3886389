#pragma once
// The one reader of catalog files: it walks a catalog held in memory line by line and tells
// what each line is (blank, comment, key line, translation, or a line too short or without a
// ':' or '[' after its code), and which language is the key language.
//
// The tools read catalogs alike but for the rules that are the options of the reader.

#include <string_view>

#include "catalog/catalog_format.h"
#include "catalog/language_code.h"
#include "catalog/line_reader.h"

namespace catalog {

struct ReadRules {
  // Where the key language comes from when none is given.
  enum class KeyLanguage {
    // The code of the first language line (the merge).
    first_language_line,
    // The first line, not blank and not opened by '#', whose text before its first ':' is a
    // whole code that may stand for a language, two bytes or five with a hyphen third (the
    // import).
    first_code_before_colon,
  };
  KeyLanguage key_language;
};

enum class LineKind {
  blank,        // nothing after the leading blanks
  comment,      // '#' or "//" first
  short_line,   // fewer than three bytes, its line end counted
  no_opener,    // no ':' or '[' after the code and its blanks
  key,          // a key line (the key language's code, blanks, ':'): it opens a message
  translation,  // any other language line
};

struct CatalogLine {
  std::string_view content;  // from the first byte that is not a blank on, without line end
  int number = 0;            // counted from 1
  bool has_line_end = true;  // false only for a last line without line end
  LineKind kind = LineKind::blank;
  LanguageLine head;          // key and translation lines
  std::string_view key_text;  // key lines
};

class CatalogReader {
 public:
  // Reads `bytes` (a byte-order mark at the start skipped) by `rules`. An empty `key_language`
  // is settled by the rule when a line needs it.
  CatalogReader(std::string_view bytes, ReadRules rules, std::string_view key_language = {});

  bool next(CatalogLine& line);
  // Empty until a rule or the caller settles it.
  std::string_view key_language() const { return key_language_; }

 private:
  LineReader lines_;
  ReadRules rules_;
  std::string_view key_language_;
};

// What the line `content` (leading blanks skipped, no line end) is, with
// `key_language` as the key language (empty: none yet, so no line is a key line). `number` is
// left 0.
CatalogLine classify_line(std::string_view content, bool has_line_end,
                          std::string_view key_language);

// The key language that `bytes` give by the rule of `rules`; empty when they give none.
std::string_view find_key_language(std::string_view bytes, ReadRules rules);

}  // namespace catalog
