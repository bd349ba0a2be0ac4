#include "platform/host/MappedFileGuard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace host {
namespace {

struct Slot {
  std::atomic<uintptr_t> begin{0}, end{0};
  std::atomic<bool> faulted{false};
};

// A handful: loads at once are few; one more reads its file instead.
Slot g_slots[16];
std::mutex g_lock;  // installing and letting go of the handler
int g_live = 0;
struct sigaction g_previous {};
uintptr_t g_page = 4096;  // sysconf is not safe in a handler

void OnBusError(int signal, siginfo_t* info, void* context) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
  const bool fault = info->si_code > 0;  // from the kernel, not sent: si_addr holds an address
  for (Slot& slot : g_slots) {
    if (!fault) break;
    const uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    if (begin == 0 || at < begin || at >= slot.end.load(std::memory_order_acquire)) continue;
    void* page = reinterpret_cast<void*>(at & ~(g_page - 1));
    if (mmap(page, g_page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
    slot.faulted.store(true, std::memory_order_release);
    return;  // the read is made again, of zeros
  }
  if (g_previous.sa_flags & SA_SIGINFO) return g_previous.sa_sigaction(signal, info, context);
  // A fault ignored would come again for ever.
  if (g_previous.sa_handler == SIG_DFL || (g_previous.sa_handler == SIG_IGN && fault)) {
    ::signal(SIGBUS, SIG_DFL);
    raise(SIGBUS);  // blocked until this handler returns, then as if no handler had been
    return;
  }
  if (g_previous.sa_handler != SIG_IGN) g_previous.sa_handler(signal);
}

}  // namespace

int GuardMapping(const char* base, size_t size) {
  std::lock_guard<std::mutex> hold(g_lock);
  for (int i = 0; i < static_cast<int>(std::size(g_slots)); ++i) {
    Slot& slot = g_slots[i];
    if (slot.begin.load(std::memory_order_relaxed) != 0) continue;
    if (g_live == 0) {
      g_page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
      struct sigaction guard {};
      guard.sa_sigaction = OnBusError;
      guard.sa_flags = SA_SIGINFO | SA_ONSTACK;
      sigemptyset(&guard.sa_mask);
      if (sigaction(SIGBUS, &guard, &g_previous) != 0) return -1;
    }
    ++g_live;
    slot.faulted.store(false, std::memory_order_relaxed);
    slot.end.store(reinterpret_cast<uintptr_t>(base) + size, std::memory_order_release);
    slot.begin.store(reinterpret_cast<uintptr_t>(base), std::memory_order_release);
    return i;
  }
  return -1;
}

void UnguardMapping(int slot) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_slots[slot].begin.store(0, std::memory_order_release);
  if (--g_live > 0) return;
  // Given back only while it is still ours: a handler set after it stays.
  struct sigaction current {};
  if (sigaction(SIGBUS, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) &&
      current.sa_sigaction == OnBusError)
    sigaction(SIGBUS, &g_previous, nullptr);
}

bool MappingFaulted(int slot) { return g_slots[slot].faulted.load(std::memory_order_acquire); }

}  // namespace host
