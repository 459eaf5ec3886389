#include "catintake/po_reader.h"

#include <string>

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"
#include "catalog/numbers.h"

namespace catintake {
namespace {

using catalog::skip_blanks;

class PoReader {
 public:
  PoReader(std::string_view bytes, bool creates_messages, LanguageCode key_language,
           LanguageCode& language, const ReadTarget& target)
      : lines_(bytes),
        first_file_(creates_messages),
        key_(key_language),
        language_(language),
        table_(target.table),
        report_(target.report),
        line_(target.line) {}

  bool read();

 private:
  enum class Phase { before_header, header, messages };

  bool handle_line(std::string_view line);
  void header_line(std::string_view line);
  bool message_line(std::string_view line);
  bool keyword_line(std::string_view line);
  void finish_open_text();
  void check_general_forms();
  bool msgid_plural(std::string_view rest);
  bool msgid(std::string_view rest);
  bool msgstr(std::string_view rest);
  bool find_later_msgid(std::string_view rest);
  bool open_text(uint32_t message, const MessageText& text, std::string_view rest);
  bool append(std::string_view string);
  bool last_message_wants_plural() const;

  catalog::LineReader lines_;
  bool first_file_;
  LanguageCode key_;
  LanguageCode& language_;
  bool next_line(std::string_view& line);
  void report(ReportKind kind, int line = 0) const { report_({kind, line}); }

