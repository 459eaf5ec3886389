#include "catintake/po_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalog/first_match_index.h"
#include "catalog/line_reader.h"
#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catintake {
namespace {

using catalog::skip_blanks;

// The strings of one keyword, joined, with the catalog's escapes. Entries reuse their strings,
// so that reading a file does not allocate for every entry.
struct PoString {
  bool present = false;
  std::string text;
  int first_line = 0;  // the keyword's line
  int last_line = 0;   // the line of its last string
  int end_line = 0;    // the line before the keyword that ended it; 0 when the file ended it

  void open(int line) {
    present = true;
    text.clear();
    first_line = last_line = line;
    end_line = 0;
  }
};

// One msgstr or msgstr[N].
struct PoForm {
  int index = -1;  // -1 for a msgstr without index
  PoString string;
};

// One entry: its context, msgid, msgid_plural and translations, as far as the file gives them.
struct PoEntry {
  bool fuzzy = false;
  PoString context;
  PoString msgid;
  PoString msgid_plural;
  std::vector<PoForm> forms;  // the first `form_count` are this entry's
  size_t form_count = 0;

  bool started() const {
    return context.present || msgid.present || msgid_plural.present || form_count > 0;
  }
  bool has_key() const { return msgid.present || msgid_plural.present; }
  PoString& add_form(int index) {
    if (form_count == forms.size()) forms.emplace_back();
    PoForm& form = forms[form_count++];
    form.index = index;
    return form.string;
  }
  void clear() {
    fuzzy = false;
    context.present = msgid.present = msgid_plural.present = false;
    form_count = 0;
  }
};

// A translated entry as later entries of the same msgid in other contexts compare with it.
struct SeenEntry {
  uint64_t msgid = 0;  // hashes
  uint64_t context = 0;
  uint64_t translations = 0;
  int line = 0;
  bool has_context = false;
};

uint64_t hash_bytes(std::string_view bytes, uint64_t hash = 14695981039346656037u) {
  for (char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211u;
  return hash;
}

// A translation to be written: its plural index and its text in the catalog's encoding.
struct Translation {
  int32_t plural_index;
  std::string_view text;
};

enum class Keyword { msgctxt, msgid, msgid_plural, msgstr, unknown };

// The keyword that `line` begins with, and in `rest` what follows it (for msgstr[N], what
// follows the index, which goes to `index`).
Keyword read_keyword(std::string_view line, std::string_view& rest, int& index) {
  size_t end = 0;
  while (end < line.size() && (catalog::is_ascii_alnum(line[end]) || line[end] == '_')) ++end;
  std::string_view word = line.substr(0, end);
  rest = line.substr(end);
  index = -1;
  if (word == "msgctxt") return Keyword::msgctxt;
  if (word == "msgid") return Keyword::msgid;
  if (word == "msgid_plural") return Keyword::msgid_plural;
  if (word != "msgstr") return Keyword::unknown;
  std::string_view after = skip_blanks(rest);
  if (!after.starts_with('[')) return Keyword::msgstr;
  after.remove_prefix(1);
  index = catalog::read_decimal(after);
  index = index < 0 ? 0 : index;
  after = skip_blanks(after);
  if (after.starts_with(']')) after.remove_prefix(1);
  rest = after;
  return Keyword::msgstr;
}

// Whether a "#," line flags its entry fuzzy: "fuzzy" is one of its comma-separated flags.
bool flags_fuzzy(std::string_view flags) {
  while (!flags.empty()) {
    size_t comma = flags.find(',');
    std::string_view flag = skip_blanks(flags.substr(0, comma));
    while (!flag.empty() && catalog::is_blank(flag.back())) flag.remove_suffix(1);
    if (flag == "fuzzy") return true;
    flags = comma == std::string_view::npos ? std::string_view() : flags.substr(comma + 1);
  }
  return false;
}

// The value of the header field `name` ("Language", ...) in the header's text, where fields
// end at an escaped line break; nullopt when the header has no such field.
std::optional<std::string_view> header_field(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    size_t end = header.find("\\n");
    std::string_view field = header.substr(0, end);
    header = end == std::string_view::npos ? std::string_view() : header.substr(end + 2);
    size_t colon = field.find(':');
    if (colon != std::string_view::npos && skip_blanks(field.substr(0, colon)) == name)
      return skip_blanks(field.substr(colon + 1));
  }
  return std::nullopt;
}

// The charset a Content-Type field names: the word after "charset=".
std::string_view charset_of(std::string_view content_type) {
  size_t at = content_type.find("charset=");
  if (at == std::string_view::npos) return {};
  std::string_view value = skip_blanks(content_type.substr(at + 8));
  size_t end = 0;
  while (end < value.size() && value[end] != ';' && !catalog::is_blank(value[end])) ++end;
  return value.substr(0, end);
}

class PoReader {
 public:
  PoReader(std::string_view bytes, bool creates_messages, LanguageCode key_language,
           LanguageCode& language, const ReadTarget& target)
      : lines_(bytes),
        first_file_(creates_messages),
        key_(key_language),
        language_(language),
        target_(target),
        table_(target.table) {}

