#!/usr/bin/env python3
"""Reads the undo archives that the HostCheckedUndo tests left in the test prefix with Python's
zipfile, an independent reader. Each folder's python/undo-check.txt lists, per line, an archive
of the folder, an entry name and a file with the bytes expected: every listed archive must hold
exactly those entries, each passing its CRC check, carrying the UTF-8 name flag and holding
one of the expected contents for its name."""
import collections
import pathlib
import sys
import zipfile


def check(folder):
    manifest = folder / "python" / "undo-check.txt"
    if not manifest.exists():
        return [f"{manifest} is missing: did the test run?"]
    expected = collections.defaultdict(lambda: collections.defaultdict(list))
    for line in manifest.read_text(encoding="utf-8").splitlines():
        archive, name, copy = line.split("\t")
        expected[archive][name].append((folder / "python" / copy).read_bytes())
    problems = []
    for archive_name, entries in sorted(expected.items()):
        with zipfile.ZipFile(folder / archive_name) as archive:
            bad = archive.testzip()
            if bad is not None:
                problems.append(f"{archive_name}: bad CRC in {bad}")
            infos = archive.infolist()
            names = collections.Counter(info.filename for info in infos)
            wanted = collections.Counter({name: len(copies) for name, copies in entries.items()})
            if names != wanted:
                problems.append(f"{archive_name}: entries differ: extra {sorted(names - wanted)}, "
                                f"missing {sorted(wanted - names)}")
            for info in infos:
                if not info.flag_bits & 0x800:
                    problems.append(f"{archive_name}: {info.filename}: no UTF-8 flag")
                if archive.read(info) not in entries.get(info.filename, []):
                    problems.append(f"{archive_name}: {info.filename}: bytes differ")
    return problems


def main(folders):
    failed = False
    for folder in map(pathlib.Path, folders):
        problems = check(folder)
        print(f"{folder.parent.name}: {'ok' if not problems else 'FAILED'}")
        for problem in problems:
            print("  " + problem)
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
