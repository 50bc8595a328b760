#!/usr/bin/env python3
"""Exports every model of Debian's assimp-testmodels with a preview and names those whose preview
is blank: a model that exports geometry should show it. Run by hand (it takes minutes), not in CI:

    scripts/preview-corpus.py [--host build/normal/bin/lumeno-host] [--keep DIR]

A picture counts as blank when fewer than 0.01% of its pixels differ from the scene's background.
Blank previews are listed with whose camera they were drawn from: the model's own camera (which
may look away from everything) or the framing camera the import adds to a model without one.
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

MODELS = "/usr/share/assimp/models"


def png_pixels(path):
    """Width, height and rows of RGB bytes of an 8-bit RGB PNG without interlacing (as lumeno-host writes)."""
    data = open(path, "rb").read()
    pos, idat = 8, b""
    width = height = 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                raise ValueError(f"{path}: not 8-bit RGB")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride, rows, previous = width * 3, [], bytearray(width * 3)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(stride):
            left = row[i - 3] if i >= 3 else 0
            up = previous[i]
            upper_left = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upper_left)) & 255
        rows.append(row)
        previous = row
    return width, height, rows


def background(scene_text):
    match = re.search(r"<background>\s*<radiance>([^<]*)</radiance>", scene_text)
    values = [float(v) for v in match.group(1).split()] if match else [0, 0, 0]
    return tuple(round(min(max(v, 0.0), 1.0) * 255) for v in values)


def shown_share(picture, back):
    width, height, rows = png_pixels(picture)
    shown = 0
    for row in rows:
        for x in range(0, width * 3, 3):
            if max(abs(row[x] - back[0]), abs(row[x + 1] - back[1]), abs(row[x + 2] - back[2])) > 2:
                shown += 1
    return shown / float(width * height)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="build/normal/bin/lumeno-host")
    parser.add_argument("--keep", help="folder to keep the scenes and pictures in")
    args = parser.parse_args()
    if not os.path.isdir(MODELS):
        sys.exit(f"{MODELS} is missing: install assimp-testmodels")
    out = args.keep or tempfile.mkdtemp(prefix="preview-corpus-")
    os.makedirs(out, exist_ok=True)
    models = sorted(os.path.join(folder, name) for folder, _, names in os.walk(MODELS)
                    for name in names if "/invalid" not in folder)
    refused = with_geometry = 0
    blank = []
    for n, model in enumerate(models):
        scene, picture = os.path.join(out, f"{n}.xml"), os.path.join(out, f"{n}.png")
        try:
            result = subprocess.run([args.host, "export", model, "-o", scene, "--preview", picture],
                                    capture_output=True, text=True, errors="replace", timeout=120)
        except subprocess.TimeoutExpired:
            blank.append((model, "the export took more than 120 s"))
            continue
        if result.returncode != 0 or not os.path.exists(scene):
            refused += 1
            continue
        text = open(scene, encoding="utf-8", errors="replace").read()
        if "<model>" not in text and "<meshlight>" not in text:
            continue
        with_geometry += 1
        if not os.path.exists(picture):
            blank.append((model, "no preview was drawn: " + result.stderr.strip().splitlines()[-1]))
            continue
        share = shown_share(picture, background(text))
        if share < 0.0001:
            camera = "the framing camera" if "has no camera" in result.stderr else "the model's own camera"
            blank.append((model, f"{share:.4%} of the picture differs from the background ({camera}; {picture})"))
    for model, why in blank:
        print(f"blank: {model}: {why}")
    print(f"{len(models)} files: {with_geometry} exported geometry, {len(blank)} of them with a blank preview; "
          f"{refused} refused or not models; pictures in {out}")


if __name__ == "__main__":
    main()
