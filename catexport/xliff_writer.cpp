#include "catexport/xliff_writer.h"

#include <cstdio>
#include <string>
#include <unordered_map>

#include "catalog/catalog_format.h"
#include "catalog/text_routines.h"
#include "catexport/translations.h"

namespace catexport {
namespace {

bool append_character(char byte, bool leading, std::string& out) {
  auto value = static_cast<unsigned char>(byte);
  switch (byte) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    case '\n':
      out += "&#10;";
      return true;
    case '\t':
      out += "&#9;";
      return true;
    case '\r':
      out += "&#13;";
      return true;
    case ' ':
      out += leading ? "&#32;" : " ";
      return true;
    default:
      if (value < 0x20 || value == 0x7F) return false;
      out += byte;
      return true;
  }
}

// Decodes the catalog's escapes of `text` into characters, the leading "\$" aside.
std::string decoded_text(std::string_view text, bool& literal_dollar) {
  std::string decoded;
  literal_dollar = text.starts_with("\\$");
  for (size_t at = literal_dollar ? 2 : 0; at < text.size(); ++at) {
    char letter =
        text[at] == '\\' && at + 1 < text.size() ? catalog::escape_value(text[at + 1]) : '\0';
    if (letter != 0) ++at;
    decoded += letter != 0 ? letter : text[at];
  }
  return decoded;
}

class XliffWriter {
 public:
  XliffWriter(const catalog::CatalogMessages& catalog, const XliffSettings& settings,
              TextOutput& out)
      : catalog_(catalog), settings_(settings), out_(out), v2_(settings.version == "2.0") {}

  XliffCounts write();

 private:
  void opening();
  void message(const LanguageView& view);
  void plural_group(const LanguageView& view, const std::string& id);
  void unit(const std::string& id, const catalog::Message& message, std::string_view source,
            const Text& target);
  void notes(const catalog::Message& message);
  void text_element(std::string_view name, std::string_view text);
  std::string unit_id(const catalog::Message& message);
  void flush() {
    out_.write(buffer_);
    buffer_.clear();
  }

  const catalog::CatalogMessages& catalog_;
  const XliffSettings& settings_;
  TextOutput& out_;
  bool v2_;
  std::string buffer_;
  std::unordered_map<uint32_t, uint32_t> keys_seen_;  // message key -> messages with it so far
  XliffCounts counts_;
};

XliffCounts XliffWriter::write() {
  opening();
  LeftOut left_out = for_each_entry(catalog_, settings_.language, [&](const LanguageView& view) {
    message(view);
    if (buffer_.size() >= (1u << 16)) flush();
  });
  counts_.plural_lines_left_out = left_out.plural_lines;
  counts_.duplicates_left_out = left_out.duplicates;
  buffer_ += v2_ ? "</file>\n</xliff>\n" : "</body>\n</file>\n</xliff>\n";
  flush();
  return counts_;
}

void XliffWriter::opening() {
  buffer_ += "<?xml version=\"1.0\" encoding=\"";
  buffer_ += catalog_.is_utf8() ? "UTF-8" : "ISO-8859-1";
  buffer_ += "\"?>\n";
  std::string source(catalog_.key_language()), target(settings_.language);
  if (v2_) {
    buffer_ += "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"";
    buffer_ += source + "\" trgLang=\"" + target + "\">\n<file id=\"f1\" original=\"";
    append_xml_attribute(settings_.catalog_name, buffer_);
    buffer_ += "\">\n";
    return;
  }
  buffer_ +=
      "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
      "<file original=\"";
  append_xml_attribute(settings_.catalog_name, buffer_);
  buffer_ += "\" source-language=\"" + source + "\" target-language=\"" + target +
             "\" datatype=\"plaintext\">\n<body>\n";
}

// The message key in hexadecimal, as a hash line names it; a later message of the same key
// gets "-2", "-3", ...
std::string XliffWriter::unit_id(const catalog::Message& message) {
  uint32_t key = catalog::message_key(message.key_text, catalog_.key_language() == "00");
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08x", key);
  uint32_t seen = ++keys_seen_[key];
  return seen == 1 ? std::string(hex) : std::string(hex) + "-" + std::to_string(seen);
}

void XliffWriter::message(const LanguageView& view) {
  std::string id = unit_id(*view.message);
  if (view.is_plural()) return plural_group(view, id);
  unit(id, *view.message, view.message->key_text, view.general);
}

// Unit [0] holds the form for one, unit [1] the general form, as catintake reads plural groups.
// The index stands right after the key, so a unit's id is read as key and index.
void XliffWriter::plural_group(const LanguageView& view, const std::string& id) {
  size_t dash = id.find('-');
  std::string key = id.substr(0, dash), suffix = dash == std::string::npos ? "" : id.substr(dash);
  buffer_ += v2_ ? "<group id=\"" + id + "\" type=\"x-gettext-plurals\">\n"
                 : "<group id=\"" + id + "\" restype=\"x-gettext-plurals\">\n";
  unit(key + "[0]" + suffix, *view.message, view.key_one.text, view.one);
  unit(key + "[1]" + suffix, *view.message, view.message->key_text, view.general);
  buffer_ += "</group>\n";
}

void XliffWriter::unit(const std::string& id, const catalog::Message& message,
                       std::string_view source, const Text& target) {
  // Blanks are text: translation tools would fold them without xml:space.
  buffer_ += v2_ ? "<unit id=\"" : "<trans-unit xml:space=\"preserve\" id=\"";
  buffer_ += id;
  // A unit with a target is translated: translation tools would take it for unfinished else.
  buffer_ += target.present && !v2_ ? "\" approved=\"yes\">\n" : "\">\n";
  if (v2_) {
    notes(message);
    buffer_ += "<segment>\n";
  }
  text_element("source", source);
  if (target.present) text_element("target", target.text);
  if (!v2_) notes(message);
  buffer_ += v2_ ? "</segment>\n</unit>\n" : "</trans-unit>\n";
}

void XliffWriter::notes(const catalog::Message& message) {
  auto comments = catalog_.comments(message);
  if (comments.empty()) return;
  if (v2_) buffer_ += "<notes>";
  for (std::string_view comment : comments) {
    std::string text;
    if (!append_xml_text(comment_text(comment), text)) continue;
    buffer_ += "<note>" + text + "</note>";
  }
  buffer_ += v2_ ? "</notes>\n" : "\n";
}

void XliffWriter::text_element(std::string_view name, std::string_view text) {
  std::string content;
  if (!append_xml_text(text, content)) {
    ++counts_.texts_left_out;
    content.clear();
  }
  buffer_ += "<";
  buffer_ += name;
  buffer_ += ">" + content + "</";
  buffer_ += name;
  buffer_ += ">\n";
}

}  // namespace

XliffCounts write_xliff(const catalog::CatalogMessages& catalog, const XliffSettings& settings,
                        TextOutput& out) {
  return XliffWriter(catalog, settings, out).write();
}

bool append_xml_text(std::string_view text, std::string& out) {
  bool literal_dollar = false;
  std::string decoded = decoded_text(text, literal_dollar);
  std::string xml = literal_dollar ? "\\$" : "";
  bool leading = !literal_dollar;
  for (char byte : decoded) {
    if (!append_character(byte, leading, xml)) return false;
    leading = leading && catalog::is_blank(byte);
  }
  out += xml;
  return true;
}

void append_xml_attribute(std::string_view value, std::string& out) {
  for (char byte : value) {
    if (byte == '"')
      out += "&quot;";
    else if (!append_character(byte, false, out))
      out += ' ';
  }
}

}  // namespace catexport
