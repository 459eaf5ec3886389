#pragma once
// An open-addressing hash index of 32-bit ids that answers "the first id entered with this
// key", so that a lookup gives the answer of a search from the head of a list in entry order.
//
// The caller keeps the keys: it gives a key's 32-bit hash and a predicate that tells whether an
// id's key is the one asked for. An id entered under a key that is present is not entered, so
// the earliest entry keeps answering for its key. Each slot costs eight bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace catalog {

class FirstMatchIndex {
 public:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;

  // The id whose key is `same`, or kNone.
  template <typename Same>
  uint32_t find(uint32_t hash, Same&& same) const {
    if (slots_.empty()) return kNone;
    return slots_[find_slot(hash, same)].id;
  }

  // Enters `id` unless an id with the same key is there; returns the id that answers now.
  template <typename Same>
  uint32_t insert_first(uint32_t hash, uint32_t id, Same&& same) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    Slot& slot = slots_[find_slot(hash, same)];
    if (slot.id != kNone) return slot.id;
    slot = {hash, id};
    ++used_;
    return id;
  }

  // Makes `id` answer for the key that `same` accepts, in place of the id entered for it.
  template <typename Same>
  void replace(uint32_t hash, uint32_t id, Same&& same) {
    Slot& slot = slots_[find_slot(hash, same)];
    if (slot.id != kNone) slot.id = id;
  }

  size_t size() const { return used_; }
  // Makes room for `count` ids, so that entering them never grows the table.
  void reserve(size_t count) {
    while (slots_.size() < count * 2 || slots_.empty()) grow();
  }
  void clear() {
    slots_ = {};
    used_ = 0;
  }

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
  // The slot holding the key, or the empty slot where it would go.
  template <typename Same>
  size_t find_slot(uint32_t hash, Same& same) const {
    size_t at = home(hash);
    while (slots_[at].id != kNone && !(slots_[at].hash == hash && same(slots_[at].id)))
      at = (at + 1) & mask();
    return at;
  }
  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.id == kNone) continue;
      size_t at = home(slot.hash);
      while (slots_[at].id != kNone) at = (at + 1) & mask();
      slots_[at] = slot;
    }
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

// A hash of bytes for the index, eight bytes a step; not a message key, and never stored (its
// values depend on the machine's byte order).
inline uint32_t index_hash(std::string_view bytes) {
  constexpr uint64_t kMultiplier = 0xFF51AFD7ED558CCDu;
  uint64_t hash = 0x9E3779B97F4A7C15u ^ bytes.size();
  auto mix = [&](uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 32;
  };
  size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    mix(word);
  }
  if (at < bytes.size()) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, bytes.size() - at);
    mix(word);
  }
  return static_cast<uint32_t>(hash ^ (hash >> 29));
}

}  // namespace catalog
