#include "platform/console.h"

#include <streambuf>

namespace cattools {

bool write_console(std::ostream& stream, std::string_view text) {
  std::streambuf* buffer = stream.rdbuf();
  auto size = static_cast<std::streamsize>(text.size());
  return buffer != nullptr && buffer->sputn(text.data(), size) == size && buffer->pubsync() == 0;
}

}  // namespace cattools
