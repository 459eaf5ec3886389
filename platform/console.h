#pragma once
// The connection of one tool run to the outside world: its two output streams and the calls
// through which its output files reach the disk. Tools take everything they print and write
// from here, so a test can run a tool in-process, read exactly what it said, and make any of
// its file calls fail.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace cattools {

struct Console {
  std::ostream& out;
  std::ostream& err;
  FileSystem& files = system_file_system();
};

using Args = std::vector<std::string>;  // argv, program name first

using ToolEntry = int (*)(const Args&, Console&);

// Writes straight to the stream's buffer, so that an allocation failure inside it reaches the
// caller (a stream would only mark itself bad). True when the whole text went out.
bool write_console(std::ostream& stream, std::string_view text);

}  // namespace cattools
