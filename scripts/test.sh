#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: unit and drawing tests, end-to-end tests of the
# game under Xvfb, the headless race on the default level, a short fuzzing pass over the readers, and
# one race under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
ctest --test-dir build -j2 --output-on-failure
scripts/fuzz.sh "${FUZZ_SECONDS:-15}"
scripts/sanitized-race.sh
