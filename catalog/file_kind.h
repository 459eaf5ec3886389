#pragma once
// Telling a catalog from the files that are given where a catalog is expected: rewriting a PO
// file, an XML document or a binary file as a catalog would throw away every line of it that
// is no catalog line.

#include <string_view>

namespace catalog {

// Whether a file name ends in .po, .pot, .xlf or .xliff, letters in any case.
bool has_translation_file_name(std::string_view name);

enum class TextKind {
  other,   // possibly a catalog
  utf16,   // a UTF-16 byte-order mark (FF FE or FE FF) first
  binary,  // a NUL byte anywhere
  xml,     // after a UTF-8 byte-order mark and blanks, '<'
  po,      // after a UTF-8 byte-order mark, blank lines and '#' lines, a msgid or msgctxt line
};

// What the bytes of an existing file are instead of a catalog, judged in the order above.
TextKind text_kind(std::string_view bytes);

// Why the bytes of a file that a tool only reads cannot be its catalog ("it begins like a PO
// file"): said for a PO file, an XML document and UTF-16 text; empty for any other bytes.
std::string_view not_a_catalog_reason(std::string_view bytes);

}  // namespace catalog
