#!/usr/bin/env bash
# A short fuzz pass over every file reader: builds ./build-fuzz (scripts/sanitizer-build.sh: libFuzzer,
# AddressSanitizer, UBSan), then runs each target for N seconds (first argument, default 20) from its
# seed corpus. Prints one line per reader; the full libFuzzer output only when a target reports a
# crash, a leak or undefined behaviour, and then fails. The input that caused it is left in
# build-fuzz/fuzz-work/<reader>/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
build=build-fuzz

scripts/sanitizer-build.sh

# Tiny images of every kind the texture target tries, each led by the byte that picks its extension
# (the order of the target's list): true colour, a four-colour palette, and run-length coded.
texture_seeds() {
  mkdir -p "$1"
  local index=0 kind
  for extension in tga bmp png jpg pcx dds gif ico psd pnm sgi tif hdr xpm; do
    for kind in "" "-colors 4 -type Palette" "-colors 4 -type Palette -compress RLE"; do  # split unquoted
      convert -size 8x8 gradient:red-blue $kind "$extension:$1/image" 2>/dev/null || continue
      { printf "\\x$(printf %02x $index)"; cat "$1/image"; } >"$1/$extension-${#kind}"
    done
    index=$((index + 1))
  done
  rm -f "$1/image"
}

export UBSAN_OPTIONS="print_stacktrace=1"
failed=()
for reader in mesh material scene checkpoints texture sound settings replay records pads; do
  work="$build/fuzz-work/$reader"
  mkdir -p "$work/corpus" "$work/findings"
  seeds="tests/fuzz/corpus/$reader"
  options=(-timeout=10)
  case "$reader" in
    mesh | scene) options+=(-dict=tests/fuzz/xml.dict) ;;
    material) options+=(-dict=tests/fuzz/material.dict) ;;
    settings) options+=(-dict=tests/fuzz/settings.dict) ;;
    pads) options+=(-dict=tests/fuzz/pads.dict) ;;
    texture)
      seeds="$work/seeds"
      texture_seeds "$seeds"
      # The bounds of one texture, as the decoder process sets them: no input outlasts its
      # wall-clock limit (20 s; a spinning decoder stops after 2 s of processor time, later on a busy
      # machine), no allocation in the decoder over its 384 MiB, and room for the largest texture
      # (4096 x 4096 RGBA, 64 MiB) beside the fuzzer itself, which takes back only that.
      options=(-timeout=25 -malloc_limit_mb=384 -rss_limit_mb=192) ;;
  esac
  # New inputs go to the work corpus; the seeds are only read.
  if "$build/tests/fuzz/fuzz-$reader" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$work/findings/" "${options[@]}" "$work/corpus" "$seeds" </dev/null >"$work/log" 2>&1; then
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
