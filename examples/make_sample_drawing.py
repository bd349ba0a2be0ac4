#!/usr/bin/python3
"""Writes heating_network.dxf: a small heating branch drawn with the
plug-in's extended data (a riser, a branch valve, supply and return pipes, a
radiator) and one plain LINE from (0,0) to (3000,4000), in millimetres.

Run with Debian's python3 (python3-ezdxf). The drawing is committed; this
script documents how it was made."""
import sys

import ezdxf

ASSOC = "05.03.2024-14.07.09"
SCHEME = "14.07.09-05.03.2024"


def jov_data(type_code, props):
    tags = [(1000, type_code)]
    for key, value in props:
        tags += [(1000, key), (1000, value)]
    return tags


def block_from_lines(doc, name, lines, connections):
    block = doc.blocks.new(name=name)
    for (x1, y1, x2, y2) in lines:
        block.add_line((x1, y1), (x2, y2), dxfattribs={"layer": "0"})
    for (x, y) in connections:
        block.add_circle((x, y), 5.0, dxfattribs={"layer": "DEFPOINTS", "color": 7})
    return block


def main(out):
    doc = ezdxf.new("R2000", setup=False)
    doc.header["$INSUNITS"] = 4
    doc.encoding = "cp1250"  # also sets $DWGCODEPAGE
    for app in ("JOV_DATA", "JOV_INSPT", "_VANTRIX"):
        doc.appids.new(app)
    for name, colour in (("TRUBKY_P", 1), ("TRUBKY_Z", 5), ("PRVKY", 3), ("STOUPACKY", 4)):
        doc.layers.add(name, color=colour)
    msp = doc.modelspace()

    # The plain line that the length command measures.
    msp.add_line((0, 0), (3000, 4000), dxfattribs={"layer": "0"})

    block_from_lines(doc, "JOV_STOUPACKA", [(0, 0, 0, 3000), (100, 0, 100, 3000)],
                     [(0, 0), (100, 0)])
    block_from_lines(doc, "JOV_VENTIL", [(-40, 0, 40, 0), (0, -25, 0, 25)], [(-40, 0), (40, 0)])
    block_from_lines(doc, "JOV_TELESO", [(0, 0, 1000, 0), (1000, 0, 1000, 600),
                                         (1000, 600, 0, 600), (0, 600, 0, 0)],
                     [(50, 0), (950, 0)])

    common = [("_NUM_ASSOC", ASSOC), ("_SCH_ASSOC", SCHEME)]

    riser = msp.add_blockref("JOV_STOUPACKA", (5000, 1000), dxfattribs={"layer": "STOUPACKY"})
    riser.set_xdata("JOV_INSPT", [(1070, 0), (1010, (5000, 1000, 0)), (1010, (5100, 1000, 0))])
    riser.set_xdata("JOV_DATA", jov_data("TST0000i0001", [
        ("_TYPE", "197"), ("_NUM_RISER", "1"), ("_PREFIX_RISER", "S"), ("_POS_RISER", "1"),
        ("_NBRANCH", ""), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "1"), ("CM", "1"), ("DN", "20"),
        ("L", "3000")] + common))

    valve = msp.add_blockref("JOV_VENTIL", (6000, 1500), dxfattribs={"layer": "PRVKY"})
    valve.set_xdata("JOV_DATA", jov_data("TVE0015i0001", [
        ("_TYPE", str(0x200081)), ("_NBRANCH", "V1"), ("_NUM_RISER", "1"),
        ("_PREFIX_RISER", "S"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "1"), ("CM", "2"),
        ("CZ", "1"), ("_QPROD", "Ventil termostatický přímý DN15")] + common))

    for layer, code, y, side in (("TRUBKY_P", "TPP0015i0001", 1500, "1"),
                                 ("TRUBKY_Z", "TPZ0015i0001", 1400, "0")):
        pipe = msp.add_lwpolyline([(5000, y), (6000, y), (8000, y)],
                                  dxfattribs={"layer": layer, "const_width": 0.0})
        pipe.set_xdata("JOV_DATA", jov_data(code, [
            ("_TYPE", "128"), ("_NBRANCH", "V1"), ("_BRANCH", "1"), ("_NUM_SIDE", "1"),
            ("_NUM_RISER", "1"), ("_SIDE_PIPE", side), ("_DIST_PIPE", "100"), ("CM", "3"),
            ("CT", "Cu 15x1"), ("L", "3.000"), ("DN", "15"), ("_DW_NUMBER", ""),
            ("_DW_CONNECT", ""), ("_LENGTH_SEGMENT", "3000.000")] + common))

    radiator = msp.add_blockref("JOV_TELESO", (7500, 1600), dxfattribs={"layer": "PRVKY"})
    radiator.set_xdata("JOV_INSPT", [(1070, 0), (1010, (7550, 1600, 0)),
                                     (1010, (8450, 1600, 0))])
    radiator.set_xdata("JOV_DATA", jov_data("TOT0600i0001", [
        ("_TYPE", str(0x100081)), ("_NBRANCH", "V1"), ("_NUM_RISER", "1"), ("_NUM_BRANCH", "1"),
        ("_NUM_SIDE", "1"), ("CM", "4"), ("CT", "22"), ("TY", "R"), ("L", "1000"), ("V", "0.2"),
        ("VE", "15"), ("SR", "20"), ("_QPROD", "Deskové otopné těleso 22-600/1000")] + common))
    radiator.set_xdata("_VANTRIX", [(1070, 12)] + [(1000, v) for v in (
        "T1", "Obývací pokoj", "101", "1.NP", "1000", "600", "22", "20", "70", "55", "101 Obývací",
        "")])

    doc.saveas(out)
    line = next(e for e in msp if e.dxftype() == "LINE")
    print(f"LINE handle: {line.dxf.handle}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "heating_network.dxf")
