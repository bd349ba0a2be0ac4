#!/usr/bin/python3
"""Checks a riser section drawn into tests/data/riser.dxf for riser "1"
(R1, A, K, M) and saved: ezdxf's auditor finds no error, the entities of
the fixture are unchanged, and the new entities are those of the section.

  check_riser_section.py ORIGINAL SAVED tree|flat STAMP [CATALOGUE]

STAMP "-" stands for a stamp of an unknown moment: the new inserts must
share one of the form "%d.%m.%Y-%H.%M.%S".

The products come from the test library's fixture (a box of four lines),
or, with CATALOGUE, from the product library reading that catalogue source:
each insert then shows its item's geometry and carries its data, A standing
on the floor's 3000 at the item's own length, K and M 600 long.

Prints one line per failed expectation and exits with 1 when there is one."""
import os
import re
import sys
from collections import Counter

from ezdxf import recover

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tests", "support"))
from catalogue_products import Catalogue, jov_data  # noqa: E402

R1, A, K, M = "3C", "3E", "40", "42"
TREE_SECTION = "5;1;2;;0;0;2;4;K;0;0;4;0;M;0;0;"
FAILURES = []


def expect(condition, what):
    if not condition:
        FAILURES.append(what)


def near(a, b):
    return abs(a - b) < 1e-6


def snapshot(entity):
    xdata = {app: list(entity.get_xdata(app)) for app in ("JOV_DATA", "_VANTRIX") if entity.has_xdata(app)}
    return entity.dxftype(), dict(entity.dxfattribs()), xdata


PRODUCT_VALUES = {"A": {"O": "3000", "L": "1000"}, "K": {"O": "0", "L": "600"}, "M": {"O": "0", "L": "600"}}


def check_products(inserts, doc, stamp, mode, catalogue):
    expect(len(inserts) == 3, f"three new inserts, not {len(inserts)}")
    if stamp == "-" and inserts:
        stamp = jov_data(inserts[0])[1].get("_NUM_ASSOC", "")
        expect(re.fullmatch(r"\d\d\.\d\d\.\d{4}-\d\d\.\d\d\.\d\d", stamp) is not None, f"stamp {stamp!r}")
    by_branch = {}
    for insert in inserts:
        code, props = jov_data(insert)
        name = props.get("_NUM_BRANCH", "?").split(",")[0]
        by_branch[name] = insert
        if catalogue:
            for error in catalogue.check_insert(doc, insert, PRODUCT_VALUES.get(name), pairs=True):
                expect(False, f"{name}: {error}")
        else:
            block = doc.blocks.get(insert.dxf.name)
            expect(block is not None and sorted(e.dxftype() for e in block) == ["LINE"] * 4,
                   f"{name}: a block of the four lines only")
        expect(insert.has_xdata("JOV_INSPT"), f"{name}: JOV_INSPT")
        expect(code is not None and len(code) == 12 and code[7] == "i", f"{name}: type code {code}")
        expect(props.get("_NUM_CUT") == "7", f"{name}: _NUM_CUT")
        expect(props.get("_NUM_RISER") == "1", f"{name}: _NUM_RISER")
        expect(props.get("_NUM_ASSOC") == stamp, f"{name}: _NUM_ASSOC {props.get('_NUM_ASSOC')}")
        expect(props.get("_NUM_SIDE") == {"A": "0", "K": "0", "M": "1"}.get(name), f"{name}: _NUM_SIDE")
        expect(near(insert.dxf.insert.y, 3000), f"{name}: at y 3000")
        expect(insert.has_xdata("_VANTRIX") == (name == "A"), f"{name}: _VANTRIX only on A")
        section = props.get("_NUM_SECTION")
        if mode == "tree":
            expect(section == TREE_SECTION, f"{name}: _NUM_SECTION {section}")
        else:
            expected = {"A": TREE_SECTION, "K": "5;3;2;;0;0;", "M": "5;5;4;;0;0;"}[name]
            expect(section == expected, f"{name}: _NUM_SECTION {section}")
    expect(sorted(by_branch) == ["A", "K", "M"], f"the products of A, K and M: {sorted(by_branch)}")
    if len(by_branch) != 3:
        return
    if "A" in by_branch:
        vantrix = [value for _, value in by_branch["A"].get_xdata("_VANTRIX")]
        expect(vantrix[9:13] == ["600", "1000", "22", "VK"], f"A's _VANTRIX fields 8-11: {vantrix}")
    x = {name: insert.dxf.insert.x for name, insert in by_branch.items()}
    if mode == "tree":
        expect(0 > x["M"] > x["K"] > x["A"], f"M, K, A going left from the riser: {x}")
    else:
        expect(near(x["M"], 600) and 0 > x["K"] > x["A"], f"M right at 600, K nearer than A on the left: {x}")


