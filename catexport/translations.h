#pragma once
// A message as the output for one language sees it: its key texts and that language's lines.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "catalog/catalog_messages.h"
#include "catalog/first_match_index.h"

namespace catexport {

struct Text {
  bool present = false;
  std::string_view text;
};

struct LanguageView {
  const catalog::Message* message = nullptr;
  Text key_one;  // the key language's [1] line: with it, the message is a plural message
  Text general;  // the language's line without index
  Text one;      // the language's [1] line
  std::vector<const catalog::MessageLine*> other_plurals;  // the language's other indexes
  std::vector<const catalog::MessageLine*> lines;          // all the language's lines

  bool is_plural() const { return key_one.present; }
};

// What `message` holds for `language` (empty: only its key texts, for a template). Of two
// lines of one kind the first counts, as the tools that read catalogs take the first. `view`
// is filled anew; its lists keep their room from message to message.
void view_of(const catalog::CatalogMessages& catalog, const catalog::Message& message,
             std::string_view language, LanguageView& view);
LanguageView view_of(const catalog::CatalogMessages& catalog, const catalog::Message& message,
                     std::string_view language);

// Which messages an output carries: of messages with one key text, or one msgid (a plural
// message's [1] text), only the first, as catintake would give every later one the first one's
// key line, and a PO file may not hold a msgid twice.
class FirstMessages {
 public:
  bool is_first(const LanguageView& view);

 private:
  // Both index the texts of `taken_`: its key texts, and the msgids of its plural messages.
  std::vector<std::pair<std::string_view, std::string_view>> taken_;
  catalog::FirstMatchIndex key_texts_;
  catalog::FirstMatchIndex plural_msgids_;
};

// The text of a comment line without its "#" or "//" and one blank after it.
std::string_view comment_text(std::string_view comment);

// What a PO or XLIFF output leaves out of the catalog.
struct LeftOut {
  size_t plural_lines = 0;  // lines of indexes other than [1]
  size_t duplicates = 0;    // messages that are not FirstMessages
};

// Calls `entry(view)` for each message that goes out for `language`, in catalog order, and
// counts what stays out.
template <typename Entry>
LeftOut for_each_entry(const catalog::CatalogMessages& catalog, std::string_view language,
                       Entry&& entry) {
  LeftOut left_out;
  FirstMessages first;
  LanguageView view;
  for (const catalog::Message& message : catalog.messages()) {
    view_of(catalog, message, language, view);
    left_out.plural_lines += view.other_plurals.size();
    if (first.is_first(view))
      entry(static_cast<const LanguageView&>(view));
    else
      ++left_out.duplicates;
  }
  return left_out;
}

}  // namespace catexport
