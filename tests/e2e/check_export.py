#!/usr/bin/python3
"""Checks what an export made of tests/data/network.dxf against
tests/data/exported.dxf, the same network as an export numbers it: ezdxf's
auditor finds no error, every entity of the reference is there with its
type, geometry and extended data, and the only new entities are the
segment-number labels given on the command line.

  check_export.py REFERENCE OUT [TEXT HEIGHT WIDTH X Y]...

With numbers other than 1 the reference's "_DW_NUMBER" of the section
pipes and floor-plan pipes is expected to read the label's text."""
import sys

from ezdxf import recover

NUMBERED = {"3E", "3F", "40", "41"}  # E2-E5: the pipes an export numbers


def xdata(entity):
    return {app: list(entity.get_xdata(app)) for app in ("JOV_DATA", "JOV_INSPT", "_VANTRIX", "JOV_LINK")
            if entity.has_xdata(app)}


def renumbered(data, number):
    if "JOV_DATA" not in data:
        return data
    tags = data["JOV_DATA"]
    out = list(tags)
    for i in range(1, len(tags) - 1):
        if tags[i][1] == "_DW_NUMBER":
            out[i + 1] = (tags[i + 1][0], number)
    return dict(data, JOV_DATA=out)


def geometry(entity):
    attrs = dict(entity.dxfattribs())
    attrs.pop("handle", None)
    attrs.pop("owner", None)
    if entity.dxftype() == "LWPOLYLINE":
        attrs["points"] = [tuple(p) for p in entity.get_points()]
    return attrs


def main(reference_path, out_path, labels):
    reference, _ = recover.readfile(reference_path)
    out, auditor = recover.readfile(out_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    before = {e.dxf.handle: e for e in reference.modelspace()}
    after = {e.dxf.handle: e for e in out.modelspace()}
    number = labels[0][0] if labels else "1"
    for handle, was in before.items():
        now = after.get(handle)
        if now is None:
            errors.append(f"{handle} missing")
            continue
        if now.dxftype() != was.dxftype() or geometry(now) != geometry(was):
            errors.append(f"{handle}: {geometry(now)}, wanted {geometry(was)}")
        wanted = renumbered(xdata(was), number) if handle in NUMBERED else xdata(was)
        if xdata(now) != wanted:
            errors.append(f"{handle}: {xdata(now)}, wanted {wanted}")
    new = [e for handle, e in after.items() if handle not in before]
    made = sorted((e.dxf.text, e.dxf.height, e.dxf.width, round(e.dxf.insert.x, 9), round(e.dxf.insert.y, 9))
                  for e in new if e.dxftype() == "TEXT")
    wanted = sorted((text, float(h), float(w), float(x), float(y)) for text, h, w, x, y in labels)
    if made != wanted or len(new) != len(made):
        errors.append(f"new entities {[e.dxftype() for e in new]} {made}, wanted labels {wanted}")
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    rest = sys.argv[3:]
    sys.exit(main(sys.argv[1], sys.argv[2], [tuple(rest[i:i + 5]) for i in range(0, len(rest), 5)]))
