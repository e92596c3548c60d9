#!/usr/bin/env bash
# Two runs of the same race end in the same state: prints both fingerprints, fails if they differ.
set -euo pipefail
runner="$1"
media="$2"
first=$("$runner" --media "$media" --time-limit 90 --quiet | grep '^fingerprint')
second=$("$runner" --media "$media" --time-limit 90 --quiet | grep '^fingerprint')
echo "$first"
echo "$second"
[ "$first" = "$second" ]
