#pragma once
// The tag scanner of the XLIFF reader: tags and element texts of an in-memory file.

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

  // Reads an element's text into `text` and then the tag that ends it (see `next_tag`); false
  // at the end of the file. Line feeds become the two bytes backslash and n, the blanks at the
  // start of the text and after each line feed are dropped, entities are decoded, and CDATA
  // sections are taken literally. `length` receives the text's length before decoding.
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

// Decodes the entities of `raw` onto the end of `text` in one pass: the five named ones, and
// character references as UTF-8 (9, 10 and 13 as the escapes \t, \n, \r); references to 0, a
// surrogate, beyond U+10FFFF or malformed stay as written.
void decode_entities(std::string_view raw, std::string& text);

}  // namespace catintake
