"""Reads a DXF file with ezdxf and prints what a test compares: the audit result, the entity
counts of the modelspace and of each block, and every modelspace entity with its coordinates.
Run with /usr/bin/python3 (Debian's python3-ezdxf)."""
import sys

import ezdxf
from ezdxf import recover


def coords(e):
    t = e.dxftype()
    d = e.dxf
    if t == "LINE":
        return [d.start.x, d.start.y, d.start.z, d.end.x, d.end.y, d.end.z]
    if t in ("CIRCLE",):
        return [d.center.x, d.center.y, d.radius]
    if t == "ARC":
        return [d.center.x, d.center.y, d.radius, d.start_angle, d.end_angle]
    if t == "TEXT":
        return [d.insert.x, d.insert.y, d.height, d.width, d.rotation, d.oblique]
    if t == "SOLID":
        return [v for i in range(4) for v in (d.get("vtx%d" % i).x, d.get("vtx%d" % i).y)]
    if t == "INSERT":
        return [d.insert.x, d.insert.y, d.xscale, d.yscale, d.rotation]
    if t == "POLYLINE":
        out = [len(e.vertices)]
        for v in e.vertices:
            out += [v.dxf.location.x, v.dxf.location.y, v.dxf.bulge]
        return out
    return []


def main(path):
    doc, auditor = recover.readfile(path)
    audit = doc.audit()
    print("RECOVER %d %d" % (len(auditor.errors), len(auditor.fixes)))
    print("AUDIT %d %d" % (len(audit.errors), len(audit.fixes)))
    for err in list(auditor.errors) + list(audit.errors):
        print("ERROR %s" % err.message)
    for block in doc.blocks:
        if block.name.startswith("*"):
            continue
        counts = {}
        for e in block:
            counts[e.dxftype()] = counts.get(e.dxftype(), 0) + 1
        for t, n in sorted(counts.items()):
            print("BLOCK %s %s %d" % (block.name, t, n))
    counts = {}
    for e in doc.modelspace():
        counts[e.dxftype()] = counts.get(e.dxftype(), 0) + 1
        extra = e.dxf.text if e.dxftype() == "TEXT" else (e.dxf.name if e.dxftype() == "INSERT" else "")
        print("E %s %s %s|%s" % (e.dxftype(), e.dxf.layer, " ".join("%.6f" % v for v in coords(e)), extra))
    for t, n in sorted(counts.items()):
        print("MS %s %d" % (t, n))


if __name__ == "__main__":
    main(sys.argv[1])
