#pragma once
// What tells a main catalog from files that are none, so that a run refuses them before it
// writes anything: rewriting a PO file, an XML document, a binary file or a sub-catalog as a
// catalog would throw away every line of it that is no catalog line.

#include <optional>
#include <string_view>

#include "catweld/reports.h"

namespace catweld {

// Whether a command-line name ends in .po, .pot, .xlf or .xliff, letters in any case.
bool is_po_or_xliff_name(std::string_view name);

// What the bytes of a main catalog are instead of a text catalog, judged by their bytes alone:
// utf16_byte_order_mark (FF FE or FE FF first), nul_byte, begins_like_xml (after a UTF-8
// byte-order mark and blanks, '<'), begins_like_po (after a UTF-8 byte-order mark, blank lines
// and '#' lines, a line that begins with msgid or msgctxt, its leading blanks skipped); nullopt
// for all else.
std::optional<ReportKind> foreign_content(std::string_view bytes);

// Whether a line (leading blanks skipped, no line end) is a hash line the way sub-catalogs
// write them: '#', 1 to 8 hexadecimal digits, then nothing but blanks.
bool is_written_hash_line(std::string_view content);

}  // namespace catweld
