#pragma once
// The merge on bytes in memory: a main catalog is read into messages, sub-catalogs add or
// replace translation lines, and the catalog is written out again. No file is touched here.
//
// Use: read_main once; if it succeeds, include_sub for each sub-catalog in order; then
// write. Warnings go to the sink as they are met; the run goes on after them.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "catalog/catalog_format.h"
#include "catalog/catalog_reader.h"
#include "catweld/message_store.h"
#include "catweld/reports.h"

namespace catweld {

using ReportSink = std::function<void(const Report&)>;

class Merge {
 public:
  explicit Merge(ReportSink sink) : sink_(std::move(sink)) {}

  // Reads the main catalog, keeping its bytes. False after a fatal error, which it has
  // reported: bytes that are no catalog (see catalog_checks.h), a sub-catalog hash line, no key
  // line among lines that are not all blank, or a language line before the first key line.
  bool read_main(std::string_view name, std::string bytes);
  // Includes one sub-catalog, keeping its bytes.
  void include_sub(std::string_view name, std::string bytes);

  // Calls `write(bytes)` with the whole rewritten catalog, piece by piece.
  template <typename Write>
  void write(Write&& write) const {
    store_.write_all(write);
  }

  bool main_is_utf8() const { return utf8_; }

 private:
  // Where a file is being read: its name and the number of the line in hand.
  struct Position {
    std::string_view file;
    int line = 0;
  };

  std::string_view keep_bytes(std::string bytes);
  void warn(ReportKind kind, const Position& at) const { sink_({kind, at.file, at.line}); }

  // The lines of the main catalog `text`; false after a fatal error.
  bool read_main_lines(std::string_view name, std::string_view text);
  // One line of the main catalog; false after a fatal error.
  bool read_main_line(const catalog::CatalogLine& line, const Position& at);
  void set_key_language(std::string_view code);
  bool is_key_line(const catalog::LanguageLine& line) const;
  uint32_t key_of(std::string_view key_text) const;

  // Sub-catalog, for one line's content: `current` is the message selected.
  std::string_view convert_line(std::string_view content, const Position& at);
  void read_sub_line(std::string_view content, uint32_t& current, const Position& at);
  uint32_t select(uint32_t key, const Position& at) const;
  uint32_t select_by_hash(uint32_t key, const Position& at) const;
  uint32_t select_by_text(uint32_t key, std::string_view text, const Position& at) const;
  template <typename Same>
  uint32_t find_same_key_text(uint32_t first, Same&& same) const;
  bool in_translation_language(std::string_view code, const Position& at);
  std::string_view stored_translation(std::string_view content);

  ReportSink sink_;
  MessageStore store_;
  std::deque<std::string> inputs_;    // the bytes every line view points into
  std::string key_language_;          // empty until the first language line sets it
  bool numeric_keys_ = false;         // the key language is "00"
  std::string translation_language_;  // empty until the first translation line sets it
  bool utf8_ = true;                  // the main catalog has only valid UTF-8 lines
  std::string work_;                  // the converted form of the sub-catalog line in hand
};

}  // namespace catweld
