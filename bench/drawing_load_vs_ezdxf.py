#!/usr/bin/python3
"""Times whole `dravik` runs on large drawings against ezdxf's readfile of
the same file, and a product insert against loading and saving unchanged.

    drawing_load_vs_ezdxf.py MODULE_FOLDER [--runs N] [--drawing PATH | --only NAME]

MODULE_FOLDER holds dravik, the plug-in and bench_DrawingLoad (which writes
the drawings). Without --drawing five drawings are timed: two of 200,000
entities (the project's own network drawing and a second one of another
seed, mix of LINE/LWPOLYLINE/TEXT/INSERT and coordinate length), two as
users have them: an R2018 one of 60-80 MB with Czech layer names and texts
in UTF-8, and one with a POLYLINE of a million vertices; and the Czech
drawing's ASCII twin (every letter beyond ASCII as as many underscores, so
the gap between the two is the cost of the letters alone). --only takes one
of them by name (network, second, czech, twin, polyline); --drawing times
that file.

A dravik run loads the drawing, runs Jov_Length on its first LINE and exits;
ezdxf's time is its readfile alone, in a process of its own. The two run in
turn, N pairs (default 5), so that a drift of the shared machine's speed
falls on both sides of a pair; the ratio of each pair is taken and the
median and the slowest pair are reported. Peak memory is each process's
own (the largest over the runs)."""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

TARGET_MEDIAN_RATIO = 80.0
TARGET_SLOWEST_RATIO = 60.0
TARGET_POLYLINE_RATIO = 60.0
TARGET_PEAK_PER_FILE = 2.5
TARGET_INSERT_RATIO = 1.3
TARGET_INSERT_PEAK_PER_FILE = 3.0

READ_WITH_EZDXF = """
import sys, time
import ezdxf
start = time.perf_counter()
ezdxf.readfile(sys.argv[1])
print(time.perf_counter() - start)
"""

PRODUCT_REQUEST = ["--module", "Wizard.dll", "--run", "PPGetResbufEx", "--arg", "db:T:TPP0015-0001",
                   "--arg", "1", "--arg", "-", "--arg", "0", "--arg", "#L/#DN", "--arg", "1500/20",
                   "--arg", "-", "--arg", "-", "--arg", "-"]


def run(command):
    """Wall seconds, peak resident MB and stdout of one process."""
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        start = time.perf_counter()
        pid = os.posix_spawn(command[0], command, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, stdout.fileno(), 1),
                                           (os.POSIX_SPAWN_DUP2, stderr.fileno(), 2)])
        _, status, usage = os.wait4(pid, 0)
        seconds = time.perf_counter() - start
        stdout.seek(0)
        stderr.seek(0)
        out = stdout.read().decode(errors="replace")
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{command[0]} failed: {stderr.read().decode(errors='replace')}{out}")
    return seconds, usage.ru_maxrss * 1024 / 1e6, out


def paired(first, second, runs):
    """Runs the two commands in turn, one warm-up each; their (seconds, peak,
    stdout) lists."""
    run(first)
    run(second)
    a, b = [], []
    for _ in range(runs):
        a.append(run(first))
        b.append(run(second))
    return a, b


def verdict(met):
    return "met" if met else "MISSED"


def first_line_handle(path):
    """Handle of the drawing's first LINE in the ENTITIES section. Read pair
    by pair: what this process holds when it starts a child counts in the
    child's peak (the child starts in this process's memory)."""
    with open(path, encoding="cp1250", errors="replace") as f:
        in_entities = in_line = False
        while True:
            code, value = f.readline(), f.readline()
            if not value:
                break
            code, value = code.strip(), value.strip()
            if in_line and code == "0":
                in_line = False
            elif in_line and code == "5":
                return value
            if code == "2" and value == "ENTITIES":
                in_entities = True
            elif in_entities and code == "0" and value == "LINE":
                in_line = True
    sys.exit(f"{path} has no LINE with a handle to measure")


def make_ascii_twin(path):
    """Every UTF-8 letter beyond ASCII in the file as as many underscores:
    the same bytes, lines and handles, ASCII only. Read in pieces that end
    at a line end, so this process stays small (see first_line_handle)."""
    letter = re.compile(rb"[\xC2-\xF4][\x80-\xBF]+")
    with open(path, "rb") as f, open(path + ".twin", "wb") as out:
        rest = b""
        while True:
            piece = f.read(1 << 22)
            text = rest + piece
            end = len(text) if not piece else text.rfind(b"\n") + 1
            out.write(letter.sub(lambda m: b"_" * len(m.group()), text[:end]))
            rest = text[end:]
            if not piece:
                break
    os.replace(path + ".twin", path)


def has_ezdxf():
    result = subprocess.run(["/usr/bin/python3", "-c", "import ezdxf"], capture_output=True)
    return result.returncode == 0


# The drawings timed by default: name, title, bench_DrawingLoad's flag for
# it, and the median and slowest-pair ratios it is to reach.
DRAWINGS = (
    ("network", "the network drawing, 200,000 entities (R2010)", [], TARGET_MEDIAN_RATIO, TARGET_SLOWEST_RATIO),
    ("second", "the second drawing, 200,000 entities of another mix (R2010)", ["--second"],
     TARGET_MEDIAN_RATIO, TARGET_SLOWEST_RATIO),
    ("czech", "the Czech drawing, UTF-8 layer names and texts (R2018)", ["--czech"],
     TARGET_MEDIAN_RATIO, TARGET_SLOWEST_RATIO),
    ("twin", "the Czech drawing's ASCII twin (R2018)", ["--czech"], TARGET_MEDIAN_RATIO, TARGET_SLOWEST_RATIO),
    ("polyline", "a POLYLINE of 1,000,000 vertices", ["--polyline"], TARGET_POLYLINE_RATIO, 0.0),
)


