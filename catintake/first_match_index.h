#pragma once
// A hash index over texts held elsewhere, giving for a text the id that a scan in insertion
// order would find first. It stores only 32-bit ids (open addressing), and asks `text_of(id)`
// for an entry's text, so large tables cost a few bytes per entry.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace catintake {

class FirstMatchIndex {
 public:
  static constexpr uint32_t none = UINT32_MAX;

  // Adds `id` with its text unless an id with an equal text is there already; returns the id
  // the index holds for that text afterwards.
  template <typename TextOf>
  uint32_t insert(uint32_t id, const TextOf& text_of) {
    if ((count_ + 1) * 2 > slots_.size()) grow(text_of);
    std::string_view text = text_of(id);
    size_t slot = find_slot(text, text_of);
    if (slots_[slot] != none) return slots_[slot];
    slots_[slot] = id;
    ++count_;
    return id;
  }

  // Puts `id` in the place of the id held for its text (which must be there).
  template <typename TextOf>
  void replace(uint32_t id, const TextOf& text_of) {
    slots_[find_slot(text_of(id), text_of)] = id;
  }

  template <typename TextOf>
  uint32_t find(std::string_view text, const TextOf& text_of) const {
    return slots_.empty() ? none : slots_[find_slot(text, text_of)];
  }

  void clear() {
    slots_ = {};
    count_ = 0;
  }

 private:
  template <typename TextOf>
  size_t find_slot(std::string_view text, const TextOf& text_of) const {
    size_t mask = slots_.size() - 1;
    size_t slot = std::hash<std::string_view>{}(text)&mask;
    while (slots_[slot] != none && text_of(slots_[slot]) != text) slot = (slot + 1) & mask;
    return slot;
  }

  template <typename TextOf>
  void grow(const TextOf& text_of) {
    std::vector<uint32_t> old(slots_.empty() ? 16 : slots_.size() * 2, none);
    old.swap(slots_);
    for (uint32_t id : old)
      if (id != none) slots_[find_slot(text_of(id), text_of)] = id;
  }

  std::vector<uint32_t> slots_;
  size_t count_ = 0;
};

}  // namespace catintake
