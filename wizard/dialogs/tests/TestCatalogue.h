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

}  // namespace dialog_tests
