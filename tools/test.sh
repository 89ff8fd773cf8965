#!/usr/bin/env bash
# Sets everything up, checks the include floors and the formatting, builds and runs every test:
# once in a normal build (warnings are errors), with the web page's browser test when
# tools/web.sh has built the page, then again under AddressSanitizer and
# UndefinedBehaviorSanitizer. The bench prints its table briefly, and when clang is installed every
# fuzz target runs for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)

# Every folder includes only the floors below it, and every tracked source is formatted.
bash tools/check_includes.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
build/bench/vorn_bench --quick
# The web player in headless Chromium, when tools/web.sh has built it (skipped with a message if not).
bash tests/web/run.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_WERROR=ON -DVORN_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

if command -v clang++ >/dev/null; then
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORN_FUZZ=ON -DVORN_TESTS=OFF -DVORN_BENCH=OFF >/dev/null
  cmake --build build-fuzz -j"$jobs" --target fuzz_targets
  bash tools/fuzz.sh build-fuzz 7
fi
