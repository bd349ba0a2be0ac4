"""Products as a catalogue's source text gives them, for the checks of
drawings with ezdxf: an INSERT the plug-in drew from the product library
must show its item's view B (the entities off DEFPOINTS, regenerated from
the parameter values its data carries when the item is parametric) and
carry the item's extended data.

Only the catalogue text is read, never the built catalogue: the checks
compare the drawing with what the catalogue says, not with what the code
made of it. Regeneration is followed for LINE, CIRCLE and LWPOLYLINE: every
point that is a definition point takes its formula's value (a circle's
radius follows when its centre and its rim point at angle 0 both do); other
entities are compared by type, and an ARC by its numbers when the item is
not parametric.

  catalogue = Catalogue("platform/catalogue/data/T.cat")
  errors = catalogue.check_insert(doc, insert, {"L": "600"})"""
import math

VIEWS = {"A": 0, "B": 1, "C": 2, "3D": 3}
PARAMETRIC = 1 << 27
# Parameter type status bits: computed or reported without a formula of
# their own are left out of the extended data.
COMPUTED, FORMULA = 1 | 2, 32 | 64
NEAR = 0.01  # how close a point lies to its definition point
SAME = 1e-6  # how close a drawn number is to the wanted one


def caret(text):
    """A text value as the host reads it back: ^J a line feed, "^ " a caret."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "^" and i + 1 < len(text) and text[i + 1] == " ":
            out.append("^")
            i += 2
        elif text[i] == "^" and i + 1 < len(text) and 0x40 <= ord(text[i + 1]) < 0x60:
            out.append(chr(ord(text[i + 1]) - 0x40))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def jov_data(entity):
    """The type code and the key/value pairs of an entity's JOV_DATA."""
    if not entity.has_xdata("JOV_DATA"):
        return None, {}
    tags = [caret(value) for _, value in entity.get_xdata("JOV_DATA")]
    return tags[0], dict(zip(tags[1::2], tags[2::2]))


class Entity:
    """One entity of a view: its type and its group codes in order."""

    def __init__(self, kind):
        self.kind = kind
        self.groups = []

    def first(self, code, default=None):
        return next((v for c, v in self.groups if c == code), default)

    def real(self, code, default=0.0):
        return float(self.first(code, default))

    def point(self, code):
        return (self.real(code), self.real(code + 10), self.real(code + 20))

    def on_defpoints(self):
        return self.first(8, "0").upper() == "DEFPOINTS"

    def connection(self):
        """A connection point: a DEFPOINTS entity in colour 7 (or none)."""
        return self.on_defpoints() and int(self.first(62, 7)) == 7


class Item:
    def __init__(self):
        self.values = {}
        self.blocks = {}

    @property
    def id(self):
        return self.values["id"]

    @property
    def type(self):
        return int(self.values.get("type", "0"), 0)

    @property
    def status(self):
        return int(self.values.get("status", "0"), 0)

    def params(self):
        """(name, type id, value, default) of each parameter."""
        rows = []
        for line in self.blocks.get("params", []):
            fields = line.split("|")
            if len(fields) >= 5:
                rows.append((fields[0], int(fields[2]), fields[3], fields[4]))
        return rows

    def geometry(self, view):
        entities = []
        for line in self.blocks.get("dxf" + view, []):
            text = line.strip()
            if not text or text.startswith("#"):
                continue
            code, _, value = text.partition(" ")
            if code == "0":
                entities.append(Entity(value))
            elif entities:
                entities[-1].groups.append((int(code), value))
        return entities

    def formulas(self, view):
        """The view's definition points as formula triples (none when the
        item is not parametric)."""
        lines = self.blocks.get("par" + view, [])
        return [tuple(line.split("|")) for line in lines[1:] if line.count("|") == 2]

    def view_points(self, view, values):
        """The view's group of the points text as the extended data holds it:
        the count, then four lines a point, a line of "#" names replaced by
        their values joined by "/"."""
        lines = self.blocks.get("points", [])
        at, out = 0, []
        for group in range(VIEWS[view] + 1):
            if at >= len(lines):
                break
            count = int(lines[at])
            take = lines[at:at + 1 + 4 * count]
            at += 1 + 4 * count
            if group == VIEWS[view]:
                out = take
        for i in range(1, len(out), 4):
            if out[i].startswith("#"):
                out[i] = "/".join(values.get(name.lstrip("#"), "") for name in out[i].split("/"))
        return "".join(line + "\n" for line in out)


