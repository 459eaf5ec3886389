#include "catcheck/catalog_checks.h"

#include <cstdio>
#include <string>

#include "catalog/catalog_format.h"
#include "catalog/language_code.h"
#include "catalog/line_reader.h"
#include "catalog/plural_forms.h"
#include "catalog/text_routines.h"
#include "catcheck/encoding_check.h"
#include "catcheck/excerpt.h"
#include "catcheck/translation_checks.h"

namespace catcheck {

using catalog::CatalogLine;
using catalog::LineKind;

void LineChecks::visit(const CatalogLine& line, std::string_view key_language) {
  key_language_ = key_language;
  switch (line.kind) {
    case LineKind::short_line:
      return add(line, FindingKind::short_line,
                 "a line of fewer than three bytes, which the tools leave out");
    case LineKind::no_opener:
      return add(line, FindingKind::no_colon,
                 "no ':' or '[' after the code \"" + excerpt(line.head.code) +
                     "\": the tools leave the line out");
    case LineKind::comment:
      if (catalog::is_written_hash_line(line.content))
        add(line, FindingKind::hash_line_comment,
            "catweld takes this comment for a sub-catalog hash line and refuses the catalog; "
            "write it as \"// " +
                excerpt(line.content.substr(1)) + "\"");
      return;
    case LineKind::key:
      check_first_language_line(line);
      seen_key_line_ = true;
      return;
    case LineKind::translation:
      check_first_language_line(line);
      return check_translation_line(line);
    case LineKind::blank:
      return;
  }
}

// catweld takes the code of the first language line for the key language, catintake and
// catexport the first code before a ':'.
void LineChecks::check_first_language_line(const CatalogLine& line) {
  if (seen_language_line_) return;
  seen_language_line_ = true;
  if (line.head.code == key_language_) return;
  add(line, FindingKind::key_language_differs,
      "catweld takes \"" + excerpt(line.head.code) +
          "\" for the key language (the code of the first language line), catintake and "
          "catexport \"" +
          std::string(key_language_) + "\"");
}

void LineChecks::check_translation_line(const CatalogLine& line) {
  std::string_view code = line.head.code;
  if (!seen_key_line_)
    return add(line, FindingKind::line_before_key,
               "a translation before the first key line: it belongs to no message, and the "
               "tools leave it out or stop",
               code);
  if (!catalog::is_valid_code(code))
    return add(line, FindingKind::invalid_code,
               "\"" + excerpt(code) +
                   "\" is no language code (two letters or digits, or five with a hyphen third)",
               code);
  if (catalog::same_code(code, key_language_)) {
    catalog::MessageLine parts(line);
    if (!parts.is_one_form())
      add(line, FindingKind::key_language_translation,
          "a key-language line with the plural index [" + excerpt(parts.plural()) +
              "]: only [1] gives a key text; the tools take it for a translation");
    return;
  }
  if (catalog::equals_ignoring_case(code, key_language_))
    add(line, FindingKind::key_language_translation,
        "\"" + std::string(code) + "\" is the key language \"" + std::string(key_language_) +
            "\" written otherwise: the tools take the line for a translation, not for a key "
            "line");
}

namespace {

// Lines of a code that is none, or the key language's written otherwise, are findings of their
// own, not a language to count.
bool is_counted_language(std::string_view code, std::string_view key_language) {
  return catalog::is_valid_code(code) && !catalog::equals_ignoring_case(code, key_language);
}

std::string hex_key(uint32_t key) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(key));
  return text;
}

// One language's lines in the message being checked: the first line of each form counts, as
// the tools take the first.
struct LanguageSlot {
  uint32_t message = KeyIndex::kNone;  // the message the slot was last filled for
  const catalog::MessageLine* general = nullptr;
  const catalog::MessageLine* one = nullptr;
};

class MessageChecks {
 public:
  MessageChecks(const catalog::CatalogMessages& catalog, const KeyIndex& index, Findings& findings);

  Statistics run();

 private:
  void check_message(uint32_t id);
  bool check_key(uint32_t id);
  void check_lines(uint32_t id, const KeyTexts& key);
  void count_message(uint32_t id, bool plural);
  void check_plural(const LanguageSlot& slot, LanguageStats& stats, bool one_form);
  LanguageSlot* slot_of(std::string_view code, uint32_t id);
  void add(FindingKind kind, int line, std::string message, int related = 0,
           std::string_view language = {}) {
    findings_.add({kind, 0, line, std::move(message), related, language});
  }

  const catalog::CatalogMessages& catalog_;
  const KeyIndex& index_;
  Findings& findings_;
  Statistics stats_;
  std::vector<LanguageSlot> slots_;  // parallel to stats_.languages
  std::vector<bool> one_form_;
  FormatScratch scratch_;  // the same: whether the language has one plural form
  size_t last_slot_ = 0;
};

