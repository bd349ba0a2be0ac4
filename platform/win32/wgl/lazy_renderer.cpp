// The off-screen renderer bound on first use: programs that link the scene
// library but never draw (most commands of the plug-in) do not load it and
// the compiler infrastructure it brings. Every OpenGL and OSMesa function
// is a trampoline (made at build time from the renderer's exports) that
// comes here once; see cmake/LazyEntryPoints.cmake.
#include <dlfcn.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/win32/wgl/wgl.h"

extern "C" {
extern void* jov_lazy_slots[];
extern const char* const jov_lazy_names[];
extern const uint32_t jov_lazy_count;
__attribute__((visibility("hidden"))) void* jov_lazy_bind(uint32_t index);
}

namespace {

std::atomic<bool> g_loaded{false};
// A thread loads the renderer ahead of its first use, and has done so.
std::atomic<bool> g_preparing{false}, g_prepared{false};

[[noreturn]] void Fail(const char* what, const char* detail) {
  // Nothing can be drawn without the renderer, and a function that cannot
  // be found has nowhere to go on to.
  std::fprintf(stderr, "%s: %s\n", what, detail ? detail : "");
  std::abort();
}

void* LoadRenderer() { return dlopen(JOV_LAZY_LIBRARY, RTLD_NOW | RTLD_LOCAL); }

void* Renderer() {
  static void* library = [] {
    // The load under way finishes first (the system's loader would hold
    // this one until then anyway): what it set up is then seen here.
    if (g_preparing.load(std::memory_order_acquire)) g_prepared.wait(false, std::memory_order_acquire);
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
      g_preparing = true;
      loader.thread = std::thread([] {
        LoadRenderer();
        g_prepared.store(true, std::memory_order_release);
        g_prepared.notify_all();
      });
    } catch (const std::system_error&) {
      // No thread: the first use loads it, and waits for nothing.
      g_prepared.store(true, std::memory_order_release);
      g_prepared.notify_all();
    }
  });
}
