#include "catalog/key_hash.h"

namespace catalog {
namespace {

constexpr uint32_t kGoldenRatio = 0x9E3779B9u;

void mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= b;
  a -= c;
  a ^= c >> 13;
  b -= c;
  b -= a;
  b ^= a << 8;
  c -= a;
  c -= b;
  c ^= b >> 13;
  a -= b;
  a -= c;
  a ^= c >> 12;
  b -= c;
  b -= a;
  b ^= a << 16;
  c -= a;
  c -= b;
  c ^= b >> 5;
  a -= b;
  a -= c;
  a ^= c >> 3;
  b -= c;
  b -= a;
  b ^= a << 10;
  c -= a;
  c -= b;
  c ^= b >> 15;
}

uint32_t byte_at(std::string_view bytes, size_t index) {
  return static_cast<unsigned char>(bytes[index]);
}

uint32_t little_endian_word(std::string_view bytes, size_t at) {
  return byte_at(bytes, at) | byte_at(bytes, at + 1) << 8 | byte_at(bytes, at + 2) << 16 |
         byte_at(bytes, at + 3) << 24;
}

}  // namespace

uint32_t text_key_hash(std::string_view bytes) {
  uint32_t a = kGoldenRatio, b = kGoldenRatio, c = 0;
  while (bytes.size() >= 12) {
    a += little_endian_word(bytes, 0);
    b += little_endian_word(bytes, 4);
    c += little_endian_word(bytes, 8);
    mix(a, b, c);
    bytes.remove_prefix(12);
  }
  c += static_cast<uint32_t>(bytes.size());
  // Bytes left over go to fixed places; the low byte of c already holds their count.
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint32_t shifted = byte_at(bytes, i) << (8 * (i % 4));
    if (i < 4)
      a += shifted;
    else if (i < 8)
      b += shifted;
    else
      c += shifted << 8;
  }
  mix(a, b, c);
  return c;
}

uint32_t numeric_key_hash(uint32_t v) {
  v += v << 12;
  v ^= v >> 22;
  v += v << 4;
  v ^= v >> 9;
  v += v << 10;
  v ^= v >> 2;
  v += v << 7;
  v ^= v >> 12;
  return v ^ kGoldenRatio;
}

}  // namespace catalog
