#!/usr/bin/env bash
# A Clean PC scan through the preview command over ~100,000 files in ~10,000 folders (10% junk,
# written 30 days ago) on the prefix's drive E:, against a bare FindFirstFileExW recursion of
# the same tree under the same Wine and GNU find on the host, one run. Also the memory of the
# results: peak working set after the scan beyond that of a scan of an empty E:, per finding.
#   bench/run-scan.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x86_64}

[ -f "$build/Tidymate.exe" ] || { echo "build $build first (cmake --build --preset x86_64)" >&2; exit 2; }
exe="$build/bench/enum_bench.exe"
mkdir -p "$build/bench"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
  -municode "$here/enum_bench.cpp" -static -static-libgcc -static-libstdc++ -o "$exe"

export DISPLAY=${DISPLAY:-$("$root/scripts/xvfb-up")}
"$root/scripts/prefix-up" "$build"
source "$root/scripts/wine-env.sh" "$build"
[ -d "$WINEPREFIX/test-drives/e" ] || { echo "no test drive E: in $WINEPREFIX" >&2; exit 2; }

tree="$WINEPREFIX/test-drives/e/scanbench"
aside="$WINEPREFIX/test-drives/scanbench-aside"
work="$WINEPREFIX/drive_c/tidymate-scanbench"
work_win='C:\tidymate-scanbench'
rm -rf "$tree" "$aside" "$work"
trap 'rm -rf "$tree" "$aside" "$work"' EXIT
mkdir -p "$work/bin" "$work/temp"
cp "$build/Tidymate.exe" "$work/bin/"
{
  printf '[DrivesSelected]\r\n'
  for letter in A B C D F G H I J K L M N O P Q R S T U V W X Y Z; do printf '%s:\\=0\r\n' "$letter"; done
  printf 'E:\\=1\r\n'
} >"$work/bin/Trimdex.ini"

# 10 x 10 x 100 leaf folders with 10 files each; one name in ten is junk. Everything was
# last written 30 days ago, so the 14-day time buffer keeps the junk.
python3 - "$tree" <<'PY'
import os, sys, time
tree = sys.argv[1]
old = time.time() - 30 * 86400
plain = ["report.doc", "photo.jpg", "lib.dll", "data.dat", "notes.txt", "song.mp3", "code.cpp", "page.htm",
         "sheet.xls"]
junk = ["a.tmp", "b.bak", "~lock.doc", "c.old", "d.gid"]
n = 0
for a in range(10):
    for b in range(10):
        for c in range(100):
            folder = os.path.join(tree, f"top{a}", f"mid{b}", f"leaf{c}")
            os.makedirs(folder)
            names = plain + [junk[n % len(junk)]]
            n += 1
            for name in names:
                stem, dot, ext = name.partition(".")
                path = os.path.join(folder, f"{stem}{a}{b}{c}{dot}{ext}")
                with open(path, "wb") as f:
                    f.write(b"x" * 100)
                os.utime(path, (old, old))
PY
files=$(find "$tree" -type f | wc -l)
folders=$(find "$tree" -type d | wc -l)

now_ms() { date +%s%3N; }
run_wine() { "$root/scripts/wine-run" "$exe" "$@" | tr -d '\r'; }
preview() {  # preview REPORT MEMORY_FILE -> "ms exit_code"
  TIDYMATE_PREVIEW_MEMORY="$work_win\\$2" run_wine run "$work_win\\temp" "$work_win\\bin\\Tidymate.exe" preview 0 \
    "$work_win\\$1"
}

find "$tree" >/dev/null  # every run starts with the tree in the page cache
run_wine enum 'E:\scanbench' >/dev/null

# A scan of the empty drive: the fixed cost of the scan and the memory baseline.
mv "$tree" "$aside"
read -r empty_ms empty_rc < <(preview empty.txt empty-memory.txt)
mv "$aside" "$tree"
# Three alternating rounds; the fastest of each counts, so other load on the machine weighs
# on both sides alike.
scan_ms=0 bare_ms=0
for round in 1 2 3; do
  read -r ms scan_rc < <(preview report.txt memory.txt)
  [ "$scan_ms" = 0 ] || [ "$ms" -lt "$scan_ms" ] && scan_ms=$ms
  read -r ms bare_files bare_folders < <(run_wine enum 'E:\scanbench')
  [ "$bare_ms" = 0 ] || [ "$ms" -lt "$bare_ms" ] && bare_ms=$ms
done
start=$(now_ms)
find_count=$(find "$tree" | wc -l)
find_ms=$(( $(now_ms) - start ))

[ "$empty_rc" = 0 ] && [ "$scan_rc" = 0 ] || { echo "preview failed: $empty_rc $scan_rc" >&2; exit 1; }
read -r base_peak base_findings base_chars < <(tr -d '\r' <"$work/empty-memory.txt")
read -r peak findings chars < <(tr -d '\r' <"$work/memory.txt")
in_tree=$(grep -c 'scanbench' "$work/report.txt" || true)

printf 'tree                        %d files in %d folders\n' "$files" "$folders"
printf 'preview 0, empty E:         %8d ms  (%d findings elsewhere)\n' "$empty_ms" "$base_findings"
printf 'preview 0 (Clean PC), best  %8d ms  (%d findings, %d in the tree)\n' "$scan_ms" "$findings" "$in_tree"
printf 'bare FindFirstFileExW, best %8d ms  (%d files, %d folders)\n' "$bare_ms" "$bare_files" "$bare_folders"
printf 'find                        %8d ms  (%d entries)\n' "$find_ms" "$find_count"
printf 'ratio scan / bare           %8.2f  (goal <= 1.3; whole process against the walk alone)\n' \
  "$(echo "$scan_ms / $bare_ms" | bc -l)"
printf 'ratio (scan - empty) / bare %8.2f\n' "$(echo "($scan_ms - $empty_ms) / $bare_ms" | bc -l)"
printf 'ratio bare / find           %8.2f\n' "$(echo "$bare_ms / $find_ms" | bc -l)"
extra=$(( findings - base_findings ))
if [ "$extra" -gt 0 ]; then
  per=$(echo "($peak - $base_peak) / $extra" | bc -l)
  text=$(echo "2 * ($chars - $base_chars) / $extra" | bc -l)
  printf 'peak working set            %8.1f MB  (empty E: %.1f MB)\n' "$(echo "$peak / 1048576" | bc -l)" \
    "$(echo "$base_peak / 1048576" | bc -l)"
  printf 'bytes per finding           %8.0f  (path text %.0f, beyond it %.0f; goal < 300)\n' "$per" "$text" \
    "$(echo "$per - $text" | bc -l)"
fi
