#!/usr/bin/python3
"""Writes a floor plan (millimetres) of branch V1 for the section tests and
prints its entities' handles, the branch start first:

  make_section_drawings.py CASE PATH

CASE is one of:
  valve-0, valve-1   the branch start S on side 0 or 1, a product of branch 1
                     on each side with its supply and return pipe
  comb               branch 1 from S's piece (0, 0)-(2000, 0) on to
                     (4000, 0), branch 2 leaving at (2000, 0)
  two-at-a-joint     branches 2 and 3 leaving branch 1 at (2000, 0)
  gap                branch 2 leaving one piece further on, at (4000, 0)
  loop               branch 1 coming back from (4000, 0) to (0, 0)
  ring               branch 1 round (0, 0), (2000, 0), (0, 2000); branches
                     2 and 3 leaving at (0, 0)
  two-at-a-point     two products at the end of branch 2
Each branch but 1 ends in a product; branch 1's own product stands at the
start of its first piece. Return pipes run 200 above their supply pipes.
Run with Debian's python3 (python3-ezdxf)."""
import sys

from network_drawing import branch_drawing, jov_data

COMMON = [("_NBRANCH", "V1"), ("_NUM_ASSOC", "A1")]
PRODUCT = [("_TYPE", "1048705"), ("TY", "XYZ"), ("VP", "500"), ("O", "0"), ("L", "600"),
           ("VE", "15"), ("SR", "20")]

# Branch 1's further pieces and the other branches' pieces, and the
# branches with a product at their far end.
LEGS = {
    "comb": ([("1", (2000, 0), (4000, 0)), ("2", (2000, 0), (2000, 1000))], ["2"]),
    "two-at-a-joint": ([("1", (2000, 0), (4000, 0)), ("2", (2000, 0), (2000, 1000)),
                        ("3", (2000, 0), (2000, -1000))], ["2", "3"]),
    "gap": ([("1", (2000, 0), (4000, 0)), ("1", (4000, 0), (6000, 0)), ("2", (4000, 0), (4000, 1000))], ["2"]),
    "loop": ([("1", (2000, 0), (4000, 0)), ("1", (4000, 0), (0, 0)), ("2", (2000, 0), (2000, 1000))], ["2"]),
    "ring": ([("1", (2000, 0), (0, 2000)), ("1", (0, 0), (0, 2000)), ("2", (0, 0), (-1000, 0)),
              ("3", (0, 0), (0, -1000))], ["2", "3"]),
    "two-at-a-point": ([("1", (2000, 0), (4000, 0)), ("2", (2000, 0), (2000, 1000))], ["2", "2"]),
}


def pipe(msp, code, branch, side, a, b, start):
    line = msp.add_lwpolyline([a, b], dxfattribs={"layer": "NET", "const_width": 0.0})
    codes = [("CM", branch), ("CT", branch)] if start else []
    line.set_xdata("JOV_DATA", jov_data(code, [("_TYPE", "128"), ("_BRANCH", branch), ("_NUM_SIDE", side),
                                               ("_NUM_RISER", "0")] + codes + COMMON))


def pipe_pair(msp, branch, side, a, b, start):
    pipe(msp, "TPP0000-0001", branch, side, a, b, start)
    pipe(msp, "TPZ0000-0001", branch, side, (a[0], a[1] + 200), (b[0], b[1] + 200), start)


def product(msp, branch, side, at, codes):
    insert = msp.add_blockref("JOV_TCD", at, dxfattribs={"layer": "NET", "xscale": 1.0})
    insert.set_xdata("JOV_DATA", jov_data("TCD0000i0001", [("_NUM_BRANCH", branch), ("_NUM_SIDE", side)] +
                                          codes + COMMON + PRODUCT))


def main(case, path):
    doc = branch_drawing()
    msp = doc.modelspace()
    side = case[-1] if case.startswith("valve-") else "0"
    start = msp.add_blockref("JOV_TCD", (4000, 1500), dxfattribs={"layer": "NET"})
    start.set_xdata("JOV_DATA", jov_data("TCD0000i0002", [
        ("_TYPE", "2097281"), ("_NUM_BRANCH", "1"), ("_NUM_SIDE", side)] + COMMON))
    if case.startswith("valve-"):
        for own, (a, b), cm in (("0", (1000, 3000), "1"), ("1", (5000, 7000), "2")):
            product(msp, "1", own, (a if own == "0" else b, 1250), [("CM", cm), ("CT", cm)])
            for code, y in (("TPP0000-0001", 1200), ("TPZ0000-0001", 1100)):
                line = msp.add_lwpolyline([(a, y), (b, y)], dxfattribs={"layer": "NET", "const_width": 0.0})
                line.set_xdata("JOV_DATA", jov_data(code, [
                    ("_TYPE", "128"), ("_BRANCH", "1"), ("_NUM_SIDE", own), ("_NUM_RISER", "0"),
                    ("CM", cm), ("CT", cm)] + COMMON))
    else:
        legs, ends = LEGS[case]
        product(msp, "1", "0", (0, 0), [("CM", "1"), ("CT", "1")])
        pipe_pair(msp, "1", "0", (0, 0), (2000, 0), True)
        for branch, a, b in legs:
            pipe_pair(msp, branch, "0", a, b, branch != "1")
        for branch in ends:
            b = [leg[2] for leg in legs if leg[0] == branch][-1]
            product(msp, branch, "0", b, [])
    doc.saveas(path)
    print(" ".join(e.dxf.handle for e in msp))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
