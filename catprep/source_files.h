#pragma once
// Where the bytes of a template and of its included files come from: the file system, or
// memory (for tests and fuzzing).

#include <map>
#include <optional>
#include <string>

#include "platform/file_io.h"

namespace catprep {

// Each read gives the identity of the file it read, when the source has one, so that the run
// can tell whether it is the output.
class SourceFiles {
 public:
  using Identity = std::optional<cattools::FileIdentity>;
  virtual ~SourceFiles() = default;
  // The template, by its name on the command line.
  virtual cattools::IoStatus read_input(const std::string& name, std::string& bytes,
                                        Identity& identity) = 0;
  // An included file, by its name in the directive (with '/' as the separator).
  virtual cattools::IoStatus read_include(const std::string& name, std::string& bytes,
                                          Identity& identity) = 0;
};

// Files on disk. The input is opened as named; an include name is taken relative to the
// input's directory (the part of its name before the last '/') unless it begins with '/'.
class DiskFiles final : public SourceFiles {
 public:
  cattools::IoStatus read_input(const std::string& name, std::string& bytes,
                                Identity& identity) override;
  cattools::IoStatus read_include(const std::string& name, std::string& bytes,
                                  Identity& identity) override;

 private:
  std::string directory_;  // empty: the working directory
};

// Files held in memory by name; every other name is missing. They have no identity.
class MemoryFiles final : public SourceFiles {
 public:
  void add(const std::string& name, std::string bytes) { files_[name] = std::move(bytes); }
  cattools::IoStatus read_input(const std::string& name, std::string& bytes,
                                Identity& identity) override;
  cattools::IoStatus read_include(const std::string& name, std::string& bytes,
                                  Identity& identity) override {
    return read_input(name, bytes, identity);
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace catprep
