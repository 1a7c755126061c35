#!/usr/bin/env python3
"""Writes the undo benchmark's input: COUNT files of mixed sizes (many small, some medium, a
few large; about TOTAL bytes in all), half compressible text and half random bytes, the same
for every seed.
  make_undo_files.py FOLDER [COUNT] [TOTAL]"""
import pathlib
import random
import sys


def sizes(rng, count, total):
    raw = []
    for i in range(count):
        kind = i % 20
        if kind < 14:
            raw.append(rng.randint(200, 40_000))
        elif kind < 19:
            raw.append(rng.randint(40_000, 600_000))
        else:
            raw.append(rng.randint(1_000_000, 4_000_000))
    scale = total / sum(raw)
    return [max(1, int(size * scale)) for size in raw]


def text(rng, size):
    words = [b"temp", b"cache", b"index", b"record", b"value", b"session", b"1234", b"\r\n"]
    out = bytearray()
    while len(out) < size:
        out += b" ".join(rng.choice(words) for _ in range(64)) + b"\r\n"
    return bytes(out[:size])


def main(folder, count=2000, total=200_000_000):
    rng = random.Random(2009)
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    for i, size in enumerate(sizes(rng, count, total)):
        compressible = rng.random() < 0.5
        data = text(rng, size) if compressible else rng.randbytes(size)
        (folder / f"f{i:04d}.{'log' if compressible else 'bin'}").write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1], *map(int, sys.argv[2:]))
