"""What the fixture scripts of this folder share: a new drawing set up for
the system's network entities, and the "JOV_DATA" tags of a type code and
its key/value properties."""
import ezdxf


def new_network_drawing(insunits):
    """An R2000 drawing in code page 1250 with the system's applications
    registered; insunits 4 millimetres, 6 metres."""
    doc = ezdxf.new("R2000", setup=False)
    doc.header["$INSUNITS"] = insunits
    doc.encoding = "cp1250"
    for app in ("JOV_DATA", "JOV_INSPT", "_VANTRIX", "JOV_LINK"):
        doc.appids.new(app)
    return doc


def branch_drawing():
    """A millimetre drawing with the layer NET and the block JOV_TCD that
    the branch fixtures' inserts show."""
    doc = new_network_drawing(4)
    doc.layers.add("NET", color=3)
    block = doc.blocks.new(name="JOV_TCD")
    block.add_line((-40, 0), (40, 0))
    block.add_line((0, -25), (0, 25))
    return doc


def jov_data(type_code, props):
    tags = [(1000, type_code)]
    for key, value in props:
        tags += [(1000, key), (1000, value)]
    return tags
