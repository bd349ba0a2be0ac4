#!/usr/bin/python3
"""Reads a drawing the runner wrote after placing a product, runs ezdxf's
auditor (any error or repair fails) and lists, one line each, every INSERT
of the model space with its block, position and extended data, and the
entities of its block:
    INSERT NAME X Y
    DATA TEXT|TEXT|...          (the INSERT's JOV_DATA strings)
    BLOCK NAME TYPE TYPE ...
    SHAPE NAME LINE X,Y-X,Y CIRCLE X,Y/R ...   (its lines' ends and circles)
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        auditor.print_error_report()
        auditor.print_fixed_errors()
        print(f"FAIL: {len(auditor.errors)} errors, {len(auditor.fixes)} fixes")
        sys.exit(1)
    for e in doc.modelspace().query("INSERT"):
        x, y, _ = e.dxf.insert
        print("INSERT", e.dxf.name, f"{x:g}", f"{y:g}")
        if e.has_xdata("JOV_DATA"):
            print("DATA", "|".join(str(tag.value) for tag in e.get_xdata("JOV_DATA")))
        block = doc.blocks.get(e.dxf.name)
        print("BLOCK", e.dxf.name, " ".join(b.dxftype() for b in block))
        print("SHAPE", e.dxf.name, " ".join(shape(b) for b in block if shape(b)))


def shape(entity):
    """A line's ends or a circle's centre and radius, numbers as %g."""
    if entity.dxftype() == "LINE":
        (x1, y1, _), (x2, y2, _) = entity.dxf.start, entity.dxf.end
        return f"LINE {x1:g},{y1:g}-{x2:g},{y2:g}"
    if entity.dxftype() == "CIRCLE":
        x, y, _ = entity.dxf.center
        return f"CIRCLE {x:g},{y:g}/{entity.dxf.radius:g}"
    return ""


if __name__ == "__main__":
    main(sys.argv[1])
