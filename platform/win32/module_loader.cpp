#include "platform/win32/module_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win32/code_page.h"
#include "platform/win32/path_resolver.h"
#include "platform/win32/resource_file.h"
#include "platform/win32/resources.h"

struct HINSTANCE__ {
  enum class Kind { Program, Code, Resources, Foreign };
  Kind kind = Kind::Code;
  std::string hostPath;  // absolute, UTF-8
  dev_t dev = 0;
  ino_t ino = 0;
  void* dl = nullptr;  // one dlopen reference of ours (code and foreign modules)
  link_map* map = nullptr;
  int refs = 0;
  bool attached = false;   // the entry hook took it and has not let it go
  uint64_t startedAs = 0;  // rank of its finished start; the last started stops first
  bool unloading = false;  // its last reference is being dropped
  std::unique_ptr<ResourceTable> resources;
};

namespace {

using Kind = HINSTANCE__::Kind;

struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool valid = false;
  bool operator==(const FileId& o) const { return valid && o.valid && dev == o.dev && ino == o.ino; }
};

FileId IdOf(const std::string& hostPath) {
  struct stat st;
  if (hostPath.empty() || stat(hostPath.c_str(), &st) != 0) return {};
  return {st.st_dev, st.st_ino, true};
}

FileId IdOf(const HINSTANCE__& m) { return {m.dev, m.ino, m.dev != 0 || m.ino != 0}; }

