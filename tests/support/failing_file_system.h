#pragma once
// A file system for tests that makes chosen calls fail and passes every other call on to the
// real one.

#include "platform/file_system.h"

namespace testing_support {

// Which calls fail, each counted from 1 over the run (0: none). A failed write reports ENOSPC,
// every other failure EIO.
struct FaultPlan {
  int fail_write = 0;   // the k-th write call
  int fail_sync = 0;    // the k-th sync: of a file, and after its rename, of its directory
  int fail_close = 0;   // the k-th close
  int fail_rename = 0;  // the k-th rename
};

class FailingFileSystem final : public cattools::FileSystem {
 public:
  explicit FailingFileSystem(const FaultPlan& plan) : plan_(plan) {}

  int create_temporary(int dir_fd, const std::string& name, mode_t mode, int& fd) override;
  int write(int fd, std::string_view bytes) override;
  int sync(int fd) override;
  int close(int fd) override;
  int rename(int dir_fd, const std::string& from, const std::string& to) override;
  int remove(int dir_fd, const std::string& name) override;

 private:
  FaultPlan plan_;
  int writes_ = 0, syncs_ = 0, closes_ = 0, renames_ = 0;
  cattools::FileSystem& real_ = cattools::system_file_system();
};

}  // namespace testing_support
