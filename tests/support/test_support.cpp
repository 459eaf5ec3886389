#include "tests/support/test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>

namespace testing_support {
namespace {

// Allocation-failure state of the test process. Only test binaries replace operator new.
long g_fail_at = 0;  // 0: nothing armed
long g_seen = 0;
bool g_sticky = false;

bool next_allocation_fails() {
  if (g_fail_at == 0) return false;
  ++g_seen;
  return g_seen == g_fail_at || (g_sticky && g_seen > g_fail_at);
}

}  // namespace

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "cattools-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void write_file(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

bool is_root() {
  return ::geteuid() == 0;
}

std::string source_dir() {
  const char* dir = std::getenv("CATTOOLS_SOURCE_DIR");
  return dir != nullptr ? dir : CATTOOLS_SOURCE_DIR_DEFAULT;
}

RunResult run_tool(ToolEntry entry, const cattools::Args& args, const FaultPlan& faults,
                   long failing_allocation) {
  // Room reserved up front, so that the streams do not allocate while a failure is armed:
  // an allocation they swallow would lose the tool's report.
  std::string out_room, err_room;
  out_room.reserve(1 << 20);
  err_room.reserve(1 << 20);
  std::ostringstream out(std::move(out_room)), err(std::move(err_room));
  FailingFileSystem files(faults);
  cattools::Console console{out, err, files};
  RunResult result;
  {
    std::optional<AllocationFailure> failure;
    if (failing_allocation > 0) failure.emplace(failing_allocation);
    result.exit_code = entry(args, console);
    result.allocations = AllocationFailure::allocations_seen();
  }
  result.out = out.str();
  result.err = err.str();
  return result;
}

AllocationFailure::AllocationFailure(long n, bool sticky) {
  g_seen = 0;
  g_sticky = sticky;
  g_fail_at = n;
}

AllocationFailure::~AllocationFailure() {
  g_fail_at = 0;
}

long AllocationFailure::allocations_seen() {
  return g_seen;
}

long for_each_allocation_failure(ToolEntry entry, const cattools::Args& args,
                                 const std::function<void(long, const RunResult&)>& check) {
  for (long n = 1;; ++n) {
    RunResult result = run_tool(entry, args, {}, n);
    if (result.allocations < n) return result.allocations;
    check(n, result);
  }
}

}  // namespace testing_support

void* operator new(std::size_t size) {
  if (testing_support::next_allocation_fails()) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
// The nothrow forms (the standard library's temporary buffers use them) must pair with the
// replaced delete, and an armed failure makes them return null, as running out of memory would.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (testing_support::next_allocation_fails()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