std::string CurrentFolder() {
  std::vector<char> buf(4096);
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return "/";
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

// Absolute form with "." and ".." taken out by their text, as Windows does.
std::string AbsolutePath(const std::string& path) {
  std::string full = !path.empty() && path[0] == '/' ? path : CurrentFolder() + "/" + path;
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= full.size()) {
    size_t end = full.find('/', pos);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    pos = end + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The one place where a system file name (code page 1250, '\' or '/')
// becomes a file name of this machine.
std::string ToHostPath(const char* path) { return ResolvePath(path); }

bool HasSeparator(const std::string& name) { return name.find_first_of("\\/") != std::string::npos; }

// Windows gives a name without an extension ".dll"; a trailing '.' says that
// the name has none.
std::string WithDefaultExtension(const char* name) {
  std::string out(name);
  size_t start = out.find_last_of("\\/");
  start = start == std::string::npos ? 0 : start + 1;
  if (!out.empty() && out.back() == '.' && out.size() > start) {
    out.pop_back();
  } else if (out.find('.', start) == std::string::npos) {
    out += ".dll";
  }
  return out;
}

bool IsElfFile(const std::string& hostPath) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  char head[4] = {};
  bool elf = std::fread(head, 1, 4, f) == 4 && std::memcmp(head, "\x7F" "ELF", 4) == 0;
  std::fclose(f);
  return elf;
}

bool IsResourceFile(const std::string& hostPath) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  BYTE head[kResourceMagicSize] = {};
  bool yes = std::fread(head, 1, sizeof head, f) == sizeof head && HasResourceMagic(head, sizeof head);
  std::fclose(f);
  return yes;
}

link_map* MapOf(void* dl) {
  link_map* map = nullptr;
  if (!dl || dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  return map;
}

link_map* MapOfAddress(const void* address) {
  Dl_info info;
  link_map* map = nullptr;
  if (!address || !dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP))
    return nullptr;
  return map;
}

std::string ProcSelfExe() {
  std::vector<char> buf(4096);
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  return std::string(buf.data(), static_cast<size_t>(n));
}

struct LoaderState {
  std::recursive_mutex mutex;
  std::vector<std::unique_ptr<HINSTANCE__>> modules;  // load order; the program first
  HINSTANCE__* program = nullptr;
  FileId programAlias;  // the file the program was started under, when not the program itself
  ModuleEntryHook hook = nullptr;
  std::string lastError;
  uint64_t starts = 0;
  bool exitDetachDone = false;

  LoaderState() {
    auto p = std::make_unique<HINSTANCE__>();
    p->kind = Kind::Program;
    p->hostPath = ProcSelfExe();
    FileId id = IdOf(std::string("/proc/self/exe"));
    p->dev = id.dev;
    p->ino = id.ino;
    p->dl = dlopen(nullptr, RTLD_NOW);
    p->map = MapOf(p->dl);
    p->refs = 1;
    program = p.get();
    modules.push_back(std::move(p));
  }

  // A module that is being unloaded still answers questions about itself
  // (its shutdown code may ask) but takes no new references.
  HINSTANCE__* Known(HMODULE h) {
    for (const auto& m : modules)
      if (m.get() == h) return m.get();
    return nullptr;
  }

  HINSTANCE__* Live(HMODULE h) {
    HINSTANCE__* m = Known(h);
    return m && !m->unloading ? m : nullptr;
  }

  HINSTANCE__* ByMap(link_map* map) {
    if (!map) return nullptr;
    for (const auto& m : modules)
      if (m->map == map) return m.get();
    return nullptr;
  }

  HINSTANCE__* ById(const FileId& id) {
    if (!id.valid) return nullptr;
    if (IdOf(*program) == id || programAlias == id) return program;
    for (const auto& m : modules)
      if (IdOf(*m) == id && !m->unloading) return m.get();
    return nullptr;
  }

  HINSTANCE__* ByBaseName(const std::string& page) {
    for (const auto& m : modules) {
      if (m->kind == Kind::Program || m->unloading) continue;
      if (_mbsicmp(Utf8ToCp1250(BaseName(m->hostPath)).c_str(), page.c_str()) == 0) return m.get();
    }
    if (_mbsicmp(Utf8ToCp1250(BaseName(program->hostPath)).c_str(), page.c_str()) == 0) return program;
    return nullptr;
  }

  // A library mapped by someone else (the program's own dependencies, a
  // plain dlopen) becomes a known module; our extra reference keeps it.
  HINSTANCE__* Adopt(const char* objectName) {
    if (!objectName || !*objectName) return nullptr;
    void* dl = dlopen(objectName, RTLD_NOW | RTLD_NOLOAD);
    if (!dl) return nullptr;
    link_map* map = MapOf(dl);
    if (HINSTANCE__* known = map == program->map ? program : ByMap(map)) {
      dlclose(dl);
      return known;
    }
    auto m = std::make_unique<HINSTANCE__>();
    m->kind = Kind::Foreign;
    m->hostPath = AbsolutePath(map && map->l_name && *map->l_name ? map->l_name : objectName);
    FileId id = IdOf(m->hostPath);
    m->dev = id.dev;
    m->ino = id.ino;
    m->dl = dl;
    m->map = map;
    modules.push_back(std::move(m));
    return modules.back().get();
  }

  // A mapped object whose file is `id` or whose file name is `page`.
  HINSTANCE__* AdoptMapped(const FileId* id, const std::string* page) {
    struct Search {
      const FileId* id;
      const std::string* page;
      std::string found;
    } search{id, page, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) -> int {
          auto* s = static_cast<Search*>(data);
          if (!info->dlpi_name || !*info->dlpi_name) return 0;
          std::string name = info->dlpi_name;
          bool match = s->id ? IdOf(name) == *s->id
                             : _mbsicmp(Utf8ToCp1250(BaseName(name)).c_str(), s->page->c_str()) == 0;
          if (!match) return 0;
          s->found = std::move(name);
          return 1;
        },
        &search);
    return search.found.empty() ? nullptr : Adopt(search.found.c_str());
  }

  std::unique_ptr<HINSTANCE__> Remove(HINSTANCE__* m) {
    for (auto it = modules.begin(); it != modules.end(); ++it) {
      if (it->get() != m) continue;
      std::unique_ptr<HINSTANCE__> out = std::move(*it);
      modules.erase(it);
      return out;
    }
    return nullptr;
  }
};

LoaderState& State() {
  // Never destroyed: libraries may still be freed while the process ends.
  static LoaderState* state = new LoaderState;
  return *state;
}

HMODULE AddRef(HINSTANCE__* m) {
  if (m->kind != Kind::Program) ++m->refs;
  return m;
}

HMODULE Fail(DWORD code, std::string text) {
  State().lastError = std::move(text);
  SetLastError(code);
  return nullptr;
}

