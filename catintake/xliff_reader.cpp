#include "catintake/xliff_reader.h"

#include <optional>
#include <string>

#include "catalog/numbers.h"
#include "catintake/charset.h"
#include "catintake/po_reader.h"  // kMaxTextLength
#include "catintake/xliff_input.h"
#include "catintake/xml_scanner.h"

namespace catintake {
namespace {

constexpr std::string_view kPluralGroupType = "x-gettext-plurals";

// The target states of version 1.2 that mark a translation as not finished.
bool is_unfinished_state(std::string_view state) {
  for (std::string_view unfinished :
       {"new", "needs-translation", "needs-adaptation", "needs-l10n", "needs-review-translation",
        "needs-review-adaptation", "needs-review-l10n"})
    if (state == unfinished) return true;
  return false;
}

// One side of a message (its source or its target texts): the general form and the form for
// one item (the catalog's [1] line). A later text of the same form replaces an earlier one.
struct Forms {
  std::optional<std::string> general;
  std::optional<std::string> one;

  // In a group of one unit, that unit's text is the only, and so the general, form.
  void make_one_general() {
    if (!one || general) return;
    general = std::move(one);
    one.reset();
  }
};

struct PendingMessage {
  LanguageCode source_language;
  LanguageCode target_language;  // empty: the file names none
  Forms source;
  Forms target;
};

class XliffReader {
 public:
  XliffReader(const XliffInput& input, LanguageCode& key_language, LanguageCode previous_key,
              LanguageCode& language, const ReadTarget& target)
      : scanner_(input.text, target.line),
        target_(target),
        charset_(input.charset),
        key_(key_language),
        given_key_(key_language),
        previous_key_(previous_key),
        language_(language),
        given_language_(language) {
    converter_.open_utf8(target.encoding);
  }

  bool read();

 private:
  bool handle_tag();
  bool handle_structure(std::string_view name, bool closes_itself);
  void xliff_start();
  void file_start();
  void note_languages();
  LanguageCode code_of(std::string_view attribute) const;
  void group_start(bool closes_itself);
  bool is_plural_group_tag() const;
  void group_end();
  bool in_plural_group() const { return plural_depth_ > 0; }
  void unit_start();
  void message_start();
  void segment_start();
  void close_message();
  void add_side(uint32_t message, LanguageCode language, bool key, const Forms& forms);
  bool element_text();
  bool is_unfinished_target() const;
  bool read_element_text(bool target, std::string& text, bool& kept);
  bool keep_text(bool target, std::string text, int line);
  bool to_catalog_encoding(std::string& text, int line);
  void restore_key_language();
  void report(ReportKind kind, int line = 0) const { target_.report({kind, line}); }

