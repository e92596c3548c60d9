#!/usr/bin/env bash
# Sets everything up, then starts the game on a circuit: circuit 0 (the default) from the build
# folder, where the build generates its media; any other number from a folder of its own under
# build/circuits/, which the media generator makes current first (generating the circuit when it is
# missing or another build of the generator wrote it, safely beside other starts). When it cannot,
# circuit 0 starts instead.
set -euo pipefail
cd "$(dirname "$0")/.."
circuit="${1:-0}"
if [ $# -gt 1 ] || ! [[ "$circuit" =~ ^[0-9]{1,5}$ ]]; then
  echo "usage: scripts/play.sh [circuit, a whole number from 0 to 99999]" >&2
  exit 2
fi
circuit=$((10#$circuit))
scripts/setup.sh
root="$PWD"
folder=build
if [ "$circuit" -ne 0 ]; then
  if build/vorbel-mediagen --ensure "build/circuits/$circuit/media" "$circuit"; then
    folder="build/circuits/$circuit"
  else
    echo "play.sh: starting circuit 0 instead of circuit $circuit" >&2
  fi
fi
cd "$folder"
exec "$root/build/vorbel-race"
