#include "wizard/dialogs/VantrixXData.h"

#include "common/CVantrixData.h"
#include "common/GroupChainBuilder.h"
#include "dataformat/KorpalinData.h"

resbuf* MakeVantrixXData(const VantrixFields& f) {
  return GroupChainBuilder(0).Build(1001, "_VANTRIX", 1070, 12, 1000, f[0].c_str(), 1000, f[1].c_str(), 1000,
                                    f[2].c_str(), 1000, f[3].c_str(), 1000, f[4].c_str(), 1000, f[5].c_str(),
                                    1000, f[6].c_str(), 1000, f[7].c_str(), 1000, f[8].c_str(), 1000,
                                    f[9].c_str(), 1000, f[10].c_str(), 1000, f[11].c_str(), -9);
}

VantrixFields CatalogueVantrixFields(const KorpalinData& r, const char* ct) {
  return {ct ? ct : "",
          KorpalinText(r.text1),
          KorpalinText(r.text2),
          KorpalinText(r.text3),
          std::to_string(r.number5),
          std::to_string(r.number4),
          "",
          "",
          KorpalinText(r.text4),
          std::to_string(r.number1),
          std::to_string(r.number2),
          std::to_string(r.number3)};
}

VantrixFields ProjectVantrixFields(const CVantrixData& r) {
  static constexpr uint32_t kFields[12] = {0, 1, 2, 3, 7, 8, 9, 13, 14, 15, 16, 17};
  VantrixFields out;
  for (int i = 0; i < 12; ++i) out[i] = r.Text(kFields[i]);
  return out;
}
