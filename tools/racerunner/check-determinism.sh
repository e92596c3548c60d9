#!/usr/bin/env bash
# Two runs of the same race end in the same state, and so does a third with the C library's
# multiply-add variants turned off, as on a processor without them (a replay recorded on one
# machine must play on another): prints the fingerprints, fails if any differs.
set -euo pipefail
runner="$1"
media="$2"
race() { "$runner" --media "$media" --time-limit 90 --quiet | grep '^fingerprint'; }
first=$(race)
second=$(race)
plain=$(GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F race)
echo "$first"
echo "$second"
echo "$plain (without multiply-add)"
[ "$first" = "$second" ] && [ "$first" = "$plain" ]