  // Reads the bytes as UTF-8 whatever the header says (the file was converted to it).
  void read_as_utf8(std::string_view charset) {
    converter_.open_utf8(target_.encoding);
    charset_ = charset;
    charset_given_ = true;
  }
  bool read();

 private:
  // Reading lines into entries.
  bool handle_line(std::string_view line);
  bool handle_keyword(std::string_view line);
  bool open_string(Keyword keyword, int index, std::string_view rest);
  bool start_entry_if_complete(Keyword keyword);
  void end_open_string();
  bool append(std::string_view string);
  bool finish_entry();

  // Entries into the table.
  bool take_header(const PoEntry& header);
  bool apply(const PoEntry& entry);
  bool convert(const PoString& string, std::string& buffer, std::string_view& out);
  bool key_texts(const PoEntry& entry, std::string_view& msgid, std::string_view& plural);
  void translations(const PoEntry& entry);
  uint32_t message_for(const PoEntry& entry, std::string_view msgid, std::string_view plural);
  void check_general_form();
  void report_missing_general_form(int line);
  void check_context(const PoEntry& entry, std::string_view msgid);
  void warn_if_empty(const PoString& key);
  bool fail(const Report& report) const {
    target_.report(report);
    return false;
  }
  Report at(ReportKind kind, int line) const {
    return {.kind = kind, .line = line, .file = target_.file};
  }

  catalog::LineReader lines_;
  bool first_file_;
  LanguageCode key_;
  LanguageCode& language_;
  const ReadTarget& target_;
  TranslationTable& table_;
  TextConverter converter_;
  std::string charset_;  // as the file names it, for reports
  bool charset_given_ = false;
  int nplurals_ = 0;  // from the header's Plural-Forms; 0 when it gives none

