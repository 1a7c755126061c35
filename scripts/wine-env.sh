# Sourced by the other scripts: the Wine settings of one build tree.
# Usage: source scripts/wine-env.sh BUILD_DIR
tidymate_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$tidymate_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
# Test programs are linked into the prefix: the build tree itself is not reachable from inside.
export TIDYMATE_BIN_UNIX="$WINEPREFIX/drive_c/tidymate-bin"
export TIDYMATE_BIN_WIN='C:\tidymate-bin'
