// The off-screen renderer bound on first use: programs that link the scene
// library but never draw (most commands of the plug-in) do not load it and
// the compiler infrastructure it brings. Every OpenGL and OSMesa function
// is a trampoline (made at build time from the renderer's exports) that
// comes here once; see cmake/LazyEntryPoints.cmake.
#include <dlfcn.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/win32/wgl/wgl.h"

extern "C" {
extern void* jov_lazy_slots[];
extern const char* const jov_lazy_names[];
extern const uint32_t jov_lazy_count;
__attribute__((visibility("hidden"))) void* jov_lazy_bind(uint32_t index);
}

namespace {

std::atomic<bool> g_loaded{false};

[[noreturn]] void Fail(const char* what, const char* detail) {
  // Nothing can be drawn without the renderer, and a function that cannot
  // be found has nowhere to go on to.
  std::fprintf(stderr, "%s: %s\n", what, detail ? detail : "");
  std::abort();
}

// The objects the process has loaded, by load address.
std::vector<uintptr_t> LoadedObjects() {
  std::vector<uintptr_t> bases;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* out) {
        static_cast<std::vector<uintptr_t>*>(out)->push_back(info->dlpi_addr);
        return 0;
      },
      &bases);
  return bases;
}

// Whether the loader relocated the object's code in place (text
// relocations): then its code pages are its own copies.
bool WritesItsCode(const dl_phdr_info& info) {
  for (int i = 0; i < info.dlpi_phnum; ++i) {
    if (info.dlpi_phdr[i].p_type != PT_DYNAMIC) continue;
    const auto* entry = reinterpret_cast<const ElfW(Dyn)*>(info.dlpi_addr + info.dlpi_phdr[i].p_vaddr);
    for (; entry->d_tag != DT_NULL; ++entry)
      if (entry->d_tag == DT_TEXTREL || (entry->d_tag == DT_FLAGS && (entry->d_un.d_val & DF_TEXTREL))) return true;
  }
  return false;
}

// Lets go of the code pages of the objects loaded since `before`: the
// renderer's compiler back end runs its set-up over tens of megabytes of its
// code once, at its load, and a preview needs a fraction of them. Only
// whole pages of segments that are executable and never written (the
// loader writes none of them), so that a page taken again is read from the
// file as it was; what runs later is read back as it runs.
void DropSetUpCode(const std::vector<uintptr_t>& before) {
  struct Walk {
    const std::vector<uintptr_t>* before;
    uintptr_t page;
  } walk{&before, static_cast<uintptr_t>(sysconf(_SC_PAGESIZE))};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        const auto& w = *static_cast<Walk*>(data);
        if (std::find(w.before->begin(), w.before->end(), info->dlpi_addr) != w.before->end()) return 0;
        if (WritesItsCode(*info)) return 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& segment = info->dlpi_phdr[i];
          if (segment.p_type != PT_LOAD || !(segment.p_flags & PF_X) || (segment.p_flags & PF_W)) continue;
          const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
          const uintptr_t first = (start + w.page - 1) & ~(w.page - 1);
          const uintptr_t end = (start + segment.p_memsz) & ~(w.page - 1);
          if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
        }
        return 0;
      },
      &walk);
}

void* LoadRenderer() {
  const std::vector<uintptr_t> before = LoadedObjects();
  void* handle = dlopen(JOV_LAZY_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (handle) DropSetUpCode(before);
  return handle;
}

void* Renderer() {
  static void* library = [] {
    void* handle = LoadRenderer();
    if (!handle) Fail("cannot load the OpenGL renderer " JOV_LAZY_LIBRARY, dlerror());
    g_loaded = true;
    return handle;
  }();
  return library;
}

}  // namespace

void* jov_lazy_bind(uint32_t index) {
  if (index >= jov_lazy_count) Fail("no such OpenGL entry point", nullptr);
  void* function = dlsym(Renderer(), jov_lazy_names[index]);
  if (!function) Fail("the OpenGL renderer lacks", jov_lazy_names[index]);
  __atomic_store_n(&jov_lazy_slots[index], function, __ATOMIC_RELEASE);
  return function;
}

bool OpenGLRendererLoaded() { return g_loaded; }

void PrepareOpenGLRenderer() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (g_loaded) return;
    // This library stays loaded from now on: the thread is joined by a
    // destructor of it, which must not run under an unload (the loader's
    // lock held, the thread waiting for it) but only at exit.
    Dl_info self{};
    if (!dladdr(reinterpret_cast<void*>(&PrepareOpenGLRenderer), &self) || !self.dli_fname ||
        !dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
      return;
    // Joined at exit, so that the process never ends while it loads.
    static struct Loader {
      std::thread thread;
      ~Loader() {
        if (thread.joinable()) thread.join();
      }
    } loader;
    try {
      // Its handle stays open, as the renderer's does; the first use then
      // finds the library loaded.
      loader.thread = std::thread([] { LoadRenderer(); });
    } catch (const std::system_error&) {
      // No thread: the first use loads it.
    }
  });
}
