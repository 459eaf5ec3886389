#pragma once
// An open-addressing hash index of 32-bit ids that answers "the first id entered with this
// key". The caller keeps the keys: it gives the 32-bit hash of a key and a predicate that
// tells whether an id's key is the one asked for. An id entered under a key that is already
// present is not entered, so the earliest entry keeps answering for its key, exactly like a
// search from the head of a list in entry order.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace catweld {

class IdIndex {
 public:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;

  // The id whose key is `same`, or kNone.
  template <typename Same>
  uint32_t find(uint32_t hash, Same&& same) const {
    if (slots_.empty()) return kNone;
    for (size_t at = home(hash);; at = (at + 1) & mask()) {
      const Slot& slot = slots_[at];
      if (slot.id == kNone) return kNone;
      if (slot.hash == hash && same(slot.id)) return slot.id;
    }
  }

  // Enters `id` unless an id with the same key is there; returns the id that answers now.
  template <typename Same>
  uint32_t insert_first(uint32_t hash, uint32_t id, Same&& same) {
    uint32_t found = find(hash, same);
    if (found != kNone) return found;
    if ((used_ + 1) * 2 > slots_.size()) grow();
    place({hash, id});
    ++used_;
    return id;
  }

  size_t size() const { return used_; }

 private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t id = kNone;
  };

  size_t mask() const { return slots_.size() - 1; }
  size_t home(uint32_t hash) const {
    // Fibonacci hashing spreads keys that differ only in their high or low bits.
    return static_cast<size_t>((hash * uint64_t{0x9E3779B97F4A7C15u}) >> 32) & mask();
  }
  void place(Slot entry) {
    size_t at = home(entry.hash);
    while (slots_[at].id != kNone) at = (at + 1) & mask();
    slots_[at] = entry;
  }
  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.id != kNone) place(slot);
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace catweld
