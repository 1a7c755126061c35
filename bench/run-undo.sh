#!/usr/bin/env bash
# Moving 2,000 files of mixed sizes (about 200 MB, half compressible, half random) into the
# undo archive: AddToZip under Wine in the build tree's prefix against Info-ZIP `zip -6 -m`
# on the host, same files, same file system, one run.
#   bench/run-undo.sh [BUILD_DIR] [COUNT] [TOTAL_BYTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x86_64}
count=${2:-2000}
total=${3:-200000000}

[ -f "$build/libtidymate_core.a" ] || { echo "build $build first (cmake --build --preset x86_64)" >&2; exit 2; }
command -v zip >/dev/null || { apt-get update -qq && apt-get install -y -qq zip >/dev/null; }
exe="$build/bench/undo_bench.exe"
mkdir -p "$build/bench"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
  -municode -I"$root/src" "$here/undo_bench.cpp" "$build/libtidymate_core.a" \
  -static -static-libgcc -static-libstdc++ -lz -luser32 -lgdi32 -o "$exe"

export DISPLAY=${DISPLAY:-$("$root/scripts/xvfb-up")}
"$root/scripts/prefix-up" "$build"
source "$root/scripts/wine-env.sh" "$build"
work_unix="$WINEPREFIX/drive_c/tidymate-bench"
rm -rf "$work_unix" && mkdir -p "$work_unix"
trap 'rm -rf "$work_unix"' EXIT

python3 "$here/make_undo_files.py" "$work_unix/peer" "$count" "$total"
cp -r "$work_unix/peer" "$work_unix/ours"
input_bytes=$(du -sb --apparent-size "$work_unix/ours" | cut -f1)
mkdir -p "$work_unix/prog"
sync

start=$(date +%s.%N)
(cd "$work_unix" && zip -6 -m -q peer.zip peer/*)
sync
end=$(date +%s.%N)
peer_ms=$(echo "($end - $start) * 1000" | bc)

start=$(date +%s.%N)
read -r ours_ms pumps moved not_removed < <("$root/scripts/wine-run" "$exe" 'C:\tidymate-bench\ours' 'C:\tidymate-bench\prog' | tr -d '\r')
end=$(date +%s.%N)
wall_ms=$(echo "($end - $start) * 1000" | bc)
[ "$moved" = "$count" ] && [ "$not_removed" = 0 ] || { echo "AddToZip moved $moved of $count files" >&2; exit 1; }
[ -z "$(ls -A "$work_unix/ours")" ] || { echo "files left in the source folder" >&2; exit 1; }

printf 'files               %d, %d bytes\n' "$count" "$input_bytes"
printf 'zip -6 -m           %8.0f ms  (%d bytes)\n' "$peer_ms" "$(stat -c %s "$work_unix/peer.zip")"
printf 'AddToZip            %8.0f ms  (%d bytes in %d archives; %d pump calls; whole Wine process %.0f ms)\n' \
  "$ours_ms" "$(du -sb --apparent-size "$work_unix/prog" | cut -f1)" "$(ls "$work_unix/prog" | wc -l)" "$pumps" "$wall_ms"
printf 'ratio               %8.2f  (target <= 1.30)\n' "$(echo "$ours_ms / $peer_ms" | bc -l)"
