#pragma once
// The value of the predefined macro _DATE_: a quoted "(Mmm dd yyyy) " with English month names.

#include <ctime>
#include <string>

namespace catprep {

// From `source_date_epoch` (decimal seconds since 1970, UTC) when it is given and valid, else
// from the local date at `now`.
std::string date_macro_value(const char* source_date_epoch, std::time_t now);

}  // namespace catprep
