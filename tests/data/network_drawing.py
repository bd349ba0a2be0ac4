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


def jov_data(type_code, props):
    tags = [(1000, type_code)]
    for key, value in props:
        tags += [(1000, key), (1000, value)]
    return tags
