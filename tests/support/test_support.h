#pragma once
// Helpers shared by every test binary: scratch directories, file access, in-process tool
// runs, and allocation-failure injection.

#include <cstddef>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "tests/support/failing_file_system.h"

namespace testing_support {

// A fresh directory below the system's temporary directory, removed with its contents.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

void write_file(const std::string& path, std::string_view bytes);
std::string read_file(const std::string& path);  // empty when it cannot be read
bool is_root();
// The source tree, for tests that read shipped data (real-world samples, examples).
std::string source_dir();

// The outcome of one in-process tool run.
struct RunResult {
  int exit_code = 0;
  std::string out;
  std::string err;
  long allocations = 0;  // made by the run, counted only when an allocation failure was armed
};

using cattools::ToolEntry;
// Runs a tool's entry on string streams. With `failing_allocation` n > 0, the n-th allocation
// made inside the entry throws std::bad_alloc.
RunResult run_tool(ToolEntry entry, const cattools::Args& args, const FaultPlan& faults = {},
                   long failing_allocation = 0);

// While alive, the `n`-th allocation (counted from 1) made through operator new throws
// std::bad_alloc, and so does every later one when `sticky` is set.
class AllocationFailure {
 public:
  explicit AllocationFailure(long n, bool sticky = false);
  ~AllocationFailure();
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;
  static long allocations_seen();  // while a failure is armed
};

// Runs the tool once for every allocation it makes, with that allocation failing, and calls
// `check(n, result)` after each such run. Returns the number of allocations of a clean run.
long for_each_allocation_failure(ToolEntry entry, const cattools::Args& args,
                                 const std::function<void(long, const RunResult&)>& check);

}  // namespace testing_support
