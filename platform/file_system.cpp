#include "platform/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/signal_cleanup.h"

namespace cattools {
namespace {

int error_of(int result) {
  return result == 0 ? 0 : errno;
}

class SystemFileSystem final : public FileSystem {
 public:
  int create_temporary(int dir_fd, const std::string& name, mode_t mode, int& fd) override {
    do fd = ::openat(dir_fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    register_temporary(dir_fd, name);
    return 0;
  }

  int write(int fd, std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote < 0) return errno;
      bytes.remove_prefix(static_cast<size_t>(wrote));
    }
    return 0;
  }

  int sync(int fd) override { return error_of(::fsync(fd)); }

  // A close interrupted by a signal has still released the descriptor: it is not repeated.
  int close(int fd) override {
    int result = ::close(fd);
    return result == 0 || errno == EINTR ? 0 : errno;
  }

  int rename(int dir_fd, const std::string& from, const std::string& to) override {
    if (::renameat(dir_fd, from.c_str(), dir_fd, to.c_str()) != 0) return errno;
    unregister_temporary(dir_fd, from);
    return 0;
  }

  int remove(int dir_fd, const std::string& name) override {
    int result = error_of(::unlinkat(dir_fd, name.c_str(), 0));
    unregister_temporary(dir_fd, name);
    return result;
  }
};

}  // namespace

FileSystem& system_file_system() {
  static SystemFileSystem files;
  return files;
}

}  // namespace cattools
