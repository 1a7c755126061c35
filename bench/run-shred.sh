#!/usr/bin/env bash
# Secure deletion of a 200 MiB file: ShredFile (overwrite on) under Wine in the build tree's
# prefix against coreutils `shred -n 3 -u` on the host, same size, same file system, one run.
#   bench/run-shred.sh [BUILD_DIR] [SIZE_BYTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x86_64}
size=${2:-209715200}

[ -f "$build/libtidymate_core.a" ] || { echo "build $build first (cmake --build --preset x86_64)" >&2; exit 2; }
exe="$build/bench/shred_bench.exe"
mkdir -p "$build/bench"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
  -municode -I"$root/src" "$here/shred_bench.cpp" "$build/libtidymate_core.a" \
  -static -static-libgcc -static-libstdc++ -luser32 -lgdi32 -o "$exe"

export DISPLAY=${DISPLAY:-$("$root/scripts/xvfb-up")}
"$root/scripts/prefix-up" "$build"
source "$root/scripts/wine-env.sh" "$build"
work_unix="$WINEPREFIX/drive_c/tidymate-bench"
rm -rf "$work_unix" && mkdir -p "$work_unix"
trap 'rm -rf "$work_unix"' EXIT

make_file() { head -c "$size" /dev/zero >"$1"; sync; }

make_file "$work_unix/peer.bin"
start=$(date +%s.%N)
shred -n 3 -u "$work_unix/peer.bin"
end=$(date +%s.%N)
peer_ms=$(echo "($end - $start) * 1000" | bc)

make_file "$work_unix/ours.bin"
start=$(date +%s.%N)
read -r ours_ms pumps removed < <("$root/scripts/wine-run" "$exe" 'C:\tidymate-bench\ours.bin' | tr -d '\r')
end=$(date +%s.%N)
wall_ms=$(echo "($end - $start) * 1000" | bc)
[ "$removed" = 1 ] || { echo "ShredFile did not remove the file" >&2; exit 1; }

printf 'file size           %d bytes\n' "$size"
printf 'shred -n 3 -u       %8.0f ms\n' "$peer_ms"
printf 'ShredFile           %8.0f ms  (%d pump calls; whole Wine process %.0f ms)\n' "$ours_ms" "$pumps" "$wall_ms"
printf 'ratio               %8.2f  (target <= 1.50)\n' "$(echo "$ours_ms / $peer_ms" | bc -l)"
