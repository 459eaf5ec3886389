#pragma once
// The whole of each tool's main(): the signal handlers, the console on the standard streams,
// the run, and the exit code (1 when standard output could not take what the run printed).

#include "platform/console.h"

namespace cattools {

int tool_main(int argc, char** argv, ToolEntry run);

}  // namespace cattools
