// A product's geometry made fit to be placed on its own: hatches lose
// their associations with the objects they were made from.
#include "wizard/frame/ProductGeometry.h"

#include <gtest/gtest.h>

#include <string>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/tests/ChainFixtures.h"

namespace {

// The chain as "code=value" words, texts and integers only.
std::string Words(const resbuf* chain) {
  std::string out;
  for (const resbuf* n = chain; n; n = n->next) {
    out += (out.empty() ? "" : " ") + std::to_string(n->code) + "=";
    const uint32_t kind = GroupCodeKind(GetGroupCodeClass(n->code));
    if (kind == GC_KIND_TEXT) out += n->value.text;
    if (kind == GC_KIND_INT16) out += std::to_string(n->value.i16);
    if (kind == GC_KIND_INT32) out += std::to_string(n->value.i32);
  }
  return out;
}

}  // namespace

TEST(DetachHatches, HatchesLoseTheirSourcesAndOtherEntitiesStay) {
  TestChain source;
  source.Text(0, "LINE")
      .I16(71, 1)
      .I32(97, 2)
      .Text(330, "1F")
      .Text(0, "HATCH")
      .Text(8, "0")
      .Text(100, "AcDbEntity")
      .I16(71, 5)  // before the hatch marker: not the associativity
      .Text(100, "AcDbHatch")
      .I16(70, 1)
      .I16(71, 1)
      .I32(91, 1)
      .I32(97, 2)
      .Text(330, "2A")
      .Text(330, "2B")
      .I16(75, 0)  // the second boundary path's sources go as well
      .I32(97, 1)
      .Text(330, "2C")
      .Text(0, "HATCH")  // without its marker: as it is
      .I32(97, 1)
      .Text(330, "3A");
  resbuf* chain = nullptr;
  ASSERT_TRUE(DuplicateGroupCodeChain(source.Head(), &chain));
  DetachHatches(chain);
  EXPECT_EQ(Words(chain),
            "0=LINE 71=1 97=2 330=1F "
            "0=HATCH 8=0 100=AcDbEntity 71=5 100=AcDbHatch 70=1 71=0 91=1 97=0 75=0 97=0 "
            "0=HATCH 97=1 330=3A");
  DeleteGroupCodeChain(&chain);
  DetachHatches(nullptr);
}
