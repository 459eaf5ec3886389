#pragma once

#include "platform/console.h"

namespace catexport {

// One run of the tool: `args` as the command line gives them, program name first.
// Returns the exit code.
int run(const cattools::Args& args, cattools::Console& console);

}  // namespace catexport
