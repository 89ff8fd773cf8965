#!/usr/bin/env bash
# Installs what is missing and builds what playing needs into build/: the player, vorn-data, the
# asset generator and the demo game (not the tests and benchmarks; tools/test.sh builds those in
# the same folder with the same settings, so nothing is compiled twice).
set -euo pipefail
cd "$(dirname "$0")/.."
echo "vorn: checking the packages the build needs"
bash tools/setup.sh
echo "vorn: configuring build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_WERROR=ON >/dev/null
echo "vorn: building the player, vorn-data and the demo game (the first build takes a few minutes)"
cmake --build build -j"$(nproc)" --target vorn vorn-data demo-game
