#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace cattools {
namespace {

constexpr size_t kFlushSize = 1 << 16;

int open_retrying(const char* path, int flags) {
  int fd;
  do fd = ::open(path, flags);
  while (fd < 0 && errno == EINTR);
  return fd;
}

void close_quietly(int fd) {
  if (fd >= 0) ::close(fd);
}

bool is_special(mode_t mode) {
  return S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode);
}

// The file a write to `path` really lands in: a symbolic link is followed to its target.
IoStatus resolve_link(const std::string& path, std::string& resolved) {
  resolved = path;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return {errno == ENOENT ? IoStatus::kDanglingLink : errno};
  resolved = real;
  std::free(real);
  return {};
}

std::string directory_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_name_of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".<name>.tmp<pid>-<attempt>", the name cut short where that would exceed the longest file
// name, so that any name the target may have leaves room for its temporary file.
std::string temporary_name(const std::string& base_name, int attempt) {
  std::string suffix = ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
  size_t room = NAME_MAX - 1 - suffix.size();
  return "." + base_name.substr(0, room) + suffix;
}

void lock_retrying(int fd) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// Closes a descriptor on every way out of a scope, bad_alloc included.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() { close_quietly(fd_); }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;

 private:
  int fd_;
};

}  // namespace

std::string IoStatus::text() const {
  switch (error) {
    case kNotRegularFile:
      return "Not a regular file";
    case kDanglingLink:
      return "Dangling symbolic link";
    case kDeviceInput:
      return "Is a device";
    default:
      return std::strerror(error);
  }
}

