#pragma once
// Whole-file reading and safe rewriting.
//
// Every function reports a failure as an `IoStatus` holding the errno value (or one of the
// refusals below); nothing throws except std::bad_alloc, which each tool's run() turns into its
// out-of-memory report.

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace cattools {

struct IoStatus {
  // Refusals of the file layer itself, beside the errno values.
  static constexpr int kNotRegularFile = -1;  // a device, FIFO or socket where a file is rewritten
  static constexpr int kDanglingLink = -2;    // a symbolic link whose target does not exist
  static constexpr int kDeviceInput = -3;     // a character or block device given as input

  int error = 0;  // 0 on success
  bool ok() const { return error == 0; }
  std::string text() const;  // the system's text for the error, or the refusal's
};

// What tells two names of one file apart from two files.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// Reads the whole file into `contents` as bytes, and its identity into `identity` when given. A
// directory fails with EISDIR, a character or block device is refused; pipes and FIFOs are read
// to their end.
IoStatus read_file(const std::string& path, std::string& contents,
                   FileIdentity* identity = nullptr);

// True when `path` names something that exists (a dangling link does not).
bool file_exists(const std::string& path);

// A file that a run is about to rewrite. Opening one follows a symbolic link to its target and
// refuses a target that is a device, FIFO or socket, or a link whose target is missing; a
// missing file, a directory or an unreadable file pass here and meet their failure where the
// tool reads or writes them. While the object lives, the directory that holds the target is
// locked (flock) against every other run that rewrites a file there, so that a second run waits
// for the first instead of losing its update; the kernel drops the lock of a run that dies.
class ReplaceTarget {
 public:
  static IoStatus open(const std::string& path, ReplaceTarget& target);

  ReplaceTarget() = default;
  ReplaceTarget(ReplaceTarget&& other) noexcept;
  ReplaceTarget& operator=(ReplaceTarget&& other) noexcept;
  ReplaceTarget(const ReplaceTarget&) = delete;
  ReplaceTarget& operator=(const ReplaceTarget&) = delete;
  ~ReplaceTarget();

  // The file that will be replaced: the link's target for a link.
  const std::string& path() const { return path_; }
  // The identity of the file as it is now, if it exists.
  std::optional<FileIdentity> identity() const;

 private:
  friend class OutputFile;
  void release();

  std::string path_;
  std::string base_name_;
  int dir_fd_ = -1;
  int dir_error_ = 0;          // why dir_fd_ could not be opened
  bool dir_syncable_ = false;  // dir_fd_ is open for reading: it can be locked and synced
};

// The new content of a `ReplaceTarget`, written to a temporary file beside it that takes the
// target's place only when `commit` succeeds. The temporary file has the target's permission
// bits from its creation on (never more; a new file gets 0666 less the umask), less setuid and
// setgid, and the target's owner and group where the process may set them. Until the commit,
// and for ever after a failure, the target is untouched and the temporary file is removed when
// the object dies (or the process by a signal). Writes are buffered; the first failure sticks
// and is returned by every later call.
class OutputFile {
 public:
  static IoStatus replace(ReplaceTarget target, FileSystem& files, OutputFile& file);
  // Opens the target and replaces it.
  static IoStatus replace(const std::string& path, FileSystem& files, OutputFile& file);

  OutputFile() = default;
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  IoStatus write(std::string_view bytes);
  IoStatus put(char byte) { return write(std::string_view(&byte, 1)); }
  // Flushes, syncs and closes the temporary file, renames it over the target and syncs the
  // directory, so that a crash right after a successful run cannot bring back the old file.
  IoStatus commit();
  IoStatus status() const { return status_; }

 private:
  IoStatus create_temporary(const struct stat* existing);
  void keep_owner_and_mode(const struct stat& existing);
  IoStatus flush();
  IoStatus fail(int error);
  void discard();

  FileSystem* files_ = nullptr;
  ReplaceTarget target_;
  int fd_ = -1;
  std::string buffer_;
  std::string temp_name_;  // in the target's directory; empty once renamed or removed
  IoStatus status_{};
};

}  // namespace cattools
