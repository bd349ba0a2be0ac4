#!/usr/bin/python3
"""Writes heating_exported.dxf: a heating branch of two radiators as an
export to the calculation program leaves it (its section pipes numbered 1
and 2, each linked to the floor-plan pipe it stands for), in millimetres,
and calculation_results.txt, the program's answer for that branch.

Run with Debian's python3 (python3-ezdxf). Both files are committed; this
script documents how they were made and prints the entities' handles."""
import sys

import ezdxf

ASSOC = "05.03.2024-14.07.09"
SCHEME = "14.07.09-05.03.2024"
COMMON = [("_NBRANCH", "1"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "0"), ("_NUM_ASSOC", ASSOC),
          ("_SCH_ASSOC", SCHEME)]
RESULTS = """PC
2
#vetev;1
1;P;S1-1;86;Cu;15x1;K13;Kaiflex;13;VE 3;HV-15;SR 2;2.500;0.72;1.4;Obývací;1.NP;101;1.NP;101;Obývací;
1;Z;S1-1Z;86;Cu;15x1;K13;Kaiflex;13;;;;;;;;;;
2;P;S1-2;41;Cu;15x1;K13;Kaiflex;9;VE 5;HV-15;SR 1;1.000;0.44;0.9;Ložnice;1.NP;102;1.NP;102;Ložnice;
2;Z;S1-2Z;41;Cu;15x1;K13;Kaiflex;9;;;;;;;;;;
"""


def jov_data(type_code, props):
    tags = [(1000, type_code)]
    for key, value in props:
        tags += [(1000, key), (1000, value)]
    return tags


def main(folder):
    doc = ezdxf.new("R2000", setup=False)
    doc.header["$INSUNITS"] = 4
    doc.encoding = "cp1250"
    for app in ("JOV_DATA", "JOV_INSPT", "_VANTRIX", "JOV_LINK"):
        doc.appids.new(app)
    for name, colour in (("TRUBKY_P", 1), ("TRUBKY_Z", 5), ("PRVKY", 3), ("POPISY", 7)):
        doc.layers.add(name, color=colour)
    block = doc.blocks.new(name="JOV_TELESO")
    for (x1, y1, x2, y2) in ((0, 0, 1000, 0), (1000, 0, 1000, 600), (1000, 600, 0, 600), (0, 600, 0, 0)):
        block.add_line((x1, y1), (x2, y2))
    msp = doc.modelspace()

    for section in (1, 2):
        x = (section - 1) * 3000
        cm = str(section)
        radiator = msp.add_blockref("JOV_TELESO", (x + 1000, 500), dxfattribs={"layer": "PRVKY"})
        radiator.set_xdata("JOV_DATA", jov_data("TOT0600i0001", [
            ("_TYPE", str(0x100081)), ("_NUM_RISER", "1"), ("CM", cm), ("CT", "22"), ("TY", "R"),
            ("L", "1000"), ("V", "0.6"), ("VE", ""), ("SR", "")] + COMMON))
        radiator.set_xdata("_VANTRIX", [(1070, 12)] + [(1000, "")] * 12)
        link = f"41234000000{section:02d}"
        for layer, code, y, plan in (("TRUBKY_P", "TPP0015i0001", 0, "TPP0015-0001"),
                                     ("TRUBKY_Z", "TPZ0015i0001", -100, "TPZ0015-0001")):
            pipe = msp.add_lwpolyline([(x, y), (x + 3000, y)], dxfattribs={"layer": layer})
            pipe.set_xdata("JOV_DATA", jov_data(code, [
                ("_TYPE", "128"), ("_NUM_RISER", "1"), ("_POS_RISER", "1" if section == 1 else "0"),
                ("CM", cm), ("CT", "22"), ("_LENGTH_SEGMENT", "3000.000"),
                ("_DW_NUMBER", str(section)), ("_DW_NUMBER_ORIG", f"e{section}"),
                ("_DW_CONNECT", str(section - 1)), ("_DW_CONNECT_ORIG", f"e{section - 1}")] + COMMON))
            pipe.set_xdata("JOV_LINK", [(1000, link)])
            floor = msp.add_lwpolyline([(x, y + 5000), (x + 3000, y + 5000)], dxfattribs={"layer": layer})
            floor.set_xdata("JOV_DATA", jov_data(plan, [
                ("_TYPE", "128"), ("_NBRANCH", "1"), ("_BRANCH", "1"), ("CM", cm), ("CT", "22"),
                ("_DW_NUMBER", str(section)), ("_DW_CONNECT", str(section - 1))]))
            floor.set_xdata("JOV_LINK", [(1000, link)])
        for line, text in enumerate((f"-{cm}-", "?", "?")):
            label = msp.add_text(text, dxfattribs={"layer": "POPISY", "height": 100,
                                                   "insert": (x + 1100, 1400 - 150 * line)})
            label.set_xdata("JOV_DATA", jov_data("TOT0600i0001", [
                ("_BRANCH", "1"), ("_NUM_DESC_LINE", str(line)), ("CM", cm), ("CT", "22")] + COMMON))

    doc.saveas(f"{folder}/heating_exported.dxf")
    with open(f"{folder}/calculation_results.txt", "w", encoding="cp1250", newline="\r\n") as out:
        out.write(RESULTS)
    print("handles:", " ".join(e.dxf.handle for e in msp))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