IoStatus read_file(const std::string& path, std::string& contents, FileIdentity* identity) {
  contents.clear();
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)))
    return {IoStatus::kDeviceInput};
  int fd = open_retrying(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno};
  FdGuard guard(fd);
  if (::fstat(fd, &st) != 0) return {errno};
  if (S_ISDIR(st.st_mode)) return {EISDIR};
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return {IoStatus::kDeviceInput};
  if (identity != nullptr) *identity = {st.st_dev, st.st_ino};
  // Read straight into the string; one byte of room beyond a regular file's size lets the
  // read that finds the end return without growing the string.
  size_t room = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : size_t{1} << 16;
  size_t done = 0;
  contents.resize(room);
  for (;;) {
    if (done == contents.size()) contents.resize(contents.size() * 2);
    ssize_t got = ::read(fd, contents.data() + done, contents.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {errno};
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  contents.resize(done);
  return {};
}

bool file_exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

IoStatus ReplaceTarget::open(const std::string& path, ReplaceTarget& target) {
  target = ReplaceTarget();
  IoStatus resolved = resolve_link(path, target.path_);
  if (!resolved.ok()) return resolved;
  struct stat st;
  if (::stat(target.path_.c_str(), &st) == 0 && is_special(st.st_mode))
    return {IoStatus::kNotRegularFile};
  target.base_name_ = base_name_of(target.path_);
  std::string directory = directory_of(target.path_);
  target.dir_fd_ = open_retrying(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  target.dir_syncable_ = target.dir_fd_ >= 0;
#ifdef O_PATH
  // A directory that may be written but not listed can still hold the temporary file.
  if (target.dir_fd_ < 0 && errno == EACCES)
    target.dir_fd_ = open_retrying(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#endif
  if (target.dir_fd_ < 0) target.dir_error_ = errno;
  if (target.dir_syncable_) lock_retrying(target.dir_fd_);
  return {};
}

ReplaceTarget::ReplaceTarget(ReplaceTarget&& other) noexcept {
  *this = std::move(other);
}

ReplaceTarget& ReplaceTarget::operator=(ReplaceTarget&& other) noexcept {
  if (this != &other) {
    release();
    path_ = std::move(other.path_);
    base_name_ = std::move(other.base_name_);
    dir_fd_ = std::exchange(other.dir_fd_, -1);
    dir_error_ = other.dir_error_;
    dir_syncable_ = other.dir_syncable_;
  }
  return *this;
}

ReplaceTarget::~ReplaceTarget() {
  release();
}

// Closing the directory drops its lock.
void ReplaceTarget::release() {
  close_quietly(std::exchange(dir_fd_, -1));
}

std::optional<FileIdentity> ReplaceTarget::identity() const {
  struct stat st;
  if (path_.empty() || ::stat(path_.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino};
}

IoStatus OutputFile::replace(const std::string& path, FileSystem& files, OutputFile& file) {
  ReplaceTarget target;
  IoStatus opened = ReplaceTarget::open(path, target);
  if (!opened.ok()) {
    file = OutputFile();
    return file.fail(opened.error);
  }
  return replace(std::move(target), files, file);
}

IoStatus OutputFile::replace(ReplaceTarget target, FileSystem& files, OutputFile& file) {
  file = OutputFile();
  file.files_ = &files;
  file.target_ = std::move(target);
  if (file.target_.dir_fd_ < 0) return file.fail(file.target_.dir_error_);
  struct stat st;
  if (::stat(file.target_.path_.c_str(), &st) != 0) return file.create_temporary(nullptr);
  if (S_ISDIR(st.st_mode)) return file.fail(EISDIR);
  if (!S_ISREG(st.st_mode)) return file.fail(IoStatus::kNotRegularFile);
  if (::access(file.target_.path_.c_str(), W_OK) != 0) return file.fail(errno);
  return file.create_temporary(&st);
}

// Created with no more permission than the target has, then given its exact bits.
IoStatus OutputFile::create_temporary(const struct stat* existing) {
  mode_t mode = existing != nullptr ? existing->st_mode & 0777 : 0666;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    std::string name = temporary_name(target_.base_name_, attempt);
    int error = files_->create_temporary(target_.dir_fd_, name, mode, fd_);
    if (error == 0)
      temp_name_ = std::move(name);  // a move cannot fail
    else if (error != EEXIST)
      return fail(error);
  }
  if (fd_ < 0) return fail(EEXIST);
  if (existing != nullptr) keep_owner_and_mode(*existing);
  return status_;
}

// Owner and group where the process may set them (all of them as root, the group alone where
// the user belongs to it); setuid and setgid never pass to the replacement.
void OutputFile::keep_owner_and_mode(const struct stat& existing) {
  if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0)
    (void)::fchown(fd_, static_cast<uid_t>(-1), existing.st_gid);
  if (::fchmod(fd_, existing.st_mode & 01777) != 0) fail(errno);
}

OutputFile::OutputFile(OutputFile&& other) noexcept {
  *this = std::move(other);
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    discard();
    files_ = other.files_;
    target_ = std::move(other.target_);
    fd_ = std::exchange(other.fd_, -1);
    buffer_ = std::move(other.buffer_);
    temp_name_ = std::move(other.temp_name_);
    other.temp_name_.clear();
    status_ = other.status_;
  }
  return *this;
}

OutputFile::~OutputFile() {
  discard();
}

// An uncommitted replacement is thrown away, so that the target stays as it was.
void OutputFile::discard() {
  if (fd_ >= 0) files_->close(std::exchange(fd_, -1));
  if (!temp_name_.empty()) files_->remove(target_.dir_fd_, temp_name_);
  temp_name_.clear();
  buffer_.clear();
}

IoStatus OutputFile::fail(int error) {
  if (status_.ok()) status_.error = error;
  return status_;
}

IoStatus OutputFile::write(std::string_view bytes) {
  if (!status_.ok()) return status_;
  if (fd_ < 0) return fail(EBADF);
  // A caller that buffers its own writes hands over whole blocks: they go out as they are.
  if (buffer_.empty() && bytes.size() >= kFlushSize) {
    if (int error = files_->write(fd_, bytes)) return fail(error);
    return {};
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kFlushSize) return flush();
  return {};
}

IoStatus OutputFile::flush() {
  if (buffer_.empty()) return status_;
  if (int error = files_->write(fd_, buffer_)) return fail(error);
  buffer_.clear();
  return status_;
}

IoStatus OutputFile::commit() {
  if (!status_.ok() || fd_ < 0) {
    fail(EBADF);
    discard();
    return status_;
  }
  int error = flush().error;
  if (error == 0) error = files_->sync(fd_);
  int closed = files_->close(std::exchange(fd_, -1));
  if (error == 0) error = closed;
  if (error == 0) error = files_->rename(target_.dir_fd_, temp_name_, target_.base_name_);
  if (error != 0) {
    fail(error);
    discard();
    return status_;
  }
  temp_name_.clear();
  // Some file systems cannot sync a directory (EINVAL): their renames need no sync to last.
  if (target_.dir_syncable_) error = files_->sync(target_.dir_fd_);
  target_.release();
  return error == 0 || error == EINVAL ? IoStatus{} : fail(error);
}

}  // namespace cattools
