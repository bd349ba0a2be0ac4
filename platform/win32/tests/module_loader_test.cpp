#include "platform/win32/module_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32/code_page.h"
#include "platform/win32/resource_file.h"

namespace fs = std::filesystem;

// Found by the loader through the program's handle.
extern "C" __attribute__((visibility("default"))) int JovLoaderTestExport() { return 7; }

namespace {

std::string ModuleDir() { return JOV_TEST_PLUGIN_DIR; }

std::string PlainPath() { return ModuleDir() + "/Jov_TestPlain.dll"; }

using IntFn = int (*)();

IntFn Fn(HMODULE module, const char* name) { return reinterpret_cast<IntFn>(GetProcAddress(module, name)); }

std::string FileNameOf(HMODULE module) {
  char buf[4096] = {};
  DWORD n = GetModuleFileNameA(module, buf, sizeof buf);
  return std::string(buf, n);
}

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/jov_loader_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() { fs::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string WriteResourceFile(const std::string& path, const ResourceTable& table) {
  std::vector<BYTE> bytes = SerializeResourceTable(table);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace

TEST(ModuleLoader, LoadsAreCountedAndTheLastFreeUnloads) {
  HMODULE first = LoadLibraryA(PlainPath().c_str());
  ASSERT_NE(first, nullptr) << LastLoadErrorText();
  // Another spelling of the same file: '\' separators and a "." folder.
  std::string other = ModuleDir() + "/./Jov_TestPlain.dll";
  std::replace(other.begin(), other.end(), '/', '\\');
  other[0] = '/';  // an absolute path keeps its root
  HMODULE second = LoadLibraryA(other.c_str());
  EXPECT_EQ(second, first);

  IntFn answer = Fn(first, "PlainLibrary_Answer");
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(Fn(first, "PlainLibrary_Calls")(), 1);

  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetModuleHandleA("Jov_TestPlain.dll"), first) << "one reference is left";
  EXPECT_EQ(Fn(first, "PlainLibrary_Calls")(), 1);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetModuleHandleA("Jov_TestPlain.dll"), nullptr);
  EXPECT_FALSE(FreeLibrary(first)) << "the handle is gone";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  // Really unmapped: the library's statics start afresh.
  HMODULE again = LoadLibraryA(PlainPath().c_str());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Fn(again, "PlainLibrary_Calls")(), 0);
  FreeLibrary(again);
}

TEST(ModuleLoader, LoadedModulesAreFoundByFileNameInAnyCase) {
  HMODULE module = LoadLibraryA(PlainPath().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetModuleHandleA("JOV_TESTPLAIN.DLL"), module);
  EXPECT_EQ(GetModuleHandleA("jov_testplain"), module) << "a name without extension means .dll";
  EXPECT_EQ(GetModuleHandleA(PlainPath().c_str()), module);
  // A bare name is a loaded module before it is a file anywhere.
  EXPECT_EQ(LoadLibraryA("jov_testPLAIN.dll"), module);
  FreeLibrary(module);

  SetLastError(0);
  EXPECT_EQ(GetModuleHandleA("no_such_module.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  FreeLibrary(module);
}

TEST(ModuleLoader, ExportsAreTheModulesOwn) {
  HMODULE module = LoadLibraryA(PlainPath().c_str());
  ASSERT_NE(module, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(module, "malloc"), nullptr) << "symbols of its dependencies are not its exports";
  EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(1)), nullptr) << "no ordinals";
  FreeLibrary(module);

  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(program, nullptr);
  IntFn exported = Fn(program, "JovLoaderTestExport");
  ASSERT_NE(exported, nullptr);
  EXPECT_EQ(exported(), 7);
  EXPECT_EQ(Fn(nullptr, "JovLoaderTestExport"), exported) << "null means the program";
}

