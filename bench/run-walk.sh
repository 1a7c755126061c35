#!/usr/bin/env bash
# A Clean PC drive walk over ~100,000 files in ~5,000 folders inside the build tree's prefix,
# against GNU find on the host with the same name tests, same tree, one run.
#   bench/run-walk.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x86_64}

[ -f "$build/libtidymate_core.a" ] || { echo "build $build first (cmake --build --preset x86_64)" >&2; exit 2; }
exe="$build/bench/walk_bench.exe"
mkdir -p "$build/bench"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
  -municode -I"$root/src" "$here/walk_bench.cpp" "$build/libtidymate_core.a" \
  -static -static-libgcc -static-libstdc++ -lole32 -loleaut32 -luuid -lshell32 -lshlwapi -ladvapi32 \
  -luser32 -lgdi32 -o "$exe"

export DISPLAY=${DISPLAY:-$("$root/scripts/xvfb-up")}
"$root/scripts/prefix-up" "$build"
source "$root/scripts/wine-env.sh" "$build"
tree="$WINEPREFIX/drive_c/tidymate-bench-walk"
rm -rf "$tree"
trap 'rm -rf "$tree"' EXIT

# 10 x 20 x 25 leaf folders with 20 files each; six names in twenty are Clean PC junk.
python3 - "$tree" <<'PY'
import os, sys
tree = sys.argv[1]
names = ["report.doc", "photo.jpg", "lib.dll", "data.dat", "notes.txt", "setup.inf", "song.mp3", "code.cpp",
         "page.htm", "sheet.xls", "image.png", "module.sys", "readme.md", "table.csv", "a.tmp", "b.bak",
         "~lock.doc", "old.old", "x.syd", "empty.inf"]
for a in range(10):
    for b in range(20):
        for c in range(25):
            folder = os.path.join(tree, f"top{a}", f"mid{b}", f"leaf{c}")
            os.makedirs(folder)
            for i, name in enumerate(names):
                stem, dot, ext = name.partition(".")
                with open(os.path.join(folder, f"{stem}{a}{b}{c}{dot}{ext}"), "wb") as f:
                    f.write(b"" if name == "empty.inf" else b"x")
PY
files=$(find "$tree" -type f | wc -l)
folders=$(find "$tree" -type d | wc -l)

# The names a Clean PC walk tests in every folder (categories taking part by default).
peer() {
  find "$tree" -type f \( -iname '*.tmp' -o -iname '*.bak' -o -iname '~*' -o -iname '*.gid' -o -iname '*.old' \
    -o \( -empty \( -iname '*.inf' -o -iname '*.cpy' \) \) -o -iname '复件 *' -o -iname '备份*' -o -iname '*.lnk' \
    -o -iname '*.~mp' -o -iname '*.$$$' -o -iname '*.temp' -o -iname '*.~*' -o -iname '*._mp' -o -iname '*.syd' \
    -o -iname '*.err' -o -iname '*.??~' -o -iname '*._detmp' -o -iname '*.dd_' -o -iname '*.$db' -o -iname '*.---' \
    -o -iname '*.~$~' -o -iname '*.bk?' -o -iname '*.db$' -o -iname '0*.nch' -o -iname '*.?~?' \
    -o -iname 'ShellIconCache' -o -iname 'ff*.tmp' -o -iname 'ffastun*.*' -o -iname '_ofidx*.*' \
    -o -iname 'index.dat' \) -print
}
peer >/dev/null  # both runs start with the tree in the page cache
start=$(date +%s.%N)
peer_found=$(peer | wc -l)
end=$(date +%s.%N)
peer_ms=$(echo "($end - $start) * 1000" | bc)

start=$(date +%s.%N)
read -r ours_ms found shown pumps listing_ms naive_ms naive_found < <("$root/scripts/wine-run" "$exe" 'C:\tidymate-bench-walk\' | tr -d '\r')
end=$(date +%s.%N)
wall_ms=$(echo "($end - $start) * 1000" | bc)

printf 'tree                       %d files in %d folders\n' "$files" "$folders"
printf 'find -iname ...            %8.0f ms  (%d files found)\n' "$peer_ms" "$peer_found"
printf 'drive walk, one listing    %8.0f ms  (%d findings, %d folders, %d pump calls)\n' "$ours_ms" "$found" "$shown" "$pumps"
printf 'listing alone (no tests)   %8.0f ms\n' "$listing_ms"
printf 'one listing per pattern    %8.0f ms  (%d findings; for comparison)\n' "$naive_ms" "$naive_found"
printf 'whole Wine process         %8.0f ms\n' "$wall_ms"
printf 'ratio walk / find          %8.2f\n' "$(echo "$ours_ms / $peer_ms" | bc -l)"
