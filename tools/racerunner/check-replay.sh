#!/usr/bin/env bash
# A driven race recorded by the runner runs again with every check value matching: as it is, and with
# glibc's math functions for a processor without FMA (another machine's). Prints the runs' verdicts.
set -euo pipefail
runner="$1"
media="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$runner" --media "$media" --player driven --karts 4 --quiet --record "$work/race.replay" | grep '^replay'
"$runner" --replay "$work/race.replay" --media "$media" | tail -n 2
GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F "$runner" --replay "$work/race.replay" --media "$media" | tail -n 1