def main(original_path, saved_path, mode, stamp, catalogue=None):
    original, _ = recover.readfile(original_path)
    saved, auditor = recover.readfile(saved_path)
    expect(not auditor.has_errors, f"auditor errors: {[str(e.message) for e in auditor.errors]}")
    before = {e.dxf.handle: e for e in original.modelspace()}
    msp = saved.modelspace()
    after = {e.dxf.handle: e for e in msp}
    for handle in (R1, A, K, M):
        expect(handle in after and snapshot(after[handle]) == snapshot(before[handle]),
               f"{handle} unchanged with its handle")
    expect(set(before) <= set(after), "every entity of the fixture kept")
    new = [e for e in msp if e.dxf.handle not in before]

    check_products([e for e in new if e.dxftype() == "INSERT"], saved, stamp, mode,
                   Catalogue(catalogue) if catalogue else None)

    pipes = [e for e in new if e.dxftype() == "LWPOLYLINE"]
    riser_pipes = [p for p in pipes if jov_data(p)[1].get("_BRANCH") == ""]
    starts = sorted((p.dxf.layer, jov_data(p)[0], jov_data(p)[1].get("_NUM_SECTION"),
                     [tuple(round(c, 6) for c in v[:2]) for v in p.get_points()]) for p in riser_pipes)
    expect(starts == [("PIPE_R", "TPZ0000i0001", "", [(100, 0), (100, 2800)]),
                      ("PIPE_S", "TPP0000i0001", "", [(0, 0), (0, 2800)])], f"the riser's start: {starts}")
    labels = [t for t in new if t.dxftype() == "TEXT" and t.dxf.layer == "BR"]
    expect([t.dxf.text for t in labels] == ["1"], f"only the riser's number on BR: {[t.dxf.text for t in labels]}")
    for t in labels:
        expect(near(t.dxf.height, 3.5) and near(t.dxf.width, 0.8) and t.dxf.halign == 1 and t.dxf.valign == 2,
               "the riser's number: height 3.5, factor 0.8, aligned 1/2")
        expect(near(t.dxf.align_point.x, 50) and near(t.dxf.align_point.y, 2901.75),
               f"the riser's number at (50, 2901.75): {t.dxf.align_point}")
        expect(not t.dxf.hasattr("rotation"), "the riser's number without group 50")

    descriptions = [t for t in new if t.dxftype() == "TEXT" and jov_data(t)[0] == "TCD0000i0001"]
    texts = Counter((jov_data(t)[1].get("_BRANCH"), t.dxf.text) for t in descriptions)
    if mode == "tree":
        owners = {"A": "A", "K": "A", "M": "A"}
    else:
        owners = {"A": "A", "K": "K", "M": "M"}
    expected = Counter({(owners["A"], "-1-"): 1, (owners["A"], "15 20"): 1})
    for name, cm in (("K", "2"), ("M", "3")):
        for line in (f"-{cm}-", "XYZ", "600/", "15 20"):
            expected[(owners[name], line)] += 1
    expect(texts == expected, f"ten description lines: {sorted(texts.items())}")

    product_pipes = [p for p in pipes if p not in riser_pipes]
    branch_pipes = [p for p in product_pipes if jov_data(p)[1].get("_BRANCH") == "A"
                    and jov_data(p)[1].get("_NUM_SECTION") == "1"]
    if mode == "tree":
        expect(branch_pipes and len(branch_pipes) == len(product_pipes), "product pipes of A's section 1")
    layers = Counter(p.dxf.layer for p in product_pipes)
    expect(layers["PIPE_S"] == layers["PIPE_R"] > 0, f"as many on PIPE_S as on PIPE_R: {layers}")
    expect(not [e for e in new if e.dxftype() == "CIRCLE"], "no circle")

    lines = [e for e in new if e.dxftype() == "LINE"]
    base = [line for line in lines if near(line.dxf.start.y, 0) and near(line.dxf.end.y, 0)]
    expect(len(base) == 1, "one base line at y 0")
    if base:
        x = min(base[0].dxf.start.x, base[0].dxf.end.x)
        marks = [t for t in new if t.dxftype() == "TEXT" and t.dxf.text == "1NP"]
        expect(len(marks) == 1 and near(marks[0].dxf.insert.x, x + 200) and near(marks[0].dxf.insert.y, 300),
               "the floor mark 1NP at (x + 200, 300)")
    for failure in FAILURES:
        print(failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:6]))
