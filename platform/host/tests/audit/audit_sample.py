"""Writes each fixture drawing through the host with new entities and a new
block, then reads the result with ezdxf and runs its auditor: any error or
repair fails the test, as does a missing or changed entity."""
import os
import subprocess
import sys
import tempfile

import ezdxf


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def xdata(entity, app):
    return [tag.value for tag in entity.get_xdata(app)] if entity.has_xdata(app) else None


def check(source, out):
    doc = ezdxf.readfile(out)
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        auditor.print_error_report()
        auditor.print_fixed_errors()
        fail(f"{out}: ezdxf auditor found {len(auditor.errors)} errors, {len(auditor.fixes)} fixes")
    original = ezdxf.readfile(source)
    if doc.dxfversion != original.dxfversion:
        fail(f"version {doc.dxfversion} written for {original.dxfversion}")
    msp = list(doc.modelspace())
    r12 = doc.dxfversion == "AC1009"

    inserts = [e for e in msp if e.dxftype() == "INSERT" and e.dxf.name.startswith("*U")]
    if len(inserts) != 1:
        fail("the new INSERT of the anonymous block is missing")
    insert = inserts[0]
    block = doc.blocks.get(insert.dxf.name)
    if block is None or len(block) != 2 or not block.block.is_anonymous:
        fail(f"block {insert.dxf.name} is not the anonymous two-entity block")
    if tuple(block.block.dxf.base_point) != (10.0, 20.0, 0.0):
        fail("block base point changed")
    data = xdata(insert, "JOV_DATA")
    if data is None or data[0] != "TCD0000i0002" or 7 not in data or (200.0, 100.0, 0.0) not in data:
        fail(f"INSERT extended data lost: {data}")
    if xdata(insert, "JOV_LINK") != ["2C"] or doc.appids.get("JOV_LINK") is None:
        fail("second application of the INSERT lost or not registered")

    texts = [e for e in msp if e.dxftype() == "TEXT" and e.dxf.layer == "JOV_TEXT"]
    if len(texts) != 1 or texts[0].dxf.halign != 1 or texts[0].dxf.valign != 2:
        fail("aligned TEXT missing or its alignment lost")
    if texts[0].dxf.text != "DN 20 číslo" or tuple(texts[0].dxf.align_point) != (300.0, 400.0, 0.0):
        fail(f"TEXT content wrong: {texts[0].dxf.text!r}")

    kind = "POLYLINE" if r12 else "LWPOLYLINE"
    polys = [e for e in msp if e.dxftype() == kind and e.dxf.layer == "JOV_TRUBKY"]
    if len(polys) != 1:
        fail(f"new {kind} missing")
    points = [tuple(p)[:2] for p in (polys[0].points() if r12 else polys[0].get_points("xy"))]
    if points != [(0.0, 0.0), (100.0, 0.0), (100.0, 50.0)]:
        fail(f"polyline vertices wrong: {points}")
    if xdata(polys[0], "JOV_DATA") != ["TCD0000i0001", "_TYPE", "128"]:
        fail("polyline extended data lost")

    circles = [e for e in msp if e.dxftype() == "CIRCLE" and e.dxf.layer == "JOV_TRUBKY"]
    if len(circles) != 1 or abs(circles[0].dxf.radius - 0.08) > 1e-12:
        fail("new CIRCLE missing")
    for layer in ("JOV_TRUBKY", "JOV_TEXT", "JOV_SYMBOL"):
        if not doc.layers.has_entry(layer):
            fail(f"layer {layer} not added")

    first = msp[0]
    if xdata(first, "JOV_DATA") != ["TCD0000-0001"]:
        fail("replaced entity lost its new extended data")
    before = {e.dxf.handle for e in original.modelspace()}
    after = {e.dxf.handle for e in msp}
    if not before <= after:
        fail(f"entities lost: {sorted(before - after)}")
    print(f"ok {os.path.basename(source)} -> {doc.dxfversion}, {len(msp)} model-space entities")


def main():
    writer, data = sys.argv[1], sys.argv[2]
    fixtures = sorted(f for f in os.listdir(data) if f.endswith(".dxf"))
    if not fixtures:
        fail("no fixtures")
    with tempfile.TemporaryDirectory() as tmp:
        for name in fixtures:
            out = os.path.join(tmp, name)
            result = subprocess.run([writer, os.path.join(data, name), out])
            if result.returncode != 0:
                fail(f"writer failed on {name}")
            check(os.path.join(data, name), out)


if __name__ == "__main__":
    main()
