#!/usr/bin/python3
"""The system reaches nothing of the input driver.

Reads the compiler's dependency lists as `ninja -t deps` prints them (from
standard input) and fails when an object compiled from the system's folders
(common, objectgl, jov_vantrix, wizard; their tests drive the system and may
use the driver) depends, directly or through another header, on a file of
platform/win32/driver/.

    driver_boundary.py SOURCE_DIR BUILD_DIR < deps
"""
import os
import sys

SYSTEM = ("common", "objectgl", "jov_vantrix", "wizard")
DRIVER = os.path.join("platform", "win32", "driver") + os.sep


def relative(path, source, build):
    full = os.path.normpath(os.path.join(build, path))
    return os.path.relpath(full, source)


def is_system(rel):
    parts = rel.split(os.sep)
    return parts[0] in SYSTEM and "tests" not in parts


def main():
    source, build = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    checked, faults = 0, []
    target, deps = None, []

    def finish():
        if target and deps:
            first = relative(deps[0], source, build)
            if is_system(first):
                nonlocal checked
                checked += 1
                for dep in deps:
                    rel = relative(dep, source, build)
                    if rel.startswith(DRIVER):
                        faults.append(f"{first} includes {rel}")

    for line in sys.stdin:
        if not line.strip():
            continue
        if not line[0].isspace():
            finish()
            target, deps = line.split(":")[0], []
        else:
            deps.append(line.strip())
    finish()
    for fault in faults:
        print(fault)
    if checked == 0:
        print("no object of the system's folders in the dependency lists: build first")
        return 1
    print(f"{checked} objects of the system checked, {len(faults)} reach the driver")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
