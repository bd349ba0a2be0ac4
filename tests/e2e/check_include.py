#!/usr/bin/python3
"""Checks a drawing after Include_In or Exclude_From against the drawing it
was run on: ezdxf's auditor finds no error, the entity HANDLE has the type
code CODE and every other value as before, and no other entity changed.

  check_include.py BEFORE AFTER HANDLE CODE"""
import sys

from ezdxf import recover


def state(entity):
    attrs = dict(entity.dxfattribs())
    if entity.dxftype() == "LWPOLYLINE":
        attrs["points"] = list(entity.get_points())
    data = {app: list(entity.get_xdata(app)) for app in ("JOV_DATA", "JOV_INSPT", "JOV_LINK", "_VANTRIX")
            if entity.has_xdata(app)}
    return entity.dxftype(), attrs, data


def main(before_path, after_path, handle, code):
    before, _ = recover.readfile(before_path)
    after, auditor = recover.readfile(after_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    was = {e.dxf.handle: state(e) for e in before.modelspace()}
    now = {e.dxf.handle: state(e) for e in after.modelspace()}
    if sorted(was) != sorted(now):
        errors.append(f"entities {sorted(now)} instead of {sorted(was)}")
    for h in sorted(set(was) & set(now)):
        old, new = was[h], now[h]
        if h == handle:
            tags = new[2].get("JOV_DATA", [])
            if not tags or tags[0][1] != code:
                errors.append(f"{h} type code {tags[:1]} instead of {code}")
            old = (old[0], old[1], dict(old[2], JOV_DATA=[(1000, code)] + old[2].get("JOV_DATA", [])[1:]))
        if old != new:
            errors.append(f"{h} changed: {old} -> {new}")
    for e in errors:
        print(e)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
