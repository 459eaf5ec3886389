#pragma once
// Test helper: runs the preprocessor in-process on templates held in memory.

#include <map>
#include <string>
#include <vector>

#include "tests/support/failing_file_system.h"

namespace catprep::testing {

struct TemplateRun {
  int exit_code = 0;
  std::string out;     // the console
  std::string output;  // the output file
};

// Runs `options` (each one argument), the output file and "t.tpl" holding `main`; `includes`
// are further files by name.
TemplateRun preprocess(const std::string& main, const std::vector<std::string>& options = {},
                       const std::map<std::string, std::string>& includes = {},
                       const testing_support::FaultPlan& faults = {});

}  // namespace catprep::testing
