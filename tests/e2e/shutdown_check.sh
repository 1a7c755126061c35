#!/usr/bin/env bash
# Runs the HostCheckedShutdown cases in a prefix of their own, made by prefix-up for a
# throw-away build tree: "立即关闭" ends that prefix's Wine session, never the shared one.
#   shutdown_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scripts="$2/scripts"
tree="$build/shutdown-check"

cleanup() {
  [ ! -d "$tree/wineprefix" ] || "$scripts/prefix-down" "$tree"
  rm -rf "$tree"
}
trap cleanup EXIT
cleanup
mkdir -p "$tree"
# wine-run takes the folder with a CMakeCache.txt above a program as its build tree.
touch "$tree/CMakeCache.txt"
ln -f "$build/tests_e2e.exe" "$build/Tidymate.exe" "$tree/"

"$scripts/wine-run" "$tree/tests_e2e.exe" --gtest_filter=HostCheckedShutdown.CancelInTheCountdownLeavesTheProgramOpen

status=0
timeout 300 "$scripts/wine-run" "$tree/tests_e2e.exe" --gtest_filter=HostCheckedShutdown.ShutDownNowEndsTheSession ||
  status=$?
results="$tree/wineprefix/drive_c/tidymate-tests/HostCheckedShutdown.ShutDownNowEndsTheSession"
[ -f "$results/pressed" ] || { echo "the countdown never came up (exit $status)"; exit 1; }
[ ! -f "$results/survived" ] || { echo "立即关闭 did not end the session"; exit 1; }
[ "$status" -ne 124 ] || { echo "timed out"; exit 1; }
echo "the session ended after 立即关闭 (exit $status)"
