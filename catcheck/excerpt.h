#pragma once

#include <string>
#include <string_view>

namespace catcheck {

// `text` as a finding quotes it: whole up to 60 bytes, else its first 57 and "...", never cut
// inside a UTF-8 sequence.
std::string excerpt(std::string_view text);

}  // namespace catcheck
