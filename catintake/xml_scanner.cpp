#include "catintake/xml_scanner.h"

#include <algorithm>
#include <cstdint>

#include "catalog/text_routines.h"
#include "catalog/numbers.h"

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

// The character reference "&#...;" at the start of `raw`: its length, 0 when it is none
// that decodes.
size_t decode_reference(std::string_view raw, std::string& text) {
  size_t at = 2;
  int base = 10;
  if (at < raw.size() && raw[at] == 'x') base = 16, ++at;
  size_t digits = at;
  uint32_t code = 0;
  for (int digit; at < raw.size() && (digit = catalog::hex_digit_value(raw[at])) >= 0 && digit < base; ++at) {
    code = code * base + digit;
    if (code > 0x10FFFF) return 0;
  }
  if (at == digits || at >= raw.size() || raw[at] != ';') return 0;
  if (code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  if (code == 9)
    text += "\\t";
  else if (code == 10)
    text += "\\n";
  else if (code == 13)
    text += "\\r";
  else
    append_utf8(code, text);
  return at + 1;
}

// The entity at the start of `raw` (which begins with '&'): its length, 0 when there is none.
size_t decode_entity(std::string_view raw, std::string& text) {
  static constexpr struct {
    std::string_view name;
    char character;
  } named[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}, {"&amp;", '&'}};
  for (const auto& entity : named) {
    if (!raw.starts_with(entity.name)) continue;
    text += entity.character;
    return entity.name.size();
  }
  return raw.starts_with("&#") ? decode_reference(raw, text) : 0;
}

}  // namespace

void decode_entities(std::string_view raw, std::string& text) {
  while (!raw.empty()) {
    size_t amp = raw.find('&');
    text.append(raw.substr(0, amp));
    if (amp == std::string_view::npos) return;
    raw.remove_prefix(amp);
    size_t used = decode_entity(raw, text);
    if (used == 0) text += '&', used = 1;
    raw.remove_prefix(used);
  }
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
      raw += "\\n", length += 2;
      line_start = true;
    } else if (!(line_start && catalog::is_blank(byte))) {
      raw += byte, ++length;
      line_start = false;
    }
  }
  decode_entities(raw, text);
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
