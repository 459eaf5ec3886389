#pragma once
// Temporary files that must not outlive a run ended by a signal.
//
// A tool's main installs the handlers once; from then on SIGINT, SIGTERM and SIGHUP remove every
// registered temporary file and end the process by that same signal, and SIGXFSZ is ignored, so
// that a write beyond the file-size limit fails like any other write (EFBIG). The registry is the
// one piece of process-wide state of the tools: a signal handler can reach nothing else.

#include <string>

namespace cattools {

// Installs the handlers. A signal that was ignored when the process started (as `nohup` ignores
// SIGHUP) stays ignored.
void install_signal_cleanup();

// Registers the temporary file `name` in the directory `dir_fd`, which must stay open until the
// file is unregistered. False when the registry is full (then the file is not removed on a
// signal).
bool register_temporary(int dir_fd, const std::string& name);
void unregister_temporary(int dir_fd, const std::string& name);

}  // namespace cattools
