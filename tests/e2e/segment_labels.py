#!/usr/bin/python3
"""Segment-number labels of an exported drawing.
  copy IN OUT: adds a copy of every label 50 to the right and a label of a
    pipe the drawing lacks; prints the handles of every tagged label.
  check OUT NUMBER: no audit error; one tagged label, showing NUMBER and
    naming a pipe of that number."""
import sys

import ezdxf
from ezdxf import recover


def labels(doc):
    for e in doc.modelspace().query("TEXT"):
        tags = [value for _, value in e.get_xdata("QM_KEY")] if e.has_xdata("QM_KEY") else []
        if tags[:1] == ["T-cisla_useku"]:
            yield e, (tags + [""])[1]


def copy(in_path, out_path):
    doc = ezdxf.readfile(in_path)
    for label, piece in list(labels(doc)):
        twin = label.copy()
        twin.dxf.insert = (label.dxf.insert.x + 50, label.dxf.insert.y, 0)
        doc.modelspace().add_entity(twin)
        orphan = doc.modelspace().add_text(label.dxf.text, dxfattribs={"insert": (5, 5), "height": 0.25})
        orphan.set_xdata("QM_KEY", [(1000, "T-cisla_useku"), (1000, "FFF")])
    print(" ".join(label.dxf.handle for label, _ in labels(doc)))
    doc.saveas(out_path)


def check(out_path, number):
    doc, auditor = recover.readfile(out_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    shown = list(labels(doc))
    for label, piece in shown:
        pipe = doc.entitydb.get(piece)
        data = [value for _, value in pipe.get_xdata("JOV_DATA")] if pipe else ["_DW_NUMBER", None]
        if label.dxf.text != number or data[data.index("_DW_NUMBER") + 1] != number:
            errors.append(f"label {label.dxf.handle} shows {label.dxf.text!r} for {piece!r}")
    if len(shown) != 1:
        errors.append(f"{len(shown)} tagged labels, wanted one showing {number}")
    print("\n".join(errors))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(copy(sys.argv[2], sys.argv[3]) if sys.argv[1] == "copy" else check(sys.argv[2], sys.argv[3]))
