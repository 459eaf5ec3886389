#include "catexport/po_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "catalog/plural_forms.h"
#include "catexport/translations.h"

namespace catexport {
namespace {

class PoWriter {
 public:
  PoWriter(const catalog::CatalogMessages& catalog, const PoSettings& settings, TextOutput& out)
      : catalog_(catalog), settings_(settings), out_(out) {
    if (!settings.language.empty()) forms_ = catalog::plural_rule(settings.language).forms;
    for (int form = 0; form < forms_; ++form)
      msgstr_keywords_.push_back("msgstr[" + std::to_string(form) + "]");
  }

  PoCounts write();

 private:
  void header();
  void field(std::string_view name, std::string_view value);
  void entry(const LanguageView& view);
  void comments(const catalog::Message& message);
  void keyword(std::string_view keyword, std::string_view text);
  void translations(const LanguageView& view);
  void flush() {
    out_.write(buffer_);
    buffer_.clear();
  }

  const catalog::CatalogMessages& catalog_;
  const PoSettings& settings_;
  TextOutput& out_;
  int forms_ = 2;  // of the language: a template has the two of the key texts
  std::vector<std::string> msgstr_keywords_;  // "msgstr[0]", ...
  std::string buffer_;
  PoCounts counts_;
};

PoCounts PoWriter::write() {
  header();
  LeftOut left_out = for_each_entry(catalog_, settings_.language, [&](const LanguageView& view) {
    entry(view);
    if (buffer_.size() >= (1u << 16)) flush();
  });
  counts_.plural_lines_left_out = left_out.plural_lines;
  counts_.duplicates_left_out = left_out.duplicates;
  flush();
  return counts_;
}

void PoWriter::header() {
  bool is_template = settings_.language.empty();
  buffer_ += "msgid \"\"\nmsgstr \"\"\n";
  field("Project-Id-Version", settings_.catalog_name);
  if (!settings_.date.empty()) {
    field("POT-Creation-Date", settings_.date);
    if (!is_template) field("PO-Revision-Date", settings_.date);
  }
  field("Language", settings_.language);
  field("MIME-Version", "1.0");
  field("Content-Type",
        catalog_.is_utf8() ? "text/plain; charset=UTF-8" : "text/plain; charset=ISO-8859-1");
  field("Content-Transfer-Encoding", "8bit");
  // A template leaves the rule to the translator's tools: its entries have the two forms of
  // the key texts.
  if (!is_template) {
    catalog::PluralRule rule = catalog::plural_rule(settings_.language);
    field("Plural-Forms", "nplurals=" + std::to_string(rule.forms) +
                              "; plural=" + std::string(rule.expression) + ";");
  }
  field("X-Generator", "catexport " CATTOOLS_VERSION);
}

void PoWriter::field(std::string_view name, std::string_view value) {
  buffer_ += '"';
  append_po_text(name, buffer_);
  buffer_ += ": ";
  append_po_text(value, buffer_);
  buffer_ += "\\n\"\n";
}

void PoWriter::entry(const LanguageView& view) {
  const catalog::Message& message = *view.message;
  buffer_ += '\n';
  comments(message);
  buffer_ += "#: ";
  buffer_ += settings_.catalog_name;
  buffer_ += ':';
  char number[16];
  auto end = std::to_chars(number, number + sizeof number, message.line).ptr;
  buffer_.append(number, end);
  buffer_ += '\n';
  if (view.is_plural()) {
    keyword("msgid", view.key_one.text);
    keyword("msgid_plural", message.key_text);
  } else {
    keyword("msgid", message.key_text);
  }
  translations(view);
}

void PoWriter::comments(const catalog::Message& message) {
  for (std::string_view comment : catalog_.comments(message)) {
    std::string_view text = comment_text(comment);
    buffer_ += text.empty() ? "#." : "#. ";
    buffer_ += text;
    buffer_ += '\n';
  }
}

void PoWriter::keyword(std::string_view keyword, std::string_view text) {
  buffer_ += keyword;
  buffer_ += " \"";
  append_po_text(text, buffer_);
  buffer_ += "\"\n";
}

// msgstr[0] is the form for one, the other forms the general line; a language of one form has
// only the general line. A missing translation is an empty msgstr.
void PoWriter::translations(const LanguageView& view) {
  if (!view.is_plural()) return keyword("msgstr", view.general.text);
  for (int form = 0; form < forms_; ++form) {
    bool one = form == 0 && forms_ > 1;
    keyword(msgstr_keywords_[form], one ? view.one.text : view.general.text);
  }
}

}  // namespace

PoCounts write_po(const catalog::CatalogMessages& catalog, const PoSettings& settings,
                  TextOutput& out) {
  return PoWriter(catalog, settings, out).write();
}

namespace {

// Whether one of the eight bytes at `bytes` is a quote or a backslash.
bool has_quote_or_backslash(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  auto has_zero = [](uint64_t value) {
    return ((value - 0x0101010101010101u) & ~value & 0x8080808080808080u) != 0;
  };
  return has_zero(word ^ 0x2222222222222222u) || has_zero(word ^ 0x5C5C5C5C5C5C5C5Cu);
}

// The first quote or backslash at or after `at`, or the text's end.
size_t next_special(std::string_view text, size_t at) {
  while (at + 8 <= text.size() && !has_quote_or_backslash(text.data() + at)) at += 8;
  while (at < text.size() && text[at] != '"' && text[at] != '\\') ++at;
  return at;
}

}  // namespace

void append_po_text(std::string_view text, std::string& out) {
  size_t at = 0;
  while (at < text.size()) {
    size_t run = next_special(text, at);
    out.append(text.substr(at, run - at));
    if (run == text.size()) return;
    if (text[run] == '"') {
      out += "\\\"";
      at = run + 1;
    } else if (run + 1 == text.size()) {
      out += "\\\\";  // a backslash that ends the text would escape the closing quote
      return;
    } else {
      out.append(text.substr(run, 2));  // an escape as the catalog writes it, \" included
      at = run + 2;
    }
  }
}

}  // namespace catexport
