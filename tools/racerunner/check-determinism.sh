#!/usr/bin/env bash
# Two runs of the same race end in the same state and sound the same, and a third with the C library's
# multiply-add variants turned off, as on a processor without them (a replay recorded on one machine
# must play on another), ends in the same state too: prints the fingerprints and the digests of what
# the camera heard, fails if any differs.
set -euo pipefail
runner="$1"
media="$2"
sound=$(mktemp -d)
trap 'rm -rf "$sound"' EXIT
race() { "$runner" --media "$media" --time-limit 90 --quiet "$@" | grep '^fingerprint'; }
first=$(race --sound-out "$sound/1.wav")
second=$(race --sound-out "$sound/2.wav")
plain=$(GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F race)
echo "$first"
echo "$second"
echo "$plain (without multiply-add)"
md5sum "$sound/1.wav" "$sound/2.wav"
[ "$first" = "$second" ] && [ "$first" = "$plain" ] && cmp "$sound/1.wav" "$sound/2.wav"