def compare_load(modules, drawing, line, title, folder, runs, median_target=TARGET_MEDIAN_RATIO,
                 slowest_target=TARGET_SLOWEST_RATIO):
    megabytes = os.path.getsize(drawing) / 1e6
    dravik = [os.path.join(modules, "dravik"), "--drawing", drawing, "--select", line,
              "--run", "Jov_Length", "--profile", os.path.join(folder, "profile")]
    print(f"{title}: {megabytes:.1f} MB")
    if not has_ezdxf():
        times = [run(dravik) for _ in range(runs)]
        seconds = statistics.median(t[0] for t in times)
        peak = max(t[1] for t in times)
        print(f"  dravik load + Jov_Length + exit: median {seconds:.3f} s, peak {peak:.0f} MB; "
              "ezdxf not installed (python3-ezdxf), no comparison")
        return
    ours, theirs = paired(dravik, ["/usr/bin/python3", "-c", READ_WITH_EZDXF, drawing], runs)
    for seconds, _, out in ours:
        if "result: 0" not in out:
            sys.exit(f"dravik did not measure the line:\n{out}")
    ezdxf_seconds = [float(out.strip().splitlines()[-1]) for _, _, out in theirs]
    ratios = [e / d[0] for e, d in zip(ezdxf_seconds, ours)]
    median_ratio, slowest_ratio = statistics.median(ratios), min(ratios)
    seconds = statistics.median(t[0] for t in ours)
    peak = max(t[1] for t in ours)
    print(f"  dravik load + Jov_Length + exit: median {seconds:.3f} s ({megabytes / seconds:.0f} MB/s), "
          f"peak {peak:.0f} MB = {peak / megabytes:.2f} x the file "
          f"(target at most {TARGET_PEAK_PER_FILE:g} x: {verdict(peak / megabytes <= TARGET_PEAK_PER_FILE)})")
    print(f"  ezdxf readfile: median {statistics.median(ezdxf_seconds):.2f} s, "
          f"peak {max(t[1] for t in theirs):.0f} MB")
    slowest = f"slowest pair {slowest_ratio:.1f} x"
    if slowest_target:
        slowest += f" (target at least {slowest_target:g} x: {verdict(slowest_ratio >= slowest_target)})"
    print(f"  ratio over {runs} pairs: median {median_ratio:.1f} x (target at least {median_target:g} x: "
          f"{verdict(median_ratio >= median_target)}), {slowest}")


def compare_insert(modules, drawing, folder, runs):
    """One product inserted and the drawing saved, against loading and saving
    the drawing unchanged (bench_DrawingLoad --load-save, a process of its
    own: dravik writes nothing when nothing changed)."""
    megabytes = os.path.getsize(drawing) / 1e6
    insert = [os.path.join(modules, "dravik"), "--drawing", drawing, "--profile",
              os.path.join(folder, "profile")] + PRODUCT_REQUEST + [
              "--insert", "1000", "500", "--out", os.path.join(folder, "inserted.dxf")]
    unchanged = [os.path.join(modules, "bench_DrawingLoad"), "--load-save", drawing,
                 os.path.join(folder, "unchanged.dxf")]
    changed, plain = paired(insert, unchanged, runs)
    if "drawing: written" not in changed[-1][2]:
        sys.exit(f"dravik did not write the inserted product:\n{changed[-1][2]}")
    ratios = [c[0] / p[0] for c, p in zip(changed, plain)]
    peak = max(t[1] for t in changed)
    print(f"  one product inserted and saved: median {statistics.median(t[0] for t in changed):.3f} s, "
          f"loaded and saved unchanged {statistics.median(t[0] for t in plain):.3f} s; median ratio "
          f"{statistics.median(ratios):.2f} x (target at most {TARGET_INSERT_RATIO:g} x: "
          f"{verdict(statistics.median(ratios) <= TARGET_INSERT_RATIO)}), peak {peak:.0f} MB = "
          f"{peak / megabytes:.2f} x the file (target at most {TARGET_INSERT_PEAK_PER_FILE:g} x: "
          f"{verdict(peak / megabytes <= TARGET_INSERT_PEAK_PER_FILE)})")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("modules")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--drawing")
    parser.add_argument("--only", choices=[d[0] for d in DRAWINGS])
    args = parser.parse_args()
    if args.runs < 1:
        sys.exit("--runs takes a count of at least 1")
    modules = os.path.abspath(args.modules)
    with tempfile.TemporaryDirectory(prefix="drawing-load-") as folder:
        if args.drawing:
            drawing = os.path.abspath(args.drawing)
            compare_load(modules, drawing, first_line_handle(drawing), drawing, folder, args.runs)
            return 0
        for name, title, extra, median_target, slowest_target in DRAWINGS:
            if args.only and name != args.only:
                continue
            drawing = os.path.join(folder, name + ".dxf")
            written = subprocess.run([os.path.join(modules, "bench_DrawingLoad"), "--write-drawing", drawing]
                                     + extra, capture_output=True, text=True)
            if written.returncode != 0:
                sys.exit(f"cannot write the drawing: {written.stderr}")
            if name == "twin":
                make_ascii_twin(drawing)
            compare_load(modules, drawing, written.stdout.strip(), title, folder, args.runs, median_target,
                         slowest_target)
            if not extra:
                compare_insert(modules, drawing, folder, args.runs)
            # Each drawing is let go of before the next is written.
            os.remove(drawing)
    return 0


if __name__ == "__main__":
    sys.exit(main())
