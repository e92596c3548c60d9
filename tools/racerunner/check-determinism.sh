#!/usr/bin/env bash
# Two runs of the same race end in the same state and sound the same: prints both fingerprints and
# the digests of what the camera heard, fails if they differ.
set -euo pipefail
runner="$1"
media="$2"
sound=$(mktemp -d)
trap 'rm -rf "$sound"' EXIT
first=$("$runner" --media "$media" --time-limit 90 --quiet --sound-out "$sound/1.wav" | grep '^fingerprint')
second=$("$runner" --media "$media" --time-limit 90 --quiet --sound-out "$sound/2.wav" | grep '^fingerprint')
echo "$first"
echo "$second"
md5sum "$sound/1.wav" "$sound/2.wav"
[ "$first" = "$second" ] && cmp "$sound/1.wav" "$sound/2.wav"
