#pragma once
// The connection of one tool run to the outside world: its two output streams and the
// failures a test wants the file layer to simulate. Tools take everything they print from
// here, so a test can run a tool in-process and read exactly what it said.

#include <ostream>
#include <string>
#include <vector>

namespace cattools {

// Failures injected into the output files of one run. Counting starts at 1; 0 means never.
struct FaultPlan {
  int fail_write = 0;      // the n-th write call on an output file fails with ENOSPC
  bool fail_close = false;  // closing an output file fails with EIO
  bool fail_rename = false; // replacing the original by its rewritten copy fails with EIO
};

struct Console {
  std::ostream& out;
  std::ostream& err;
  FaultPlan faults{};
};

using Args = std::vector<std::string>;  // argv, program name first

}  // namespace cattools
