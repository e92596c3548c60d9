#!/usr/bin/env bash
# A short fuzz pass over every file reader: configures and builds ./build-fuzz with clang (libFuzzer,
# AddressSanitizer, UBSan), then runs each target for N seconds (first argument, default 20) from its
# seed corpus. Prints one line per reader; the full libFuzzer output only when a target reports a
# crash, a leak or undefined behaviour, and then fails. The input that caused it is left in
# build-fuzz/fuzz-work/<reader>/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DVORBEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! cmake --build "$build" -j2 >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  exit 1
fi

export UBSAN_OPTIONS="print_stacktrace=1"
failed=()
for reader in mesh material scene checkpoints; do
  work="$build/fuzz-work/$reader"
  mkdir -p "$work/corpus" "$work/findings"
  dictionary=()
  case "$reader" in
    mesh | scene) dictionary=(-dict=tests/fuzz/xml.dict) ;;
    material) dictionary=(-dict=tests/fuzz/material.dict) ;;
  esac
  # New inputs go to the work corpus; the seeds in the source tree are only read.
  if "$build/tests/fuzz/fuzz-$reader" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$work/findings/" "${dictionary[@]}" "$work/corpus" "tests/fuzz/corpus/$reader" \
      </dev/null >"$work/log" 2>&1; then
    result="nothing found"
  else
    result="FOUND A PROBLEM"
    failed+=("$reader")
    cat "$work/log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  printf 'fuzz-%-12s %s s, %s runs, %s\n' "$reader" "$seconds" "${runs:-?}" "$result"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]} (inputs in $build/fuzz-work/<reader>/findings/)" >&2
  exit 1
fi
