// The heating catalogue of the product dialogs' tests: a product of every
// kind of user parameter, one without user parameters, one whose radii
// follow its diameter, and a radiator.
#pragma once

#include <string>

namespace dialog_tests {

inline std::string TestItem(const std::string& id, const char* type, const std::string& params,
                            const char* points = "0\n2\n#DN/#L\nx\ny\nA\n#DN\nx\ny\nB\n0\n0\n") {
  return "[item]\nid = " + id + "\ntitle = Test " + id + "\ntype = " + type +
         "\nstatus = 0x48000000\nparams <<\n" + params +
         ">>\npoints <<\n" + points + ">>\n"
         "properties <<\n\nMaker\nProduct\n15\n>>\n"
         "dxfB <<\n0 LINE\n8 0\n10 0.0\n20 0.0\n30 0.0\n11 1000.0\n21 0.0\n31 0.0\n>>\n"
         "parB <<\n1\n0.00|0.00|0.00\nL|0.00|0.00\n>>\n";
}

inline const char* const kNoPoints = "0\n0\n0\n0\n";

// L a length (status 16), N a count (bit 5), CT free text, DN a size
// (status 0) with allowed values, one of them no number, P computed and
// reported.
inline const char* const kProductParams =
    "L|Length|1|1000|1000|\nN|Count|2|2|2|\nCT|Kind|3|22|22|\nDN|Size|5|15|15|12|15|20|DN25\nP|Output|4|L*2||\n";

inline std::string TestCatalogue() {
  return "[catalogue]\ntrade = T\ntitle = Heating\n[names]\nMODI | 0 | 1 | Topeni | | 0\n"
         "PROP | 0 | 10 | _FLOW | | 0\nPROP | 1 | 11 | _MAKER | | 0\nPROP | 2 | 12 | _PRODUCT | | 0\n"
         "PROP | 3 | 13 | _DIMENSION | | 0\n"
         "PARS | 0 | 20 | Length | | 0\nPARS | 1 | 21 | Height | | 0\n"
         "[partypes]\n1 | Length | 16 | 100 | 6000 | 0\n2 | Count | 32 | 1 | 10 | 0\n3 | Text | 4 | 0 | 0 | 0\n"
         "4 | Output | 3 | 0 | 0 | 0\n5 | Size | 0 | 6 | 100 | 0\n6 | Diameter | 16 | 6 | 200 | 0\n" +
         TestItem("TXP0001-0001", "1", kProductParams) +
         TestItem("TXP0002-0001", "1", "L|Length|4|1000||\n", kNoPoints) +
         TestItem("TPT0020-0001", "1", "L|Length|1|1000|1000|\nd|Diameter|6|20|20|\nr|Size|5|30|30|\n"
                                      "r1|Size|5|30|30|\nrr2|Size|5|30|30|\n", kNoPoints) +
         // Of radiator kind (index type bit 20).
         TestItem("TXR0001-0001", "0x100081", "L|Length|1|1000|1000|\nV|Length|1|600|600|\nS|Length|1|100|100|\n"
                                             "CT|Kind|3|22|22|\nDN|Size|5|15|15|\n");
}

// The heating catalogue of the producer dialog's tests: a radiator of
// three producers (two versions by the first, a version of two records of
// different groups by the second, one of a single record without groups
// by the third), its height and length set by a measurement, and a
// radiator nobody makes. withLabels false leaves out the names of the
// choice fields.
inline std::string ProducerCatalogue(bool withLabels = true) {
  const std::string labels =
      "SQUE | 0 | 30 | Type | | 0\nSQUE | 1 | 31 | Size | | 0\nSQUE | 2 | 32 | Description | | 0\n"
      "SQUE | 3 | 33 | Group | | 0\nSQUE | 4 | 34 | Subgroup | | 0\nSQUE | 5 | 35 | Connection | | 0\n"
      "SQUE | 6 | 36 | Output | | 0\n";
  const std::string item =
      "\ntitle = Panel radiator\ntype = 0x100081\nstatus = 0x4A000000\n"
      "params <<\nH|Height|3|600|600|\nL|Length|1|1000|1000|\n>>\n"
      "points <<\n0\n1\n15\nx\nsupply\nA\n0\n0\n>>\nproperties <<\n\nMaker\nRadiator\n>>\n"
      "dxfB <<\n0 LINE\n8 0\n10 0.0\n20 0.0\n30 0.0\n11 1000.0\n21 600.0\n31 0.0\n>>\n"
      "parB <<\n1\n0.00|0.00|0.00\nL|H|0.00\n>>\n";
  return "[catalogue]\ntrade = T\ntitle = Heating\n[names]\nMODI | 0 | 1 | Topeni | | 0\n"
         "PROP | 0 | 10 | _FLOW | | 0\n" +
         (withLabels ? labels : std::string()) +
         "MJ | 0 | 40 | pc | piece | 7\nPRDN | 0 | 50 | Panel radiator | #H/#L | 0\n"
         "[partypes]\n1 | Length | 16 | 100 | 6000 | 0\n3 | Height | 0 | 200 | 2000 | 0\n"
         "[producers]\n1 | Alpha | | 0\n2 | Beta | | 0\n3 | Gamma | | 0\n"
         "[products]\n"
         "1 | 1 | TXR0600-0001 | 2023-03-01 | 50 | 3450.00 | 40 | "
         "T22\\r600/1000\\rDouble\\rPanel\\rSide\\r1/2\\r1362\\r\\nT22\\r600/1400\\rDouble\\rPanel\\rSide\\r1/2\\r1907\\r\\n\n"
         "2 | 1 | TXR0600-0001 | 2024-01-15 | 50 | 3590.00 | 40 | T22\\r600/1000\\rDouble\\rPanel\\rSide\\r\\n\n"
         "3 | 2 | TXR0600-0001 | 2023-09-01 | 50 | 3310.00 | 40 | "
         "T11\\r600/1000\\rSingle\\rPanel\\rBottom\\r\\nT33\\r900/1000\\rTriple\\rColumn\\rBottom\\r\\n\n"
         "4 | 3 | TXR0600-0001 | 2022-01-01 | 50 | 100.00 | 40 | T1\\rM1\\rD1\\r\\r\\r\\n\n"
         "[item]\nid = TXR0600-0001" + item + "[item]\nid = TXR0601-0001" + item;
}

// The definition editor's catalogue: a product drawn in view A (its base
// point never set) and in view B (base point 1; a definition line from
// 500 to 600 whose end is point 3), with a length, a height, a computed
// and a reported parameter and a free text.
inline std::string DefinitionCatalogue() {
  return "[catalogue]\ntrade = T\ntitle = Heating\n[names]\nMODI | 0 | 1 | Topeni | | 0\n"
         "PARS | 0 | 20 | Length | | 0\nPARS | 1 | 21 | Width | | 0\n"
         "[partypes]\n1 | Length | 16 | 100 | 6000 | 0\n3 | Height | 0 | 200 | 2000 | 0\n"
         "4 | Computed | 1 | 0 | 0 | 0\n5 | Reported | 3 | 0 | 0 | 0\n6 | Text | 4 | 0 | 0 | 0\n"
         "7 | Plain | 0 | 0 | 100 | 0\n"
         "[item]\nid = TXD0001-0001\ntitle = Test definition\ntype = 1\nstatus = 0xC8000000\n"
         "params <<\nL|Length|1|1000|1000|\nH|Height|3|600|600|\nP|Power|4|L*2||\nQ|Report|5|L+H||\n"
         "N|Note|6|x||\n>>\n"
         "points <<\n0\n0\n0\n0\n>>\nproperties <<\n\nMaker\nProduct\n>>\n"
         "dxfA <<\n0 LINE\n8 0\n10 0.0\n20 0.0\n30 0.0\n11 0.0\n21 600.0\n31 0.0\n>>\n"
         "parA <<\n-1\n0.00|0.00|0.00\n0.00|H|0.00\n>>\n"
         "dxfB <<\n0 LINE\n8 0\n10 0.0\n20 0.0\n30 0.0\n11 1000.0\n21 0.0\n31 0.0\n"
         "0 LINE\n8 DEFPOINTS\n62 7\n10 500.0\n20 0.0\n30 0.0\n11 600.0\n21 0.0\n31 0.0\n>>\n"
         "parB <<\n1\n0.00|0.00|0.00\n500.00|0.00|0.00\n600.00|0.00|0.00\nL|0.00|0.00\n>>\n";
}

}  // namespace dialog_tests
