#!/usr/bin/env python3
"""Writes the damaged models of the end-to-end tests into this folder, from the real models of
Debian's assimp-testmodels (/usr/share/assimp/models) and by hand. Each crashes, aborts or hangs
assimp 5.2 while reading it."""
import os

MODELS = "/usr/share/assimp/models/"
here = os.path.dirname(os.path.abspath(__file__))


def damaged(source, name, edits):
    data = bytearray(open(MODELS + source, "rb").read())
    for offset, value in edits:
        data[offset] = value
    open(os.path.join(here, name), "wb").write(bytes(data))


# A NUL in the node list: the reader never reaches the end of the section.
damaged("SMD/triangle.smd", "hang.smd", [(18, 0x00)])
# One byte of the package's zip directory: the reader asserts that it found the model's part.
damaged("3MF/box.3mf", "abort.3mf", [(105, 0xFF)])
# A mesh that declares 12 faces and lists none: the reader goes through faces that are not there.
open(os.path.join(here, "crash.ase"), "wb").write(
    b"*GEOMOBJECT {\n\t*NODE_TM {\n\t}\n\t*MESH {\n\t\t*MESH_NUMFACES 12\n\t\t*MESH_VERTEX_LIST {\n\t\t}\n"
    b"\t\t*MESH_FACE_LIST {\n\t\t}\n\t}")