  PoEntry entry_;
  PoString* open_ = nullptr;  // the string that continuation lines extend
  bool pending_fuzzy_ = false;
  bool missing_general_ = false;  // the message read last lacks its general form
  bool header_possible_ = true;   // no entry has been read yet
  // Buffers of converted texts, reused from entry to entry.
  std::string msgid_buffer_, plural_buffer_;
  std::vector<std::string> form_buffers_;
  std::vector<Translation> translations_;
  // Translated entries by the hash of their msgid, the first of each msgid answering.
  std::vector<SeenEntry> seen_;
  catalog::FirstMatchIndex seen_index_;
};

bool PoReader::read() {
  std::string_view line;
  while (lines_.next(line)) {
    target_.line = lines_.line_number();
    if (!handle_line(skip_blanks(line))) return false;
  }
  open_ = nullptr;
  if (!finish_entry()) return false;
  report_missing_general_form(lines_.line_number());
  return true;
}

bool PoReader::handle_line(std::string_view line) {
  if (line.empty()) return true;
  if (line.starts_with("#,")) {
    pending_fuzzy_ = pending_fuzzy_ || flags_fuzzy(line.substr(2));
    return true;
  }
  if (line[0] == '#') return true;
  if (line[0] == '"') return open_ == nullptr || append(line);
  return handle_keyword(line);
}

bool PoReader::handle_keyword(std::string_view line) {
  std::string_view rest;
  int index = -1;
  Keyword keyword = read_keyword(line, rest, index);
  if (keyword == Keyword::unknown) {
    if (!catalog::is_ascii_alnum(line[0]) && line[0] != '_')
      return fail(at(ReportKind::not_po_line, lines_.line_number()));
    std::string word(line.substr(0, line.size() - rest.size()));
    Report report = at(ReportKind::unknown_keyword, lines_.line_number());
    report.detail = word;
    return fail(report);
  }
  end_open_string();
  if (!start_entry_if_complete(keyword)) return false;
  if (keyword == Keyword::msgid) report_missing_general_form(lines_.line_number() - 1);
  return open_string(keyword, index, rest);
}

// A msgctxt or msgid after a msgstr, and a msgid_plural after one, begin the next entry.
bool PoReader::start_entry_if_complete(Keyword keyword) {
  bool translated = entry_.form_count > 0;
  bool begins =
      keyword == Keyword::msgctxt || keyword == Keyword::msgid || keyword == Keyword::msgid_plural;
  if (translated && begins) return finish_entry();
  if (keyword == Keyword::msgid && entry_.msgid.present) {
    Report report = at(ReportKind::msgid_without_msgstr, lines_.line_number());
    report.related_line = entry_.msgid.first_line;
    return fail(report);
  }
  return true;
}

bool PoReader::open_string(Keyword keyword, int index, std::string_view rest) {
  PoString* slot = nullptr;
  if (keyword == Keyword::msgctxt) slot = &entry_.context;
  if (keyword == Keyword::msgid) slot = &entry_.msgid;
  if (keyword == Keyword::msgid_plural) slot = &entry_.msgid_plural;
  if (slot != nullptr) {
    if (!entry_.started()) entry_.fuzzy = std::exchange(pending_fuzzy_, false);
    open_ = slot;
  } else if (index >= 0 && !entry_.msgid_plural.present) {
    Report report = at(ReportKind::msgstr_index_unexpected, lines_.line_number());
    std::string name = "msgstr[" + std::to_string(index) + "]";
    report.detail = name;
    return fail(report);
  } else {
    open_ = &entry_.add_form(index);
  }
  open_->open(lines_.line_number());
  rest = skip_blanks(rest);
  return rest.empty() || rest[0] != '"' || append(rest);
}

void PoReader::end_open_string() {
  if (open_ != nullptr) open_->end_line = lines_.line_number() - 1;
  open_ = nullptr;
}

bool PoReader::append(std::string_view string) {
  open_->last_line = lines_.line_number();
  if (append_po_string(open_->text, string)) return true;
  return fail({ReportKind::message_too_long, lines_.line_number()});
}

// The first entry with an empty msgid and no context is the header; every other entry with a
// msgid or msgid_plural is a message, and translations before any of them are dropped.
bool PoReader::finish_entry() {
  const PoEntry& entry = entry_;
  bool header = header_possible_ && entry.msgid.present && entry.msgid.text.empty() &&
                !entry.context.present && !entry.msgid_plural.present;
  if (entry.started()) header_possible_ = false;
  bool taken = true;
  if (header)
    taken = take_header(entry);
  else if (entry.has_key() && (first_file_ || entry.msgid.present))
    taken = language_.empty() ? fail({ReportKind::no_language_code}) : apply(entry);
  entry_.clear();
  return taken;
}

// The header gives the language (unless the command line did), the charset of the texts and
// the number of plural forms.
bool PoReader::take_header(const PoEntry& header) {
  if (header.form_count == 0) return true;
  const PoString& fields = header.forms.front().string;
  auto language = header_field(fields.text, "Language");
  if (language && language_.empty()) language_ = code_from_locale(*language);
  auto plural_forms = header_field(fields.text, "Plural-Forms");
  size_t count = plural_forms ? plural_forms->find("nplurals=") : std::string_view::npos;
  if (count != std::string_view::npos) {
    std::string_view number = plural_forms->substr(count + 9);
    nplurals_ = catalog::read_decimal(number);
  }
  auto content_type = header_field(fields.text, "Content-Type");
  std::string_view charset = content_type ? charset_of(*content_type) : std::string_view();
  // Without a charset, or with the template's placeholder, the texts are copied as they are.
  if (charset_given_ || charset.empty() || charset == "CHARSET") return true;
  charset_ = charset;
  if (converter_.open(charset, target_.encoding)) return true;
  Report report = at(ReportKind::unknown_charset, fields.first_line);
  report.detail = charset;
  return fail(report);
}

bool PoReader::apply(const PoEntry& entry) {
  warn_if_empty(entry.msgid);
  warn_if_empty(entry.msgid_plural);
  std::string_view msgid, plural;
  if (!key_texts(entry, msgid, plural)) return true;
  translations_.clear();
  if (!(entry.fuzzy && target_.skip_fuzzy)) translations(entry);
  uint32_t message = message_for(entry, msgid, plural);
  if (message == kNoId) return fail({ReportKind::msgid_not_found, entry.msgid.last_line});
  for (const Translation& translation : translations_) {
    uint32_t id =
        table_.add_text(message, MessageText::make(language_, false, translation.plural_index));
    table_.set_text(id, translation.text);
  }
  check_general_form();
  check_context(entry, msgid);
  return true;
}

void PoReader::warn_if_empty(const PoString& key) {
  if (key.present && key.text.empty() && key.end_line > 0)
    target_.report({ReportKind::empty_text, key.end_line});
}

bool PoReader::convert(const PoString& string, std::string& buffer, std::string_view& out) {
  Conversion result = converter_.convert(string.text, buffer, out);
  if (result == Conversion::converted) return true;
  Report report = at(result == Conversion::invalid_input ? ReportKind::invalid_bytes
                                                         : ReportKind::not_representable,
                     string.first_line);
  report.detail = charset_;
  target_.report(report);
  return false;
}

// The key texts in the catalog's encoding; false when one cannot be converted (reported).
bool PoReader::key_texts(const PoEntry& entry, std::string_view& msgid, std::string_view& plural) {
  if (entry.msgid.present && !convert(entry.msgid, msgid_buffer_, msgid)) return false;
  bool plural_key = entry.msgid_plural.present && first_file_;
  return !plural_key || convert(entry.msgid_plural, plural_buffer_, plural);
}

// The non-empty translations in the catalog's encoding, with the plural index of their line:
// msgstr[0] is the form for one (the catalog's [1]) unless the language has one form only,
// every other msgstr the general form.
void PoReader::translations(const PoEntry& entry) {
  if (form_buffers_.size() < entry.form_count) form_buffers_.resize(entry.form_count);
  for (size_t i = 0; i < entry.form_count; ++i) {
    const PoForm& form = entry.forms[i];
    std::string_view text;
    if (form.string.text.empty() || !convert(form.string, form_buffers_[i], text)) continue;
    bool one_form = form.index == 0 && nplurals_ != 1;
    translations_.push_back({one_form ? 1 : kNoPluralIndex, text});
  }
}

// The first input makes a message of each entry; a later input's msgid must name one.
uint32_t PoReader::message_for(const PoEntry& entry, std::string_view msgid,
                               std::string_view plural) {
  if (!first_file_) return table_.find_by_key_text(msgid);
  uint32_t message = table_.add_message();
  bool has_plural = entry.msgid_plural.present;
  if (entry.msgid.present) {
    int32_t index = has_plural ? 1 : kNoPluralIndex;
    table_.set_text(table_.add_text(message, MessageText::make(key_, true, index)), msgid);
  }
  if (has_plural) {
    MessageText general = MessageText::make(key_, true, kNoPluralIndex);
    table_.set_text(table_.add_text(message, general), plural);
  }
  return message;
}

// A translated message needs its general form; the report names the line before the next
// msgid, or the last line of the file.
void PoReader::check_general_form() {
  bool general = false;
  for (const Translation& translation : translations_)
    general = general || translation.plural_index == kNoPluralIndex;
  missing_general_ = !translations_.empty() && !general;
}

void PoReader::report_missing_general_form(int line) {
  if (std::exchange(missing_general_, false))
    target_.report({ReportKind::missing_general_form, line});
}

// The catalog has no context: of two translated entries that differ only in msgctxt, the
// later one's translation is the one kept, which is worth a word when they differ. Entries are
// compared by 64-bit hashes, so that no text is kept for it.
void PoReader::check_context(const PoEntry& entry, std::string_view msgid) {
  if (translations_.empty() || !entry.msgid.present) return;
  SeenEntry now{hash_bytes(msgid), hash_bytes(entry.context.text), 14695981039346656037u,
                entry.msgid.first_line, entry.context.present};
  for (const Translation& translation : translations_)
    now.translations = hash_bytes(translation.text, now.translations * 31 + 1);
  auto same_msgid = [&](uint32_t id) { return seen_[id].msgid == now.msgid; };
  auto id = static_cast<uint32_t>(seen_.size());
  uint32_t held = seen_index_.insert_first(static_cast<uint32_t>(now.msgid), id, same_msgid);
  if (held == id) return seen_.push_back(now);
  SeenEntry& seen = seen_[held];
  bool other_context = seen.has_context != now.has_context || seen.context != now.context;
  if (other_context && seen.translations != now.translations) {
    Report report = at(ReportKind::context_collapsed, now.line);
    report.related_line = seen.line;
    target_.report(report);
  }
  seen = now;
}

}  // namespace

