#pragma once
// Running other programs through the shell, for tests that check the tools' files with the
// programs translators and scripts use on them, and skip when such a program is missing.

#include <string>

namespace testing_support {

struct Command {
  int exit_code = -1;
  std::string output;  // standard output and standard error
};

// Runs `command` with /bin/sh, standard error joined to standard output.
Command shell(const std::string& command);
// Whether the shell finds a program `name`.
bool has_tool(const std::string& name);
// `path` in single quotes, for a path without a quote of its own.
std::string shell_quoted(const std::string& path);

}  // namespace testing_support
