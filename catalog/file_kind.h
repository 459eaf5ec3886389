#pragma once
// Telling a catalog from the translators' files that are given where a catalog is expected:
// rewriting a PO or XLIFF file as a catalog would destroy it.

#include <string_view>

namespace catalog {

// Whether a file name ends in .po, .pot, .xlf or .xliff, in any case.
bool has_translation_file_name(std::string_view name);

enum class TextKind {
  other,     // possibly a catalog
  po,        // after a byte-order mark, blank lines and '#' comments, a msgid or msgctxt line
  xml,       // after a byte-order mark and blanks, '<'
};

// What the bytes of an existing file begin like.
TextKind text_kind(std::string_view bytes);

}  // namespace catalog
