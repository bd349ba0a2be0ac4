"""Reads a drawing the runner wrote with ezdxf, runs ezdxf's auditor (any
error or repair fails), and lists the model space and the anonymous blocks
for the test to check: one line per entity, "TYPE HANDLE LAYER APPS"."""
import sys

import ezdxf

APPS = ("JOV_DATA", "JOV_TEST", "JOV_EXCLUDE")


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        auditor.print_error_report()
        auditor.print_fixed_errors()
        print(f"FAIL: {len(auditor.errors)} errors, {len(auditor.fixes)} fixes")
        sys.exit(1)
    print("version", doc.dxfversion)
    for e in doc.modelspace():
        apps = ",".join(app for app in APPS if e.has_xdata(app)) or "-"
        print(e.dxftype(), e.dxf.handle, e.dxf.layer, apps)
    for block in doc.blocks:
        if block.name.upper().startswith("*U"):
            print("BLOCK", block.name, len(block))


if __name__ == "__main__":
    main()
