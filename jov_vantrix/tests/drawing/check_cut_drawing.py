#!/usr/bin/python3
"""Checks the section drawing generated from tests/data/branch.dxf (base
point (10000, 20000), millimetres; see CutDrawingOnDrawings_test.cpp).

  check_cut_drawing.py SAVED MODE ASSOC SCHEME FIRST_LINE_LAYER FLOOR_LAYER BASE_LAYER [CATALOGUE]

MODE "floor": the whole section with its floor mark; "no-floor": the same
closed by the base line alone; "unchanged": nothing generated, the drawing
is branch.dxf as it was. In every mode ezdxf's auditor finds no error and
no coordinate is NaN or infinite. ASSOC and SCHEME "-" stand for stamps of
an unknown moment: those of the first new insert, which must have the
stamps' forms ("%d.%m.%Y-%H.%M.%S", "%H.%M.%S-%d.%m.%Y") and which every
other new entity must share.

The products come from the test library's fixture (both a 600 x 500 box
"TXX0600-0001"), or, with CATALOGUE, from the product library reading that
catalogue source: each insert then shows its item's geometry and carries its
data, the product P with the length and level the section gave it."""
import math
import os
import re
import sys

from ezdxf import recover

HERE = os.path.dirname(__file__)
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "tests", "support"))
from catalogue_products import Catalogue, jov_data  # noqa: E402

SOURCE = os.path.join(HERE, "..", "..", "..", "tests", "data", "branch.dxf")
S, P, F, R = "39", "3B", "3D", "3E"
APPS = ("JOV_DATA", "JOV_INSPT", "JOV_LINK", "_VANTRIX")


def link(entity):
    return [v for _, v in entity.get_xdata("JOV_LINK")] if entity.has_xdata("JOV_LINK") else []


def xdata(entity):
    return {app: list(entity.get_xdata(app)) for app in APPS if entity.has_xdata(app)}


def finite(doc):
    """Every point and real of every entity, blocks included, is finite."""
    bad = []
    for layout in [doc.modelspace()] + list(doc.blocks):
        for e in layout:
            for name, value in e.dxfattribs().items():
                values = value if isinstance(value, tuple) else (value,)
                if any(isinstance(v, float) and not math.isfinite(v) for v in values):
                    bad.append(f"{e.dxftype()} {e.dxf.handle} {name}={value}")
            if e.dxftype() == "LWPOLYLINE":
                bad += [f"LWPOLYLINE {e.dxf.handle} {p}" for p in e.get_points("xy")
                        if not all(map(math.isfinite, p))]
    return bad


class Checker:
    def __init__(self):
        self.errors = []

    def expect(self, condition, message):
        if not condition:
            self.errors.append(message)
        return condition

    def near(self, a, b, message, tolerance=1e-6):
        return self.expect(abs(a - b) <= tolerance, f"{message}: {a} is not {b}")


STAMP_FORMS = {"_NUM_ASSOC": r"\d\d\.\d\d\.\d{4}-\d\d\.\d\d\.\d\d", "_SCH_ASSOC": r"\d\d\.\d\d\.\d\d-\d\d\.\d\d\.\d{4}"}


def check_products(c, doc, inserts, catalogue):
    """The fixture's box in both inserts, or each insert's item of the
    catalogue: P (the left one) 600 long on the floor's 3000."""
    for e in inserts:
        code, props = jov_data(e)
        if catalogue:
            wanted = {"L": "600", "O": "3000"} if e is inserts[0] else {}
            c.errors += catalogue.check_insert(doc, e, wanted)
            continue
        block = doc.blocks.get(e.dxf.name)
        kinds = [b.dxftype() for b in block] if block else None
        c.expect(kinds == ["LINE"] * 4, f"block {e.dxf.name} holds {kinds}")
        c.expect(code == "TXX0600i0001", f"insert type code {code}")
        c.expect(props.get("_PTS") == "1\nP1\n50\n0\n20\n", f"insert _PTS {props.get('_PTS')!r}")
    if catalogue:
        codes = [jov_data(e)[0] for e in inserts]
        c.expect(codes == ["TCD0000i0001", "TCD0000i0002"], f"the product and the start: {codes}")


