#include "tests/support/failing_file_system.h"

#include <cerrno>

namespace testing_support {

int FailingFileSystem::create_temporary(int dir_fd, const std::string& name, mode_t mode, int& fd) {
  return real_.create_temporary(dir_fd, name, mode, fd);
}

int FailingFileSystem::write(int fd, std::string_view bytes) {
  return ++writes_ == plan_.fail_write ? ENOSPC : real_.write(fd, bytes);
}

int FailingFileSystem::sync(int fd) {
  return ++syncs_ == plan_.fail_sync ? EIO : real_.sync(fd);
}

// A failing close has still released the descriptor, as the real call does.
int FailingFileSystem::close(int fd) {
  int result = real_.close(fd);
  return ++closes_ == plan_.fail_close ? EIO : result;
}

int FailingFileSystem::rename(int dir_fd, const std::string& from, const std::string& to) {
  return ++renames_ == plan_.fail_rename ? EIO : real_.rename(dir_fd, from, to);
}

int FailingFileSystem::remove(int dir_fd, const std::string& name) {
  return real_.remove(dir_fd, name);
}

}  // namespace testing_support
