#include "platform/file_io.h"

#include <fcntl.h>
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

int open_retrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path, flags, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// The file a write to `path` really lands in: a symbolic link is followed to its target.
std::string resolve_link(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
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

}  // namespace

std::string IoStatus::text() const { return std::strerror(error); }

// Closes a descriptor on every way out of a scope, bad_alloc included.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() { ::close(fd_); }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;

 private:
  int fd_;
};

IoStatus read_file(const std::string& path, std::string& contents) {
  contents.clear();
  int fd = open_retrying(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno};
  FdGuard guard(fd);
  struct stat st;
  if (::fstat(fd, &st) != 0) return {errno};
  if (S_ISDIR(st.st_mode)) return {EISDIR};
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

IoStatus OutputFile::create(const std::string& path, const FaultPlan& faults, OutputFile& file) {
  file = OutputFile();
  file.faults_ = faults;
  file.fd_ = open_retrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (file.fd_ < 0) return file.fail(errno);
  return {};
}

IoStatus OutputFile::replace(const std::string& path, const FaultPlan& faults, OutputFile& file) {
  file = OutputFile();
  file.faults_ = faults;
  file.target_path_ = resolve_link(path);
  struct stat st;
  if (::stat(file.target_path_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return file.fail(EISDIR);
    if (::access(file.target_path_.c_str(), W_OK) != 0) return file.fail(errno);
    file.mode_to_keep_ = static_cast<int>(st.st_mode & 07777);
  }
  std::string stem = directory_of(file.target_path_) + "/." + base_name_of(file.target_path_) +
                     ".tmp" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100 && file.fd_ < 0; ++attempt) {
    std::string candidate = stem + std::to_string(attempt);
    file.fd_ = open_retrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd_ >= 0) file.temp_path_ = std::move(candidate);  // a move cannot fail
    else if (errno != EEXIST) return file.fail(errno);
  }
  if (file.fd_ < 0) return file.fail(EEXIST);
  return {};
}

OutputFile::OutputFile(OutputFile&& other) noexcept { *this = std::move(other); }

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    discard();
    fd_ = std::exchange(other.fd_, -1);
    buffer_ = std::move(other.buffer_);
    temp_path_ = std::move(other.temp_path_);
    other.temp_path_.clear();
    target_path_ = std::move(other.target_path_);
    mode_to_keep_ = other.mode_to_keep_;
    faults_ = other.faults_;
    writes_ = other.writes_;
    status_ = other.status_;
  }
  return *this;
}

OutputFile::~OutputFile() { discard(); }

// An uncommitted direct file keeps what was written so far; an uncommitted replacement is
// thrown away so that the original stays as it was.
void OutputFile::discard() {
  if (fd_ >= 0) {
    if (temp_path_.empty() && status_.ok()) flush();
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

IoStatus OutputFile::fail(int error) {
  if (status_.ok()) status_.error = error;
  return status_;
}

IoStatus OutputFile::write(std::string_view bytes) {
  if (!status_.ok()) return status_;
  if (fd_ < 0) return fail(EBADF);
  if (++writes_ == faults_.fail_write) return fail(ENOSPC);
  buffer_.append(bytes);
  if (buffer_.size() >= kFlushSize) return flush();
  return {};
}

IoStatus OutputFile::flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return fail(errno);
    done += static_cast<size_t>(wrote);
  }
  buffer_.clear();
  return status_;
}

IoStatus OutputFile::commit() {
  if (!status_.ok() || fd_ < 0) return fail(EBADF);
  bool replacing = !temp_path_.empty();
  if (!flush().ok()) return status_;
  if (replacing && mode_to_keep_ >= 0 && ::fchmod(fd_, static_cast<mode_t>(mode_to_keep_)) != 0)
    return fail(errno);
  if (replacing && ::fsync(fd_) != 0) return fail(errno);
  int closed = ::close(fd_);
  fd_ = -1;
  if (faults_.fail_close) return fail(EIO);
  if (closed != 0) return fail(errno);
  if (!replacing) return {};
  if (faults_.fail_rename) return fail(EIO);
  if (::rename(temp_path_.c_str(), target_path_.c_str()) != 0) return fail(errno);
  temp_path_.clear();
  return {};
}

}  // namespace cattools
