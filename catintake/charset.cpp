#include "catintake/charset.h"

#include <cerrno>
#include <utility>

#include "catalog/text_routines.h"

namespace catintake {

bool is_charset_named(std::string_view charset, std::initializer_list<std::string_view> aliases) {
  for (std::string_view alias : aliases)
    if (catalog::equals_ignoring_case(charset, alias)) return true;
  return false;
}

bool is_utf8_name(std::string_view charset) {
  return is_charset_named(charset, {"UTF-8", "UTF8"});
}

namespace {

// iconv_open's failure value, as its interface defines it.
const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

bool is_latin1_name(std::string_view charset) {
  return is_charset_named(charset, {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1", "L1"});
}

void latin1_to_utf8(std::string_view text, std::string& out) {
  out.clear();
  for (char byte : text) {
    auto value = static_cast<unsigned char>(byte);
    if (value < 0x80) {
      out += byte;
    } else {
      out += static_cast<char>(0xC0 | value >> 6);
      out += static_cast<char>(0x80 | (value & 0x3F));
    }
  }
}

// Runs `text` through `converter` into `out`; the offset of the first byte that does not
// convert, or npos.
size_t run_iconv(iconv_t converter, std::string_view text, std::string& out) {
  out.clear();
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  size_t in_left = text.size();
  char buffer[4096];
  while (in_left > 0) {
    char* to = buffer;
    size_t to_left = sizeof buffer;
    size_t result = iconv(converter, &in, &in_left, &to, &to_left);
    out.append(buffer, static_cast<size_t>(to - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG)
      return static_cast<size_t>(in - text.data());
  }
  char* to = buffer;
  size_t to_left = sizeof buffer;
  iconv(converter, nullptr, nullptr, &to, &to_left);  // the shift back to the initial state
  out.append(buffer, static_cast<size_t>(to - buffer));
  return std::string_view::npos;
}

}  // namespace

std::string_view detect_utf16(std::string_view bytes, size_t& bom_size) {
  bom_size = 2;
  if (bytes.starts_with("\xFF\xFE")) return "UTF-16LE";
  if (bytes.starts_with("\xFE\xFF")) return "UTF-16BE";
  bom_size = 0;
  if (bytes.starts_with(std::string_view("<\0?\0", 4))) return "UTF-16LE";
  if (bytes.starts_with(std::string_view("\0<\0?", 4))) return "UTF-16BE";
  return {};
}

TextConverter::TextConverter(TextConverter&& other) noexcept {
  *this = std::move(other);
}

TextConverter& TextConverter::operator=(TextConverter&& other) noexcept {
  if (this != &other) {
    close();
    source_ = other.source_;
    target_ = other.target_;
    to_utf8_ = std::exchange(other.to_utf8_, kNoIconv);
  }
  return *this;
}

TextConverter::~TextConverter() {
  close();
}

void TextConverter::close() {
  if (to_utf8_ != kNoIconv) iconv_close(to_utf8_);
  to_utf8_ = kNoIconv;
}

bool TextConverter::open(std::string_view charset, CatalogEncoding target) {
  close();
  target_ = target;
  if (is_utf8_name(charset)) {
    source_ = Source::utf8;
    return true;
  }
  if (is_latin1_name(charset)) {
    source_ = Source::latin1;
    return true;
  }
  to_utf8_ = iconv_open("UTF-8", std::string(charset).c_str());
  source_ = Source::other;
  return to_utf8_ != kNoIconv;
}

void TextConverter::open_utf8(CatalogEncoding target) {
  close();
  target_ = target;
  source_ = Source::utf8;
}

Conversion TextConverter::convert(std::string_view text, std::string& buffer,
                                  std::string_view& out) {
  out = text;
  switch (source_) {
    case Source::as_is:
      return Conversion::converted;
    case Source::utf8:
      if (!catalog::is_valid_utf8(text)) return Conversion::invalid_input;
      return to_target(text, buffer, out);
    case Source::latin1:
      if (target_ == CatalogEncoding::latin1) return Conversion::converted;
      latin1_to_utf8(text, buffer);
      out = buffer;
      return Conversion::converted;
    case Source::other:
      break;
  }
  // The result must live in `buffer`: the next text reuses `work_`.
  if (run_iconv(to_utf8_, text, buffer) != std::string_view::npos) return Conversion::invalid_input;
  out = buffer;
  if (target_ == CatalogEncoding::utf8) return Conversion::converted;
  work_.swap(buffer);
  return to_target(work_, buffer, out);
}

// ASCII and, for a UTF-8 catalog, any UTF-8 text stand as they are.
Conversion TextConverter::to_target(std::string_view utf8, std::string& buffer,
                                    std::string_view& out) const {
  out = utf8;
  if (target_ == CatalogEncoding::utf8) return Conversion::converted;
  if (catalog::utf8_to_single_byte(utf8, buffer) != catalog::SingleByteConversion::converted)
    return Conversion::not_representable;
  out = buffer;
  return Conversion::converted;
}

bool file_to_utf8(std::string_view bytes, std::string_view charset, std::string& out,
                  size_t& bad_offset) {
  TextConverter converter;  // closes the conversion on every way out
  bad_offset = std::string_view::npos;
  if (!converter.open(charset, CatalogEncoding::utf8)) return false;
  if (converter.source_ != TextConverter::Source::other) {
    std::string_view converted;
    Conversion result = converter.convert(bytes, out, converted);
    if (result != Conversion::converted) bad_offset = 0;
    if (converted.data() != out.data()) out.assign(converted);
    return result == Conversion::converted;
  }
  bad_offset = run_iconv(converter.to_utf8_, bytes, out);
  return bad_offset == std::string_view::npos;
}

}  // namespace catintake