// Libraries still loaded when the process ends are shut down like Windows
// does, newest first, before their static objects go.
void DetachAtExit() {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  if (s.exitDetachDone) return;
  s.exitDetachDone = true;
  if (!s.hook) return;
  // Shutting one down may free others: take the list first. A library that
  // loaded another while starting finished after it, so it stops first and
  // frees the other itself.
  std::vector<HINSTANCE__*> attached;
  for (const auto& m : s.modules)
    if (m->attached) attached.push_back(m.get());
  std::sort(attached.begin(), attached.end(),
            [](const HINSTANCE__* a, const HINSTANCE__* b) { return a->startedAs > b->startedAs; });
  for (HINSTANCE__* m : attached) {
    if (!s.Known(m) || !m->attached) continue;
    m->attached = false;
    s.hook(m, DLL_PROCESS_DETACH);
  }
}

HMODULE LoadResourceModule(LoaderState& s, const std::string& hostPath, const FileId& id) {
  auto table = std::make_unique<ResourceTable>();
  std::string error;
  if (!ReadResourceFile(hostPath, *table, error)) return Fail(ERROR_BAD_EXE_FORMAT, error);
  auto m = std::make_unique<HINSTANCE__>();
  m->kind = Kind::Resources;
  m->hostPath = AbsolutePath(hostPath);
  m->dev = id.dev;
  m->ino = id.ino;
  m->refs = 1;
  m->resources = std::move(table);
  s.modules.push_back(std::move(m));
  return s.modules.back().get();
}

HMODULE LoadCodeModule(LoaderState& s, const std::string& hostPath, bool exists) {
  dlerror();
  void* dl = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    const char* why = dlerror();
    DWORD code = exists && !IsElfFile(hostPath) ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND;
    return Fail(code, why ? why : "cannot load " + hostPath);
  }
  link_map* map = MapOf(dl);
  // Found under another name, or mapped before by someone else.
  if (map == s.program->map) {
    dlclose(dl);
    return s.program;
  }
  if (HINSTANCE__* known = s.ByMap(map)) {
    dlclose(dl);
    if (known->unloading) return Fail(ERROR_MOD_NOT_FOUND, "the library is being unloaded: " + hostPath);
    return AddRef(known);
  }
  auto owned = std::make_unique<HINSTANCE__>();
  HINSTANCE__* m = owned.get();
  m->kind = Kind::Code;
  m->hostPath = AbsolutePath(exists ? hostPath : map && map->l_name ? map->l_name : hostPath);
  FileId id = IdOf(m->hostPath);
  m->dev = id.dev;
  m->ino = id.ino;
  m->dl = dl;
  m->map = map;
  m->refs = 1;
  s.modules.push_back(std::move(owned));

  if (!s.hook) return m;
  BOOL accepted = FALSE;
  m->attached = true;
  try {
    accepted = s.hook(m, DLL_PROCESS_ATTACH);
  } catch (...) {
    s.Remove(m).reset();
    dlclose(dl);
    throw;
  }
  if (!accepted) {
    std::string path = m->hostPath;
    s.Remove(m).reset();
    dlclose(dl);
    return Fail(ERROR_DLL_INIT_FAILED, "the library refused to initialise: " + path);
  }
  m->startedAs = ++s.starts;
  std::atexit(DetachAtExit);
  return m;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (!fileName || !*fileName) return Fail(ERROR_INVALID_PARAMETER, "no file name");
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  const std::string page = WithDefaultExtension(fileName);
  const bool bare = !HasSeparator(page);
  std::string hostPath;
  if (bare) {
    if (HINSTANCE__* loaded = s.ByBaseName(page)) return AddRef(loaded);
    for (const std::string& folder : {FolderOf(s.program->hostPath), CurrentFolder()}) {
      std::string candidate = ResolvePath(Utf8ToCp1250(folder + "/") + page);
      if (IdOf(candidate).valid) {
        hostPath = std::move(candidate);
        break;
      }
    }
    if (hostPath.empty()) hostPath = Cp1250ToUtf8(page);  // left to the system's library path
  } else {
    hostPath = ToHostPath(page.c_str());
  }

  // A bare name that was not found in a folder goes to the system's search.
  const bool systemSearch = hostPath.find('/') == std::string::npos;
  struct stat st;
  const bool exists = !systemSearch && stat(hostPath.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_MOD_NOT_FOUND, hostPath + " is a folder");
    const FileId id{st.st_dev, st.st_ino, true};
    if (HINSTANCE__* loaded = s.ById(id)) return AddRef(loaded);
    if (IsResourceFile(hostPath)) return LoadResourceModule(s, hostPath, id);
  } else if (!systemSearch) {
    return Fail(ERROR_MOD_NOT_FOUND, "no such file: " + hostPath);
  }
  return LoadCodeModule(s, hostPath, exists);
}

