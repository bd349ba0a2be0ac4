#include "common/GroupChainBuilder.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"

resbuf* GroupChainBuilder::Build(int code, ...) {
  va_list args;
  va_start(args, code);

  resbuf* head = nullptr;
  resbuf* last = nullptr;
  bool failed = false;

  auto append = [&](resbuf* node) {
    if (last)
      last->next = node;
    else
      head = node;
    last = node;
  };
  auto newNode = [&](int nodeCode) -> resbuf* {
    resbuf* node = NewGroupCodeNode();
    if (!node) return nullptr;
    std::memset(node, 0, sizeof(resbuf));
    node->code = static_cast<int16_t>(nodeCode);
    return node;
  };

  for (;; code = va_arg(args, int)) {
    if (terminatorMode == 0) {
      if (code == -9) break;
    } else {
      if (code == 0 || code == 5000) break;
      if (code == 5020) code = 0;
    }

    if (code == -8) {
      resbuf* chain = va_arg(args, resbuf*);
      if (!chain) continue;
      resbuf* end = chain;
      while (end->next) end = end->next;
      append(chain);
      last = end;
      continue;
    }
    if (code == -3) {
      va_arg(args, void*);  // the marker's value is not used
      resbuf* node = newNode(code);
      if (!node) { failed = true; break; }
      append(node);
      continue;
    }
    if (code >= 5016 && code <= 5018) {
      va_arg(args, void*);  // the value is always -1
      resbuf* node = newNode(code);
      if (!node) { failed = true; break; }
      node->value.i64 = -1;
      append(node);
      continue;
    }

    uint32_t kind = GroupCodeKind(GetGroupCodeClass(code));
    if (kind == GC_KIND_TEXT) {
      const char* text = va_arg(args, const char*);
      if (text == kSkip) continue;
      resbuf* node = newNode(code);
      if (!node) { failed = true; break; }
      append(node);
      node->value.text = DupString(text);
      if (!node->value.text) { failed = true; break; }
      continue;
    }

    resbuf* node = nullptr;
    switch (kind) {
      case GC_KIND_POINT: {
        const double* point = va_arg(args, const double*);
        if ((node = newNode(code)) && point) std::memcpy(node->value.point, point, 24);
        break;
      }
      case GC_KIND_REAL: {
        double real = va_arg(args, double);
        if ((node = newNode(code))) node->value.real = real;
        break;
      }
      case GC_KIND_INT64: {
        int64_t value = va_arg(args, int64_t);
        if ((node = newNode(code))) node->value.i64 = value;
        break;
      }
      case GC_KIND_INT16:
      case GC_KIND_INT16_B:
      case GC_KIND_FLAG16: {
        int value = va_arg(args, int);
        if ((node = newNode(code))) node->value.i16 = static_cast<int16_t>(value);
        break;
      }
      case GC_KIND_INT32: {
        int value = va_arg(args, int);
        if ((node = newNode(code))) node->value.i32 = static_cast<int32_t>(value);
        break;
      }
      case GC_KIND_ENTITY_NAME: {
        const void* name = va_arg(args, const void*);
        if ((node = newNode(code)) && name) std::memcpy(node->value.name, name, 16);
        break;
      }
      default:  // binary chunks and codes of no kind are not built
        failed = true;
        break;
    }
    if (failed || !node) {
      failed = true;
      break;
    }
    append(node);
  }
  va_end(args);

  if (failed) {
    FreeGroupCodeChain(head);
    return nullptr;
  }
  return head;
}
