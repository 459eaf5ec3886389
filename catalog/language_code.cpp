#include "catalog/language_code.h"

#include <algorithm>

namespace catalog {

LanguageCode::LanguageCode(std::string_view code) {
  size_ = static_cast<uint8_t>(std::min<size_t>(code.size(), sizeof bytes_));
  std::copy_n(code.data(), size_, bytes_);
}

LanguageCode copy_language_code(std::string_view text) {
  size_t length = text.size() >= 3 && text[2] == '-' ? 5 : 2;
  return LanguageCode(text.substr(0, length));
}

std::string_view language_prefix(std::string_view text) {
  size_t length = 0;
  while (length < text.size() && length < 5 &&
         (is_ascii_alnum(text[length]) || text[length] == '-'))
    ++length;
  return text.substr(0, length);
}

}  // namespace catalog
