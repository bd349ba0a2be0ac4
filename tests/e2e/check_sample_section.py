#!/usr/bin/python3
"""Checks the section of the sample drawing's branch V1 (as `make demo`
draws it): ezdxf's auditor finds no error, and the new inserts are the
branch's start valve and radiator, each showing its catalogue item's view B
and carrying the item's data, the radiator at the length its network insert
gives and the catalogue's height.

  check_sample_section.py BEFORE AFTER CATALOGUE

Prints one line per failed expectation and exits with 1 when there is one."""
import os
import sys

from ezdxf import recover

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from catalogue_products import Catalogue, jov_data  # noqa: E402

PRODUCTS = {"TVE0015i0001": {}, "TOT0600i0001": {"L": "1000", "H": "600"}}


def main(before_path, after_path, catalogue_path):
    catalogue = Catalogue(catalogue_path)
    before = {e.dxf.handle for e in recover.readfile(before_path)[0].modelspace()}
    doc, auditor = recover.readfile(after_path)
    errors = [f"audit: {e.message}" for e in auditor.errors]
    inserts = [e for e in doc.modelspace() if e.dxftype() == "INSERT" and e.dxf.handle not in before]
    codes = sorted(jov_data(e)[0] for e in inserts)
    if codes != sorted(PRODUCTS):
        errors.append(f"new inserts {codes}, wanted {sorted(PRODUCTS)}")
    for insert in inserts:
        code, props = jov_data(insert)
        errors += catalogue.check_insert(doc, insert, PRODUCTS.get(code))
        if props.get("_NBRANCH") != "V1":
            errors.append(f"{code}: branch {props.get('_NBRANCH')!r}")
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