TEST(ModuleLoader, FailedLoadsSayWhy) {
  TempDir dir;
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA((dir.path() + "/missing.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  std::ofstream(dir.path() + "/text.dll") << "not a library";
  EXPECT_EQ(LoadLibraryA((dir.path() + "/text.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
  EXPECT_FALSE(LastLoadErrorText().empty());

  fs::create_directory(dir.path() + "/folder.dll");
  EXPECT_EQ(LoadLibraryA((dir.path() + "/folder.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  // A trailing dot means "no extension": no ".dll" is added.
  EXPECT_EQ(LoadLibraryA((ModuleDir() + "/Jov_TestPlain.").c_str()), nullptr);
  HMODULE withDefault = LoadLibraryA((ModuleDir() + "/Jov_TestPlain").c_str());
  EXPECT_NE(withDefault, nullptr);
  FreeLibrary(withDefault);

  int bogus = 0;
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&bogus)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&bogus), "x"), nullptr);
}

TEST(ModuleLoader, FileNameFollowsTheWindowsBufferRules) {
  HMODULE module = LoadLibraryA(PlainPath().c_str());
  ASSERT_NE(module, nullptr);
  const std::string path = fs::canonical(PlainPath()).string();
  EXPECT_EQ(FileNameOf(module), path);

  const DWORD length = static_cast<DWORD>(path.size());
  std::vector<char> buf(length + 8, 'x');
  EXPECT_EQ(GetModuleFileNameA(module, buf.data(), length + 1), length) << "exactly fits with its NUL";
  EXPECT_STREQ(buf.data(), path.c_str());

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(module, buf.data(), length), length) << "one short: cut, result = size";
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(buf.data()), path.substr(0, length - 1));

  EXPECT_EQ(GetModuleFileNameA(module, buf.data(), 5), 5u);
  EXPECT_EQ(std::string(buf.data()), path.substr(0, 4));
  EXPECT_EQ(GetModuleFileNameA(module, buf.data(), 0), 0u);
  FreeLibrary(module);

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(module, buf.data(), 100), 0u) << "freed module";
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(FileNameOf(nullptr), fs::read_symlink("/proc/self/exe").string());
}

TEST(ModuleLoader, ProgramKeepsTheNameItWasStartedUnder) {
  TempDir dir;
  const std::string link = dir.path() + "/duvozedo.exe";
  fs::create_symlink("/proc/self/exe", link);
  fs::create_symlink(PlainPath(), dir.path() + "/Jov_TestPlain.dll");
  SetProgramFileName(link.c_str());
  HMODULE program = GetModuleHandleA(nullptr);

  EXPECT_EQ(GetModuleHandleA("DUVOZEDO.EXE"), program);
  EXPECT_EQ(GetModuleHandleA(link.c_str()), program);
  EXPECT_EQ(FileNameOf(nullptr), fs::canonical(dir.path()).string() + "/duvozedo.exe");
  EXPECT_EQ(FileNameOf(program), FileNameOf(nullptr));
  EXPECT_EQ(LoadLibraryA(link.c_str()), program) << "loading the program's file gives the program";
  // The real file has no extension: a trailing dot keeps ".dll" off.
  EXPECT_EQ(LoadLibraryA((fs::read_symlink("/proc/self/exe").string() + ".").c_str()), program);
  EXPECT_TRUE(FreeLibrary(program));
  EXPECT_EQ(GetModuleHandleA(nullptr), program);

  // A bare name is looked for in the program's folder.
  HMODULE beside = LoadLibraryA("Jov_TestPlain.dll");
  ASSERT_NE(beside, nullptr) << LastLoadErrorText();
  EXPECT_EQ(beside, LoadLibraryA(PlainPath().c_str())) << "the link and its target are one file";
  FreeLibrary(beside);
  FreeLibrary(beside);

  // A relative name is taken from the current folder.
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  SetProgramFileName("./duvozedo.exe");
  fs::current_path(before);
  EXPECT_EQ(FileNameOf(nullptr), fs::canonical(dir.path()).string() + "/duvozedo.exe");
  SetProgramFileName(fs::read_symlink("/proc/self/exe").c_str());
}

TEST(ModuleLoader, FileNamesAreCodePage1250BothWays) {
  TempDir dir;
  const std::string folder = dir.path() + "/Žluťoučký kůň";
  fs::create_directory(folder);
  fs::copy_file(PlainPath(), folder + "/Plain.dll");
  // The system's text: code page 1250 with '\' separators.
  std::string page = Utf8ToCp1250(folder + "/Plain.dll");
  std::replace(page.begin(), page.end(), '/', '\\');
  page[0] = '/';
  HMODULE module = LoadLibraryA(page.c_str());
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  EXPECT_EQ(FileNameOf(module), Utf8ToCp1250(fs::canonical(folder + "/Plain.dll").string()));
  EXPECT_NE(FileNameOf(module).find("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2"), std::string::npos);
  FreeLibrary(module);
}

TEST(ModuleLoader, ResourceFilesLoadWithoutCode) {
  TempDir dir;
  ResourceTable table;
  table.Add(ResourceKey::Number(6), ResourceKey::Number(17), {'h', 'i'});
  const std::string path = WriteResourceFile(dir.path() + "/Test.qmr", table);

  HMODULE module = LoadLibraryA(path.c_str());
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  EXPECT_EQ(LoadLibraryA(path.c_str()), module);
  EXPECT_EQ(GetModuleHandleA("TEST.QMR"), module);
  EXPECT_EQ(FileNameOf(module), fs::canonical(path).string());
  EXPECT_EQ(GetProcAddress(module, "anything"), nullptr);
  ASSERT_NE(ModuleResourceTable(module), nullptr);
  EXPECT_EQ(ModuleResourceTable(module)->entries.size(), 1u);

  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_NE(ModuleResourceTable(module), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(ModuleResourceTable(module), nullptr);
  EXPECT_EQ(GetModuleHandleA("Test.qmr"), nullptr);
}

TEST(ModuleLoader, DamagedResourceFilesDoNotLoad) {
  TempDir dir;
  ResourceTable table;
  table.Add(ResourceKey::Number(6), ResourceKey::Number(1), std::vector<BYTE>(100, 'a'));
  std::vector<BYTE> bytes = SerializeResourceTable(table);
  bytes.resize(bytes.size() - 10);  // the entry runs past the end
  const std::string path = dir.path() + "/Cut.qmr";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA(path.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
  EXPECT_NE(LastLoadErrorText().find("truncated"), std::string::npos) << LastLoadErrorText();
}

TEST(ModuleLoader, LibrariesMappedByOthersAreKnownModules) {
  // The platform library came in with the program, not through LoadLibraryA.
  HMODULE platform = GetModuleHandleA("LIBPLATFORM_WIN.SO");
  ASSERT_NE(platform, nullptr);
  EXPECT_EQ(ModuleFromAddress(reinterpret_cast<const void*>(&LoadLibraryA)), platform);
  EXPECT_TRUE(ModuleContainsAddress(platform, reinterpret_cast<const void*>(&FreeLibrary)));
  EXPECT_NE(FileNameOf(platform).find("libplatform_win.so"), std::string::npos);
  EXPECT_EQ(GetModuleHandleA(FileNameOf(platform).c_str()), platform);
  HMODULE libc = GetModuleHandleA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(GetProcAddress(libc, "getpid"), nullptr);
  EXPECT_EQ(GetProcAddress(platform, "getpid"), nullptr);

  HMODULE program = GetModuleHandleA(nullptr);
  EXPECT_EQ(ModuleFromAddress(reinterpret_cast<const void*>(&JovLoaderTestExport)), program);
  EXPECT_FALSE(ModuleContainsAddress(program, reinterpret_cast<const void*>(&LoadLibraryA)));
  int onTheStack = 0;
  EXPECT_EQ(ModuleFromAddress(&onTheStack), program) << "outside every object";
}
