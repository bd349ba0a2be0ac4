#!/usr/bin/python3
"""Compares a drawing written by the host with the sample it came from:
ezdxf's auditor must find no error, and every entity must keep its type,
layer and the plug-in's extended data."""
import sys

from ezdxf import recover

APPS = ("JOV_DATA", "JOV_INSPT", "_VANTRIX")


def load(path):
    doc, auditor = recover.readfile(path)
    return doc, auditor


def summary(doc):
    out = {}
    for e in doc.modelspace():
        xdata = {app: list(e.get_xdata(app)) for app in APPS if e.has_xdata(app)}
        out[e.dxf.handle] = (e.dxftype(), e.dxf.layer, xdata)
    return out


def main(original, written):
    src, _ = load(original)
    doc, auditor = load(written)
    if auditor.has_errors:
        for error in auditor.errors:
            print("audit error:", error.message)
        return 1
    before, after = summary(src), summary(doc)
    failed = 0
    for handle, (kind, layer, xdata) in before.items():
        if handle not in after:
            print(f"{handle} {kind}: missing")
            failed = 1
            continue
        kind2, layer2, xdata2 = after[handle]
        if (kind, layer) != (kind2, layer2) or xdata != xdata2:
            print(f"{handle} {kind}: changed {kind2} {layer2} {xdata2} (was {layer} {xdata})")
            failed = 1
    print(f"{len(before)} entities compared")
    return failed


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
