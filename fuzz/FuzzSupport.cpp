#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fuzz {

void Fail(const char* file, int line, const char* condition, const std::string& message) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n  %s\n", file, line, condition, message.c_str());
  std::fflush(stderr);
  std::abort();
}

const std::string& ScratchFolder() {
  // Never destroyed: the removal at exit still needs the name.
  static const std::string& folder = *[] {
    // In memory where there is such a folder: the readers write through.
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
    std::string pattern = (base / "jov_fuzz_XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return new std::string(pattern);
  }();
  return folder;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
  return path;
}

}  // namespace fuzz
