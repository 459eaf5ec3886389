#include "catexport/po_writer.h"

#include <string>

#include "catalog/plural_forms.h"
#include "catexport/translations.h"

namespace catexport {
namespace {

class PoWriter {
 public:
  PoWriter(const catalog::CatalogMessages& catalog, const PoSettings& settings, TextOutput& out)
      : catalog_(catalog), settings_(settings), out_(out) {
    if (!settings.language.empty()) forms_ = catalog::plural_rule(settings.language).forms;
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
  std::string buffer_;
  FirstMessages first_;
  PoCounts counts_;
};

PoCounts PoWriter::write() {
  header();
  for (const catalog::Message& message : catalog_.messages()) {
    LanguageView view = view_of(catalog_, message, settings_.language);
    counts_.plural_lines_left_out += view.other_plurals.size();
    if (!first_.is_first(view)) {
      ++counts_.duplicates_left_out;
      continue;
    }
    entry(view);
    if (buffer_.size() >= (1u << 16)) flush();
  }
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
  field("Content-Type", catalog_.is_utf8() ? "text/plain; charset=UTF-8"
                                           : "text/plain; charset=ISO-8859-1");
  field("Content-Transfer-Encoding", "8bit");
  // A template leaves the rule to the translator's tools: its entries have the two forms of
  // the key texts.
  if (!is_template) {
    catalog::PluralRule rule = catalog::plural_rule(settings_.language);
    field("Plural-Forms", "nplurals=" + std::to_string(rule.forms) + "; plural=" +
                              std::string(rule.expression) + ";");
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
  buffer_ += std::to_string(message.line);
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
  for (std::string_view comment : message.comments) {
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
    keyword("msgstr[" + std::to_string(form) + "]", one ? view.one.text : view.general.text);
  }
}

}  // namespace

PoCounts write_po(const catalog::CatalogMessages& catalog, const PoSettings& settings,
                  TextOutput& out) {
  return PoWriter(catalog, settings, out).write();
}

void append_po_text(std::string_view text, std::string& out) {
  for (size_t at = 0; at < text.size(); ++at) {
    char byte = text[at];
    if (byte == '"') {
      out += "\\\"";
    } else if (byte != '\\') {
      out += byte;
    } else if (at + 1 == text.size()) {
      out += "\\\\";
    } else {
      out += byte;
      out += text[++at];  // an escape as the catalog writes it, \" included
    }
  }
}

}  // namespace catexport
