#!/usr/bin/env python3
"""Reads the archives that the HostCheckedZip tests left in the test prefix with Python's
zipfile, an independent reader: every entry must pass its CRC check, carry the UTF-8 name
flag, and hold the bytes the test expected (listed in python/python-check.txt)."""
import collections
import pathlib
import sys
import zipfile


def check(folder):
    manifest = folder / "python" / "python-check.txt"
    if not manifest.exists():
        return [f"{manifest} is missing: did the test run?"]
    lines = manifest.read_text(encoding="utf-8").splitlines()
    expected = collections.defaultdict(list)
    for line in lines[1:]:
        name, copy = line.split("\t")
        expected[name].append((folder / "python" / copy).read_bytes())
    problems = []
    with zipfile.ZipFile(folder / lines[0]) as archive:
        bad = archive.testzip()
        if bad is not None:
            problems.append(f"bad CRC in {bad}")
        infos = archive.infolist()
        names = collections.Counter(info.filename for info in infos)
        wanted = collections.Counter({name: len(copies) for name, copies in expected.items()})
        if names != wanted:
            problems.append(f"entries differ: extra {sorted(names - wanted)}, missing {sorted(wanted - names)}")
        for info in infos:
            if not info.flag_bits & 0x800:
                problems.append(f"{info.filename}: no UTF-8 flag")
            if archive.read(info) not in expected.get(info.filename, []):
                problems.append(f"{info.filename}: bytes differ")
    return problems


def main(folders):
    failed = False
    for folder in map(pathlib.Path, folders):
        problems = check(folder)
        print(f"{folder.name}: {'ok' if not problems else 'FAILED'}")
        for problem in problems:
            print("  " + problem)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
