#include "catcheck/excerpt.h"

namespace catcheck {

std::string excerpt(std::string_view text) {
  constexpr size_t kWhole = 60, kCut = 57;
  if (text.size() <= kWhole) return std::string(text);
  size_t cut = kCut;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut)) + "...";
}

}  // namespace catcheck