BOOL FreeLibrary(HMODULE module) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  HINSTANCE__* m = s.Live(module);
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (m->kind == Kind::Program || m->refs <= 0) return TRUE;
  if (--m->refs > 0 || m->kind == Kind::Foreign) return TRUE;

  m->unloading = true;
  std::exception_ptr failure;
  if (m->attached && s.hook) {
    m->attached = false;
    try {
      s.hook(m, DLL_PROCESS_DETACH);
    } catch (...) {
      failure = std::current_exception();  // unload all the same
    }
  }
  std::unique_ptr<HINSTANCE__> gone = s.Remove(m);
  if (gone && gone->dl) dlclose(gone->dl);
  gone.reset();
  if (failure) std::rethrow_exception(failure);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  HINSTANCE__* m = module ? s.Known(module) : s.program;
  if (!m) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!procName || IS_INTRESOURCE(procName) || !m->dl) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  dlerror();
  void* address = dlsym(m->dl, procName);
  // dlsym also searches the module's dependencies; an export is the module's own.
  if (!address || MapOfAddress(address) != m->map) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  if (!moduleName) return s.program;
  const std::string page = WithDefaultExtension(moduleName);
  HINSTANCE__* found = nullptr;
  if (!HasSeparator(page)) {
    found = s.ByBaseName(page);
    if (!found) found = s.AdoptMapped(nullptr, &page);
  } else {
    const FileId id = IdOf(ToHostPath(page.c_str()));
    found = s.ById(id);
    if (!found && id.valid) found = s.AdoptMapped(&id, nullptr);
  }
  if (!found) SetLastError(ERROR_MOD_NOT_FOUND);
  return found;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  HINSTANCE__* m = module ? s.Known(module) : s.program;
  if (!m) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::string page = Utf8ToCp1250(m->hostPath);
  if (page.size() < size) {
    std::memcpy(fileName, page.c_str(), page.size() + 1);
    return static_cast<DWORD>(page.size());
  }
  std::memcpy(fileName, page.data(), size - 1);
  fileName[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

void SetProgramFileName(const char* argv0) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  if (!argv0 || !*argv0) return;
  std::string path = argv0;
  if (path.find('/') == std::string::npos) {
    // Started through PATH: the first folder that has it.
    const char* env = std::getenv("PATH");
    std::string list = env ? env : "";
    path.clear();
    size_t pos = 0;
    while (pos <= list.size()) {
      size_t end = list.find(':', pos);
      if (end == std::string::npos) end = list.size();
      std::string folder = end > pos ? list.substr(pos, end - pos) : ".";
      std::string candidate = folder + "/" + argv0;
      if (access(candidate.c_str(), X_OK) == 0) {
        path = std::move(candidate);
        break;
      }
      pos = end + 1;
    }
    if (path.empty()) return;
  }
  // The folder may be reached through links; the file keeps its own name.
  std::string folder = FolderOf(path);
  char* real = realpath(folder.c_str(), nullptr);
  std::string full = real ? std::string(real) + "/" + BaseName(path) : AbsolutePath(path);
  std::free(real);
  s.program->hostPath = full;
  FileId alias = IdOf(full);
  s.programAlias = alias == IdOf(*s.program) ? FileId{} : alias;
}

std::string LastLoadErrorText() {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  return s.lastError;
}

void SetModuleEntryHook(ModuleEntryHook hook) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  s.hook = hook;
}

bool ModuleContainsAddress(HMODULE module, const void* address) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  HINSTANCE__* m = s.Known(module);
  return m && m->map && MapOfAddress(address) == m->map;
}

HMODULE ModuleFromAddress(const void* address) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  link_map* map = MapOfAddress(address);
  if (!map || map == s.program->map) return s.program;
  if (HINSTANCE__* known = s.ByMap(map)) return known;
  HINSTANCE__* adopted = s.Adopt(map->l_name);
  return adopted ? adopted : s.program;
}

const ResourceTable* ModuleResourceTable(HMODULE module) {
  LoaderState& s = State();
  std::lock_guard lock(s.mutex);
  HINSTANCE__* m = s.Known(module);
  return m ? m->resources.get() : nullptr;
}
