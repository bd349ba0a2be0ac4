#include "wizard/dialogs/PlacedTextLimit.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"

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
