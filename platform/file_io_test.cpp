#include "platform/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/signal_cleanup.h"
#include "tests/support/failing_file_system.h"
#include "tests/support/test_support.h"

namespace cattools {
namespace {

using testing_support::FaultPlan;
using testing_support::ScratchDir;
namespace fs = std::filesystem;

size_t entries_in(const std::string& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

IoStatus rewrite(const std::string& path, std::string_view text, const FaultPlan& faults = {}) {
  testing_support::FailingFileSystem files(faults);
  OutputFile file;
  IoStatus status = OutputFile::replace(path, files, file);
  if (!status.ok()) return status;
  for (char c : text) file.put(c);
  return file.commit();
}

mode_t mode_of(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

// Records the permission bits of the file being written at its first write.
class ModeSpy final : public FileSystem {
 public:
  int create_temporary(int dir, const std::string& name, mode_t mode, int& fd) override {
    return real_.create_temporary(dir, name, mode, fd);
  }
  int write(int fd, std::string_view bytes) override {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && seen_ < 0) seen_ = static_cast<int>(st.st_mode & 07777);
    return real_.write(fd, bytes);
  }
  int sync(int fd) override { return real_.sync(fd); }
  int close(int fd) override { return real_.close(fd); }
  int rename(int dir, const std::string& from, const std::string& to) override {
    return real_.rename(dir, from, to);
  }
  int remove(int dir, const std::string& name) override { return real_.remove(dir, name); }
  int seen_ = -1;

 private:
  FileSystem& real_ = system_file_system();
};

TEST(ReadFile, ReadsBytesAndReportsMissingFilesDirectoriesAndDevices) {
  ScratchDir dir;
  testing_support::write_file(dir / "f", std::string("a\0\r\n", 4));
  std::string contents;
  FileIdentity identity;
  EXPECT_TRUE(read_file(dir / "f", contents, &identity).ok());
  EXPECT_EQ(contents, std::string("a\0\r\n", 4));
  struct stat st {};
  ::stat((dir / "f").c_str(), &st);
  EXPECT_EQ(identity, (FileIdentity{st.st_dev, st.st_ino}));
  EXPECT_EQ(read_file(dir / "missing", contents).error, ENOENT);
  EXPECT_EQ(read_file(dir.path(), contents).text(), "Is a directory");
  EXPECT_EQ(read_file("/dev/zero", contents).error, IoStatus::kDeviceInput);
}

TEST(ReadFile, ReadsAFifoAsAStream) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::thread writer([&] {
    int fd = ::open((dir / "fifo").c_str(), O_WRONLY);
    for (int k = 0; k < 100; ++k) (void)::write(fd, "0123456789", 10);
    ::close(fd);
  });
  std::string contents;
  EXPECT_TRUE(read_file(dir / "fifo", contents).ok());
  writer.join();
  EXPECT_EQ(contents.size(), 1000u);
}

TEST(ReplacingFile, ReplacesTheTargetKeepingItsModeAndLeavesNoTemporaryFile) {
  ScratchDir dir;
  testing_support::write_file(dir / "cat", "old");
  ::chmod((dir / "cat").c_str(), 0640);
  ASSERT_TRUE(rewrite(dir / "cat", "new text").ok());
  EXPECT_EQ(testing_support::read_file(dir / "cat"), "new text");
  EXPECT_EQ(mode_of(dir / "cat"), 0640u);
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(ReplacingFile, TheContentIsNeverWiderReadableThanTheOriginal) {
  ScratchDir dir;
  testing_support::write_file(dir / "secret", "old");
  ::chmod((dir / "secret").c_str(), 0600);
  ModeSpy spy;
  OutputFile file;
  ASSERT_TRUE(OutputFile::replace(dir / "secret", spy, file).ok());
  file.write(std::string(1 << 17, 'x'));
  ASSERT_TRUE(file.commit().ok());
  EXPECT_EQ(spy.seen_, 0600);
}

TEST(ReplacingFile, CreatesAMissingTargetUnderTheUmask) {
  ScratchDir dir;
  mode_t mask = ::umask(022);
  IoStatus status = rewrite(dir / "new", "x");
  ::umask(mask);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(testing_support::read_file(dir / "new"), "x");
  EXPECT_EQ(mode_of(dir / "new"), 0644u);
}

TEST(ReplacingFile, RewritesTheTargetOfALinkAndRefusesADanglingOne) {
  ScratchDir dir;
  testing_support::write_file(dir / "real", "old");
  fs::create_symlink("real", dir / "link");
  ASSERT_TRUE(rewrite(dir / "link", "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(testing_support::read_file(dir / "real"), "new");
  fs::create_symlink("nowhere", dir / "dangling");
  EXPECT_EQ(rewrite(dir / "dangling", "new").text(), "Dangling symbolic link");
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST(ReplacingFile, RefusesDevicesFifosAndSockets) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string socket_path = dir / "sock";
  std::strncpy(address.sun_path, socket_path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  for (const std::string& path : {std::string("/dev/null"), dir / "fifo", socket_path}) {
    ReplaceTarget target;
    EXPECT_EQ(ReplaceTarget::open(path, target).text(), "Not a regular file") << path;
  }
  ::close(sock);
}

TEST(ReplacingFile, ANameOfTheLongestLengthGetsItsTemporaryFile) {
  ScratchDir dir;
  std::string name(255, 'n');
  ASSERT_TRUE(rewrite(dir / name, "first").ok());
  ASSERT_TRUE(rewrite(dir / name, "second").ok());
  EXPECT_EQ(testing_support::read_file(dir / name), "second");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(ReplacingFile, AnyInjectedFailureLeavesTheOriginalUntouched) {
  std::string big(300000, 'b');  // several writes
  for (const FaultPlan& plan :
       {FaultPlan{.fail_write = 1}, FaultPlan{.fail_write = 3}, FaultPlan{.fail_sync = 1},
        FaultPlan{.fail_close = 1}, FaultPlan{.fail_rename = 1}}) {
    ScratchDir dir;
    testing_support::write_file(dir / "cat", "original");
    IoStatus status = rewrite(dir / "cat", big, plan);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(testing_support::read_file(dir / "cat"), "original");
    EXPECT_EQ(entries_in(dir.path()), 1u) << "temporary file left behind";
  }
}

TEST(ReplacingFile, AFailedDirectorySyncAfterTheRenameIsReported) {
  ScratchDir dir;
  testing_support::write_file(dir / "cat", "original");
  IoStatus status = rewrite(dir / "cat", "new", {.fail_sync = 2});
  EXPECT_EQ(status.text(), "Input/output error");
  EXPECT_EQ(testing_support::read_file(dir / "cat"), "new");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(ReplacingFile, InjectedWriteFailureSticksAndNamesTheCause) {
  ScratchDir dir;
  testing_support::FailingFileSystem files({.fail_write = 1});
  OutputFile file;
  ASSERT_TRUE(OutputFile::replace(dir / "cat", files, file).ok());
  EXPECT_EQ(file.write(std::string(1 << 16, 'x')).text(), "No space left on device");
  EXPECT_FALSE(file.write("three").ok());
  EXPECT_FALSE(file.commit().ok());
  EXPECT_EQ(entries_in(dir.path()), 0u);
}

TEST(ReplacingFile, RefusesADirectoryAndAnUnwritableTarget) {
  ScratchDir dir;
  EXPECT_EQ(rewrite(dir.path(), "x").error, EISDIR);
  if (testing_support::is_root()) GTEST_SKIP() << "root may write anything";
  testing_support::write_file(dir / "ro", "keep");
  ::chmod((dir / "ro").c_str(), 0444);
  EXPECT_EQ(rewrite(dir / "ro", "x").error, EACCES);
  EXPECT_EQ(testing_support::read_file(dir / "ro"), "keep");
}

TEST(ReplacingFile, KeepsOwnerAndGroupAsRootButNeverSetuidOrSetgid) {
  ScratchDir dir;
  testing_support::write_file(dir / "tool", "old");
  bool root = testing_support::is_root();
  if (root) {
    ASSERT_EQ(::chown((dir / "tool").c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod((dir / "tool").c_str(), 06755), 0);
  ASSERT_TRUE(rewrite(dir / "tool", "new").ok());
  struct stat st {};
  ASSERT_EQ(::stat((dir / "tool").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  if (root) {
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
  }
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int in_child(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST(ReplacingFile, ASignalRemovesTheTemporaryFileAndEndsTheRun) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchDir dir;
    testing_support::write_file(dir / "cat", "original");
    int status = in_child([&] {
      install_signal_cleanup();
      OutputFile file;
      if (!OutputFile::replace(dir / "cat", system_file_system(), file).ok()) ::_exit(2);
      file.write(std::string(1 << 17, 'x'));
      ::raise(signal);
      ::_exit(3);
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(testing_support::read_file(dir / "cat"), "original");
    EXPECT_EQ(entries_in(dir.path()), 1u) << "temporary file left behind by signal " << signal;
  }
}

TEST(ReplacingFile, AWritePastTheFileSizeLimitFailsLikeAnyOther) {
  ScratchDir dir;
  testing_support::write_file(dir / "cat", "original");
  int status = in_child([&] {
    install_signal_cleanup();
    rlimit limit{1 << 16, 1 << 16};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    IoStatus result = rewrite(dir / "cat", std::string(1 << 18, 'x'));
    ::_exit(result.error == EFBIG ? 0 : 1);
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(testing_support::read_file(dir / "cat"), "original");
  EXPECT_EQ(entries_in(dir.path()), 1u);
}

TEST(ReplaceTarget, ASecondRunWaitsUntilTheFirstHasReplacedTheFile) {
  ScratchDir dir;
  testing_support::write_file(dir / "cat", "original");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t pid = ::fork();
  if (pid == 0) {
    OutputFile file;
    if (!OutputFile::replace(dir / "cat", system_file_system(), file).ok()) ::_exit(2);
    (void)::write(ready[1], "x", 1);
    ::usleep(200000);
    file.write("first");
    ::_exit(file.commit().ok() ? 0 : 1);
  }
  char byte;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ReplaceTarget target;
  ASSERT_TRUE(ReplaceTarget::open(dir / "cat", target).ok());
  EXPECT_EQ(testing_support::read_file(dir / "cat"), "first");
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace cattools
