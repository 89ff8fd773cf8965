#!/usr/bin/env bash
# Sets everything up, builds, and starts the demo game in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
exec build/vorn build/games/demo "$@"