class Catalogue:
    def __init__(self, path):
        self.items, self.properties, self.computed = {}, [], set()
        names = []
        section, item, block = None, None, None
        with open(path, encoding="utf-8") as source:
            for raw in source:
                line = raw.rstrip("\r\n")
                if block is not None:
                    if line.strip() == ">>":
                        block = None
                    else:
                        item.blocks[block].append(line)
                    continue
                text = line.strip()
                if not text or text.startswith("#"):
                    continue
                if text.startswith("[") and text.endswith("]"):
                    section = text[1:-1]
                    item = Item() if section == "item" else None
                    continue
                if item is not None and text.endswith("<<"):
                    block = text[:-2].strip()
                    item.blocks[block] = []
                elif item is not None and "=" in text:
                    key, _, value = text.partition("=")
                    item.values[key.strip()] = value.strip()
                    if key.strip() == "id":
                        self.items[value.strip()] = item
                elif section == "names":
                    fields = [f.strip() for f in text.split("|")]
                    if fields[0] == "PROP":
                        names.append((int(fields[1]), fields[3]))
                elif section == "partypes":
                    fields = [f.strip() for f in text.split("|")]
                    status = int(fields[2], 0) if len(fields) > 2 and fields[2] else 0
                    if status & COMPUTED and not status & FORMULA:
                        self.computed.add(int(fields[0]))
        self.properties = [name for _, name in sorted(names)]

    def item_of(self, code):
        """The item a type code stands for, its include flag aside."""
        if not code or len(code) < 8:
            return None
        return self.items.get(code[:7] + "-" + code[8:])

    def drawn_entities(self, item, values, view="B", pairs=False):
        """The entities an insert's block shows: those off DEFPOINTS, and the
        connection points, each regenerated from the values; with pairs each
        connection gives its points 10 and 11 (none: the origin)."""
        entities = item.geometry(view)
        formulas = item.formulas(view) if item.status & PARAMETRIC else []
        own = {name: self._number(value or default) for name, _, value, default in item.params()}
        given = dict(own, **{name: self._number(v) for name, v in values.items() if name in own})

        def evaluate(formula, names):
            return tuple(float(eval(f, {"__builtins__": {}}, names)) for f in formula)

        defined = [(evaluate(f, own), f) for f in formulas]

        def moved(point):
            for at, formula in defined:
                if max(abs(a - b) for a, b in zip(at, point)) <= NEAR:
                    return evaluate(formula, given), True
            return point, False

        drawn, connections = [], []
        for e in entities:
            if e.connection():
                connections.append(moved(e.point(10))[0])
                if pairs:
                    connections.append(moved(e.point(11))[0] if e.first(11) is not None else (0.0, 0.0, 0.0))
                continue
            if e.on_defpoints():
                continue
            shape = {"layer": e.first(8, "0"), "color": int(e.first(62, 256))}
            if e.kind == "LINE":
                shape.update(start=moved(e.point(10))[0], end=moved(e.point(11))[0])
            elif e.kind == "CIRCLE":
                centre, radius = e.point(10), e.real(40)
                new_centre, ok = moved(centre)
                rim, rim_ok = moved((centre[0] + radius, centre[1], centre[2]))
                if ok and rim_ok:
                    radius = math.dist(new_centre, rim)
                shape.update(center=new_centre, radius=radius)
            elif e.kind == "ARC" and not formulas:
                shape.update(center=e.point(10), radius=e.real(40), start_angle=e.real(50), end_angle=e.real(51))
            elif e.kind == "LWPOLYLINE":
                xs = [float(v) for c, v in e.groups if c == 10]
                ys = [float(v) for c, v in e.groups if c == 20]
                shape.update(points=[moved((x, y, 0.0))[0][:2] for x, y in zip(xs, ys)],
                             closed=int(e.first(70, 0)) & 1)
            else:
                shape.update(unchecked=True)
            drawn.append((e.kind, shape))
        return drawn, connections

    @staticmethod
    def _number(text):
        try:
            return float(text)
        except ValueError:
            return 0.0

    def expected_data(self, item, values, view="B"):
        """The keys and values of the item's extended data."""
        data = {"_TYPE": str(item.type)}
        if item.blocks.get("points"):
            data["_PTS"] = item.view_points(view, values)
        for name, partype, value, default in item.params():
            if partype in self.computed:
                continue
            data[name] = values.get(name, value or default)
        lines = item.blocks.get("properties", [])
        for i, key in enumerate(self.properties[:4]):
            data[key] = lines[i] if i < len(lines) else ""
        return data

    def check_insert(self, doc, insert, wanted=None, view="B", pairs=False):
        """What differs between an insert, its block and its item; wanted
        holds parameter values the insert must carry, pairs says that
        JOV_INSPT holds two points a connection (the older section's)."""
        errors = []
        code, props = jov_data(insert)
        item = self.item_of(code)
        where = f"insert {insert.dxf.handle} ({code})"
        if item is None:
            return [f"{where}: no item of the catalogue"]
        if code[7] != "i":
            errors.append(f"{where}: the include flag is not set")
        for name, value in (wanted or {}).items():
            if props.get(name) != value:
                errors.append(f"{where}: {name} is {props.get(name)!r}, wanted {value!r}")
        values = {name: props[name] for name, _, _, _ in item.params() if name in props}
        for key, value in self.expected_data(item, values, view).items():
            if props.get(key) != value:
                errors.append(f"{where}: {key} is {props.get(key)!r}, the catalogue's {value!r}")

        drawn, connections = self.drawn_entities(item, values, view, pairs)
        block = doc.blocks.get(insert.dxf.name)
        shown = list(block) if block is not None else []
        if [e.dxftype() for e in shown] != [kind for kind, _ in drawn]:
            errors.append(f"{where}: block {insert.dxf.name} holds {[e.dxftype() for e in shown]}, "
                          f"the catalogue's {[kind for kind, _ in drawn]}")
        else:
            for entity, (kind, shape) in zip(shown, drawn):
                errors += [f"{where}: {kind} {problem}" for problem in self._differences(entity, shape)]
        inspt = [tuple(v) for c, v in insert.get_xdata("JOV_INSPT") if c == 1010] \
            if insert.has_xdata("JOV_INSPT") else []
        if len(inspt) != len(connections) or any(not _same(a, b) for a, b in zip(inspt, connections)):
            errors.append(f"{where}: JOV_INSPT {inspt}, the connection points {connections}")
        return errors

    @staticmethod
    def _differences(entity, shape):
        problems = []
        for name, wanted in shape.items():
            if name == "unchecked":
                continue
            if name == "points":
                now = [tuple(p) for p in entity.get_points("xy")]
            elif name == "closed":
                now = int(entity.closed)
            else:
                now = entity.dxf.get(name, 256 if name == "color" else None)
            if isinstance(wanted, (tuple, list)) and name == "points":
                ok = len(now) == len(wanted) and all(_same(a, b) for a, b in zip(now, wanted))
            elif isinstance(wanted, tuple):
                ok = now is not None and _same(tuple(now), wanted)
            elif isinstance(wanted, float):
                ok = now is not None and abs(now - wanted) <= SAME
            else:
                ok = now == wanted
            if not ok:
                problems.append(f"{name} {now}, the catalogue's {wanted}")
        return problems


def _same(a, b):
    return len(a) == len(b) and all(abs(x - y) <= SAME for x, y in zip(a, b))
