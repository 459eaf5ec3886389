#include "catprep/macros.h"

#include <algorithm>
#include <cstring>

#include "catprep/source_reader.h"

namespace catprep {

size_t match_word(const char* text, size_t at, std::string_view word) {
  for (size_t k = 0; k < word.size(); ++k)
    if (text[at + k] != word[k]) return kNoMatch;
  size_t end = at + word.size();
  return is_delimiter(static_cast<unsigned char>(text[end])) ? end : kNoMatch;
}

// Every byte takes part through a step short enough for the few bytes of a name (a multiply
// by 31 is a shift and a subtraction); a final mix spreads the result over all bits.
uint32_t MacroTable::hash_of(std::string_view name) {
  uint64_t hash = name.size();
  for (unsigned char c : name) hash = hash * 31 + c;
  hash ^= hash >> 29;
  hash *= 0xBF58476D1CE4E5B9u;
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

size_t MacroTable::slot_of(std::string_view name, uint32_t hash) const {
  size_t mask = slots_.size() - 1;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.entry == kEmpty || (slot.hash == hash && entries_[slot.entry].name == name)) return at;
  }
}

size_t MacroTable::find_indexed(std::string_view name) const {
  if (slots_.empty()) return kNoMatch;
  const Slot& slot = slots_[slot_of(name, hash_of(name))];
  return slot.entry == kEmpty ? kNoMatch : slot.entry;
}

// Indexes entry `entry` unless an earlier entry has its name; the index has a free slot.
void MacroTable::index_entry(size_t entry) {
  uint32_t hash = hash_of(entries_[entry].name);
  Slot& slot = slots_[slot_of(entries_[entry].name, hash)];
  if (slot.entry != kEmpty) return;
  slot = Slot{hash, static_cast<uint32_t>(entry)};
  ++indexed_;
  std::string_view name = entries_[entry].name;
  if (!name.empty()) shapes_[static_cast<unsigned char>(name[0])] |= shape_bit(name);
}

void MacroTable::rebuild_index(size_t slot_count) {
  slots_.assign(slot_count, Slot{});
  indexed_ = 0;
  shapes_.fill(0);
  for (size_t k = 0; k < entries_.size(); ++k) index_entry(k);
}

// The index grows before the entry is added, so that a failed allocation leaves both as they
// were.
void MacroTable::append(std::string name, std::string value, int nparams) {
  if (2 * (indexed_ + 1) > slots_.size()) rebuild_index(std::max<size_t>(64, 2 * slots_.size()));
  entries_.push_back(Macro{std::move(name), std::move(value), nparams});
  index_entry(entries_.size() - 1);
}

void MacroTable::add_macro(std::string_view name, std::string_view value,
                           Diagnostics& diagnostics) {
  if (full()) {
    diagnostics.report_error(ReportKind::too_many_defines);
    return;
  }
  append(std::string(name), std::string(value), 0);
  if (full()) diagnostics.report_error(ReportKind::too_many_defines);
}

void MacroTable::remove(size_t index) {
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  rebuild_index(slots_.size());
}

namespace {

// The parameter list from the '(' at `at` on; returns false when the head is refused.
bool parse_parameters(char* text, size_t& at, Diagnostics& diagnostics, MacroHead& head) {
  text[at] = ',';
  for (;;) {
    size_t q = skip_white(text, at);
    char closing = text[q];
    if (closing != ',') {
      if (closing != ')') diagnostics.report_error(ReportKind::expected_parenthesis);
      text[at] = '\0';
      at = closing == '\0' ? q : skip_white(text, q + 1);
      return true;
    }
    text[at] = '\0';
    at = skip_white(text, q + 1);
    if (text[at] == '\0') {
      diagnostics.report_error(ReportKind::syntax);
      return false;
    }
    if (head.last == kMaxParams - 1) {
      diagnostics.report_error(ReportKind::too_many_parameter);
      return false;
    }
    head.param_names[++head.last] = text + at;
    at = skip_identifier(text, at);
  }
}

// A name without a parameter list ends at the end of the text, or at a blank before the value.
bool end_plain_name(char* text, size_t& at, Diagnostics& diagnostics) {
  if (text[at] == '\0') return true;
  if (!is_space_or_tab(text[at])) {
    diagnostics.report_error(ReportKind::expected_white_space);
    return false;
  }
  text[at] = '\0';
  at = skip_white(text, at + 1);
  return true;
}

// A well-formed head is still refused when the table is full or holds the name already.
bool may_enter(const MacroTable& table, std::string_view name, Diagnostics& diagnostics) {
  if (table.full()) {
    diagnostics.report_error(ReportKind::too_many_defines);
    return false;
  }
  if (table.find_macro(name) != kNoMatch) {
    diagnostics.report_error(ReportKind::redefined_macro);
    return false;
  }
  return true;
}

}  // namespace

bool parse_macro_head(char* text, size_t& at, const MacroTable& table, Diagnostics& diagnostics,
                      MacroHead& head) {
  head = MacroHead{};
  size_t start = at;
  at = skip_identifier(text, at);
  size_t name_end = at;
  bool formed = text[at] == '(' ? parse_parameters(text, at, diagnostics, head)
                                : end_plain_name(text, at, diagnostics);
  if (!formed) return false;
  head.name = std::string_view(text + start, name_end - start);
  return may_enter(table, head.name, diagnostics);
}

}  // namespace catprep
