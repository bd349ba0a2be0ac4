// The radiator catalogue a heating product dialog opens to choose a
// radiator. Headless, the user's choice is the session script's next
// `radiator` line (platform/win32/driver/radiator_script.h): the record is filled
// in its field order and the answer is 1; `radiator cancel`, or a script
// without such a line next, is a choice of nothing (0).
#include <cstring>
#include <string>

#include "platform/win32/driver/radiator_script.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/win32_types.h"
#include "dataformat/KorpalinData.h"

namespace {

template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
}

int Choose(const char* call, KorpalinData* record) {
  // Only a record of the layout this library knows is filled.
  if (!record || record->size != sizeof(KorpalinData) || record->version != 2) return 0;
  SessionScript& script = CurrentSessionScript();
  std::optional<ScriptLine> line = script.TakeFor({"radiator"}, std::string("radiator catalogue ") + call);
  if (!line) return 0;
  RadiatorChoice choice;
  std::string why;
  if (!ParseRadiatorChoice(line->args, &choice, &why)) {
    // Loaded before the keyword was known, so never checked.
    script.ReportError(*line, "radiator " + why);
    return 0;
  }
  if (choice.cancelled) return 0;
  PutText(record->text1, choice.texts[0]);
  PutText(record->text2, choice.texts[1]);
  PutText(record->text3, choice.texts[2]);
  PutText(record->text4, choice.texts[3]);
  int32_t* const numbers[8] = {&record->number1, &record->number2, &record->number3, &record->length,
                               &record->height,  &record->depth,   &record->number4, &record->number5};
  for (int i = 0; i < 8; ++i) *numbers[i] = choice.numbers[i];
  return 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int DejTeleso(int, KorpalinData* record) {
  return Choose("DejTeleso", record);
}

extern "C" __attribute__((visibility("default"))) int DejTeleso2(HWND, int, KorpalinData* record) {
  return Choose("DejTeleso2", record);
}
