#pragma once
// The tag scanner of the XLIFF reader: tags and element texts of an in-memory file.

#include <optional>
#include <string>
#include <string_view>

namespace catintake {

class XmlScanner {
 public:
  // Counts the lines it reads into `line_number`, which starts at 1.
  XmlScanner(std::string_view bytes, int& line_number) : rest_(bytes), line_number_(line_number) {
    line_number_ = 1;
  }

  // Skips the text up to the next '<' and reads the tag from there up to its '>' into `tag`,
  // bytes below 0x20 stored as blanks. False at the end of the file, also when it cuts a tag.
  bool next_tag(std::string& tag);

  // Reads an element's text into `text`, in the catalog's form, and then the tag that ends it
  // (see `next_tag`); false at the end of the file. XML holds plain text: line feeds become
  // the two bytes backslash and n and backslashes two backslashes (but a text that begins with
  // backslash and dollar keeps them, the catalog's literal dollar), the blanks at the start of
  // the text and after each line feed are dropped, entities are decoded (see
  // `decode_entities`), and CDATA sections are taken literally. `length` receives the text's
  // length before decoding, a line feed and a backslash counted as the two bytes they become.
  bool next_text(std::string& text, size_t& length, std::string& tag);

  // 1 plus the line feeds read so far.
  int line_number() const { return line_number_; }

 private:
  bool read_tag(std::string& tag);
  void read_cdata(std::string& text, size_t& length);
  bool next_is_line_feed(size_t at) const;

  std::string_view rest_;
  int& line_number_;
};

// Appends the character data `raw` to `text` in the catalog's form, in one pass: the five named
// entities and character references decoded, references as UTF-8 except that tabs, line feeds,
// carriage returns and backslashes, referenced or raw (tabs and carriage returns referenced
// only), become the escapes \t, \n, \r and \\; references to 0, a surrogate, beyond
// U+10FFFF or malformed stay as written.
void decode_entities(std::string_view raw, std::string& text);

// The element name of a tag ("<file ...>": "file"; "</file>": "/file").
std::string_view tag_name(std::string_view tag);

// The value of the tag's own attribute `name` (name="value" or name='value', blanks around the
// '=' allowed), with the named entities and character references decoded; nullopt when the
// tag has no such attribute. A name inside another attribute's value does not count.
std::optional<std::string> tag_attribute(std::string_view tag, std::string_view name);

}  // namespace catintake
