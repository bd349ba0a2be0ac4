#!/usr/bin/python3
"""Writes label_element.dxf: one LINE (handle A1) from (0,0) to (1500,0)
carrying the extended data of a pipe product, from which the mask editor
proposes a label: _TYPE, _PTS, CM, VE, an empty DN and _QPROD, in that order.
The points text's line feeds are written in the caret form ("^J") that keeps
a value on one line of the file.

Run with Debian's python3 (python3-ezdxf). The drawing is committed; this
script documents how it was made."""
import sys

from network_drawing import jov_data, new_network_drawing


def main(out):
    doc = new_network_drawing(4)
    line = doc.modelspace().add_line((0, 0), (1500, 0), dxfattribs={"layer": "0", "handle": "A1"})
    line.set_xdata("JOV_DATA", jov_data("TPP0015-0001", [
        ("_TYPE", "128"), ("_PTS", "1^J0/1^J^J^JA^J"), ("CM", "steel"), ("VE", "15"), ("DN", ""),
        ("_QPROD", "P-100")]))
    doc.saveas(out)
    print(line.dxf.handle)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "label_element.dxf")
