#!/usr/bin/env bash
# Installs the build into a temporary prefix and plays the installed demo game headless to its
# title: the desktop entry must name the installed player and game, and the read-only game folder
# must not be written (settings and saved games go to the save folder).
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'chmod -R u+w "$prefix"; rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop="$prefix/share/applications/vorn-demo.desktop"
grep -qx "Exec=$prefix/bin/vorn $prefix/share/vorn/games/demo" "$desktop" || { echo "bad Exec in $desktop"; exit 1; }
test -s "$prefix/share/icons/hicolor/128x128/apps/vorn.png"
test -x "$prefix/bin/vorn-data"
printf 'expect started\nwait 500\n' > "$prefix/timeline.txt"
"$prefix/bin/vorn" "$prefix/share/vorn/games/demo" --headless --input "$prefix/timeline.txt" \
  --transcript "$prefix/transcript.txt" --save-dir "$prefix/save"
test -s "$prefix/save/vorn.ini"
test ! -e "$prefix/share/vorn/games/demo/vorn.ini"
echo "installed and played from $prefix"
