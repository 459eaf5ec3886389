#pragma once
// The well-formedness check of an XLIFF file. A real XML parser judges the whole file before
// the tag scanner reads it, so that a broken file fails as a whole instead of being read as
// far as the scanner happens to make sense of it.

#include <optional>
#include <string>
#include <string_view>

namespace catintake {

struct XmlFault {
  int line = 0;         // counted from 1
  int column = 0;       // counted from 1, in characters
  std::string message;  // the parser's words
};

// The first place where `document` is not well-formed XML, or nullopt when it is. With `as_utf8`
// the bytes are read as UTF-8 whatever the XML declaration names (the caller has converted
// them); without it the byte-order mark and the declaration decide, as for a file read as it
// is. Nothing outside `document` is read: no DTD, no external entity. Throws std::bad_alloc
// when the parser runs out of memory.
std::optional<XmlFault> find_xml_fault(std::string_view document, bool as_utf8 = true);

}  // namespace catintake