  XmlScanner scanner_;
  const ReadTarget& target_;
  TextConverter converter_;
  std::string_view charset_;
  LanguageCode& key_;
  const LanguageCode given_key_;  // from the command line; empty when none
  const LanguageCode previous_key_;
  LanguageCode& language_;
  const LanguageCode given_language_;               // from the command line; empty when none
  LanguageCode document_source_, document_target_;  // the version 2 root's
  LanguageCode file_source_, file_target_;          // the current <file>'s, else the root's
  std::string tag_;
  int version_ = 1;
  int group_depth_ = 0;
  int plural_depth_ = 0;  // the depth of the plural group being read; 0 outside one
  int group_units_ = 0;   // the units of that plural group so far
  bool in_alt_trans_ = false;
  bool one_form_ = false;      // the unit's texts are the form for one item
  bool skip_targets_ = false;  // the segment is unfinished and --skip-fuzzy given
  std::optional<PendingMessage> current_;
};

bool XliffReader::read() {
  while (scanner_.next_tag(tag_))
    if (!handle_tag()) return false;
  restore_key_language();
  return true;
}

bool XliffReader::handle_tag() {
  std::string_view name = tag_name(tag_);
  bool closes_itself = tag_.ends_with("/>");
  if (name == "source" || name == "target") return element_text();
  if (name == "alt-trans") {
    if (!closes_itself) in_alt_trans_ = true;
  } else if (name == "/alt-trans") {
    in_alt_trans_ = false;
  } else {
    return handle_structure(name, closes_itself);
  }
  return true;
}

bool XliffReader::handle_structure(std::string_view name, bool closes_itself) {
  if (name == "xliff") {
    xliff_start();
  } else if (name == "file") {
    file_start();
  } else if (name == "group") {
    group_start(closes_itself);
  } else if (name == "/group") {
    group_end();
  } else if (version_ == 1 && name == "trans-unit") {
    unit_start();
    message_start();
  } else if (version_ == 2 && name == "unit") {
    unit_start();
  } else if (version_ == 2 && name == "segment") {
    segment_start();
  } else if ((name == "/trans-unit" || name == "/segment") && !in_plural_group()) {
    close_message();
  }
  return true;
}

void XliffReader::xliff_start() {
  auto version = tag_attribute(tag_, "version");
  if (version && version->starts_with('2')) version_ = 2;
  document_source_ = file_source_ = code_of("srcLang");
  document_target_ = file_target_ = code_of("trgLang");
  note_languages();
}

// Each <file> of version 1.2 names the languages of its own units.
void XliffReader::file_start() {
  file_source_ = code_of("source-language");
  file_target_ = code_of("target-language");
  if (file_source_.empty()) file_source_ = document_source_;
  if (file_target_.empty()) file_target_ = document_target_;
  note_languages();
}

// The run's key language and the language reported for the file are the first ones the file
// names, unless the command line gives them.
void XliffReader::note_languages() {
  if (key_.empty()) key_ = file_source_;
  if (language_.empty()) language_ = file_target_;
}

// The code an attribute names, locale forms such as "pt_BR" included; empty when the tag has
// no such attribute or its value gives no valid code.
LanguageCode XliffReader::code_of(std::string_view attribute) const {
  auto value = tag_attribute(tag_, attribute);
  return value ? code_from_locale(*value) : LanguageCode();
}

// A plural group is what converters write for a message with plural forms (1.2 names it in
// restype, 2.0 in type); groups of any other kind, and groups inside a plural group, only
// hold units.
bool XliffReader::is_plural_group_tag() const {
  return tag_attribute(tag_, "restype") == kPluralGroupType ||
         tag_attribute(tag_, "type") == kPluralGroupType;
}

void XliffReader::group_start(bool closes_itself) {
  if (closes_itself) return;
  ++group_depth_;
  if (in_plural_group() || !is_plural_group_tag()) return;
  plural_depth_ = group_depth_;
  group_units_ = 0;
  current_.reset();
}

void XliffReader::group_end() {
  if (group_depth_ == 0) return;
  if (plural_depth_ == group_depth_) {
    close_message();
    plural_depth_ = 0;
  }
  --group_depth_;
}

// In a plural group the unit whose identifier ends in "[0]" (after the hexadecimal number it
// begins with) holds the form for one item, as msgstr[0] does; the others the general form.
void XliffReader::unit_start() {
  restore_key_language();
  one_form_ = false;
  if (!in_plural_group()) return;
  ++group_units_;
  auto id = tag_attribute(tag_, "id");
  if (!id) return;
  size_t end = catalog::hex_number_end(*id);
  if (end >= id->size() || (*id)[end] != '[') return;
  std::string_view index = std::string_view(*id).substr(end + 1);
  one_form_ = catalog::read_decimal(index) == 0;
}

void XliffReader::message_start() {
  restore_key_language();
  skip_targets_ = false;
  if (in_plural_group() && current_) return;
  LanguageCode source = !given_key_.empty() || file_source_.empty() ? key_ : file_source_;
  LanguageCode target = given_language_.empty() ? file_target_ : given_language_;
  current_.emplace(PendingMessage{source, target, {}, {}});
}

// A segment of version 2 in the state "initial" holds no finished translation.
void XliffReader::segment_start() {
  message_start();
  skip_targets_ = target_.skip_fuzzy && tag_attribute(tag_, "state") == "initial";
}

void XliffReader::close_message() {
  if (!current_) return;
  PendingMessage& pending = *current_;
  if (in_plural_group() && group_units_ == 1) {
    pending.source.make_one_general();
    pending.target.make_one_general();
  }
  uint32_t message = target_.table.add_message();
  add_side(message, pending.source_language, true, pending.source);
  add_side(message, pending.target_language, false, pending.target);
  current_.reset();
}

void XliffReader::add_side(uint32_t message, LanguageCode language, bool key, const Forms& forms) {
  TranslationTable& table = target_.table;
  if (forms.general)
    table.set_text(table.add_text(message, MessageText::make(language, key, kNoPluralIndex)),
                   *forms.general);
  if (forms.one)
    table.set_text(table.add_text(message, MessageText::make(language, key, 1)), *forms.one);
}

// Reads a source or target element. An empty target, or with --skip-fuzzy an unfinished one,
// is no translation: the message keeps the lines it has.
bool XliffReader::element_text() {
  bool target = tag_name(tag_) == "target";
  bool unfinished = target && is_unfinished_target();
  int line = scanner_.line_number();
  std::string text;
  bool kept = true;  // an element that closes itself holds the empty text
  if (!tag_.ends_with("/>") && !read_element_text(target, text, kept)) return false;
  if (!kept || in_alt_trans_ || !current_ || unfinished || (target && text.empty())) return true;
  return keep_text(target, std::move(text), line);
}

// With --skip-fuzzy: whether the target tag just read, or its segment, is marked unfinished.
bool XliffReader::is_unfinished_target() const {
  if (!target_.skip_fuzzy) return false;
  return skip_targets_ || is_unfinished_state(tag_attribute(tag_, "state").value_or(""));
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
  if (!kept && !in_alt_trans_) report(ReportKind::markup_skipped, scanner_.line_number());
  return true;
}

// Files the text under its unit's form; false, reported, for a translation without a language.
bool XliffReader::keep_text(bool target, std::string text, int line) {
  if (target && current_->target_language.empty()) {
    report(ReportKind::no_language_code);
    return false;
  }
  if (!to_catalog_encoding(text, line)) return true;
  Forms& forms = target ? current_->target : current_->source;
  (one_form_ ? forms.one : forms.general) = std::move(text);
  return true;
}

// Converts the text to the catalog's encoding; false, reported, when it holds bytes invalid in
// the file's encoding or a character the catalog cannot hold (the text is then skipped).
bool XliffReader::to_catalog_encoding(std::string& text, int line) {
  std::string buffer;
  std::string_view converted;
  Conversion result = converter_.convert(text, buffer, converted);
  if (result == Conversion::converted) {
    if (converted.data() != text.data()) text.assign(converted);
    return true;
  }
  target_.report({.kind = result == Conversion::invalid_input ? ReportKind::invalid_bytes
                                                              : ReportKind::not_representable,
                  .line = line,
                  .file = target_.file,
                  .detail = charset_});
  return false;
}

void XliffReader::restore_key_language() {
  if (key_.empty()) key_ = previous_key_;
}

}  // namespace

bool read_xliff_file(std::string_view bytes, LanguageCode& key_language,
                     LanguageCode previous_key_language, LanguageCode& language,
                     const ReadTarget& target) {
  XliffInput input;
  if (!open_xliff_input(bytes, target, input)) return false;
  return XliffReader(input, key_language, previous_key_language, language, target).read();
}

}  // namespace catintake
