#include "wizard/dialogs/PlacedTextLimit.h"

#include <cstring>

#include "common/HostModule.h"
#include "dataformat/GroupCodeChain.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/ui_services.h"

bool ExceedsPlacedTextLimit(const char* text) {
  return text && std::strlen(text) > static_cast<size_t>(kPlacedTextLimit);
}

const char* FirstOverlongPlacedText(const resbuf* chain) {
  const resbuf* previous = nullptr;
  for (const resbuf* node = chain; node; previous = node, node = node->next) {
    if (!IsStringNode(node) || !ExceedsPlacedTextLimit(node->value.text)) continue;
    if (previous && IsStringNode(previous) && previous->value.text && !ExceedsPlacedTextLimit(previous->value.text))
      return previous->value.text;
    return "";
  }
  return nullptr;
}

void SayProductDataNotBuilt(HWND owner, const resbuf* chain) {
  if (const char* key = FirstOverlongPlacedText(chain))
    MessageBoxRes(owner, IDS_PLACED_TEXT_TOO_LONG, MB_ICONWARNING, key);
  else
    MessageBoxRes(owner, IDS_XDATA_NOT_BUILT, MB_ICONWARNING);
}
