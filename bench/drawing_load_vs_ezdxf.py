#!/usr/bin/python3
"""Times a whole `dravik` run on the benchmarks' large drawing (load, the
length command on one LINE, exit) and, when ezdxf is installed, ezdxf's
readfile on the same file, and prints the ratio.

    drawing_load_vs_ezdxf.py MODULE_FOLDER [RUNS]

MODULE_FOLDER holds dravik, the plug-in and bench_DrawingLoad (which writes
the drawing). Each side runs in a process of its own so that its peak
memory is its own; times are the best of RUNS (default 3) runs."""
import os
import subprocess
import sys
import tempfile
import time

TARGET_RATIO = 25.0
TARGET_PEAK_PER_FILE = 4.0

READ_WITH_EZDXF = """
import sys, time
import ezdxf
start = time.perf_counter()
ezdxf.readfile(sys.argv[1])
print(time.perf_counter() - start)
"""


def best_run(command, runs):
    """Best wall time, peak resident MB over the runs, and the last stdout."""
    best, peak, out = None, 0.0, ""
    for _ in range(runs):
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
                sys.exit(f"{command[0]} failed: {stderr.read().decode(errors='replace')}")
        best = seconds if best is None else min(best, seconds)
        peak = max(peak, usage.ru_maxrss * 1024 / 1e6)  # KiB to MB
    return best, peak, out


def has_ezdxf():
    result = subprocess.run(["/usr/bin/python3", "-c", "import ezdxf"], capture_output=True)
    return result.returncode == 0


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    modules = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 3
    with tempfile.TemporaryDirectory(prefix="drawing-load-") as folder:
        drawing = os.path.join(folder, "network.dxf")
        written = subprocess.run([os.path.join(modules, "bench_DrawingLoad"), "--write-drawing", drawing],
                                 capture_output=True, text=True)
        if written.returncode != 0:
            sys.exit(f"cannot write the drawing: {written.stderr}")
        line = written.stdout.strip()
        megabytes = os.path.getsize(drawing) / 1e6

        dravik = [os.path.join(modules, "dravik"), "--drawing", drawing, "--select", line,
                  "--run", "Jov_Length", "--profile", os.path.join(folder, "profile")]
        seconds, peak, out = best_run(dravik, runs)
        if "result: 0" not in out:
            sys.exit(f"dravik did not measure the line:\n{out}")
        print(f"drawing: {megabytes:.1f} MB, 200,000 entities (R2010)")
        print(f"dravik load + Jov_Length + exit: {seconds:.3f} s ({megabytes / seconds:.0f} MB/s), "
              f"peak {peak:.0f} MB = {peak / megabytes:.2f} x the file "
              f"(target at most {TARGET_PEAK_PER_FILE:g} x: {'met' if peak / megabytes <= TARGET_PEAK_PER_FILE else 'MISSED'})")

        if not has_ezdxf():
            print("ezdxf: not installed (python3-ezdxf), no comparison")
            return 0
        ezdxf_runs = max(1, runs // 3)
        _, ezdxf_peak, ezdxf_out = best_run(["/usr/bin/python3", "-c", READ_WITH_EZDXF, drawing], ezdxf_runs)
        ezdxf_seconds = float(ezdxf_out.strip().splitlines()[-1])
        ratio = ezdxf_seconds / seconds
        print(f"ezdxf readfile: {ezdxf_seconds:.2f} s ({megabytes / ezdxf_seconds:.1f} MB/s), peak {ezdxf_peak:.0f} MB")
        print(f"ratio: dravik's whole run is {ratio:.1f} x faster than ezdxf's readfile "
              f"(target at least {TARGET_RATIO:g} x: {'met' if ratio >= TARGET_RATIO else 'MISSED'})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
