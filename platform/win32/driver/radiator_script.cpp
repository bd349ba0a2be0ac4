#include "platform/win32/driver/radiator_script.h"

#include <charconv>

#include "platform/win32/code_page.h"
#include "platform/win32/driver/session_script.h"

namespace {

constexpr const char* kNumberNames[8] = {"N1", "N2", "N3", "L", "V", "S", "N4", "N5"};

bool ReadInt32(const std::string& text, int32_t* out) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  auto [end, ec] = std::from_chars(first, last, *out);
  return first != last && ec == std::errc() && end == last;
}

}  // namespace

bool ParseRadiatorChoice(const std::vector<std::string>& args, RadiatorChoice* out, std::string* why) {
  RadiatorChoice choice;
  auto fail = [why](std::string reason) {
    if (why) *why = std::move(reason);
    return false;
  };
  if (args.size() == 1 && args[0] == "cancel") {
    if (out) *out = choice;
    return true;
  }
  if (args.size() != 12) return fail("needs 'cancel' or four texts and eight numbers (T1 T2 T3 T4 N1 N2 N3 L V S N4 N5)");
  for (size_t i = 0; i < 4; ++i) {
    choice.texts[i] = Utf8ToCp1250(args[i]);
    if (choice.texts[i].size() > kRadiatorTextLimits[i])
      return fail("text " + std::to_string(i + 1) + " is longer than its field's " +
                  std::to_string(kRadiatorTextLimits[i]) + " characters");
    if (choice.texts[i].find('\0') != std::string::npos) return fail("text " + std::to_string(i + 1) + " holds a NUL");
  }
  for (size_t i = 0; i < 8; ++i)
    if (!ReadInt32(args[4 + i], &choice.numbers[i]))
      return fail(std::string(kNumberNames[i]) + " '" + args[4 + i] + "' is not a 32-bit whole number");
  choice.cancelled = false;
  if (out) *out = std::move(choice);
  return true;
}

void RegisterRadiatorScriptKeyword() {
  if (IsSessionKeyword("radiator")) return;
  RegisterSessionKeyword("radiator", [](const std::vector<std::string>& args, std::string* why) {
    return ParseRadiatorChoice(args, nullptr, why);
  });
}
