#include "catcheck/sub_catalog_checks.h"

#include <optional>

#include "catalog/catalog_format.h"
#include "catalog/catalog_reader.h"
#include "catalog/line_reader.h"
#include "catalog/text_routines.h"
#include "catcheck/encoding_check.h"
#include "catcheck/translation_checks.h"

namespace catcheck {
namespace {

class SubCatalogChecks {
 public:
  SubCatalogChecks(size_t file, const catalog::CatalogMessages& catalog, const KeyIndex& index,
                   bool catalog_has_utf8_text, Findings& findings)
      : file_(file),
        catalog_(catalog),
        index_(index),
        findings_(findings),
        catalog_has_utf8_text_(catalog_has_utf8_text) {}
  void finish() {
    if (!reported_encoding_) encoding_.finish(file_, findings_);
  }

  void check(std::string_view content, int line);

 private:
  void add(FindingKind kind, int line, std::string message, std::string_view language = {}) {
    findings_.add({kind, file_, line, std::move(message), 0, language});
  }
  void check_utf8(std::string_view content, int line);
  void select_by_hash(std::string_view content, int line);
  void select_by_text(std::string_view text, int line);
  void select(uint32_t message);
  void check_translation_line(const catalog::CatalogLine& line);

  size_t file_;
  const catalog::CatalogMessages& catalog_;
  const KeyIndex& index_;
  Findings& findings_;
  bool catalog_has_utf8_text_;
  bool reported_encoding_ = false;
  EncodingCheck encoding_;  // of the sub-catalog's own lines
  uint32_t selected_ = KeyIndex::kNone;
  std::optional<KeyTexts> key_;  // of the selected message
  std::string language_;         // of the first translation line
  std::string latin1_line_;      // the line taken to Latin-1
  FormatScratch scratch_;
};

// As catweld does, a sub-catalog of a Latin-1 catalog is taken to Latin-1 line by line where
// its characters allow it; a UTF-8 catalog takes the lines as they are.
void SubCatalogChecks::check(std::string_view content, int line) {
  if (catalog_.is_utf8()) {
    if (catalog_has_utf8_text_) check_utf8(content, line);
    encoding_.add_line(content, line);
  } else {
    auto conversion = catalog::utf8_to_single_byte(content, latin1_line_);
    if (conversion == catalog::SingleByteConversion::converted) content = latin1_line_;
    if (conversion == catalog::SingleByteConversion::beyond_latin1)
      add(FindingKind::beyond_latin1, line,
          "a character beyond Latin-1 in a sub-catalog of a Latin-1 catalog: catweld keeps its "
          "UTF-8 bytes, which the catalog's readers take for other characters");
  }
  if (content.starts_with('#')) return select_by_hash(content, line);
  catalog::CatalogLine parsed = catalog::classify_line(content, true, catalog_.key_language());
  parsed.number = line;
  if (parsed.kind == catalog::LineKind::key) return select_by_text(parsed.key_text, line);
  if (parsed.kind == catalog::LineKind::translation) check_translation_line(parsed);
}

// One line that is not UTF-8 makes the whole catalog Latin-1 once it is welded in.
void SubCatalogChecks::check_utf8(std::string_view content, int line) {
  if (reported_encoding_ || catalog::is_valid_utf8(content)) return;
  reported_encoding_ = true;
  add(FindingKind::mixed_encoding, line,
      "this line is not UTF-8 while the catalog is: once catweld has included it, the tools "
      "read the catalog as Latin-1, and its UTF-8 lines turn into other characters");
}

void SubCatalogChecks::select_by_hash(std::string_view content, int line) {
  uint32_t key = catalog::hash_line_key(content.substr(1));
  uint32_t first = index_.first(key);
  if (first == KeyIndex::kNone) {
    add(FindingKind::unknown_message, line,
        "no message of the catalog has this key: catweld leaves out the lines that follow");
  } else if (index_.next_text(first) != KeyIndex::kNone) {
    add(FindingKind::ambiguous_hash_line, line,
        "the key names several messages of the catalog (a key collision): catweld leaves out "
        "the lines that follow; select the message by its key line");
    first = KeyIndex::kNone;
  }
  select(first);
}

void SubCatalogChecks::select_by_text(std::string_view text, int line) {
  bool numeric = catalog_.key_language() == "00";
  uint32_t key = catalog::message_key(text, numeric);
  uint32_t first = index_.first(key);
  if (first == KeyIndex::kNone) {
    add(FindingKind::unknown_message, line,
        "no message of the catalog has this key: catweld leaves out the lines that follow");
    return select(first);
  }
  if (index_.next_text(first) == KeyIndex::kNone) return select(first);
  uint32_t same = index_.find_text(key, text);
  if (same == KeyIndex::kNone)
    add(FindingKind::ambiguous_key_line, line,
        "several messages of the catalog share this key, none has this text: catweld leaves "
        "out the lines that follow");
  select(same);
}

void SubCatalogChecks::select(uint32_t message) {
  selected_ = message;
  key_.reset();
  if (message == KeyIndex::kNone) return;
  key_.emplace(catalog_, catalog_.messages()[message]);
}

void SubCatalogChecks::check_translation_line(const catalog::CatalogLine& line) {
  std::string_view code = line.head.code;
  if (language_.empty()) language_ = code;
  if (code != language_) {
    add(FindingKind::second_language, line.number,
        "a line in \"" + std::string(code) + "\" where the first translation is in \"" +
            std::string(language_) + "\": catweld leaves it out",
        code);
    return;
  }
  if (key_) check_translation(*key_, catalog::MessageLine(line), file_, scratch_, findings_);
}

}  // namespace

void check_sub_catalog(std::string_view bytes, size_t file, const catalog::CatalogMessages& catalog,
                       const KeyIndex& index, bool catalog_has_utf8_text, Findings& findings) {
  catalog::skip_utf8_bom(bytes);
  SubCatalogChecks checks(file, catalog, index, catalog_has_utf8_text, findings);
  catalog::LineReader reader(bytes);
  std::string_view line;
  while (reader.next(line)) {
    std::string_view content = catalog::skip_blanks(line);
    if (!content.empty()) checks.check(content, reader.line_number());
  }
  checks.finish();
}

}  // namespace catcheck
