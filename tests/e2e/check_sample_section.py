#!/usr/bin/python3
"""Checks the section of the sample drawing's branch V1 (as `make demo`
draws it): ezdxf's auditor finds no error, and the new inserts are the
branch's start valve and radiator, each showing its catalogue item's view B
and carrying the item's data, the radiator at the length its network insert
gives and the catalogue's height.

  check_sample_section.py BEFORE AFTER CATALOGUE

The radiator's two drops start on it, mirrored or not, leave it sideways by no more than the vertical
pipe start and the pipe distance (0.1 m + 0.1 m), go straight down to the
floor pipes (3.0 m floor, pipe start 3.0 - 0.1 - 0.3 = 2.6 m: supply at
0.4 m and return at 0.3 m above the base point (10000, 0)) and run on along
them.

Prints one line per failed expectation and exits with 1 when there is one."""
import os
import sys

from ezdxf import recover

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from catalogue_products import Catalogue, jov_data  # noqa: E402

PRODUCTS = {"TVE0015i0001": {}, "TOT0600i0001": {"L": "1000", "H": "600"}}


SIDEWAYS_MAX = 200.0
FLOOR_PIPES = (300.0, 400.0)
TOLERANCE = 1e-6


def drop_errors(insert, length, pipes):
    """The radiator's drops: the pipes that start on it."""
    # A mirrored insert spans its length to the left of its insertion point.
    ends = (insert.dxf.insert.x, insert.dxf.insert.x + length * (1 if insert.dxf.xscale > 0 else -1))
    left, right = min(ends), max(ends)
    drops = [p for p in pipes if left - TOLERANCE <= p[0][0] <= right + TOLERANCE
             and abs(p[0][1] - insert.dxf.insert.y) < 100]
    errors = [] if len(drops) == 2 else [f"radiator drops: {len(drops)}, wanted 2"]
    for p in drops:
        if len(p) < 4:
            errors.append(f"drop {p}: too few points")
            continue
        (x0, y0), (x1, y1), (x2, y2), (x3, y3) = p[:4]
        if abs(y1 - y0) > TOLERANCE or abs(x1 - x0) > SIDEWAYS_MAX + TOLERANCE:
            errors.append(f"drop {p}: steps sideways by {abs(x1 - x0):.0f}")
        if abs(x2 - x1) > TOLERANCE or not any(abs(y2 - f) < TOLERANCE for f in FLOOR_PIPES):
            errors.append(f"drop {p}: does not go down to a floor pipe")
        if abs(y3 - y2) > TOLERANCE:
            errors.append(f"drop {p}: does not run on along its floor pipe")
    if len(drops) == 2 and abs(drops[0][2][1] - drops[1][2][1]) < TOLERANCE:
        errors.append("both drops end on the same pipe")
    return errors


def main(before_path, after_path, catalogue_path):
    catalogue = Catalogue(catalogue_path)
    before = {e.dxf.handle for e in recover.readfile(before_path)[0].modelspace()}
    doc, auditor = recover.readfile(after_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    inserts = [e for e in doc.modelspace() if e.dxftype() == "INSERT" and e.dxf.handle not in before]
    codes = sorted(jov_data(e)[0] for e in inserts)
    if codes != sorted(PRODUCTS):
        errors.append(f"new inserts {codes}, wanted {sorted(PRODUCTS)}")
    for insert in inserts:
        code, props = jov_data(insert)
        errors += catalogue.check_insert(doc, insert, PRODUCTS.get(code))
        if props.get("_NBRANCH") != "V1":
            errors.append(f"{code}: branch {props.get('_NBRANCH')!r}")
    pipes = [[tuple(v) for v in e.get_points("xy")] for e in doc.modelspace()
             if e.dxftype() == "LWPOLYLINE" and e.dxf.handle not in before]
    for insert in inserts:
        if jov_data(insert)[0] == "TOT0600i0001":
            errors += drop_errors(insert, float(PRODUCTS["TOT0600i0001"]["L"]), pipes)
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
