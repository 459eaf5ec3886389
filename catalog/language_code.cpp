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

bool is_valid_code(std::string_view code) {
  if (code.size() != 2 && code.size() != 5) return false;
  for (size_t i = 0; i < code.size(); ++i)
    if (!(i == 2 ? code[i] == '-' : is_ascii_alnum(code[i]))) return false;
  return true;
}

LanguageCode code_from_locale(std::string_view value) {
  auto alnum_at = [&](size_t i) { return i < value.size() && is_ascii_alnum(value[i]); };
  if (!alnum_at(0) || !alnum_at(1)) return {};
  bool separated = value.size() > 2 && (value[2] == '_' || value[2] == '-');
  bool region = separated && alnum_at(3) && alnum_at(4) && !alnum_at(5);
  // A longer or shorter part after the separator (a script such as "Hant", "419") names no
  // region the catalog can tell apart: no code rather than the wrong one.
  if (separated != region || alnum_at(2)) return {};
  if (!region) return LanguageCode(value.substr(0, 2));
  std::string_view two = value.substr(0, 2), rest = value.substr(3, 2);
  char code[5] = {two[0], two[1], '-', rest[0], rest[1]};
  return LanguageCode(std::string_view(code, 5));
}

std::string_view language_prefix(std::string_view text) {
  size_t length = 0;
  while (length < text.size() && length < 5 &&
         (is_ascii_alnum(text[length]) || text[length] == '-'))
    ++length;
  return text.substr(0, length);
}

}  // namespace catalog
