#pragma once
// Texts of translators' files in the catalog's encoding.
//
// A catalog is UTF-8 or Latin-1 (see the catalog format). A PO file names its charset in its
// header, an XLIFF file in its XML declaration; their texts are converted to the catalog's
// encoding, and a text that cannot be converted is reported and skipped rather than garbled.

#include <iconv.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace catintake {

enum class CatalogEncoding { utf8, latin1 };

enum class Conversion {
  converted,
  invalid_input,      // bytes that are invalid in the source charset
  not_representable,  // a character the catalog's encoding cannot hold
};

// Whether `charset` is one of `aliases`, ASCII case ignored.
bool is_charset_named(std::string_view charset, std::initializer_list<std::string_view> aliases);
bool is_utf8_name(std::string_view charset);

// The charset a file begins with by its byte-order mark, or that UTF-16 text without one
// shows in its first bytes ("<?" as UTF-16); empty for any other file. `bom_size` receives the
// mark's length.
std::string_view detect_utf16(std::string_view bytes, size_t& bom_size);

// Converts a text from one charset to the catalog's encoding.
class TextConverter {
 public:
  TextConverter() = default;  // copies texts as they are
  TextConverter(TextConverter&& other) noexcept;
  TextConverter& operator=(TextConverter&& other) noexcept;
  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;
  ~TextConverter();

  // Converts from `charset` (a name iconv knows, in any case) to `target`; false when the
  // charset is unknown. UTF-8 and Latin-1 are read without iconv.
  bool open(std::string_view charset, CatalogEncoding target);
  // Converts into the catalog's encoding without a charset: UTF-8 text is only checked.
  void open_utf8(CatalogEncoding target);

  // Sets `out` to the text in the catalog's encoding: `text` itself when it needs no change,
  // else the converted bytes in `buffer`.
  Conversion convert(std::string_view text, std::string& buffer, std::string_view& out);

 private:
  friend bool file_to_utf8(std::string_view, std::string_view, std::string&, size_t&);
  enum class Source { as_is, utf8, latin1, other };
  Conversion to_target(std::string_view utf8, std::string& buffer, std::string_view& out) const;
  void close();

  Source source_ = Source::as_is;
  CatalogEncoding target_ = CatalogEncoding::utf8;
  iconv_t to_utf8_ = reinterpret_cast<iconv_t>(-1);
  std::string work_;
};

// Converts a whole file from `charset` to UTF-8; false, with `bad_offset` at the first byte
// that does not convert, when some bytes are invalid or the charset is unknown (then
// `bad_offset` is npos).
bool file_to_utf8(std::string_view bytes, std::string_view charset, std::string& out,
                  size_t& bad_offset);

}  // namespace catintake