  TranslationTable& table_;
  const ReportSink& report_;
  int& line_;
  Phase phase_ = Phase::before_header;
  std::string collected_;
  uint32_t open_text_ = kNoId;    // the text that receives `collected_`
  uint32_t before_open_ = kNoId;  // the text before it in its message
  uint32_t current_ = kNoId;      // the message msgstr lines add to
  bool opened_any_ = false;
};

bool PoReader::read() {
  std::string_view line;
  while (next_line(line))
    if (!handle_line(skip_blanks(line))) return false;
  if (open_text_ != kNoId) table_.set_text(open_text_, collected_);
  return true;
}

bool PoReader::next_line(std::string_view& line) {
  bool read = lines_.next(line);
  line_ = lines_.line_number();
  return read;
}

bool PoReader::handle_line(std::string_view line) {
  if (line.empty() || line[0] == '#') return true;
  if (phase_ == Phase::before_header) {
    phase_ = line.starts_with("msgid \"\"") ? Phase::header : Phase::messages;
    if (phase_ == Phase::header) return true;
  } else if (phase_ == Phase::header) {
    if (!line.starts_with("msgid")) {
      header_line(line);
      return true;
    }
    phase_ = Phase::messages;
  }
  return message_line(line);
}

void PoReader::header_line(std::string_view line) {
  if (line.find("charset=") != std::string_view::npos) return;
  size_t at = line.find("Language:");
  if (at == std::string_view::npos || !language_.empty()) return;
  std::string_view value = skip_blanks(line.substr(at + 9));
  if (!is_usable_code(value)) return;
  language_ = LanguageCode(value.substr(0, value.size() >= 5 && value[2] == '-' ? 5 : 2));
}

bool PoReader::message_line(std::string_view line) {
  if (language_.empty()) {
    report(ReportKind::no_language_code);
    return false;
  }
  if (line[0] == '"') return append(line);
  return keyword_line(line);
}

bool PoReader::keyword_line(std::string_view line) {
  if (open_text_ != kNoId) finish_open_text();
  if (line.starts_with("msgid ") && opened_any_) check_general_forms();
  open_text_ = kNoId;
  if (line.starts_with("msgid_plural")) {
    if (first_file_) return msgid_plural(line.substr(12));
  } else if (line.starts_with("msgid")) {
    return msgid(line.substr(5));
  } else if (line.starts_with("msgstr")) {
    return msgstr(line.substr(6));
  }
  collected_.clear();
  return true;
}

void PoReader::finish_open_text() {
  if (collected_.empty()) {
    report(ReportKind::empty_text, lines_.line_number() - 1);
    const MessageText& open = table_.text(open_text_);
    if (open.plural_index == kNoPluralIndex && before_open_ != kNoId) {
      const MessageText& before = table_.text(before_open_);
      if (before.language == open.language && before.plural_index == 1 && before.has_text)
        collected_ = before.text;
    }
  }
  table_.set_text(open_text_, collected_);
}

void PoReader::check_general_forms() {
  const ImportedMessage& last = table_.message(table_.message_count() - 1);
  if (last.general_key_texts == 0 || last.general_translations == 0)
    report(ReportKind::missing_general_form, lines_.line_number() - 1);
}

bool PoReader::last_message_wants_plural() const {
  if (table_.message_count() == 0) return false;
  const ImportedMessage& last = table_.message(table_.message_count() - 1);
  return last.key_texts > 0 && last.translations == 0;
}

bool PoReader::msgid_plural(std::string_view rest) {
  MessageText key = MessageText::make(key_, true, kNoPluralIndex);
  if (!last_message_wants_plural()) return open_text(table_.add_message(), key, rest);
  auto last = static_cast<uint32_t>(table_.message_count() - 1);
  uint32_t first_key = table_.message(last).first;
  while (!table_.text(first_key).key) first_key = table_.text(first_key).next;
  table_.set_plural_index(last, first_key, 1);
  return open_text(last, key, rest);
}

bool PoReader::msgid(std::string_view rest) {
  MessageText key = MessageText::make(key_, true, kNoPluralIndex);
  if (last_message_wants_plural()) {
    key.plural_index = 1;
    return open_text(static_cast<uint32_t>(table_.message_count() - 1), key, rest);
  }
  if (first_file_) return open_text(table_.add_message(), key, rest);
  return find_later_msgid(rest);
}

bool PoReader::msgstr(std::string_view rest) {
  MessageText translation = MessageText::make(language_, false, kNoPluralIndex);
  rest = skip_blanks(rest);
  if (!rest.empty() && rest[0] == '[') {
    rest.remove_prefix(1);
    int index = catalog::read_decimal(rest);
    rest = skip_blanks(rest);
    if (!rest.empty() && rest[0] == ']') rest.remove_prefix(1);
    if (index == 0) translation.plural_index = 1;
  }
  if (current_ == kNoId) {  // no msgid yet: nothing to translate
    collected_.clear();
    return true;
  }
  return open_text(current_, translation, rest);
}

// A later file's msgid names a message of the table: its whole string, continuation lines
// included, must equal a key text.
bool PoReader::find_later_msgid(std::string_view rest) {
  collected_.clear();
  rest = skip_blanks(rest);
  if (!rest.empty() && rest[0] == '"' && !append(rest)) return false;
  for (;;) {
    catalog::LineReader saved = lines_;
    std::string_view line;
    if (!next_line(line)) break;
    line = skip_blanks(line);
    if (line.empty() || line[0] != '"') {
      lines_ = saved;
      line_ = lines_.line_number();
      break;
    }
    if (!append(line)) return false;
  }
  current_ = table_.find_by_key_text(collected_);
  if (current_ != kNoId) return true;
  report(ReportKind::msgid_not_found, lines_.line_number());
  return false;
}

bool PoReader::open_text(uint32_t message, const MessageText& text, std::string_view rest) {
  before_open_ = table_.message(message).last;
  open_text_ = table_.add_text(message, text);
  current_ = message;
  opened_any_ = true;
  collected_.clear();
  rest = skip_blanks(rest);
  return rest.empty() || rest[0] != '"' || append(rest);
}

bool PoReader::append(std::string_view string) {
  if (append_po_string(collected_, string)) return true;
  report(ReportKind::message_too_long, lines_.line_number());
  return false;
}

}  // namespace

bool append_po_string(std::string& collected, std::string_view string) {
  for (size_t i = 1; i < string.size() && string[i] != '"'; ++i) {
    char byte = string[i];
    bool escape = byte == '\\' && i + 1 < string.size();
    if (escape && string[i + 1] != '"' && string[i + 1] != '\'') {
      if (collected.size() >= kMaxTextLength) return false;
      collected += byte;
    }
    if (escape) byte = string[++i];
    if (collected.size() >= kMaxTextLength) return false;
    collected += byte;
  }
  return true;
}

bool read_po_file(std::string_view bytes, bool creates_messages, LanguageCode key_language,
                  LanguageCode& language, const ReadTarget& target) {
  catalog::skip_utf8_bom(bytes);
  return PoReader(bytes, creates_messages, key_language, language, target).read();
}

}  // namespace catintake
