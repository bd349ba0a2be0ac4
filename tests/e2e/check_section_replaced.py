#!/usr/bin/python3
"""check_section_replaced.py NETWORK FIRST SECOND: SECOND, a section drawn
  over FIRST's, audits clean, holds as many entities as FIRST and one
  generation stamp not in NETWORK; its pieces' link identifiers are those of
  the network's pipes."""
import sys

import ezdxf
from ezdxf import recover


def xdata(e, app):
    return [value for _, value in e.get_xdata(app)] if e.has_xdata(app) else []


def stamp(e):
    data = xdata(e, "JOV_DATA")
    return data[data.index("_NUM_ASSOC") + 1] if "_NUM_ASSOC" in data[:-1] else (xdata(e, "JOV_CUT") + [None])[0]


def main(network, first, second):
    doc, auditor = recover.readfile(second)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    before = {stamp(e) for e in ezdxf.readfile(network).modelspace()}
    count = len(ezdxf.readfile(first).modelspace())
    if len(doc.modelspace()) != count:
        errors.append(f"{len(doc.modelspace())} entities, the first run left {count}")
    section = [e for e in doc.modelspace() if stamp(e) not in before]
    stamps = {stamp(e) for e in section}
    if len(stamps) != 1:
        errors.append(f"sections drawn: {sorted(stamps)}")
    drawn = {xdata(e, "JOV_LINK")[0] for e in section if xdata(e, "JOV_LINK")}
    pipes = {xdata(e, "JOV_LINK")[0] for e in doc.modelspace() if e not in section and xdata(e, "JOV_LINK")}
    if drawn != pipes:
        errors.append(f"links of the section {sorted(drawn)}, of the network {sorted(pipes)}")
    print("\n".join(errors))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
