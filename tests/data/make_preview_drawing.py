#!/usr/bin/python3
"""Writes preview.dxf, the drawing the preview's end-to-end tests show (in
millimetres), under a user coordinate system whose origin lies at
(10000, 0) of the world's:

  a LINE, a CIRCLE, an ARC, a closed LWPOLYLINE bulged at every vertex, a
  TEXT, a LINE on the construction layer "Defpoints", a LINE of no length
  and a TEXT with nothing to say, in that order.

Run with Debian's python3 (python3-ezdxf). The drawing is committed; this
script documents how it was made and prints the entities' handles."""
import ezdxf

doc = ezdxf.new("R2010")
doc.header["$UCSORG"] = (10000, 0, 0)
doc.header["$UCSXDIR"] = (1, 0, 0)
doc.header["$UCSYDIR"] = (0, 1, 0)
msp = doc.modelspace()
made = [
    ("line", msp.add_line((10000, 0), (11000, 0))),
    ("circle", msp.add_circle((11500, 0), 250)),
    ("arc", msp.add_arc((12500, 0), 300, 0, 180)),
    ("bulged square", msp.add_lwpolyline(
        [(13500, -250, 0, 0, 0.4), (14000, -250, 0, 0, 0.4), (14000, 250, 0, 0, 0.4), (13500, 250, 0, 0, 0.4)],
        format="xyseb", close=True)),
    ("text", msp.add_text("V1", dxfattribs={"insert": (10000, 500), "height": 100})),
    ("construction line", msp.add_line((10000, -500), (14000, -500), dxfattribs={"layer": "Defpoints"})),
    ("line of no length", msp.add_line((10500, 100), (10500, 100))),
    ("empty text", msp.add_text("", dxfattribs={"insert": (12000, 500), "height": 100})),
]
doc.saveas("preview.dxf")
for what, entity in made:
    print(entity.dxf.handle, what)
