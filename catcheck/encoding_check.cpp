#include "catcheck/encoding_check.h"

#include <algorithm>

#include "catalog/text_routines.h"

namespace catcheck {

void EncodingCheck::add_line(std::string_view content, int line) {
  if (first_utf8_ != 0 && first_invalid_ != 0) return;
  bool ascii = std::all_of(content.begin(), content.end(),
                           [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
  if (ascii) return;
  int& first = catalog::is_valid_utf8(content) ? first_utf8_ : first_invalid_;
  if (first == 0) first = line;
}

void EncodingCheck::finish(size_t file, Findings& findings) const {
  if (first_utf8_ == 0 || first_invalid_ == 0) return;
  findings.add({FindingKind::mixed_encoding, file, first_invalid_,
                "this line is not UTF-8 while line " + std::to_string(first_utf8_) +
                    " is: the tools read the whole file as Latin-1, and its UTF-8 lines turn "
                    "into other characters",
                first_utf8_});
}

}  // namespace catcheck
