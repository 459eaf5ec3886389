#pragma once
// Whole-file reading and checked, fault-injectable writing.
//
// Every function reports a failure as an `IoStatus` holding the errno value; nothing throws
// except std::bad_alloc, which each tool's run() turns into its out-of-memory report.

#include <string>
#include <string_view>

#include "platform/console.h"

namespace cattools {

struct IoStatus {
  int error = 0;  // errno value, 0 on success
  bool ok() const { return error == 0; }
  std::string text() const;  // the system's text for the error
};

// Reads the whole file into `contents` as bytes. A directory fails with EISDIR.
IoStatus read_file(const std::string& path, std::string& contents);

// True when `path` names something that exists (a dangling link does not).
bool file_exists(const std::string& path);

// An output file. Writes are buffered; the first failure sticks and is returned by every
// later call. Two ways to open one:
//  - `create`: truncates or creates the file at once and writes into it directly;
//  - `replace`: writes a temporary file beside the target (a link is followed to its target)
//    and puts it in the target's place, keeping the target's permission bits, only when
//    `commit` succeeds. Until then, and for ever after a failure, the target is untouched and
//    the temporary file is removed when the object dies.
class OutputFile {
 public:
  static IoStatus create(const std::string& path, const FaultPlan& faults, OutputFile& file);
  static IoStatus replace(const std::string& path, const FaultPlan& faults, OutputFile& file);

  OutputFile() = default;
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  IoStatus write(std::string_view bytes);
  IoStatus put(char byte) { return write(std::string_view(&byte, 1)); }
  // Flushes and closes the file; for a replacing file, also syncs and renames it into place.
  IoStatus commit();
  IoStatus status() const { return status_; }

 private:
  IoStatus flush();
  IoStatus fail(int error);
  void discard();

  int fd_ = -1;
  std::string buffer_;
  std::string temp_path_;    // replacing files only: the temporary copy
  std::string target_path_;  // replacing files only: the file it replaces
  int mode_to_keep_ = -1;    // permission bits of the replaced file, -1 for a new file
  FaultPlan faults_{};
  int writes_ = 0;
  IoStatus status_{};
};

}  // namespace cattools
