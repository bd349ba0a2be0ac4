// The scene library's resource file ("GLOBJECT.GLR") as the library finds
// it in the shared folder, holding the input as its colour palette and as
// its message format (string 1001). A palette loads exactly when its count
// fits the bytes, then gives one material per record with the record's
// colour; one that does not load gives none. The message format is used
// only when it takes the library's texts: the texts then all appear, in
// their order.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "objectgl/GLException.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLResourceSupp.h"
#include "platform/win32/registry.h"
#include "platform/win32/resource_file.h"

namespace {

struct Entry {
  ResourceKey type, name;
  std::vector<BYTE> data;
};
std::vector<Entry>& BuiltFile() {
  static std::vector<Entry> entries;
  return entries;
}

bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The resource file with the input in place of the palette and the format.
void WriteResourceFile(const uint8_t* data, size_t size) {
  const ResourceKey palette[2] = {ResourceKey::FromArgument("Binary"), ResourceKey::Number(107)};
  const ResourceKey format[2] = {ResourceKey::FromArgument(RT_STRING), ResourceKey::Number(1001)};
  ResourceTable table;
  for (const Entry& e : BuiltFile()) {
    const bool replaced = (e.type.Matches(palette[0]) && e.name.Matches(palette[1])) ||
                          (e.type.Matches(format[0]) && e.name.Matches(format[1]));
    table.Add(e.type, e.name, replaced ? std::vector<BYTE>(data, data + size) : e.data);
  }
  const std::vector<BYTE> bytes = SerializeResourceTable(table);
  fuzz::WriteScratchFile("common/Quenlor Shared/GLOBJECT.GLR",
                         std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void CheckPalette(const uint8_t* data, size_t size) {
  int32_t count = -1;
  if (size >= 12) std::memcpy(&count, data, 4);
  const bool fits = count >= 0 && (size - 12) / 16 >= static_cast<size_t>(count);
  GLMatLib materials;
  const bool loaded = materials.LoadPalette();
  FUZZ_CHECK(loaded == fits, loaded ? "a palette loaded that its bytes do not hold" : "a palette did not load");
  if (!loaded) {
    FUZZ_CHECK(materials.GetCount() == 0, "a palette that did not load gave materials");
    return;
  }
  FUZZ_CHECK(materials.GetCount() == static_cast<uint32_t>(count), "a palette gave another number of materials");
  for (int32_t i = 0; i < count; ++i) {
    float rgba[4];
    std::memcpy(rgba, data + 12 + 16 * i, 16);
    const GLMaterial* m = materials.GetMaterial(static_cast<uint32_t>(i));
    FUZZ_CHECK(m, "a material is missing");
    const bool seeThrough = i == 4 || i == 144;
    for (int c = 0; c < 4; ++c) {
      const float diffuse = c == 3 && seeThrough ? 0.2f : rgba[c];
      const float ambient = c == 3 ? (seeThrough ? 0.2f : 1.0f) : 0.4f * rgba[c];
      FUZZ_CHECK(SameFloat(m->diffuse[c], diffuse) && SameFloat(m->ambient[c], ambient) &&
                     SameFloat(m->specular[c], ambient),
                 "material " + std::to_string(i) + " has other colours than its record");
    }
  }
}

void CheckMessageFormat() {
  const GLException e(GL_ERROR_INDEX, "\x01" "first", "\x02" "second", "\x03" "third", 4242);
  const std::string text = e.GetText();
  const std::string message = e.GetMessage();
  if (text == message + "\n\x03third\n4242") return;  // the format was not used
  size_t at = 0;
  for (const std::string& part : {message, std::string("\x01" "first"), std::string("\x02" "second"),
                                  std::string("\x03" "third"), std::string("4242")}) {
    at = text.find(part, at);
    FUZZ_CHECK(at != std::string::npos, "a format in use lost a text: " + text);
    at += part.size();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ResourceTable table;
  std::string error;
  if (!ReadResourceFile(JOV_GLR_FILE, table, error)) {
    std::fprintf(stderr, "cannot read %s: %s\n", JOV_GLR_FILE, error.c_str());
    std::abort();
  }
  for (const auto& e : table.entries) BuiltFile().push_back({e->type, e->name, e->data});

  // The shared folder, named by the registry, is where the library looks.
  SetRegistryFolder(fuzz::ScratchFolder() + "/registry");
  const std::string common = fuzz::ScratchFolder() + "/common";
  std::filesystem::create_directories(common + "/Quenlor Shared");
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &key);
  RegSetValueExA(key, "CommonFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(common.c_str()),
                 static_cast<DWORD>(common.size() + 1));
  RegCloseKey(key);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteResourceFile(data, size);
  CheckPalette(data, size);
  CheckMessageFormat();
  return 0;
}
