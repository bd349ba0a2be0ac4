#!/usr/bin/python3
"""Checks the layout of a section drawn into ORIGINAL and saved as SAVED:
ezdxf's auditor finds no error, each new insert's box keeps at least GAP
(drawing units) in x from its neighbours, no two new pipes of one layer
run over each other, and with --joined every new insert is joined to the
others through the pipes of each pipe layer (pipes meeting end to end or
at a tee, through junction circles, into an insert's box, or for a branch
start, whose own drops are not drawn, under it).

  check_section_layout.py ORIGINAL SAVED GAP [--joined] [--picture FILE.png]

--picture draws the new entities as a PNG picture for people to look at.
Prints one line per failed expectation and exits with 1 when there is one."""
import struct
import sys
import zlib

from ezdxf import bbox, path, recover

TOL = 1e-3
FAILURES = []


def expect(condition, what):
    if not condition:
        FAILURES.append(what)


def value(insert, key):
    values = [t.value for t in insert.get_xdata("JOV_DATA")] if insert.has_xdata("JOV_DATA") else []
    return next((v for k, v in zip(values, values[1:]) if k == key), "")


def is_branch_start(insert):
    """A branch start's own drops are not drawn: the run ends under it."""
    flags = value(insert, "_TYPE")
    return flags.isdigit() and int(flags) & 0x200081 == 0x200081


def name(insert):
    return f"{insert.dxf.handle} (branch {value(insert, '_NUM_BRANCH')})"


def boxes(inserts):
    out = []
    for insert in inserts:
        box = bbox.extents([insert])
        if box.has_data:
            out.append((box.extmin.x, box.extmax.x, box.extmin.y, box.extmax.y, insert))
    return sorted(out, key=lambda b: b[0])


def check_gaps(placed, gap):
    for (_, right, _, _, a), (left, _, _, _, b) in zip(placed, placed[1:]):
        expect(left - right >= gap - TOL, f"{name(a)} and {name(b)} {left - right:.1f} apart, not {gap}")


def segments(pipe):
    points = [(p[0], p[1]) for p in pipe.get_points()]
    return list(zip(points, points[1:]))


def check_pipes(pipes):
    runs = {}
    for pipe in pipes:
        for (x0, y0), (x1, y1) in segments(pipe):
            if abs(y0 - y1) < TOL:
                runs.setdefault(pipe.dxf.layer, []).append((round(y0, 3), min(x0, x1), max(x0, x1), pipe))
    for layer, run in runs.items():
        for i, (y, a0, a1, p) in enumerate(run):
            for y2, b0, b1, q in run[i + 1:]:
                overlap = min(a1, b1) - max(a0, b0)
                expect(y != y2 or overlap <= TOL,
                       f"{layer} pipes {p.dxf.handle} and {q.dxf.handle} overlap by {overlap:.1f} at y {y}")


def on_segment(p, a, b):
    (px, py), (ax, ay), (bx, by) = p, a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return (ax + t * dx - px) ** 2 + (ay + t * dy - py) ** 2 < TOL * TOL


def check_joined(pipes, circles, placed, gap):
    for layer in sorted({p.dxf.layer for p in pipes}):
        mine = [p for p in pipes if p.dxf.layer == layer]
        parent = list(range(len(mine) + len(circles) + len(placed)))

        def find(i):
            while parent[i] != i:
                parent[i] = parent[parent[i]]
                i = parent[i]
            return i

        def join(i, j):
            parent[find(i)] = find(j)

        ends = [[(p[0], p[1]) for p in pipe.get_points()] for pipe in mine]
        for i, points in enumerate(ends):
            for j, pipe in enumerate(mine):
                if i != j and any(on_segment(v, a, b) for v in points for a, b in segments(pipe)):
                    join(i, j)
            for k, circle in enumerate(circles):
                c, r = circle.dxf.center, circle.dxf.radius
                if any(abs(((v[0] - c.x) ** 2 + (v[1] - c.y) ** 2) ** 0.5 - r) < TOL for v in points):
                    join(i, len(mine) + k)
            for k, (x0, x1, y0, y1, insert) in enumerate(placed):
                # Into the box; under a branch start, on its columns.
                low, side = (-1e300, gap / 2) if is_branch_start(insert) else (y0 - TOL, TOL)
                if any(x0 - side <= v[0] <= x1 + side and low <= v[1] <= y1 + TOL for v in (points[0], points[-1])):
                    join(i, len(mine) + len(circles) + k)
        first = len(mine) + len(circles)
        for k, (_, _, _, _, insert) in enumerate(placed):
            expect(find(first + k) == find(first), f"{name(insert)} not joined to {name(placed[0][4])} on {layer}")


COLOURS = {"PIPE_S": (200, 0, 0), "PIPE_R": (0, 0, 200)}


def picture(entities, file_name, width=1600):
    """The entities' lines (blocks resolved, curves flattened) as a PNG
    picture, pipes in their colours; texts are left out."""
    strokes = []

    def flat(entity):
        if entity.dxftype() == "INSERT":
            for e in entity.virtual_entities():
                yield from flat(e)
        elif entity.dxftype() != "TEXT":
            yield entity

    for entity in entities:
        for e in flat(entity):
            try:
                points = [(v.x, v.y) for v in path.make_path(e).flattening(1.0)]
            except (TypeError, ValueError):
                continue
            strokes.append((COLOURS.get(e.dxf.layer, (0, 0, 0)), points))
    xs = [p[0] for _, points in strokes for p in points]
    ys = [p[1] for _, points in strokes for p in points]
    if not xs:
        return
    margin = 20
    scale = (width - 2 * margin) / max(max(xs) - min(xs), 1.0)
    height = int((max(ys) - min(ys)) * scale) + 2 * margin
    pixels = bytearray(b"\xff" * (width * height * 3))

    def dot(x, y, colour):
        if 0 <= x < width and 0 <= y < height:
            pixels[(y * width + x) * 3:(y * width + x) * 3 + 3] = bytes(colour)

    for colour, points in strokes:
        screen = [(margin + (x - min(xs)) * scale, height - margin - (y - min(ys)) * scale) for x, y in points]
        for (x0, y0), (x1, y1) in zip(screen, screen[1:]):
            steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
            for i in range(steps + 1):
                t = i / steps
                dot(round(x0 + t * (x1 - x0)), round(y0 + t * (y1 - y0)), colour)
    rows = b"".join(b"\0" + bytes(pixels[y * width * 3:(y + 1) * width * 3]) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(file_name, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def main(args):
    original_path, saved_path, gap = args[0], args[1], float(args[2])
    original, _ = recover.readfile(original_path)
    saved, auditor = recover.readfile(saved_path)
    expect(not auditor.has_errors, f"auditor errors: {[str(e.message) for e in auditor.errors]}")
    before = {e.dxf.handle for e in original.modelspace()}
    new = [e for e in saved.modelspace() if e.dxf.handle not in before]
    placed = boxes([e for e in new if e.dxftype() == "INSERT"])
    expect(len(placed) >= 2, f"{len(placed)} new inserts")
    check_gaps(placed, gap)
    pipes = [e for e in new if e.dxftype() == "LWPOLYLINE"]
    check_pipes(pipes)
    if "--joined" in args:
        check_joined(pipes, [e for e in new if e.dxftype() == "CIRCLE"], placed, gap)
    if "--picture" in args:
        picture(new, args[args.index("--picture") + 1])
    for failure in FAILURES:
        print(failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
