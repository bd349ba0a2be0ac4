#!/usr/bin/python3
"""Writes riser.dxf (millimetres): risers and their branch inserts as a
floor plan holds them, for the riser sections.

  R1 riser "1" at the origin; A, K, M its branches on layer NET:
     A "A,P,K,M" side 0 with CM, O, VE, SR and a "_VANTRIX" record,
     K "K,A" side 0 and M "M,A" side 1 with CM, TY, L, VE, SR
  R2 riser "2"; its branches A "A,P,X,Y", X "X,A", Y "Y,A", all on side 1
  R3 riser "3"; its branches A "A,P,K" and K "K,A", both on side 0, K
     mirrored (X scale -1)
  R4 riser "4"; its branches B "B,P,K" and K "K,B": no root branch "A"
  R5 riser "5"; a tree of three levels, the root on the left: A "A,P,K,M"
     side 0, K "K,A,Q" side 1, M "M,A" side 1, Q "Q,K" side 0
  R6 riser "6"; the same tree with the root on the right: A side 1, K
     side 0, M side 1, Q side 0

Run with Debian's python3 (python3-ezdxf). The drawing is committed; this
script documents how it was made and prints the entities' handles."""
import sys

from network_drawing import jov_data, new_network_drawing

RISER = [("_TYPE", "197")]
BRANCH = [("_TYPE", "1048705")]
PRODUCT = [("TY", "XYZ"), ("L", "600"), ("VE", "15"), ("SR", "20")]


def riser(msp, number, at):
    insert = msp.add_blockref("JOV_RISER", at, dxfattribs={"layer": "NET"})
    insert.set_xdata("JOV_DATA", jov_data("TCD0000i0003", RISER + [("_NUM_RISER", number)]))
    return insert


def branch(msp, riser_number, names, side, at, props, xscale=1.0):
    insert = msp.add_blockref("JOV_BRANCH", at, dxfattribs={"layer": "NET", "xscale": xscale})
    insert.set_xdata("JOV_DATA", jov_data("TCD0000i0001", BRANCH + [
        ("_NUM_RISER", riser_number), ("_NUM_BRANCH", names), ("_NUM_SIDE", side)] + props))
    return insert


def main(folder):
    doc = new_network_drawing(4)
    doc.layers.add("NET", color=3)
    doc.blocks.new(name="JOV_RISER").add_circle((0, 0), 50)
    doc.blocks.new(name="JOV_BRANCH").add_line((-100, 0), (100, 0))
    msp = doc.modelspace()

    riser(msp, "1", (0, 0))
    a = branch(msp, "1", "A,P,K,M", "0", (0, 2000), [("CM", "1"), ("O", "0"), ("VE", "15"), ("SR", "20")])
    a.set_xdata("_VANTRIX", [(1070, 12)] + [(1000, v) for v in (
        "", "", "", "", "", "", "", "", "600", "1000", "22", "VK")])
    branch(msp, "1", "K,A", "0", (-2000, 2000), [("CM", "2")] + PRODUCT)
    branch(msp, "1", "M,A", "1", (2000, 2000), [("CM", "3")] + PRODUCT)

    riser(msp, "2", (10000, 0))
    branch(msp, "2", "A,P,X,Y", "1", (10000, 2000), [("CM", "1")] + PRODUCT)
    branch(msp, "2", "X,A", "1", (12000, 2000), [("CM", "2")] + PRODUCT)
    branch(msp, "2", "Y,A", "1", (14000, 2000), [("CM", "3")] + PRODUCT)

    riser(msp, "3", (20000, 0))
    branch(msp, "3", "A,P,K", "0", (20000, 2000), [("CM", "1")] + PRODUCT)
    branch(msp, "3", "K,A", "0", (18000, 2000), [("CM", "2")] + PRODUCT, xscale=-1.0)

    riser(msp, "4", (30000, 0))
    branch(msp, "4", "B,P,K", "0", (30000, 2000), [("CM", "1")] + PRODUCT)
    branch(msp, "4", "K,B", "0", (28000, 2000), [("CM", "2")] + PRODUCT)

    for number, x, sides in (("5", 40000, "0110"), ("6", 50000, "1010")):
        riser(msp, number, (x, 0))
        for i, names in enumerate(("A,P,K,M", "K,A,Q", "M,A", "Q,K")):
            branch(msp, number, names, sides[i], (x + 2000 * i, 2000), [("CM", str(i + 1))] + PRODUCT)

    doc.saveas(f"{folder}/riser.dxf")
    print(" ".join(e.dxf.handle for e in msp))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
