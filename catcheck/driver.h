#pragma once

#include "platform/console.h"

namespace catcheck {

// One run of the tool: `args` as the command line gives them, program name first. Returns the
// exit code: 0 when no error was found, 1 when one was, 2 for a wrong command line, a file that
// cannot be read or no memory.
int run(const cattools::Args& args, cattools::Console& console);

}  // namespace catcheck
