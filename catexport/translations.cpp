#include "catexport/translations.h"

#include "catalog/text_routines.h"

namespace catexport {
namespace {

void take_first(Text& slot, std::string_view text) {
  if (slot.present) return;
  slot.present = true;
  slot.text = text;
}

}  // namespace

LanguageView view_of(const catalog::CatalogMessages& catalog, const catalog::Message& message,
                     std::string_view language) {
  LanguageView view;
  view.message = &message;
  for (const catalog::MessageLine& line : catalog.lines(message)) {
    if (line.code == catalog.key_language()) {
      if (line.is_one_form()) take_first(view.key_one, line.text);
      continue;
    }
    if (language.empty() || line.code != language) continue;
    view.lines.push_back(&line);
    if (!line.is_plural())
      take_first(view.general, line.text);
    else if (line.is_one_form())
      take_first(view.one, line.text);
    else
      view.other_plurals.push_back(&line);
  }
  return view;
}

bool FirstMessages::is_first(const LanguageView& view) {
  std::string_view key_text = view.message->key_text;
  std::string_view msgid = view.is_plural() ? view.key_one.text : key_text;
  if (key_texts_.contains(key_text) || msgids_.contains(msgid)) return false;
  key_texts_.insert(key_text);
  msgids_.insert(msgid);
  return true;
}

std::string_view comment_text(std::string_view comment) {
  comment.remove_prefix(comment.starts_with("//") ? 2 : 1);
  if (!comment.empty() && catalog::is_blank(comment.front())) comment.remove_prefix(1);
  return comment;
}

}  // namespace catexport
