#pragma once
// Reads one PO file from memory into the translation table.

#include <string_view>

#include "catalog/language_code.h"
#include "catintake/translation_table.h"

namespace catintake {

// The longest text one keyword's strings may give.
inline constexpr size_t kMaxTextLength = 32767;

// Adds the messages of the PO file `bytes` to the table. The first input creates messages
// (`creates_messages`); later inputs add translations to messages the table holds. An empty
// `language` is taken from the header. Returns false after an error that ends the run (already
// reported).
bool read_po_file(std::string_view bytes, bool creates_messages, LanguageCode key_language,
                  LanguageCode& language, const ReadTarget& target);

// Appends the content of the quoted string that `string` begins with (at its '"') to
// `collected`; false when that would make `collected` longer than kMaxTextLength.
bool append_po_string(std::string& collected, std::string_view string);

}  // namespace catintake
