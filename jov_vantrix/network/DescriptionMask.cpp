#include "jov_vantrix/network/DescriptionMask.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/JovCutParams.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendProperty(std::string& line, const CJovData& data, const char* key) {
  const char* value = data.GetProperty(key);
  if (!value) return;
  std::string text(value);
  TrimZeroDecimals(key, text);
  line += text;
}

}  // namespace

void TrimZeroDecimals(const char* key, std::string& value) {
  if (!key || std::strcmp(key, "PR") != 0) return;
  const size_t dot = value.find('.');
  if (dot == std::string::npos) return;
  if (value.find_first_not_of('0', dot + 1) == std::string::npos) value.erase(dot);
}

const char* ChooseDescriptionMask(const CJovData& data, const char* withoutProduct,
                                  const char* withProduct, const char* scheme) {
  if (data.HasProperty("_QPROD")) return withProduct;
  return data.VantrixRecords().GetHead() != nullptr ? scheme : withoutProduct;
}

void ExpandDescriptionMask(const CObjDataNew& record, const JovCutParams& params, CStringArray& lines) {
  ExpandMaskLines(record.m_jovData,
                  ChooseDescriptionMask(record.m_jovData, params.m_maskWithoutProduct,
                                        params.m_maskWithProduct, params.m_maskScheme),
                  lines);
}

void ExpandMaskLines(const CJovData& data, const char* mask, CStringArray& lines) {
  if (!mask) return;
  std::string line;
  auto endLine = [&]() {
    if (!line.empty()) lines.Add(CString(line.c_str(), static_cast<int>(line.size())));
    line.clear();
  };

  const char* p = mask;
  while (*p) {
    const char c = *p++;
    if (c == '#') {
      if (!*p) break;
      const char kind = *p;
      if (kind == 'R') {
        ++p;
        uint32_t field = 0;
        for (; IsDigit(*p); ++p)
          field = field > 100000 ? field : field * 10 + static_cast<uint32_t>(*p - '0');
        const auto* first = static_cast<const CJovPropData*>(data.VantrixRecords().GetHead());
        const char* text = first ? first->GetField(field) : nullptr;
        if (text) line += text;
        continue;
      }
      const char* key = kind == 'P'   ? "_QPROD"
                        : kind == 'G' ? "_GROUP"
                        : kind == 'T' ? "_QTYPE"
                        : kind == 'M' ? "_MEASUREMENT"
                                      : nullptr;
      if (key) {
        ++p;
        AppendProperty(line, data, key);
        continue;
      }
      // Any other character is read as if the '#' were not there.
      continue;
    }
    if (c == '\\') {
      endLine();
    } else if (c == '&') {
      std::string key;
      while (IsAsciiLetter(*p)) key += *p++;
      AppendProperty(line, data, key.c_str());
    } else {
      line += c;
    }
  }
  endLine();
}
