#pragma once
// Reads one XLIFF 1.2 or 2.0 file from memory into the translation table.

#include <string_view>

#include "catalog/language_code.h"
#include "catintake/translation_table.h"

namespace catintake {

// Adds every unit (version 2: segment) of the XLIFF file `bytes` to `table` as a message; the
// units of a plural group form one message. An empty `key_language` or `language` is taken
// from the file; a key language still empty when the first unit begins or the file ends is
// set to `previous_key_language`. Returns false after an error that ends the run (already
// reported).
bool read_xliff_file(std::string_view bytes, LanguageCode& key_language,
                     LanguageCode previous_key_language, LanguageCode& language,
                     const ReadTarget& target);

}  // namespace catintake
