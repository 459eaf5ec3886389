#pragma once
// The macro table: entries in the order they were added, found by name with the earliest entry
// winning, and the parser of a definition's head (name and parameter list).
//
// A stored value is a byte string in which 0x01 is a line break and, in a macro with
// parameters, 0x02 + k refers to parameter k.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catprep/diagnostics.h"

namespace catprep {

inline constexpr size_t kNoMatch = 0x6FFF;  // beyond every line index and table index
inline constexpr size_t kMaxMacros = 1000;
inline constexpr int kMaxParams = 10;
inline constexpr char kLineBreak = '\x01';
inline constexpr unsigned char kFirstParamRef = 0x02;

// The index just past `word` when it stands in `text` at `at` followed by a delimiter.
size_t match_word(const char* text, size_t at, std::string_view word);

struct Macro {
  std::string name;
  std::string value;
  int nparams = 0;
};

class MacroTable {
 public:
  size_t macro_count() const { return entries_.size(); }
  bool full() const { return entries_.size() >= kMaxMacros; }
  const Macro& operator[](size_t index) const { return entries_[index]; }
  // The first entry named `name`, or kNoMatch.
  size_t find_macro(std::string_view name) const {
    return may_be_indexed(name) ? find_indexed(name) : kNoMatch;
  }
  // Appends an entry; the caller has checked that the table is not full.
  void append(std::string name, std::string value, int nparams);
  // Appends a macro without parameters, reporting a full table (also when this entry fills it).
  void add_macro(std::string_view name, std::string_view value, Diagnostics& diagnostics);
  // Removes an entry; the later ones keep their order.
  void remove(size_t index);

 private:
  // The index: open addressing with linear probing over a power-of-two number of slots, at
  // most half of them used, one slot for each distinct name holding its first entry.
  struct Slot {
    uint32_t hash = 0;
    uint32_t entry = kEmpty;
  };
  static constexpr uint32_t kEmpty = UINT32_MAX;
  static uint32_t hash_of(std::string_view name);
  // Bit min(length, 31) of shapes_[first byte]: whether an indexed name of that first byte and
  // length may exist. Most words of a text are no macro, and this tells so without a hash.
  static uint32_t shape_bit(std::string_view name) {
    return 1u << std::min<size_t>(name.size(), 31);
  }
  bool may_be_indexed(std::string_view name) const {
    return name.empty() || (shapes_[static_cast<unsigned char>(name[0])] & shape_bit(name)) != 0;
  }
  size_t find_indexed(std::string_view name) const;
  // The slot of `name`, or the empty slot where it would go.
  size_t slot_of(std::string_view name, uint32_t hash) const;
  void index_entry(size_t entry);
  void rebuild_index(size_t slot_count);

  std::vector<Macro> entries_;
  std::vector<Slot> slots_;
  size_t indexed_ = 0;  // used slots
  std::array<uint32_t, 256> shapes_{};
};

// A parsed definition head. The names point into the definition's text, where the parser has
// ended each with a NUL.
struct MacroHead {
  std::string_view name;
  int last = -1;  // index of the last parameter, -1 without a parameter list
  const char* param_names[kMaxParams] = {};
};

// Parses the head that starts at `at` in `text` (modified in place) and leaves `at` on the
// first byte of the value. False, with a report, when the definition is refused: a malformed
// head, a full table, or a name that is defined already.
bool parse_macro_head(char* text, size_t& at, const MacroTable& table, Diagnostics& diagnostics,
                      MacroHead& head);

}  // namespace catprep
