#include "catprep/source_files.h"

#include <cerrno>

namespace catprep {

cattools::IoStatus DiskFiles::read_input(const std::string& name, std::string& bytes) {
  size_t slash = name.rfind('/');
  if (slash == std::string::npos)
    directory_.clear();
  else
    directory_ = name.substr(0, slash + 1);
  return cattools::read_file(name, bytes);
}

cattools::IoStatus DiskFiles::read_include(const std::string& name, std::string& bytes) {
  if (name.starts_with('/')) return cattools::read_file(name, bytes);
  return cattools::read_file(directory_ + name, bytes);
}

cattools::IoStatus MemoryFiles::read_input(const std::string& name, std::string& bytes) {
  auto found = files_.find(name);
  if (found == files_.end()) return {ENOENT};
  bytes = found->second;
  return {};
}

}  // namespace catprep
