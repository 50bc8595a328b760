#!/usr/bin/env python3
"""Writes a generated scene twice: as a lumeno-host document (JSON) and as the same geometry in
world space as one OBJ file, for bench/command_bench.sh.

  make_bench_scene.py boxes N OUT.json OUT.obj      N boxes of 8 points and 6 quads (12 triangles)
  make_bench_scene.py group N OUT.json OUT.obj      the same N boxes, all children of one null object
  make_bench_scene.py grids T N OUT.json OUT.obj    T triangles in N flat grid objects
  make_bench_scene.py chain N OUT.json OUT.obj      N boxes, each the child of the one before
  make_bench_scene.py merged N OUT.json OUT.obj     N boxes named longer than a 3DS name can be,
                                                    under a render-settings tag of the merged strategy
  make_bench_scene.py mergedgrids T N OUT.json OUT.obj   the grids, under that tag
"""
import sys

MATERIALS = 4
BOX_POINTS = [(-10, -10, -10), (10, -10, -10), (10, 10, -10), (-10, 10, -10),
              (-10, -10, 10), (10, -10, 10), (10, 10, 10), (-10, 10, 10)]
BOX_QUADS = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]


def grid(columns, rows):
    points = [(c * 0.5, 0, r * 0.5) for r in range(rows + 1) for c in range(columns + 1)]
    quads = []
    for r in range(rows):
        for c in range(columns):
            p = r * (columns + 1) + c
            quads.append((p, p + columns + 1, p + columns + 2, p + 1))
    return points, quads


def number(v):
    return repr(v) if isinstance(v, float) else str(v)


class Writer:
    def __init__(self, json_path, obj_path, name="Object %d"):
        self.json = open(json_path, "w")
        self.obj = open(obj_path, "w")
        self.base = 1
        self.name = name
        materials = ", ".join('{"name": "M%d", "channels": {"0": {"on": true}}, "params": {"2100": [0.5, 0.5, 0.5]}}' % i
                              for i in range(MATERIALS))
        self.json.write('{"materials": [%s],\n "objects": [\n' % materials)

    def object_head(self, index, position, points, quads):
        j = self.json
        j.write('{"type": "polygon", "name": "%s", "position": [%s, %s, %s],\n' % ((self.name % index,) + tuple(map(number, position))))
        j.write(' "points": [' + ", ".join("[%s, %s, %s]" % tuple(map(number, p)) for p in points) + '],\n')
        j.write(' "polygons": [' + ", ".join("[%d, %d, %d, %d]" % q for q in quads) + '],\n')
        j.write(' "tags": [{"type": "texture", "material": "M%d"}]' % (index % MATERIALS))

    def obj_object(self, index, world, points, quads):
        o = self.obj
        o.write("o Object%d\n" % index)
        o.write("".join("v %s %s %s\n" % (number(p[0] + world[0]), number(p[1] + world[1]), number(p[2] + world[2]))
                        for p in points))
        b = self.base
        o.write("".join("f %d %d %d %d\n" % (q[0] + b, q[1] + b, q[2] + b, q[3] + b) for q in quads))
        self.base += len(points)

    def merged_settings(self):
        """A null object whose render-settings tag turns the merged strategy on."""
        self.json.write(',\n{"type": "null", "name": "Settings", "tags": [{"type": "Lumeno Render Settings", '
                        '"params": {"LCFG_MERGED_MESH_EXPORT": true}}]}')

    def close(self):
        self.json.write("\n]}\n")
        self.json.close()
        self.obj.close()


def main():
    kind = sys.argv[1]
    if kind in ("grids", "mergedgrids"):
        triangles, count = int(sys.argv[2]), int(sys.argv[3])
        out = Writer(sys.argv[4], sys.argv[5])
        quads = triangles // 2 // count
        columns = min(1000, quads)
        points, polygons = grid(columns, quads // columns)
        for i in range(count):
            position = ((i % 100) * 600.0, 0, (i // 100) * 600.0)
            out.object_head(i, position, points, polygons)
            out.json.write("}" + (",\n" if i + 1 < count else ""))
            out.obj_object(i, position, points, polygons)
        if kind == "mergedgrids":
            out.merged_settings()
    else:
        count = int(sys.argv[2])
        # Every merged box's name is cut to the 10 bytes of a 3DS name: "Object 00042".
        out = Writer(sys.argv[3], sys.argv[4], "Object %05d" if kind == "merged" else "Object %d")
        if kind == "group":
            out.json.write('{"type": "null", "name": "Group", "children": [\n')
        for i in range(count):
            if kind in ("boxes", "group", "merged"):
                position = ((i % 100) * 30, 0, (i // 100) * 30)
                out.object_head(i, position, BOX_POINTS, BOX_QUADS)
                out.json.write("}" + (",\n" if i + 1 < count else ""))
                out.obj_object(i, position, BOX_POINTS, BOX_QUADS)
            else:  # chain: each box 30 to the right of its parent
                out.object_head(i, (30 if i else 0, 0, 0), BOX_POINTS, BOX_QUADS)
                out.json.write(',\n "children": [' if i + 1 < count else "")
                out.obj_object(i, (30 * i, 0, 0), BOX_POINTS, BOX_QUADS)
        if kind == "chain":
            out.json.write("}" + "]}" * (count - 1))
        elif kind == "group":
            out.json.write("]}")
        elif kind == "merged":
            out.merged_settings()
    out.close()


main()
