#include "catprep/source_files.h"

#include <cerrno>

namespace catprep {
namespace {

cattools::IoStatus read_with_identity(const std::string& path, std::string& bytes,
                                      SourceFiles::Identity& identity) {
  cattools::FileIdentity read_identity;
  cattools::IoStatus status = cattools::read_file(path, bytes, &read_identity);
  if (status.ok())
    identity = read_identity;
  else
    identity.reset();
  return status;
}

}  // namespace

cattools::IoStatus DiskFiles::read_input(const std::string& name, std::string& bytes,
                                         Identity& identity) {
  size_t slash = name.rfind('/');
  if (slash == std::string::npos)
    directory_.clear();
  else
    directory_ = name.substr(0, slash + 1);
  return read_with_identity(name, bytes, identity);
}

cattools::IoStatus DiskFiles::read_include(const std::string& name, std::string& bytes,
                                           Identity& identity) {
  if (name.starts_with('/')) return read_with_identity(name, bytes, identity);
  return read_with_identity(directory_ + name, bytes, identity);
}

cattools::IoStatus MemoryFiles::read_input(const std::string& name, std::string& bytes,
                                           Identity& identity) {
  identity.reset();
  auto found = files_.find(name);
  if (found == files_.end()) return {ENOENT};
  bytes = found->second;
  return {};
}

}  // namespace catprep
