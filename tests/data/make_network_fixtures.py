#!/usr/bin/python3
"""Writes the exchange tests' drawings (in metres): network.dxf, a drawn
branch section with its linked floor-plan pipes as the section drawing
leaves it, and exported.dxf, the same after an export numbered its pipes.

  E1 INSERT, the product of the section, at (2, 0)
  E2, E3 the section's supply and return pipes, 4.25 m long
  E4, E5 the floor-plan pipes they stand for (same "JOV_LINK")
  E6-E8 the product's three description lines

and groups.dxf, a network of three segment groups: a riser (group 1, its
supply pipe touching nothing: the network's start, a fixed group) and two
branch runs (groups 2 and 3) whose supply pipes meet end to start, each
pipe with its return pipe 0.1 m below and read as number 1 of its group;
the first branch run's pipes are linked to two floor-plan pipes.

  G1, G2 riser supply and return     G3, G4 run A     G5, G6 run B
  G7, G8 the floor-plan pipes of run A

Run with Debian's python3 (python3-ezdxf). The drawings are committed; this
script documents how they were made and prints the entities' handles."""
import sys

from network_drawing import jov_data, new_network_drawing

LINK = "4123400000000"
COMMON = [("_NBRANCH", "1"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "0"), ("CM", "1"),
          ("CT", "T1"), ("_NUM_ASSOC", "A1"), ("_SCH_ASSOC", "S1")]


def section_pipe(msp, layer, code, y, exported):
    number, connect = ("1", "0") if exported else ("e1", "e0")
    pipe = msp.add_lwpolyline([(0, y), (4.25, y)], dxfattribs={"layer": layer, "const_width": 0.0})
    pipe.set_xdata("JOV_DATA", jov_data(code, [
        ("_TYPE", "128"), ("_NUM_RISER", "1"), ("_POS_RISER", "1"), ("_LENGTH_SEGMENT", "4.250"),
        ("_DW_NUMBER", number), ("_DW_NUMBER_ORIG", "e1"), ("_DW_CONNECT", connect),
        ("_DW_CONNECT_ORIG", "e0")] + COMMON))
    pipe.set_xdata("JOV_LINK", [(1000, LINK)])
    return pipe


def floor_plan_pipe(msp, layer, code, y, exported):
    pipe = msp.add_lwpolyline([(10, y), (12, y), (12, y + 3)],
                              dxfattribs={"layer": layer, "const_width": 0.0})
    numbers = [("_DW_NUMBER", "1"), ("_DW_CONNECT", "0")] if exported else []
    pipe.set_xdata("JOV_DATA", jov_data(code, [
        ("_TYPE", "128"), ("_NBRANCH", "1"), ("_BRANCH", "1"), ("CM", "1"), ("CT", "T1")] + numbers))
    pipe.set_xdata("JOV_LINK", [(1000, LINK)])
    return pipe


def main(folder):
    for name, exported in (("network.dxf", False), ("exported.dxf", True)):
        doc = new_network_drawing(6)
        for layer, colour in (("TRUBKY_P", 1), ("TRUBKY_Z", 5), ("PRVKY", 3), ("POPISY", 7)):
            doc.layers.add(layer, color=colour)
        block = doc.blocks.new(name="JOV_TCD")
        block.add_line((-0.04, 0), (0.04, 0))
        block.add_line((0, -0.025), (0, 0.025))
        msp = doc.modelspace()

        product = msp.add_blockref("JOV_TCD", (2, 0), dxfattribs={"layer": "PRVKY"})
        product.set_xdata("JOV_DATA", jov_data("TCD0000i0001", [
            ("_TYPE", "1048705"), ("_NUM_RISER", "1")] + COMMON))
        product.set_xdata("_VANTRIX", [(1070, 12)] + [(1000, v) for v in (
            "", "", "", "", "", "", "", "", "a", "b", "c", "d")])
        section_pipe(msp, "TRUBKY_P", "TPP0000i0001", 0.0, exported)
        section_pipe(msp, "TRUBKY_Z", "TPZ0000i0001", -0.1, exported)
        floor_plan_pipe(msp, "TRUBKY_P", "TPP0000-0001", 5.0, exported)
        floor_plan_pipe(msp, "TRUBKY_Z", "TPZ0000-0001", 4.9, exported)
        for line, text in enumerate(("-?-", "DN?", "VE SR")):
            label = msp.add_text(text, dxfattribs={"layer": "POPISY", "height": 0.1,
                                                   "insert": (2.1, 0.3 - 0.15 * line)})
            label.set_xdata("JOV_DATA", jov_data("TCD0000i0001", [
                ("_BRANCH", "1"), ("_NUM_DESC_LINE", str(line))] + COMMON))
        doc.saveas(f"{folder}/{name}")
        print(name, " ".join(f"E{i + 1}={e.dxf.handle}" for i, e in enumerate(msp)))


def group_pipe(msp, code, points, assoc, position, length, link=None):
    layer = "TRUBKY_P" if code.startswith("TPP") else "TRUBKY_Z"
    pipe = msp.add_lwpolyline(points, dxfattribs={"layer": layer, "const_width": 0.0})
    pipe.set_xdata("JOV_DATA", jov_data(code, [
        ("_TYPE", "128"), ("_NBRANCH", "1"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "0"), ("_NUM_RISER", "1"),
        ("_POS_RISER", position), ("_LENGTH_SEGMENT", f"{length:.3f}"), ("_DW_NUMBER", "e1"),
        ("_DW_NUMBER_ORIG", "e1"), ("_DW_CONNECT", "e0"), ("_DW_CONNECT_ORIG", "e0"), ("CM", ""), ("CT", ""),
        ("_NUM_ASSOC", assoc), ("_SCH_ASSOC", "S1")]))
    if link:
        pipe.set_xdata("JOV_LINK", [(1000, link)])
    return pipe


def groups(folder):
    doc = new_network_drawing(6)
    for layer, colour in (("TRUBKY_P", 1), ("TRUBKY_Z", 5)):
        doc.layers.add(layer, color=colour)
    msp = doc.modelspace()
    for code, dx in (("TPP0000i0001", 0.0), ("TPZ0000i0001", 0.1)):
        group_pipe(msp, code, [(dx, 0), (dx, 3)], "R", "1", 3.0)
    for code, dy in (("TPP0000i0001", 0.0), ("TPZ0000i0001", -0.1)):
        group_pipe(msp, code, [(5, dy), (8, dy)], "A", "0", 3.0, LINK)
    for code, dy in (("TPP0000i0001", 0.0), ("TPZ0000i0001", -0.1)):
        group_pipe(msp, code, [(8, dy), (11, dy)], "B", "2", 3.0)
    for code, y in (("TPP0000-0001", 5.0), ("TPZ0000-0001", 4.9)):
        floor_plan_pipe(msp, "TRUBKY_P" if code.startswith("TPP") else "TRUBKY_Z", code, y, False)
    doc.saveas(f"{folder}/groups.dxf")
    print("groups.dxf", " ".join(f"G{i + 1}={e.dxf.handle}" for i, e in enumerate(msp)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
    groups(sys.argv[1] if len(sys.argv) > 1 else ".")
