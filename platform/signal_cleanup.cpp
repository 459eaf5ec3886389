#include "platform/signal_cleanup.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace cattools {
namespace {

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSlots = 64;  // far more than the temporary files one run keeps at a time

struct Slot {
  volatile sig_atomic_t used = 0;
  int dir_fd = -1;
  char name[NAME_MAX + 1] = {};
};

// Written only while the cleanup signals are blocked, read only by their handler.
Slot g_slots[kSlots];

// Blocks the cleanup signals for its lifetime, so that the handler never sees a half-made slot.
class SignalBlock {
 public:
  SignalBlock() {
    sigset_t block;
    sigemptyset(&block);
    for (int signal : kCleanupSignals) sigaddset(&block, signal);
    sigprocmask(SIG_BLOCK, &block, &saved_);
  }
  ~SignalBlock() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

 private:
  sigset_t saved_;
};

// Only async-signal-safe calls: unlinkat, then the signal again with its default action
// (SA_RESETHAND restored it), delivered as soon as the handler returns.
extern "C" void remove_temporaries_and_end(int signal) {
  int saved_errno = errno;
  for (const Slot& slot : g_slots)
    if (slot.used) ::unlinkat(slot.dir_fd, slot.name, 0);
  ::raise(signal);
  errno = saved_errno;
}

bool was_ignored(int signal) {
  struct sigaction current;
  return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void install_signal_cleanup() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = remove_temporaries_and_end;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kCleanupSignals) sigaddset(&action.sa_mask, signal);
  for (int signal : kCleanupSignals)
    if (!was_ignored(signal)) ::sigaction(signal, &action, nullptr);
  ::signal(SIGXFSZ, SIG_IGN);
}

bool register_temporary(int dir_fd, const std::string& name) {
  if (name.size() > NAME_MAX) return false;
  SignalBlock block;
  for (Slot& slot : g_slots) {
    if (slot.used) continue;
    slot.dir_fd = dir_fd;
    std::memcpy(slot.name, name.c_str(), name.size() + 1);
    slot.used = 1;
    return true;
  }
  return false;
}

void unregister_temporary(int dir_fd, const std::string& name) {
  SignalBlock block;
  for (Slot& slot : g_slots)
    if (slot.used && slot.dir_fd == dir_fd && name == slot.name) slot.used = 0;
}

}  // namespace cattools
