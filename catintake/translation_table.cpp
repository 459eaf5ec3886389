#include "catintake/translation_table.h"

namespace catintake {

uint32_t TranslationTable::add_message() {
  messages_.emplace_back();
  return static_cast<uint32_t>(messages_.size() - 1);
}

uint32_t TranslationTable::add_text(uint32_t message, const MessageText& text) {
  texts_.push_back(text);
  auto id = static_cast<uint32_t>(texts_.size() - 1);
  texts_[id].next = kNoId;
  texts_[id].message = message;
  ImportedMessage& owner = messages_[message];
  if (owner.last == kNoId)
    owner.first = id;
  else
    texts_[owner.last].next = id;
  owner.last = id;
  count(message, texts_[id], 1);
  return id;
}

void TranslationTable::set_text(uint32_t text, std::string_view bytes) {
  MessageText& entry = texts_[text];
  entry.text = store_.store(bytes);
  entry.has_text = true;
  if (indexed_) index_key_text(text);
}

void TranslationTable::index_key_text(uint32_t text) {
  const MessageText& entry = texts_[text];
  if (!entry.key || !entry.has_text) return;
  uint32_t hash = catalog::index_hash(entry.text);
  uint32_t held = key_index_.insert_first(hash, text, same_text_as(entry.text));
  if (texts_[held].message > entry.message)
    key_index_.replace(hash, text, same_text_as(entry.text));
}

void TranslationTable::set_plural_index(uint32_t message, uint32_t text, int32_t plural_index) {
  count(message, texts_[text], -1);
  texts_[text].plural_index = plural_index;
  count(message, texts_[text], 1);
}

uint32_t TranslationTable::find_by_key_text(std::string_view bytes) {
  if (!indexed_) {
    for (uint32_t text = 0; text < texts_.size(); ++text) index_key_text(text);
    indexed_ = true;
  }
  uint32_t found = key_index_.find(catalog::index_hash(bytes), same_text_as(bytes));
  return found == catalog::FirstMatchIndex::kNone ? kNoId : texts_[found].message;
}

void TranslationTable::count(uint32_t message, const MessageText& text, int step) {
  ImportedMessage& owner = messages_[message];
  bool general = text.plural_index == kNoPluralIndex;
  if (text.key) {
    owner.key_texts += step;
    if (general) owner.general_key_texts += step;
  } else {
    owner.translations += step;
    if (general) owner.general_translations += step;
  }
}

}  // namespace catintake
