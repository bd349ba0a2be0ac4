#include "platform/win32/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/code_page.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` that equals the code page 1250 `name` without regard to
// case, as its UTF-8 name; empty when there is none. Entries whose names have
// no exact code page 1250 form cannot be what the system means.
std::string FindEntry(const std::string& dir, std::string_view name) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  const std::string wanted(name);
  std::string best;
  while (const dirent* e = readdir(d)) {
    const char* entry = e->d_name;
    if (std::strcmp(entry, ".") == 0 || std::strcmp(entry, "..") == 0) continue;
    const std::string asPage = FileNameToCp1250(entry);
    if (_mbsicmp(asPage.c_str(), wanted.c_str()) != 0) continue;
    if (Cp1250ToUtf8(asPage) != entry) continue;
    if (best.empty() || std::strcmp(entry, best.c_str()) < 0) best = entry;
  }
  closedir(d);
  return best;
}

}  // namespace

std::string ResolvePath(std::string_view path) {
  std::string page(path);
  std::replace(page.begin(), page.end(), '\\', '/');
  std::string direct = Cp1250ToUtf8(page);
  // Most paths are already spelled as on disk: one lstat answers them.
  if (direct.empty() || Exists(direct)) return direct;

  std::string out;
  size_t pos = 0;
  if (page[0] == '/') {
    out = "/";
    pos = 1;
  }
  bool parentExists = true;
  for (;;) {
    size_t end = page.find('/', pos);
    if (end == std::string::npos) end = page.size();
    const std::string_view part(page.data() + pos, end - pos);
    std::string name = Cp1250ToUtf8(part);
    if (parentExists && !part.empty() && part != "." && part != "..") {
      if (!Exists(out + name)) {
        std::string found = FindEntry(out, part);
        if (found.empty())
          parentExists = false;  // nothing below a missing folder can exist
        else
          name = std::move(found);
      }
    }
    out += name;
    if (end == page.size()) break;
    out += '/';
    pos = end + 1;
  }
  return out;
}

FILE* OpenResolved(std::string_view path, const char* mode) {
  return std::fopen(ResolvePath(path).c_str(), mode);
}

std::string FileNameToCp1250(std::string_view utf8Name) { return Utf8ToCp1250(utf8Name); }
