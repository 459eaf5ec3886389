#include "catweld/message_store.h"

#include "catalog/catalog_format.h"
#include "catalog/text_routines.h"

namespace catweld {
namespace {

std::string_view trim_trailing_blanks(std::string_view text) {
  while (!text.empty() && catalog::is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// What stands between a line's code and its ':', blanks around it left out.
std::string_view plural_part(const catalog::LanguageLine& line) {
  if (line.has_colon()) return {};
  return trim_trailing_blanks(line.after_code.substr(0, line.after_code.find(':')));
}

catalog::LanguageLine head_of(std::string_view text) {
  return catalog::read_language_line(text);
}

std::string_view plural_of(std::string_view text) {
  return plural_part(head_of(text));
}

}  // namespace

void MessageStore::add_message(uint32_t key, std::string_view key_line) {
  auto id = static_cast<uint32_t>(messages_.size());
  messages_.push_back({kNone, kNone});
  uint32_t line = append_line(id, key_line);
  // A message key is its own hash: an equal hash is an equal key.
  uint32_t first = keys_.insert_first(key, line, [](uint32_t) { return true; });
  if (first != line) chain_same_key(first, line);
}

// The first message of a key keeps the chain's tail: a key line repeated many times must not
// cost a walk each.
void MessageStore::chain_same_key(uint32_t first, uint32_t line) {
  Message& head = messages_[lines_[first].message];
  uint32_t tail = head.same_key_tail == kNone ? first : head.same_key_tail;
  messages_[lines_[tail].message].next_same_key = line;
  head.same_key_tail = line;
}

void MessageStore::add_line(std::string_view text) {
  append_line(static_cast<uint32_t>(messages_.size() - 1), text);
}

uint32_t MessageStore::find_message(uint32_t key) const {
  return keys_.find(key, [](uint32_t) { return true; });
}

uint32_t MessageStore::next_with_same_key(uint32_t message) const {
  return messages_[lines_[message].message].next_same_key;
}

// A message's lines mostly stand together after its key line, so a short search touches
// little memory; the message's own record is read only for long messages.
void MessageStore::put_translation(uint32_t message, std::string_view text) {
  Probe probe{lines_[message].message, text, slot_key_of(text)};
  uint32_t tail = message;
  uint32_t line = search_slot(message, probe, tail);
  if (line == kTooLong) line = indexed_slot(probe, tail);
  if (line == kNone) return append_translation(probe, tail);
  lines_[line].text = text;
  if (line == unended_line_) unended_line_ = kNone;
}

std::string_view MessageStore::keep(std::string text) {
  kept_.push_back(std::move(text));
  return kept_.back();
}

uint32_t MessageStore::append_line(uint32_t message, std::string_view text) {
  auto id = static_cast<uint32_t>(lines_.size());
  lines_.push_back({text, message, kNone, slot_key_of(text)});
  Message& owner = messages_[message];
  if (owner.last == kNone)
    owner.first = id;
  else
    lines_[owner.last].next = id;
  owner.last = id;
  return id;
}

// Searches the lines after the key line; `tail` becomes the last line passed. kTooLong
// when the message has more lines than are searched.
uint32_t MessageStore::search_slot(uint32_t key_line, const Probe& probe, uint32_t& tail) const {
  uint32_t searched = 0;
  for (uint32_t at = lines_[key_line].next; at != kNone; at = lines_[at].next) {
    if (++searched > kSearchedLines) return kTooLong;
    if (fills_slot(at, probe)) return at;
    tail = at;
  }
  return kNone;
}

uint32_t MessageStore::indexed_slot(const Probe& probe, uint32_t& tail) {
  if (!messages_[probe.message].indexed) index_lines(probe.message);
  tail = messages_[probe.message].last;
  return slots_.find(index_hash(probe), [&](uint32_t id) { return fills_slot(id, probe); });
}

void MessageStore::append_translation(const Probe& probe, uint32_t tail) {
  auto id = static_cast<uint32_t>(lines_.size());
  lines_.push_back({probe.text, probe.message, kNone, probe.slot});
  lines_[tail].next = id;
  if (tail == unended_line_) unended_line_ = kNone;  // a line follows: it needs its end
  Message& owner = messages_[probe.message];
  owner.last = id;
  if (owner.indexed) enter_slot(id);
}

void MessageStore::index_lines(uint32_t message) {
  messages_[message].indexed = true;
  for (uint32_t at = lines_[messages_[message].first].next; at != kNone; at = lines_[at].next)
    enter_slot(at);
}

void MessageStore::enter_slot(uint32_t line) {
  const Line& entry = lines_[line];
  Probe probe{entry.message, entry.text, entry.slot};
  slots_.insert_first(index_hash(probe), line, [&](uint32_t id) { return fills_slot(id, probe); });
}

MessageStore::SlotKey MessageStore::slot_key_of(std::string_view text) {
  catalog::LanguageLine line = head_of(text);
  SlotKey key;
  key.code_size = static_cast<uint8_t>(line.code.size());
  for (uint8_t i = 0; i < key.code_size; ++i) key.code[i] = catalog::ascii_lower(line.code[i]);
  std::string_view plural = plural_part(line);
  key.has_plural = !plural.empty();
  key.plural_hash = static_cast<uint8_t>(catalog::index_hash(plural));
  return key;
}

// A line fills the probe's slot when it belongs to the message and has the same code,
// ignoring case, and the same plural part: the key decides unless there is a plural part.
bool MessageStore::fills_slot(uint32_t line, const Probe& probe) const {
  const Line& entry = lines_[line];
  if (entry.message != probe.message || !(entry.slot == probe.slot)) return false;
  return !probe.slot.has_plural || plural_of(entry.text) == plural_of(probe.text);
}

uint32_t MessageStore::index_hash(const Probe& probe) {
  const SlotKey& slot = probe.slot;
  uint32_t hash = slot.plural_hash;
  for (char byte : slot.code) hash = hash * 31 + static_cast<unsigned char>(byte);
  return hash + probe.message * 0x9E3779B1u;
}

}  // namespace catweld
