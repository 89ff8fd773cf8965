#!/usr/bin/env bash
# Sets everything up, builds, and starts the demo game in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
cat <<'KEYS'
vorn: starting the demo game
  arrows        walk, move the cursor        Space / Enter  decide; on the field: the menu
  Ctrl          cancel                       Esc            quit (asks first)
  mouse         click to walk or choose      right button   the menu
  F1            list of keys                 F11, Alt+Enter full screen      F12  screenshot
  Tab (held)    fast-forward
KEYS
exec build/vorn build/games/demo "$@"