MessageChecks::MessageChecks(const catalog::CatalogMessages& catalog, const KeyIndex& index,
                             Findings& findings)
    : catalog_(catalog), index_(index), findings_(findings) {
  stats_.key_language = catalog.key_language();
  for (std::string_view code : catalog.languages())
    if (is_counted_language(code, catalog.key_language())) stats_.languages.push_back({code});
  slots_.resize(stats_.languages.size());
  for (const LanguageStats& row : stats_.languages)
    one_form_.push_back(catalog::plural_rule(row.code).forms == 1);
}

Statistics MessageChecks::run() {
  for (uint32_t id = 0; id < catalog_.messages().size(); ++id) check_message(id);
  return std::move(stats_);
}

void MessageChecks::check_message(uint32_t id) {
  if (!check_key(id)) return;
  const catalog::Message& message = catalog_.messages()[id];
  KeyTexts key(catalog_, message);
  check_lines(id, key);
  count_message(id, key.is_plural());
}

// False for a message that can never be reached.
bool MessageChecks::check_key(uint32_t id) {
  const catalog::Message& message = catalog_.messages()[id];
  if (ends_in_lone_backslash(message.key_text))
    add(FindingKind::trailing_backslash, message.line,
        "the key text ends in a lone backslash, which escapes nothing and stands for itself");
  if (uint32_t earlier = index_.duplicate_of(id); earlier != KeyIndex::kNone) {
    add(FindingKind::duplicate_key_line, message.line,
        "the key line of the message on line " + std::to_string(catalog_.messages()[earlier].line) +
            " again: a program finds that one, never this one",
        catalog_.messages()[earlier].line);
    return false;
  }
  uint32_t first = index_.first_of(id);
  if (first != id) {
    const catalog::Message& other = catalog_.messages()[first];
    add(FindingKind::key_collision, message.line,
        "the message key " + hex_key(index_.key(id)) + " of \"" + excerpt(message.key_text) +
            "\" is also that of \"" + excerpt(other.key_text) + "\" on line " +
            std::to_string(other.line) + ": a program cannot tell the two apart",
        other.line);
  }
  return true;
}

void MessageChecks::check_lines(uint32_t id, const KeyTexts& key) {
  for (const catalog::MessageLine& line : catalog_.lines(catalog_.messages()[id])) {
    if (catalog::same_code(line.code(), catalog_.key_language())) continue;
    check_translation(key, line, 0, scratch_, findings_);
    LanguageSlot* slot = slot_of(line.code(), id);
    if (slot == nullptr) continue;
    if (!line.is_plural() && slot->general == nullptr) slot->general = &line;
    if (line.is_one_form() && slot->one == nullptr) slot->one = &line;
  }
}

LanguageSlot* MessageChecks::slot_of(std::string_view code, uint32_t id) {
  const auto& languages = stats_.languages;
  if (last_slot_ >= languages.size() || !catalog::same_code(languages[last_slot_].code, code)) {
    last_slot_ = 0;
    while (last_slot_ < languages.size() && !catalog::same_code(languages[last_slot_].code, code))
      ++last_slot_;
    if (last_slot_ == languages.size()) return nullptr;
  }
  LanguageSlot& slot = slots_[last_slot_];
  if (slot.message != id) slot = {id};
  return &slot;
}

void MessageChecks::count_message(uint32_t id, bool plural) {
  ++stats_.messages;
  if (plural) ++stats_.plural_messages;
  for (size_t at = 0; at < slots_.size(); ++at) {
    const LanguageSlot& slot = slots_[at];
    if (slot.message != id) continue;
    LanguageStats& stats = stats_.languages[at];
    if (slot.general != nullptr) ++(slot.general->text().empty() ? stats.empty : stats.translated);
    if (plural) check_plural(slot, stats, one_form_[at]);
  }
}

// A language of one plural form (ja, zh) says every count with its line without index.
void MessageChecks::check_plural(const LanguageSlot& slot, LanguageStats& stats, bool one_form) {
  bool general = slot.general != nullptr && !slot.general->text().empty();
  bool one = slot.one != nullptr && !slot.one->text().empty();
  if (general && (one || one_form)) ++stats.plural_complete;
  if (slot.one != nullptr && slot.general == nullptr)
    add(FindingKind::plural_without_general, slot.one->line(),
        std::string(stats.code) +
            ": a [1] line but no line without plural index in a plural "
            "message",
        0, stats.code);
  if (slot.general != nullptr && slot.one == nullptr && !one_form)
    add(FindingKind::plural_without_one, slot.general->line(),
        std::string(stats.code) + ": no [1] line in a plural message", 0, stats.code);
}

}  // namespace

void check_encoding(std::string_view bytes, Findings& findings) {
  catalog::skip_utf8_bom(bytes);
  catalog::LineReader reader(bytes);
  EncodingCheck encoding;
  std::string_view line;
  while (reader.next(line)) encoding.add_line(line, reader.line_number());
  encoding.finish(0, findings);
}

Statistics check_messages(const catalog::CatalogMessages& catalog, const KeyIndex& index,
                          Findings& findings) {
  return MessageChecks(catalog, index, findings).run();
}

}  // namespace catcheck
