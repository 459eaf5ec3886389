#pragma once
// Where the bytes of a template and of its included files come from: the file system, or
// memory (for tests and fuzzing).

#include <map>
#include <string>

#include "platform/file_io.h"

namespace catprep {

class SourceFiles {
 public:
  virtual ~SourceFiles() = default;
  // The template, by its name on the command line.
  virtual cattools::IoStatus read_input(const std::string& name, std::string& bytes) = 0;
  // An included file, by its name in the directive (with '/' as the separator).
  virtual cattools::IoStatus read_include(const std::string& name, std::string& bytes) = 0;
};

// Files on disk. The input is opened as named; an include name is taken relative to the
// input's directory (the part of its name before the last '/') unless it begins with '/'.
class DiskFiles final : public SourceFiles {
 public:
  cattools::IoStatus read_input(const std::string& name, std::string& bytes) override;
  cattools::IoStatus read_include(const std::string& name, std::string& bytes) override;

 private:
  std::string directory_;  // empty: the working directory
};

// Files held in memory by name; every other name is missing.
class MemoryFiles final : public SourceFiles {
 public:
  void add(const std::string& name, std::string bytes) { files_[name] = std::move(bytes); }
  cattools::IoStatus read_input(const std::string& name, std::string& bytes) override;
  cattools::IoStatus read_include(const std::string& name, std::string& bytes) override {
    return read_input(name, bytes);
  }

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace catprep
