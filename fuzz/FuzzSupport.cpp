#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzz {

void Fail(const char* file, int line, const char* condition, const std::string& message) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n  %s\n", file, line, condition, message.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string WithLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return out;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
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
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
  return path;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace fuzz
