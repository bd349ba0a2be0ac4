#!/usr/bin/python3
"""The segment-number labels of an exported drawing.

  segment_labels.py copy IN OUT        adds a copy of every label, moved 50
                                       to the right (it names the pipe it was
                                       copied beside), and a label of a pipe
                                       the drawing no longer has; prints the
                                       new handles
  segment_labels.py check OUT NUMBER   ezdxf's auditor finds no error, and of
                                       the tagged labels exactly one shows a
                                       number: NUMBER, beside the pipe it
                                       names, which carries that number; the
                                       others are blank"""
import sys

import ezdxf
from ezdxf import recover

TAG = "T-cisla_useku"


def labels(doc):
    for e in doc.modelspace().query("TEXT"):
        if e.has_xdata("QM_KEY"):
            tags = [value for _, value in e.get_xdata("QM_KEY")]
            if tags and tags[0] == TAG:
                yield e, tags[1] if len(tags) > 1 else ""


def copy(in_path, out_path):
    doc = ezdxf.readfile(in_path)
    made = []
    for label, piece in list(labels(doc)):
        twin = label.copy()
        twin.dxf.insert = (label.dxf.insert.x + 50, label.dxf.insert.y, 0)
        doc.modelspace().add_entity(twin)
        made.append(twin.dxf.handle)
        orphan = doc.modelspace().add_text(label.dxf.text, dxfattribs={"insert": (5, 5), "height": 0.25})
        orphan.set_xdata("QM_KEY", [(1000, TAG), (1000, "FFF")])
        made.append(orphan.dxf.handle)
    doc.saveas(out_path)
    print(" ".join(made))
    return 0


def check(out_path, number):
    doc, auditor = recover.readfile(out_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    shown = []
    for label, piece in labels(doc):
        if label.dxf.text == "":
            continue
        shown.append(label.dxf.text)
        pipe = doc.entitydb.get(piece)
        if label.dxf.text != number or pipe is None:
            errors.append(f"label {label.dxf.handle} shows {label.dxf.text!r} for {piece!r}")
            continue
        data = [value for _, value in pipe.get_xdata("JOV_DATA")]
        if data[data.index("_DW_NUMBER") + 1] != number:
            errors.append(f"label {label.dxf.handle} shows {number}, its pipe {piece} does not")
    if shown != [number]:
        errors.append(f"labels showing numbers: {shown}, wanted one {number}")
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    if sys.argv[1] == "copy":
        sys.exit(copy(sys.argv[2], sys.argv[3]))
    sys.exit(check(sys.argv[2], sys.argv[3]))
