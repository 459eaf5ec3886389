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

void view_of(const catalog::CatalogMessages& catalog, const catalog::Message& message,
             std::string_view language, LanguageView& view) {
  view.message = &message;
  view.key_one = view.general = view.one = Text();
  view.other_plurals.clear();
  view.lines.clear();
  for (const catalog::MessageLine& line : catalog.lines(message)) {
    std::string_view code = line.code();
    if (code == catalog.key_language()) {
      if (line.is_one_form()) take_first(view.key_one, line.text());
      continue;
    }
    if (language.empty() || code != language) continue;
    view.lines.push_back(&line);
    if (!line.is_plural())
      take_first(view.general, line.text());
    else if (line.is_one_form())
      take_first(view.one, line.text());
    else
      view.other_plurals.push_back(&line);
  }
}

LanguageView view_of(const catalog::CatalogMessages& catalog, const catalog::Message& message,
                     std::string_view language) {
  LanguageView view;
  view_of(catalog, message, language, view);
  return view;
}

// A message's msgid is its key text unless it is a plural message, so only the msgids of plural
// messages need an index of their own.
bool FirstMessages::is_first(const LanguageView& view) {
  std::string_view key_text = view.message->key_text;
  std::string_view msgid = view.is_plural() ? view.key_one.text : key_text;
  auto id = static_cast<uint32_t>(taken_.size());
  auto same_key = [&](std::string_view text) {
    return [this, text](uint32_t other) { return taken_[other].first == text; };
  };
  auto same_msgid = [&](std::string_view text) {
    return [this, text](uint32_t other) { return taken_[other].second == text; };
  };
  uint32_t msgid_hash = catalog::index_hash(msgid);
  if (plural_msgids_.find(msgid_hash, same_msgid(msgid)) != catalog::FirstMatchIndex::kNone)
    return false;
  if (view.is_plural() &&
      key_texts_.find(msgid_hash, same_key(msgid)) != catalog::FirstMatchIndex::kNone)
    return false;
  taken_.emplace_back(key_text, msgid);
  uint32_t key_hash = view.is_plural() ? catalog::index_hash(key_text) : msgid_hash;
  if (key_texts_.insert_first(key_hash, id, same_key(key_text)) != id) {
    taken_.pop_back();
    return false;
  }
  if (view.is_plural()) plural_msgids_.insert_first(msgid_hash, id, same_msgid(msgid));
  return true;
}

std::string_view comment_text(std::string_view comment) {
  comment.remove_prefix(comment.starts_with("//") ? 2 : 1);
  if (!comment.empty() && catalog::is_blank(comment.front())) comment.remove_prefix(1);
  return comment;
}

}  // namespace catexport
