#include "catweld/message_store.h"

#include "catalog/text_routines.h"

namespace catweld {
namespace {

char ascii_lower(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte;
}

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

std::string_view trim_trailing_blanks(std::string_view text) {
  while (!text.empty() && catalog::is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// What a line is matched by when a translation replaces it.
struct LineSlot {
  std::string_view code;    // compared without regard to ASCII case
  std::string_view plural;  // compared exactly
};

LineSlot slot_of(std::string_view text) {
  LineSlot slot{text.substr(0, 2), {}};
  std::string_view rest = catalog::skip_blanks(text.substr(slot.code.size()));
  slot.plural = trim_trailing_blanks(rest.substr(0, rest.find(':')));
  return slot;
}

// FNV-1a, over the bytes the slot comparison looks at.
class SlotHasher {
 public:
  void add(char byte) { hash_ = (hash_ ^ static_cast<unsigned char>(byte)) * 16777619u; }
  void add(uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) add(static_cast<char>(word >> shift));
  }
  uint32_t value() const { return hash_; }

 private:
  uint32_t hash_ = 2166136261u;
};

}  // namespace

void MessageStore::add_message(uint32_t key, std::string_view key_line) {
  auto id = static_cast<uint32_t>(messages_.size());
  messages_.push_back({key, kNone, kNone});
  append_line(id, key_line);
  keys_.insert_first(key, id, [&](uint32_t other) { return messages_[other].key == key; });
}

void MessageStore::add_line(std::string_view text) {
  auto message = static_cast<uint32_t>(messages_.size() - 1);
  enter_slot(append_line(message, text));
}

uint32_t MessageStore::find_message(uint32_t key) const {
  return keys_.find(key, [&](uint32_t id) { return messages_[id].key == key; });
}

void MessageStore::put_translation(uint32_t message, std::string_view text) {
  uint32_t line = slots_.find(slot_hash(message, text),
                              [&](uint32_t id) { return same_slot(id, message, text); });
  if (line == kNone) {
    enter_slot(append_line(message, text));
    return;
  }
  lines_[line].text = text;
  if (line == unended_line_) unended_line_ = kNone;
}

std::string_view MessageStore::keep(std::string text) {
  kept_.push_back(std::move(text));
  return kept_.back();
}

uint32_t MessageStore::append_line(uint32_t message, std::string_view text) {
  auto id = static_cast<uint32_t>(lines_.size());
  lines_.push_back({text, message});
  Message& owner = messages_[message];
  if (owner.last == unended_line_) unended_line_ = kNone;  // a line follows: it needs its end
  if (owner.last == kNone)
    owner.first = id;
  else
    lines_[owner.last].next = id;
  owner.last = id;
  return id;
}

uint32_t MessageStore::slot_hash(uint32_t message, std::string_view text) const {
  LineSlot slot = slot_of(text);
  SlotHasher hasher;
  hasher.add(message);
  for (char byte : slot.code) hasher.add(ascii_lower(byte));
  hasher.add(':');
  for (char byte : slot.plural) hasher.add(byte);
  return hasher.value();
}

bool MessageStore::same_slot(uint32_t line, uint32_t message, std::string_view text) const {
  if (lines_[line].message != message) return false;
  LineSlot ours = slot_of(lines_[line].text), theirs = slot_of(text);
  return equal_ignoring_ascii_case(ours.code, theirs.code) && ours.plural == theirs.plural;
}

uint32_t MessageStore::enter_slot(uint32_t line) {
  const Line& entry = lines_[line];
  return slots_.insert_first(slot_hash(entry.message, entry.text), line,
                             [&](uint32_t id) { return same_slot(id, entry.message, entry.text); });
}

}  // namespace catweld
