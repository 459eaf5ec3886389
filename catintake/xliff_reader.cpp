#include "catintake/xliff_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "catalog/text_routines.h"
#include "catalog/numbers.h"
#include "catintake/po_reader.h"
#include "catintake/xml_scanner.h"

namespace catintake {
namespace {

// The value of the attribute `name` in `tag`: after blanks, an optional '=', blanks and an
// optional quote (double or single); nullopt when the tag does not hold the name.
std::optional<std::string_view> attribute_value(std::string_view tag, std::string_view name) {
  size_t at = tag.find(name);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view value = catalog::skip_blanks(tag.substr(at + name.size()));
  if (value.starts_with('=')) value = catalog::skip_blanks(value.substr(1));
  if (value.starts_with('"') || value.starts_with('\'')) value.remove_prefix(1);
  return value;
}

struct PendingText {
  LanguageCode language;
  int32_t plural_index;
  bool key;
  std::string text;
};

class XliffReader {
 public:
  XliffReader(std::string_view bytes, LanguageCode& key_language, LanguageCode previous_key,
              LanguageCode& language, const ReadTarget& target)
      : scanner_(bytes, target.line),
        key_(key_language),
        previous_key_(previous_key),
        language_(language),
        table_(target.table),
        report_(target.report) {}

  bool read();

 private:
  bool handle_tag();
  void take_language(LanguageCode& code, std::string_view name) const;
  void unit_start();
  void message_start();
  void close_message();
  bool element_text();
  bool read_element_text(bool target, std::string& text, bool& kept);
  void add_text(PendingText text);
  void restore_key_language();

  XmlScanner scanner_;
  LanguageCode& key_;
  LanguageCode previous_key_;
  LanguageCode& language_;
  void report(ReportKind kind, int line = 0) const { report_({kind, line}); }

  TranslationTable& table_;
  const ReportSink& report_;
  std::string tag_;
  int version_ = 1;
  bool plural_group_ = false;
  bool in_alt_trans_ = false;
  int32_t plural_index_ = kNoPluralIndex;
  // The message being filled, as runs of texts whose languages are the same.
  std::optional<std::vector<std::vector<PendingText>>> current_;
};

bool XliffReader::read() {
  while (scanner_.next_tag(tag_))
    if (!handle_tag()) return false;
  restore_key_language();
  return true;
}

bool XliffReader::handle_tag() {
  std::string_view tag = tag_;
  if (tag.starts_with("<alt-trans")) {
    if (!tag.ends_with("/>")) in_alt_trans_ = true;
  } else if (tag == "</alt-trans>") {
    in_alt_trans_ = false;
  } else if (tag.starts_with("<xliff ")) {
    auto version = attribute_value(tag, " version");
    if (version && version->starts_with('2')) version_ = 2;
    take_language(key_, "srcLang");
    take_language(language_, "trgLang");
  } else if (tag.starts_with("<file ")) {
    take_language(key_, "source-language");
    take_language(language_, "target-language");
  } else if (tag.starts_with("<group ")) {
    plural_group_ = tag.find("plural") != std::string_view::npos;
  } else if (plural_group_ && tag == "</group>") {
    close_message();
    plural_group_ = false;
  } else if (version_ == 1 && tag.starts_with("<trans-unit ")) {
    unit_start();
    message_start();
  } else if (version_ == 2 && tag.starts_with("<unit ")) {
    unit_start();
  } else if (version_ == 2 && (tag == "<segment>" || tag.starts_with("<segment "))) {
    message_start();
  } else if (tag == "</trans-unit>" || tag == "</segment>") {
    if (!plural_group_) close_message();
  } else if (tag.starts_with("<source") || tag.starts_with("<target")) {
    return element_text();
  }
  return true;
}

void XliffReader::take_language(LanguageCode& code, std::string_view name) const {
  if (!code.empty()) return;
  auto value = attribute_value(tag_, name);
  if (value && is_usable_code(*value)) code = copy_language_code(*value);
}

// The plural index of the unit's texts: the decimal after '[' that follows the hexadecimal
// number of a plural group unit's identifier.
void XliffReader::unit_start() {
  plural_index_ = kNoPluralIndex;
  auto id = attribute_value(tag_, " id");
  if (!id || !plural_group_) return;
  size_t end = catalog::hex_number_end(*id);
  if (end < id->size() && (*id)[end] == '[') {
    std::string_view index = id->substr(end + 1);
    plural_index_ = catalog::read_decimal(index);
  }
}

void XliffReader::message_start() {
  restore_key_language();
  if (plural_group_ && current_) return;
  current_.emplace();
}

void XliffReader::close_message() {
  if (!current_) return;
  uint32_t message = table_.add_message();
  for (const auto& run : *current_) {
    for (const PendingText& text : run) {
      MessageText entry = MessageText::make(text.language, text.key, text.plural_index);
      table_.set_text(table_.add_text(message, entry), text.text);
    }
  }
  current_.reset();
}

bool XliffReader::element_text() {
  bool target = tag_.starts_with("<target");
  if (target && language_.empty()) {
    report(ReportKind::no_language_code);
    return false;
  }
  PendingText text{target ? language_ : key_, plural_index_, !target, {}};
  bool kept = true;  // an element that closes itself holds the empty text
  if (!tag_.ends_with("/>") && !read_element_text(target, text.text, kept)) return false;
  if (kept && !in_alt_trans_ && current_) add_text(std::move(text));
  return true;
}

// Reads the text of the element whose tag was read last, up to the tag that ends it. `kept`
// is false when the file ends first or when markup ends the text (reported outside alt-trans);
// false after a text too long, which fails the file.
bool XliffReader::read_element_text(bool target, std::string& text, bool& kept) {
  size_t length = 0;
  kept = scanner_.next_text(text, length, tag_);
  if (!kept) return true;
  if (length > kMaxTextLength) {
    report(ReportKind::message_too_long, scanner_.line_number());
    return false;
  }
  kept = tag_ == (target ? "</target>" : "</source>");
  if (!kept && !in_alt_trans_)
    report(ReportKind::markup_skipped, scanner_.line_number());
  return true;
}

// Inside a plural group the texts of one language stay together: a text whose language is
// present goes before the last text of that language's run when other languages follow it.
void XliffReader::add_text(PendingText text) {
  auto& runs = *current_;
  auto same = [&](const std::vector<PendingText>& run) {
    return same_language(run.front().language.view(), text.language.view());
  };
  auto run = runs.end();
  if (plural_group_)
    run = std::find_if(runs.begin(), runs.end(), same);
  else if (!runs.empty() && same(runs.back()))
    run = runs.end() - 1;
  if (run == runs.end())
    runs.emplace_back().push_back(std::move(text));
  else if (plural_group_ && run + 1 != runs.end())
    run->insert(run->end() - 1, std::move(text));
  else
    run->push_back(std::move(text));
}

void XliffReader::restore_key_language() {
  if (key_.empty()) key_ = previous_key_;
}

}  // namespace

bool read_xliff_file(std::string_view bytes, LanguageCode& key_language,
                     LanguageCode previous_key_language, LanguageCode& language,
                     const ReadTarget& target) {
  return XliffReader(bytes, key_language, previous_key_language, language, target).read();
}

}  // namespace catintake
