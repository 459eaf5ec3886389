#pragma once
// The messages of a main catalog with their lines, as they will be written back.
//
// Lines are views: into the main catalog's bytes, into a sub-catalog's bytes, or into texts
// the store keeps (converted or escaped lines). Whoever owns the catalogs' bytes keeps them
// alive as long as the store. Lookups give the answers of a search from the head:
//  - message key -> the messages with that key in catalog order, through a hash index to the
//    first and a chain from each to the next (32-bit keys of different texts can collide);
//  - (message, line code ignoring ASCII case, plural part) -> the first such line after the
//    message's key line, where the code is taken as the format reads it (the whole "pt-BR", never
//    its "pt") and the plural part is what stands between the code and the ':' (blanks around it
//    left out): "[1]" or nothing. A message of a few lines is searched;
//    the lines of a longer one go into a hash index when it is first searched, so that no
//    message costs more than a constant per line.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_reader.h"
#include "catalog/first_match_index.h"

namespace catweld {

// How catweld takes the code of a line, of the main catalog and of sub-catalogs alike.

class MessageStore {
 public:
  static constexpr uint32_t kNone = catalog::FirstMatchIndex::kNone;

  void reserve_lines(size_t count) { lines_.reserve(count); }

  // Opens a message with its key line.
  void add_message(uint32_t key, std::string_view key_line);
  // Adds a line to the message opened last (there must be one).
  void add_line(std::string_view text);
  // The line added last stands without a line end at the end of its file.
  void mark_last_line_unended() { unended_line_ = static_cast<uint32_t>(lines_.size() - 1); }

  // The first message with the key, named by its key line, or kNone.
  uint32_t find_message(uint32_t key) const;
  // The next message with the same key as `message` (a name find_message gave), or kNone.
  uint32_t next_with_same_key(uint32_t message) const;
  // The key line of `message`.
  std::string_view key_line(uint32_t message) const { return lines_[message].text; }
  // Replaces the line of the same code and plural part by `text`, or appends it, in the
  // message that find_message named.
  void put_translation(uint32_t message, std::string_view text);
  // Keeps `text` for as long as the store lives.
  std::string_view keep(std::string text);

  size_t message_count() const { return messages_.size(); }

  // Calls `write(bytes)` with the whole catalog: each message's lines, each with its line
  // end, and one empty line after each message.
  template <typename Write>
  void write_all(Write&& write) const {
    for (const Message& message : messages_) {
      for (uint32_t at = message.first; at != kNone; at = lines_[at].next) {
        write(lines_[at].text);
        if (at != unended_line_) write(std::string_view("\n"));
      }
      write(std::string_view("\n"));
    }
  }

 private:
  // What identifies the slot a line fills, held in the line so that most comparisons need
  // not read its text: the code folded to lower case (unused bytes 0), and a byte of the plural
  // part's hash, which only filters: equal plural parts are compared as texts. Eight bytes, so
  // that a Line takes 32.
  struct SlotKey {
    char code[5] = {};
    uint8_t code_size = 0;
    bool has_plural = false;
    uint8_t plural_hash = 0;
    bool operator==(const SlotKey&) const = default;
  };
  struct Line {
    std::string_view text;
    uint32_t message;
    uint32_t next;
    SlotKey slot;
  };
  static_assert(sizeof(SlotKey) == 8);
  struct Message {
    uint32_t first;
    uint32_t last;
    uint32_t next_same_key = kNone;  // the key line of the next message with its key
    uint32_t same_key_tail = kNone;  // in the first message of a key: the chain's last
    bool indexed = false;            // its lines are in slots_
  };
  // A translation line looking for its slot in a message.
  struct Probe {
    uint32_t message;
    std::string_view text;
    SlotKey slot;
  };
  // A message is searched line by line up to this many lines; past them, its lines are
  // indexed.
  static constexpr uint32_t kSearchedLines = 16;
  static constexpr uint32_t kTooLong = kNone - 1;

  uint32_t append_line(uint32_t message, std::string_view text);
  void chain_same_key(uint32_t first, uint32_t line);
  uint32_t search_slot(uint32_t key_line, const Probe& probe, uint32_t& tail) const;
  uint32_t indexed_slot(const Probe& probe, uint32_t& tail);
  void append_translation(const Probe& probe, uint32_t tail);
  void index_lines(uint32_t message);
  void enter_slot(uint32_t line);
  bool fills_slot(uint32_t line, const Probe& probe) const;
  static uint32_t index_hash(const Probe& probe);
  static SlotKey slot_key_of(std::string_view text);

  std::vector<Message> messages_;
  std::vector<Line> lines_;
  std::deque<std::string> kept_;
  catalog::FirstMatchIndex keys_;
  catalog::FirstMatchIndex slots_;
  uint32_t unended_line_ = kNone;
};

}  // namespace catweld
