#pragma once
// The 32-bit message keys of catalog messages. The values are part of the file format
// (sub-catalog hash lines hold them), so both functions must stay bit for bit as they are.

#include <cstdint>
#include <string_view>

namespace catalog {

// Key of a text: the given bytes exactly (decoded key text, symbol or raw numeric text).
// Like a lookup2 hash with initial value 0, except that after the 12-byte blocks only the
// number of bytes left over, not the total length, is added.
uint32_t text_key_hash(std::string_view bytes);

// Key of a number, given in its 32-bit two's-complement form.
uint32_t numeric_key_hash(uint32_t value);

}  // namespace catalog
