#pragma once

#include "platform/console.h"

namespace catweld {

// One run of the tool: `args` as the command line gives them, program name first.
// Returns the exit code.
int run(const cattools::Args& args, cattools::Console& console);

}  // namespace catweld
