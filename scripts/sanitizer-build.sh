#!/usr/bin/env bash
# Configures and builds ./build-fuzz, the sanitizer build: the readers' fuzz targets, the race runner
# and the game, with clang's AddressSanitizer (and LeakSanitizer), UndefinedBehaviorSanitizer and
# libFuzzer's coverage. A Debug build, without optimisation: a constant used by reference but never
# defined links in a build with optimisation, which folds it away, and fails here as in any Debug
# build. Prints the build's output only when it fails. Used by scripts/fuzz.sh and
# scripts/sanitized-race.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DVORBEL_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
if ! cmake --build "$build" -j2 >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  exit 1
fi
