#!/usr/bin/env bash
# One race under the sanitizers: the race runner of the sanitizer build (scripts/sanitizer-build.sh)
# generates circuit 11 and drives the player's kart round it among the computer karts for 90
# simulated seconds: the circuit generator, level loading, the texture decoder process, physics,
# items, the computer drivers, the sound of the race mixed through OpenAL's loopback device, and the
# race's replay recorded, read back and run again.
# Fails on any AddressSanitizer, LeakSanitizer or
# UndefinedBehaviorSanitizer report, also one from a child process, and then prints the race's
# output. More of the game joins this race through the runner's arguments in `race` below.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/sanitizer-build.sh

build=build-fuzz
# Reports go to files of their own, one per process: the texture decoder's child process sends its
# standard error to /dev/null.
work="$build/sanitized-race"
rm -rf "$work"
mkdir -p "$work"
race=("$build/tools/vorbel-race-runner" --circuit 11 --player driven --time-limit 90 --sound-out "$work/race.wav"
  --record "$work/race.replay")
# The race's replay is read and run again, its check values compared.
rerun=("$build/tools/vorbel-race-runner" --replay "$work/race.replay")
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$work/report"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$work/report"
status=0
"${race[@]}" </dev/null >"$work/output" 2>&1 && "${rerun[@]}" </dev/null >>"$work/output" 2>&1 || status=$?
reports=("$work"/report.*)
if [ "$status" -ne 0 ] || [ -e "${reports[0]}" ]; then
  cat "$work/output" "$work"/report.* >&2 2>/dev/null || true
  echo "sanitized race: FAILED with status $status (output and reports above, kept in $work)" >&2
  exit 1
fi
echo "sanitized race: $(grep '^races ' "$work/output"); replay: $(tail -n 1 "$work/output")"
