#!/usr/bin/python3
"""Prints what the calculation exchange reads and writes in a drawing: the
numbers and imported values of the section pipes, the values of the
products and the text of their description lines."""
import sys

import ezdxf

PIPE_KEYS = ("_DW_NUMBER", "_NUM_SECID", "_FLOW", "_DIMENSION", "_NUM_ISOL_THICKNESS")
PRODUCT_KEYS = ("CM", "VE", "SR", "PR")


def properties(entity):
    if not entity.has_xdata("JOV_DATA"):
        return "", {}
    tags = [value for _, value in entity.get_xdata("JOV_DATA")]
    return tags[0], dict(zip(tags[1::2], tags[2::2]))


def main(path):
    for e in ezdxf.readfile(path).modelspace():
        code, props = properties(e)
        if e.dxftype() == "LWPOLYLINE" and code[7:8] == "i":
            keys = PIPE_KEYS
        elif e.dxftype() == "INSERT":
            keys = PRODUCT_KEYS
        elif e.dxftype() == "TEXT":
            print(f"  {e.dxf.handle:>3} TEXT       {e.dxf.text}")
            continue
        else:
            continue
        values = "  ".join(f"{k}={props[k]}" for k in keys if props.get(k))
        print(f"  {e.dxf.handle:>3} {e.dxftype():10} {code}  {values}")


if __name__ == "__main__":
    main(sys.argv[1])
