#!/usr/bin/python3
"""Checks what the import made of tests/data/exported.dxf with the result
file of the import tests: ezdxf's auditor finds no error, the pipes, the
product and its description texts carry the file's values, and nothing else
of any entity changed (handles, types, layers, geometry, other data).
Further arguments "vantrix:N=VALUE" expect the product's "_VANTRIX" field N
to be VALUE instead, "vantrix:N=-" to be as it was."""
import sys

from ezdxf import recover

E1, E2, E3, E4, E5, E6, E7, E8 = "3C", "3E", "3F", "40", "41", "42", "43", "44"
LINK = "4123400000000"
SUPPLY = {"P0": "DN20", "P3": "0.8", "_NUM_SECID": "S1-1", "_NUM_ISOL_PROD": "IZ1",
          "_NUM_ISOL_NAME": "Arma", "_NUM_ISOL_THICKNESS": "13"}
RETURN = dict(SUPPLY, P3="0.7", _NUM_SECID="S1-1Z")
PRODUCT = {"VE": "VE15", "_NUM_HYDR_VENTIL": "HV2", "SR": "SR20", "PR": "3",
           "_NUM_HYDR_SROUBENI": "3"}
EXPECTED = {E2: SUPPLY, E4: SUPPLY, E3: RETURN, E5: RETURN, E1: PRODUCT}
TEXTS = {E6: "-1-", E7: "r3", E8: "VE15 SR20"}
VANTRIX = {1: "r1", 2: "r2", 3: "r3", 4: "r4", 5: "r5", 8: "t8", 9: "t9", 10: "t10", 11: "t11"}


def jov_data(entity):
    tags = [value for _, value in entity.get_xdata("JOV_DATA")] if entity.has_xdata("JOV_DATA") else []
    return tags[:1], dict(zip(tags[1::2], tags[2::2]))


def vantrix(entity):
    return [value for _, value in entity.get_xdata("_VANTRIX")] if entity.has_xdata("_VANTRIX") else []


def attributes(entity):
    attrs = dict(entity.dxfattribs())
    attrs.pop("text", None)
    if entity.dxftype() == "LWPOLYLINE":
        attrs["points"] = list(entity.get_points())
    return attrs


def main(before_path, after_path, *overrides):
    for override in overrides:
        field, value = override.removeprefix("vantrix:").split("=", 1)
        if value == "-":
            VANTRIX.pop(int(field), None)
        else:
            VANTRIX[int(field)] = value
    before, _ = recover.readfile(before_path)
    after, auditor = recover.readfile(after_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    old = {e.dxf.handle: e for e in before.modelspace()}
    new = {e.dxf.handle: e for e in after.modelspace()}
    if sorted(old) != sorted(new):
        errors.append(f"handles {sorted(old)} became {sorted(new)}")
    for handle, was in old.items():
        now = new.get(handle)
        if now is None:
            continue
        if attributes(was) != attributes(now):
            errors.append(f"{handle}: {attributes(was)} became {attributes(now)}")
        code, props = jov_data(was)
        code2, props2 = jov_data(now)
        wanted = dict(props, **EXPECTED.get(handle, {}))
        if code != code2 or props2 != wanted:
            errors.append(f"{handle}: JOV_DATA {code2} {props2}, wanted {code} {wanted}")
        fields = vantrix(was)
        for field, value in (VANTRIX.items() if handle == E1 else []):
            fields[field + 1] = value  # after the field count
        if vantrix(now) != fields:
            errors.append(f"{handle}: _VANTRIX {vantrix(now)}, wanted {fields}")
        if handle in (E2, E3, E4, E5) and list(now.get_xdata("JOV_LINK")) != [(1000, LINK)]:
            errors.append(f"{handle}: JOV_LINK lost")
        if was.dxftype() == "TEXT":
            text = TEXTS.get(handle, was.dxf.text)
            if now.dxf.text != text:
                errors.append(f"{handle}: text {now.dxf.text!r}, wanted {text!r}")
    for error in errors:
        print(error)
    print(f"{len(old)} entities checked")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
