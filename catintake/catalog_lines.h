#pragma once
// The catalog as an ordered list of lines that the update edits in place.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "catalog/catalog_reader.h"
#include "catalog/first_match_index.h"
#include "catalog/language_code.h"
#include "catintake/text_store.h"
#include "platform/file_io.h"

namespace catintake {

// How the import reads a catalog: the key language from the first code before a ':'.
inline constexpr catalog::ReadRules kCatalogRules{
    catalog::ReadRules::KeyLanguage::first_code_before_colon};

class CatalogLines {
 public:
  using Node = uint32_t;
  static constexpr Node kHead = 0;  // sentinel before the first line
  static constexpr Node kNone = UINT32_MAX;

  // Key lines are indexed by their key text for `find_key_line`.
  explicit CatalogLines(catalog::LanguageCode key_language);

  // Appends the lines of a catalog file: a byte-order mark at its start is dropped, and each
  // line loses its leading blanks and its line end (trailing blanks stay). `bytes` must outlive
  // this object.
  void load(std::string_view bytes);

  bool empty() const { return nodes_[kHead].next == kNone; }
  Node next(Node node) const { return nodes_[node].next; }
  std::string_view text(Node node) const { return nodes_[node].text; }
  Node last() const { return tail_; }

  Node append(std::string_view text);  // a copy of `text` after the last line
  Node insert_after(Node node, std::string_view text);
  void remove_after(Node node);
  void replace(Node node, std::string_view text);

  // The first key line whose key text means `key_text`: the texts are compared with their
  // escapes decoded, as the format identifies messages (`\%s` and `\\%s` are one text); none if
  // there is none.
  Node find_key_line(std::string_view key_text) const;
  bool is_key_line(Node node) const { return nodes_[node].key; }

  // Writes every line followed by "\n".
  cattools::IoStatus write(cattools::OutputFile& file) const;

 private:
  struct LineNode {
    std::string_view text;
    std::string_view key_text;  // of a key line, its escapes decoded
    Node next = kNone;
    bool key = false;
  };
  Node link_after(Node node, std::string_view text);
  void classify(Node node, bool has_line_end);
  // `text` with its escapes decoded: `text` itself without a backslash, else a stored copy.
  std::string_view decoded(std::string_view text);

  std::deque<LineNode> nodes_;
  Node tail_ = kHead;
  catalog::LanguageCode key_language_;
  TextStore store_;
  // Key lines, first occurrence in list order. The update inserts or removes lines elsewhere
  // than at the end only for other languages and for key-language plural lines, which are no
  // key lines; so the index stays exact.
  catalog::FirstMatchIndex key_lines_;
};

}  // namespace catintake
