// A file box's history loaded from the settings file (keys HIST0, HIST1 ...
// of a section, up to the first one missing), saved and loaded again. At
// most 100 items load; saving keeps the section's other keys, leaves no
// history key beyond what it wrote, and a text without enclosing blanks or
// quotes comes back as it was.
#include <strings.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "common/CComboBoxNew.h"
#include "common/tests/UtilityDialog.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/UtilityDialogFuzz.h"
#include "platform/win32/profile.h"

using namespace utility_tests;

namespace {

constexpr char kSection[] = "H";
constexpr char kPrefix[] = "HIST";

std::vector<std::string> Items(CComboBoxNew& box) {
  std::vector<std::string> items;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString text;
    box.GetLBText(i, text);
    items.emplace_back(static_cast<const char*>(text));
  }
  return items;
}

std::vector<std::string> Load(CComboBoxNew& box, const std::string& settings) {
  box.ResetContent();
  box.LoadHistory(settings.c_str(), kSection, kPrefix);
  return Items(box);
}

// The section's keys, as the profile lists them.
std::vector<std::string> Keys(const std::string& settings) {
  std::vector<char> names(1 << 20);
  const DWORD n =
      GetPrivateProfileStringA(kSection, nullptr, "", names.data(), static_cast<DWORD>(names.size()), settings.c_str());
  std::vector<std::string> keys;
  for (size_t at = 0; at < n; at += std::strlen(names.data() + at) + 1) keys.emplace_back(names.data() + at);
  return keys;
}

bool IsHistoryKey(const std::string& key) {
  if (key.size() <= 4 || strncasecmp(key.c_str(), kPrefix, 4) != 0) return false;
  const std::string digits = key.substr(4);
  if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return false;
  return digits.find_first_not_of("0123456789") == std::string::npos;
}

bool IsPlain(const std::string& text) {
  if (text.empty()) return true;
  const bool blankEnd = std::isspace(static_cast<unsigned char>(text.front())) ||
                        std::isspace(static_cast<unsigned char>(text.back()));
  const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
  return !blankEnd && !quoted;
}

std::vector<std::string> OtherKeys(const std::string& settings) {
  std::vector<std::string> others;
  for (const std::string& key : Keys(settings))
    if (!IsHistoryKey(key)) others.push_back(key);
  return others;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::OpenUtilityDialogs("HistoryFuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Up to the first NUL: a key name holding one cannot be asked for by name.
  const std::string settings = fuzz::WriteScratchFile("Jov.ini", fuzz::CText(data, size));
  UtilityDialog dialog(settings);
  FUZZ_CHECK(dialog.Create(IDD_UTILITIES), "the dialog does not open");
  CComboBoxNew& box = dialog.anyBox;

  const std::vector<std::string> loaded = Load(box, settings);
  FUZZ_CHECK(loaded.size() <= 100, "more than 100 history items load");
  const std::vector<std::string> others = OtherKeys(settings);

  // Half the history saved, then loaded: its first half, nothing beyond.
  const uint32_t kept = static_cast<uint32_t>(loaded.size() / 2);
  box.SaveHistory(settings.c_str(), kSection, kPrefix, kept);
  const std::vector<std::string> reloaded = Load(box, settings);
  FUZZ_CHECK(reloaded.size() == kept, "a saved history loads " + std::to_string(reloaded.size()) + " items, not " +
                                          std::to_string(kept) + ":\n" + fuzz::FileBytes(settings));
  for (uint32_t i = 0; i < kept; ++i)
    if (IsPlain(loaded[i]))
      FUZZ_CHECK(reloaded[i] == loaded[i], "item " + std::to_string(i) + " comes back as \"" + reloaded[i] + "\"");
  for (const std::string& key : Keys(settings))
    if (IsHistoryKey(key)) FUZZ_CHECK(std::stoul(key.substr(4)) < kept, "history key " + key + " is left behind");
  FUZZ_CHECK(OtherKeys(settings) == others, "saving the history changed the section's other keys");

  dialog.DestroyWindow();
  return 0;
}
