# Sourced by the other scripts: the Wine settings of one build tree.
# Usage: source scripts/wine-env.sh BUILD_DIR
if [ -z "${1:-}" ] || ! tidymate_build_dir=$(cd "$1" 2>/dev/null && pwd); then
  echo "wine-env.sh: no build tree '${1:-}'" >&2
  # A prefix Wine cannot create: a wine started after this fails instead of making a default
  # prefix that reaches the host.
  export WINEPREFIX=/nonexistent/tidymate-no-build-tree
  return 1
fi
export WINEPREFIX="$tidymate_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# Test programs are linked into the prefix: the build tree itself is not reachable from inside.
export TIDYMATE_BIN_UNIX="$WINEPREFIX/drive_c/tidymate-bin"
export TIDYMATE_BIN_WIN='C:\tidymate-bin'
