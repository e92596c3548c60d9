#!/usr/bin/env bash
# Sets everything up, then starts the game on a circuit: circuit 0 (the default) from the build
# folder, where the build generates its media; any other number from a folder of its own under
# build/circuits/, where its media are generated the first time (and again after the generator
# has been rebuilt).
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
  folder="build/circuits/$circuit"
  marker="$folder/media/this is media.txt"
  if [ ! -e "$marker" ] || [ build/vorbel-mediagen -nt "$marker" ]; then
    build/vorbel-mediagen "$folder/media" "$circuit"
  fi
fi
cd "$folder"
exec "$root/build/vorbel-race"
