#!/usr/bin/python3
"""Prints the entities a section drawing added to a drawing: the products'
inserts with their blocks, the description lines, the numbered pipe pieces
and the floor and base lines.

  show_section.py BEFORE AFTER"""
import sys

import ezdxf


def jov_data(entity):
    if not entity.has_xdata("JOV_DATA"):
        return "", {}
    tags = [value for _, value in entity.get_xdata("JOV_DATA")]
    return tags[0], dict(zip(tags[1::2], tags[2::2]))


def main(before_path, after_path):
    before = {e.dxf.handle for e in ezdxf.readfile(before_path).modelspace()}
    for e in ezdxf.readfile(after_path).modelspace():
        if e.dxf.handle in before:
            continue
        code, props = jov_data(e)
        kind = e.dxftype()
        if kind == "INSERT":
            what = f"{code} block {e.dxf.name} at ({e.dxf.insert.x:.0f}, {e.dxf.insert.y:.0f})"
        elif kind == "TEXT":
            what = f"{e.dxf.text!r} on {e.dxf.layer}"
        elif kind == "LWPOLYLINE":
            points = " ".join(f"({x:.0f}, {y:.0f})" for x, y in e.get_points("xy"))
            what = f"{code} {props.get('_DW_NUMBER', '')} on {e.dxf.layer}: {points}"
        else:
            what = f"on {e.dxf.layer}"
        print(f"  {e.dxf.handle:>3} {kind:<10} {what}")


if __name__ == "__main__":
    main(*sys.argv[1:3])
