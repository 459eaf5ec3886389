#include "tests/support/shell_command.h"

#include <sys/wait.h>
#include <cstdio>

namespace testing_support {

Command shell(const std::string& command) {
  Command result;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    result.output.append(chunk, got);
  int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

bool has_tool(const std::string& name) {
  return shell("command -v " + name + " >/dev/null").exit_code == 0;
}

std::string shell_quoted(const std::string& path) {
  return "'" + path + "'";
}

}  // namespace testing_support
