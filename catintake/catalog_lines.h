#pragma once
// The catalog as an ordered list of lines that the update edits in place.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "catintake/first_match_index.h"
#include "catintake/language.h"
#include "catintake/text_store.h"
#include "platform/file_io.h"

namespace catintake {

class CatalogLines {
 public:
  using Node = uint32_t;
  static constexpr Node head = 0;  // sentinel before the first line
  static constexpr Node none = UINT32_MAX;

  // Lines in the key language (by language prefix) are indexed for `find_line`.
  explicit CatalogLines(LanguageCode key_language);

  // Appends the lines of a catalog file: a byte-order mark at its start is dropped, and each
  // line loses its leading blanks and its line end (trailing blanks stay). `bytes` must outlive
  // this object.
  void load(std::string_view bytes);

  bool empty() const { return nodes_[head].next == none; }
  Node next(Node node) const { return nodes_[node].next; }
  std::string_view text(Node node) const { return nodes_[node].text; }
  Node last() const { return tail_; }

  Node append(std::string_view text);  // a copy of `text` after the last line
  Node insert_after(Node node, std::string_view text);
  void remove_after(Node node);
  void replace(Node node, std::string_view text);

  // The first line equal to `line`, a line in the key language; none if there is none.
  Node find_line(std::string_view line) const;

  // Writes every line followed by "\n".
  cattools::IoStatus write(cattools::OutputFile& file) const;

 private:
  struct LineNode {
    std::string_view text;
    Node next = none;
  };
  Node link_after(Node node, std::string_view text);
  void index(Node node);

  std::deque<LineNode> nodes_;
  Node tail_ = head;
  std::string key_prefix_;  // language prefix of the key language
  TextStore store_;
  // Lines with the key language's prefix, first occurrence in list order. The update inserts
  // or removes lines elsewhere than at the end only for other languages (another prefix) and
  // for key-language plural lines, whose '[' after the code never lets them equal a line
  // "<code>: <text>" that `find_line` is asked for; so the index stays exact.
  FirstMatchIndex key_lines_;
};

}  // namespace catintake
