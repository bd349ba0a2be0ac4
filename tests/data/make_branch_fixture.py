#!/usr/bin/python3
"""Writes branch.dxf (millimetres), the section drawing tests' picked
branch: the branch start S, one product P and the supply and return pipes
F and R of branch V1 in the floor plan, in that order (handles printed).

Run with Debian's python3 (python3-ezdxf). The drawing is committed; this
script documents how it was made."""
import sys

from network_drawing import branch_drawing, jov_data

BRANCH = [("_NBRANCH", "V1"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", "0"), ("_NUM_ASSOC", "A1")]


def pipe(msp, code, y):
    line = msp.add_lwpolyline([(1000, y), (3000, y)], dxfattribs={"layer": "NET", "const_width": 0.0})
    line.set_xdata("JOV_DATA", jov_data(code, [
        ("_TYPE", "128"), ("_NBRANCH", "V1"), ("_BRANCH", "1"), ("_NUM_SIDE", "0"),
        ("_NUM_RISER", "0"), ("CM", "1"), ("CT", "1"), ("_NUM_ASSOC", "A1")]))
    return line


def main(path):
    doc = branch_drawing()
    msp = doc.modelspace()

    start = msp.add_blockref("JOV_TCD", (4000, 1500), dxfattribs={"layer": "NET"})
    start.set_xdata("JOV_DATA", jov_data("TCD0000i0002", [("_TYPE", "2097281")] + BRANCH))
    product = msp.add_blockref("JOV_TCD", (1000, 1250), dxfattribs={"layer": "NET", "xscale": 1.0})
    product.set_xdata("JOV_DATA", jov_data("TCD0000i0001", [("_TYPE", "1048705")] + BRANCH + [
        ("CM", "1"), ("CT", "1"), ("TY", "XYZ"), ("VP", "500"), ("O", "0"), ("L", "600"),
        ("VE", "15"), ("SR", "20")]))
    pipe(msp, "TPP0000-0001", 1200)
    pipe(msp, "TPZ0000-0001", 1100)
    doc.saveas(path)
    print(path, " ".join(f"{n}={e.dxf.handle}" for n, e in zip("SPFR", msp)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "branch.dxf")