// Runs of plain bytes are appended at once; an escape keeps its backslash unless it escapes a
// quote, and the string ends at its closing quote or at the end of the line.
bool append_po_string(std::string& collected, std::string_view string) {
  size_t at = 1;
  while (at < string.size()) {
    size_t run = at;
    while (run < string.size() && string[run] != '\\' && string[run] != '"') ++run;
    if (collected.size() + (run - at) > kMaxTextLength) return false;
    collected.append(string.substr(at, run - at));
    if (run == string.size() || string[run] == '"') return true;
    at = run + 1;  // after the backslash
    if (at == string.size()) {
      if (collected.size() >= kMaxTextLength) return false;
      collected += '\\';
      return true;
    }
    bool quote = string[at] == '"' || string[at] == '\'';
    if (collected.size() + (quote ? 1 : 2) > kMaxTextLength) return false;
    if (!quote) collected += '\\';
    collected += string[at++];
  }
  return true;
}

bool read_po_file(std::string_view bytes, bool creates_messages, LanguageCode key_language,
                  LanguageCode& language, const ReadTarget& target) {
  size_t bom = 0;
  std::string_view utf16 = detect_utf16(bytes, bom);
  if (!bom || utf16.empty()) {
    catalog::skip_utf8_bom(bytes);
    return PoReader(bytes, creates_messages, key_language, language, target).read();
  }
  std::string converted;
  size_t bad = 0;
  if (!file_to_utf8(bytes.substr(bom), utf16, converted, bad)) {
    int line = 1 + static_cast<int>(std::count(converted.begin(), converted.end(), '\n'));
    target.report(
        {.kind = ReportKind::invalid_bytes, .line = line, .file = target.file, .detail = utf16});
    return false;
  }
  PoReader reader(converted, creates_messages, key_language, language, target);
  reader.read_as_utf8(utf16);
  return reader.read();
}

}  // namespace catintake
