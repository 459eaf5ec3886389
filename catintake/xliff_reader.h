#pragma once
// Reads one XLIFF 1.2 or 2.0 file from memory into the translation table.

#include <string_view>

#include "catalog/language_code.h"
#include "catintake/translation_table.h"

namespace catintake {

// Adds every unit (version 2: segment) of the XLIFF file `bytes` to `target.table` as a
// message; the units of a plural group (restype "x-gettext-plurals") form one message. The
// file is read in the encoding it names and must be well-formed XML; its texts are converted
// to `target.encoding`. An empty `key_language` or `language` is the command line's "none":
// the units' languages then come from their <file> (version 2: the root), and the parameter
// receives the first one the file names; a key language still empty when the first unit
// begins or the file ends is set to `previous_key_language`. Returns false after an error
// that ends the run (already reported).
bool read_xliff_file(std::string_view bytes, LanguageCode& key_language,
                     LanguageCode previous_key_language, LanguageCode& language,
                     const ReadTarget& target);

}  // namespace catintake
