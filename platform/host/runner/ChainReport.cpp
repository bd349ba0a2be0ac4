#include "platform/host/runner/ChainReport.h"

#include <charconv>
#include <cstdio>

#include "dataformat/GroupCodeChain.h"
#include "platform/host/runner/RunReport.h"

std::string ShortestNumber(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

namespace {

std::string Hex(const unsigned char* bytes, int length) {
  std::string out;
  char two[3];
  for (int i = 0; i < length; ++i) {
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    out += two;
  }
  return out;
}

std::string ValueText(const resbuf& node) {
  switch (GroupCodeKind(GetGroupCodeClass(node.code))) {
    case GC_KIND_TEXT: return node.value.text ? QuoteForReport(node.value.text) : "-";
    case GC_KIND_POINT:
      return ShortestNumber(node.value.point[0]) + " " + ShortestNumber(node.value.point[1]) + " " +
             ShortestNumber(node.value.point[2]);
    case GC_KIND_REAL: return ShortestNumber(node.value.real);
    case GC_KIND_INT16:
    case GC_KIND_INT16_B:
    case GC_KIND_FLAG16: return std::to_string(node.value.i16);
    case GC_KIND_INT32: return std::to_string(node.value.i32);
    case GC_KIND_INT64: return std::to_string(node.value.i64);
    case GC_KIND_BINARY:
      return "<" + (node.value.binary.data ? Hex(node.value.binary.data, node.value.binary.length) : "") + ">";
    case GC_KIND_ENTITY_NAME:
      return "<" + std::to_string(node.value.name[0]) + " " + std::to_string(node.value.name[1]) + ">";
  }
  return "?";
}

}  // namespace

std::vector<std::string> ChainLines(int number, const resbuf* chain) {
  std::vector<std::string> lines;
  const std::string prefix = "chain " + std::to_string(number) + ": ";
  for (const resbuf* node = chain; node; node = node->next)
    lines.push_back(prefix + std::to_string(node->code) + " " + ValueText(*node));
  return lines;
}
