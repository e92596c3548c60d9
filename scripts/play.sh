#!/usr/bin/env bash
# Sets everything up, then starts the game from the build folder, where its media were generated.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
exec ./vorbel-race
