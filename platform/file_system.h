#pragma once
// The calls through which an output file reaches the disk. Product code makes them through this
// interface, so that a test can make any one of them fail; `system_file_system()` is the real
// one. Each call returns 0 or the errno value of its failure.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace cattools {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates the file `name` in the directory `dir_fd` (it must not exist) for writing, with the
  // permission bits `mode` less the umask; stores its descriptor in `fd`. The file is removed if
  // the process is ended by SIGINT, SIGTERM or SIGHUP before `rename` or `remove` is called.
  virtual int create_temporary(int dir_fd, const std::string& name, mode_t mode, int& fd) = 0;
  // Writes every byte of `bytes`.
  virtual int write(int fd, std::string_view bytes) = 0;
  // Makes the file's (or directory's) content durable.
  virtual int sync(int fd) = 0;
  virtual int close(int fd) = 0;
  // Renames `from` to `to`, both in `dir_fd`, replacing `to`.
  virtual int rename(int dir_fd, const std::string& from, const std::string& to) = 0;
  // Removes the temporary file `name` of `dir_fd`.
  virtual int remove(int dir_fd, const std::string& name) = 0;
};

// The real calls. It keeps no state of its own.
FileSystem& system_file_system();

}  // namespace cattools
