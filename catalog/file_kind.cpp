#include "catalog/file_kind.h"

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"

namespace catalog {

bool has_translation_file_name(std::string_view name) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string_view extension = name.substr(dot);
  for (std::string_view known : {".po", ".pot", ".xlf", ".xliff"})
    if (equals_ignoring_case(extension, known)) return true;
  return false;
}

TextKind text_kind(std::string_view bytes) {
  skip_utf8_bom(bytes);
  if (skip_blanks(bytes).starts_with('<')) return TextKind::xml;
  LineReader lines(bytes);
  std::string_view line;
  while (lines.next(line)) {
    line = skip_blanks(line);
    if (line.empty() || line.starts_with('#')) continue;
    return line.starts_with("msgid") || line.starts_with("msgctxt") ? TextKind::po
                                                                     : TextKind::other;
  }
  return TextKind::other;
}

}  // namespace catalog
