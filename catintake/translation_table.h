#pragma once
// The in-memory table of imported messages that the readers fill and the catalog update
// places into the catalog.

#include <cstdint>
#include <deque>
#include <string_view>

#include "catalog/first_match_index.h"
#include "catalog/language_code.h"
#include "catintake/charset.h"
#include "catintake/reports.h"
#include "catintake/text_store.h"

namespace catintake {

using catalog::code_from_locale;
using catalog::copy_language_code;
using catalog::is_usable_code;
using catalog::is_valid_code;
using catalog::language_prefix;
using catalog::LanguageCode;
using catalog::same_language;

inline constexpr int32_t kNoPluralIndex = -32768;  // the general form
inline constexpr uint32_t kNoId = UINT32_MAX;

// One text of a message in one language.
struct MessageText {
  LanguageCode language;
  int32_t plural_index = kNoPluralIndex;
  bool key = false;       // given in the key language (PO msgid, XLIFF source)
  bool has_text = false;  // false while the reader is still collecting it
  std::string_view text;  // with the catalog's escapes, owned by the table
  uint32_t next = kNoId;  // next text of the same message
  uint32_t message = kNoId;

  static MessageText make(LanguageCode language, bool key, int32_t plural_index) {
    MessageText text;
    text.language = language;
    text.key = key;
    text.plural_index = plural_index;
    return text;
  }
};

// A message: its texts in the order the readers gave them.
struct ImportedMessage {
  uint32_t first = kNoId;
  uint32_t last = kNoId;
  uint32_t key_texts = 0;
  uint32_t translations = 0;
  uint32_t general_key_texts = 0;
  uint32_t general_translations = 0;
};

class TranslationTable {
 public:
  size_t message_count() const { return messages_.size(); }
  const ImportedMessage& message(uint32_t id) const { return messages_[id]; }
  const MessageText& text(uint32_t id) const { return texts_[id]; }

  // Appends an empty message and returns its id.
  uint32_t add_message();
  // Appends `text` (without its bytes; see `set_text`) to the message's list; returns its id.
  uint32_t add_text(uint32_t message, const MessageText& text);
  // Gives the text its bytes (a copy). A key text becomes findable by `find_by_key_text`.
  void set_text(uint32_t text, std::string_view bytes);
  void set_plural_index(uint32_t message, uint32_t text, int32_t plural_index);

  // The first message, in table order, that holds a key text equal to `bytes`; kNoId if none.
  // The index behind it is built on the first call and kept up to date from then on.
  uint32_t find_by_key_text(std::string_view bytes);
  // Releases what `find_by_key_text` needs, once no reader will ask any more.
  void end_lookups() {
    key_index_.clear();
    indexed_ = false;
  }

 private:
  void count(uint32_t message, const MessageText& text, int step);
  void index_key_text(uint32_t text);
  auto same_text_as(std::string_view bytes) const {
    return [this, bytes](uint32_t id) { return texts_[id].text == bytes; };
  }

  std::deque<ImportedMessage> messages_;
  std::deque<MessageText> texts_;
  TextStore store_;
  catalog::FirstMatchIndex key_index_;  // key texts, by the text of the lowest message
  bool indexed_ = false;
};

// What a reader of one input fills and tells, and how.
struct ReadTarget {
  TranslationTable& table;
  const ReportSink& report;
  int& line;  // the line being read, kept where it outlives the reader for the run's report
  std::string_view file = {};                        // the input's name, for reports
  CatalogEncoding encoding = CatalogEncoding::utf8;  // the catalog's: texts are converted to it
  bool skip_fuzzy = false;  // fuzzy and unfinished translations are left out like missing ones
};

}  // namespace catintake
