#include "catintake/xml_scanner.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catintake {
namespace {

constexpr std::string_view kCdataStart = "<![CDATA[";
constexpr std::string_view kCdataEnd = "]]>";

void append_utf8(uint32_t code, std::string& text) {
  auto put = [&](uint32_t value) { text += static_cast<char>(value); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | code >> 6), put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | code >> 12), put(0x80 | (code >> 6 & 0x3F)), put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | code >> 18), put(0x80 | (code >> 12 & 0x3F));
    put(0x80 | (code >> 6 & 0x3F)), put(0x80 | (code & 0x3F));
  }
}

// How a decoded character is written: as itself (attribute values), or in the catalog's form,
// where a tab, a line feed, a carriage return and a backslash are escapes.
enum class Form { plain, catalog };

// The catalog's escape of a character that a catalog text cannot hold as it is; empty for
// every other character.
std::string_view catalog_escape(uint32_t code) {
  switch (code) {
    case '\t':
      return "\\t";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\\':
      return "\\\\";
    default:
      return {};
  }
}

void append_character(uint32_t code, Form form, std::string& text) {
  std::string_view escape = form == Form::catalog ? catalog_escape(code) : std::string_view();
  if (escape.empty())
    append_utf8(code, text);
  else
    text += escape;
}

// The character reference "&#...;" at the start of `raw`: its length, 0 when it is none
// that decodes.
size_t decode_reference(std::string_view raw, Form form, std::string& text) {
  size_t at = 2;
  int base = 10;
  if (at < raw.size() && raw[at] == 'x') base = 16, ++at;
  size_t digits = at;
  uint32_t code = 0;
  for (int digit;
       at < raw.size() && (digit = catalog::hex_digit_value(raw[at])) >= 0 && digit < base; ++at) {
    code = code * base + digit;
    if (code > 0x10FFFF) return 0;
  }
  if (at == digits || at >= raw.size() || raw[at] != ';') return 0;
  if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  append_character(code, form, text);
  return at + 1;
}

// The entity at the start of `raw` (which begins with '&'): its length, 0 when there is none.
size_t decode_entity(std::string_view raw, Form form, std::string& text) {
  static constexpr struct {
    std::string_view name;
    char character;
  } named[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}, {"&amp;", '&'}};
  for (const auto& entity : named) {
    if (!raw.starts_with(entity.name)) continue;
    text += entity.character;
    return entity.name.size();
  }
  return raw.starts_with("&#") ? decode_reference(raw, form, text) : 0;
}

void decode(std::string_view raw, Form form, std::string& text) {
  while (!raw.empty()) {
    char byte = raw[0];
    size_t used = byte == '&' ? decode_entity(raw, form, text) : 0;
    if (used == 0) {
      if (byte == '\n' || byte == '\\')
        append_character(static_cast<unsigned char>(byte), form, text);
      else
        text += byte;
      used = 1;
    }
    raw.remove_prefix(used);
  }
}

// A text that begins with a backslash and a dollar sign keeps them as they are: in a catalog
// "\\$" is the literal dollar sign that a text must begin with when it names no symbol key.
void keep_literal_dollar(std::string& text) {
  if (text.starts_with("\\\\$")) text.erase(0, 1);
}

bool is_name_end(char byte) {
  return catalog::is_blank(byte) || byte == '/' || byte == '>';
}

// One name="value" pair from the start of `rest` on, blanks allowed around '=' and the value in
// single or double quotes; false at the tag's end or at anything that is no such pair.
bool next_attribute(std::string_view& rest, std::string_view& name, std::string_view& raw) {
  rest = catalog::skip_blanks(rest);
  size_t end = 0;
  while (end < rest.size() && !is_name_end(rest[end]) && rest[end] != '=') ++end;
  name = rest.substr(0, end);
  rest = catalog::skip_blanks(rest.substr(end));
  if (name.empty() || !rest.starts_with('=')) return false;
  rest = catalog::skip_blanks(rest.substr(1));
  if (rest.empty() || (rest[0] != '"' && rest[0] != '\'')) return false;
  size_t close = rest.find(rest[0], 1);
  if (close == std::string_view::npos) return false;
  raw = rest.substr(1, close - 1);
  rest.remove_prefix(close + 1);
  return true;
}

}  // namespace