def check_section(c, doc, before, assoc, scheme, first_layer, floor_layer, base_layer, floor, catalogue):
    msp = doc.modelspace()
    new = [e for e in msp if e.dxf.handle not in before]
    stamps = {"_NUM_ASSOC": assoc, "_SCH_ASSOC": scheme}
    first = next((e for e in new if e.dxftype() == "INSERT"), None)
    for key, form in STAMP_FORMS.items():
        if stamps[key] == "-" and first is not None:
            stamps[key] = jov_data(first)[1].get(key, "")
            c.expect(re.fullmatch(form, stamps[key]) is not None, f"{key} stamp {stamps[key]!r}")

    # The two inserts: P's left of S's, both on the floor's top line.
    inserts = [e for e in new if e.dxftype() == "INSERT"]
    c.expect(len(inserts) == 2, f"{len(inserts)} new inserts")
    inserts.sort(key=lambda e: e.dxf.insert.x)
    for e in inserts:
        c.expect(e.dxf.layer == "NET", f"insert on {e.dxf.layer}")
        c.near(e.dxf.insert.y, 23000, "insert y")
        c.near(e.dxf.xscale, 1.0, "insert X scale")
        c.expect(e.dxf.name.startswith("*U"), f"block {e.dxf.name}")
        c.expect(e.has_xdata("JOV_INSPT"), "insert without JOV_INSPT")
        code, props = jov_data(e)
        wanted = dict(stamps, _NBRANCH="V1", _NUM_BRANCH="1", _NUM_SIDE="0")
        c.expect(all(props.get(k) == v for k, v in wanted.items()), f"insert keys {props}")
    if len(inserts) != 2:
        return
    check_products(c, doc, inserts, catalogue)
    product, start = inserts
    c.near(start.dxf.insert.x, 10000, "the start stands at the base point")
    c.near(product.dxf.insert.x, 8800, "the product one width and a distance left of it")

    # P's description, stacked upwards from above the product; none for S.
    texts = [e for e in new if e.dxftype() == "TEXT" and e.has_xdata("JOV_DATA")]
    c.expect(len(texts) == 4, f"{len(texts)} description lines")
    lines = {}
    for t in texts:
        code, props = jov_data(t)
        c.expect(code == "TCD0000i0001", f"description code {code}")
        wanted = dict(stamps, _BRANCH="1", CM="1", CT="1")
        c.expect(all(props.get(k) == v for k, v in wanted.items()), f"description keys {props}")
        lines[props.get("_NUM_DESC_LINE")] = t
    c.expect(sorted(lines) == ["0", "1", "2", "3"], f"description lines {sorted(lines)}")
    for number, text in (("0", "-1-"), ("1", "XYZ"), ("2", "600/"), ("3", "15 20")):
        t = lines.get(number)
        if not c.expect(t is not None, f"line {number} missing"):
            continue
        c.expect(t.dxf.text == text, f"line {number} reads {t.dxf.text!r}")
        c.expect(t.dxf.layer == (first_layer if number == "0" else "DESC"), f"line {number} on {t.dxf.layer}")
        c.near(t.dxf.height, 5.0 if number == "0" else 2.5, f"line {number} height")
        c.near(t.dxf.width, 0.8, f"line {number} width factor")
        c.expect((t.dxf.halign, t.dxf.valign) == (1, 2), f"line {number} alignment")
        c.near(t.dxf.align_point.x, product.dxf.insert.x + 300, f"line {number} centre")
    if len(lines) == 4:
        ys = [lines[n].dxf.align_point.y for n in "3210"]
        c.expect(ys == sorted(ys) and ys[0] > 23500, f"lines not stacked upwards above P: {ys}")

    # The pipe pieces: numbered runs on the pipe layers, tied to F and R.
    pieces = [e for e in new if e.dxftype() == "LWPOLYLINE"]
    by_layer = {"PIPE_S": [], "PIPE_R": []}
    for e in pieces:
        c.expect(e.dxf.layer in by_layer, f"piece on {e.dxf.layer}")
        by_layer.setdefault(e.dxf.layer, []).append(e)
    links = set()
    for layer, code_wanted, level in (("PIPE_S", "TPP0000i0001", 20400), ("PIPE_R", "TPZ0000i0001", 20300)):
        run = by_layer[layer]
        c.expect(len(run) >= 1, f"no pieces on {layer}")
        numbers = []
        for e in run:
            c.expect(e.dxf.color == 256, f"{layer} piece colour {e.dxf.color}")
            code, props = jov_data(e)
            c.expect(code == code_wanted, f"{layer} piece code {code}")
            c.expect(props.get("CM") == "1" and props.get("CT") == "1", f"{layer} CM/CT {props}")
            for key in ("_DW_NUMBER", "_DW_CONNECT"):
                c.expect(props.get(key) == props.get(key + "_ORIG"), f"{layer} {key} and its _ORIG differ")
            length = props.get("_LENGTH_SEGMENT", "")
            c.expect(len(length.split(".")[-1]) == 3, f"{layer} length {length!r}")
            numbers.append((props.get("_DW_NUMBER"), props.get("_DW_CONNECT")))
            links.update(link(e))
            points = e.get_points("xy")
            c.expect(any(abs(y - 23000) < 1e-6 for _, y in points), f"{layer} piece does not drop from 23000")
            c.expect(any(abs(y - level) < 1e-6 for _, y in points), f"{layer} piece does not run at {level}")
        c.expect(sorted(n for n, _ in numbers) == [f"e{i + 1}" for i in range(len(numbers))],
                 f"{layer} numbers {numbers}")
        c.expect(("e1", "e0") in numbers, f"{layer}: the first piece connects to nothing: {numbers}")

    # F and R keep their handles and data and share one link with the pieces.
    ent = {e.dxf.handle: e for e in msp}
    source = recover.readfile(SOURCE)[0].modelspace()
    for handle, was in ((h, e) for e, h in ((e, e.dxf.handle) for e in source) if h in (F, R)):
        now = ent.get(handle)
        if not c.expect(now is not None, f"{handle} lost"):
            continue
        c.expect(jov_data(now) == jov_data(was), f"{handle} data changed")
        links.update(link(now))
        c.expect(len(link(now)) == 1, f"{handle} links {link(now)}")
    c.expect(len(links) == 1 and next(iter(links)).isdigit(), f"links {links}")

    # The base line and the floor mark.
    base = [e for e in new if e.dxftype() == "LINE" and e.dxf.layer == base_layer]
    c.expect(len(base) == 1, f"{len(base)} base lines")
    mark = [e for e in new if e.dxf.layer == floor_layer]
    if base:
        line = base[0]
        c.near(line.dxf.start.y, 20000, "base line y")
        c.near(line.dxf.end.y, 20000, "base line y")
        left = min(line.dxf.start.x, line.dxf.end.x)
        if floor:
            kinds = sorted(e.dxftype() for e in mark)
            c.expect(kinds == ["LINE"] * 4 + ["TEXT"], f"floor mark {kinds}")
            for t in (e for e in mark if e.dxftype() == "TEXT"):
                c.expect(t.dxf.text == "1NP", f"floor text {t.dxf.text}")
                c.near(t.dxf.insert.x, left + 200, "floor text x")
                c.near(t.dxf.insert.y, 20300, "floor text y")
        else:
            c.expect(not mark, f"floor mark without DRAW_FLOOR: {[e.dxftype() for e in mark]}")


def main(saved, mode, assoc, scheme, first_layer, floor_layer, base_layer, catalogue=None):
    doc, auditor = recover.readfile(saved)
    c = Checker()
    c.errors += [f"audit: {e.message}" for e in auditor.errors]
    c.errors += [f"not finite: {b}" for b in finite(doc)]
    original = recover.readfile(SOURCE)[0]
    before = {e.dxf.handle: e for e in original.modelspace()}
    if mode == "unchanged":
        now = {e.dxf.handle: (e.dxftype(), xdata(e)) for e in doc.modelspace()}
        was = {h: (e.dxftype(), xdata(e)) for h, e in before.items()}
        c.expect(now == was, f"the drawing changed: {sorted(now)} from {sorted(was)}")
    else:
        check_section(c, doc, before, assoc, scheme, first_layer, floor_layer, base_layer, mode == "floor",
                      Catalogue(catalogue) if catalogue else None)
    for error in c.errors:
        print(error)
    return 1 if c.errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:9]))