void decode_entities(std::string_view raw, std::string& text) {
  decode(raw, Form::catalog, text);
}

std::string_view tag_name(std::string_view tag) {
  tag.remove_prefix(std::min<size_t>(1, tag.size()));
  size_t end = tag.starts_with('/') ? 1 : 0;
  while (end < tag.size() && !is_name_end(tag[end])) ++end;
  return tag.substr(0, end);
}

std::optional<std::string> tag_attribute(std::string_view tag, std::string_view name) {
  std::string_view rest = tag.substr(std::min(tag.size(), 1 + tag_name(tag).size()));
  std::string_view attribute, raw;
  while (next_attribute(rest, attribute, raw)) {
    if (attribute != name) continue;
    std::string value;
    decode(raw, Form::plain, value);
    return value;
  }
  return std::nullopt;
}

bool XmlScanner::next_tag(std::string& tag) {
  size_t open = rest_.find('<');
  if (open == std::string_view::npos) open = rest_.size();
  line_number_ += static_cast<int>(std::count(rest_.begin(), rest_.begin() + open, '\n'));
  rest_.remove_prefix(open);
  return read_tag(tag);
}

bool XmlScanner::next_text(std::string& text, size_t& length, std::string& tag) {
  text.clear();
  length = 0;
  std::string raw;
  bool line_start = true;
  while (!rest_.empty() && (rest_[0] != '<' || rest_.starts_with(kCdataStart))) {
    char byte = rest_[0];
    if (byte == '<') {
      decode_entities(raw, text);
      raw.clear();
      read_cdata(text, length);
      line_start = false;
      continue;
    }
    rest_.remove_prefix(1);
    if (byte == '\r' && next_is_line_feed(0)) continue;
    if (byte == '\n') {
      ++line_number_;
      raw += byte, length += 2;
      line_start = true;
    } else if (!(line_start && catalog::is_blank(byte))) {
      raw += byte, length += byte == '\\' ? 2 : 1;
      line_start = false;
    }
  }
  decode_entities(raw, text);
  keep_literal_dollar(text);
  return read_tag(tag);
}

void XmlScanner::read_cdata(std::string& text, size_t& length) {
  rest_.remove_prefix(kCdataStart.size());
  size_t end = rest_.find(kCdataEnd);
  std::string_view content = rest_.substr(0, end);
  rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + kCdataEnd.size());
  for (size_t at = 0; at < content.size(); ++at) {
    if (content[at] == '\r' && at + 1 < content.size() && content[at + 1] == '\n') continue;
    if (content[at] == '\n') {
      ++line_number_;
      text += "\\n", length += 2;
    } else if (content[at] == '\\') {
      text += "\\\\", length += 2;
    } else {
      text += content[at], ++length;
    }
  }
}

bool XmlScanner::read_tag(std::string& tag) {
  tag.clear();
  size_t close = rest_.find('>');
  if (rest_.empty() || close == std::string_view::npos) {
    rest_ = {};
    return false;
  }
  for (size_t at = 0; at <= close; ++at) {
    char byte = rest_[at];
    if (byte == '\r' && next_is_line_feed(at + 1)) continue;
    if (byte == '\n') ++line_number_;
    tag += static_cast<unsigned char>(byte) < 0x20 ? ' ' : byte;
  }
  rest_.remove_prefix(close + 1);
  return true;
}

bool XmlScanner::next_is_line_feed(size_t at) const {
  return at < rest_.size() && rest_[at] == '\n';
}

}  // namespace catintake
