#!/usr/bin/env bash
# source_hash() names its sources: the same sources in two folders get one identity, and an edited
# source another one at the next build. Argument: the source folder.
set -euo pipefail
work=$(mktemp -d /tmp/vorbel-hash-XXXXXX)
trap 'rm -rf "$work"' EXIT
build() {  # build COPY: configures once, then brings COPY's header up to date
  [ -d "$work/$1/build" ] || cmake -S "$work/$1" -B "$work/$1/build" >/dev/null
  cmake --build "$work/$1/build" >/dev/null
}
for copy in a b; do
  mkdir -p "$work/$copy"
  printf 'cmake_minimum_required(VERSION 3.18)\nproject(hash NONE)\ninclude(%s/cmake/SourceHash.cmake)
source_hash(${CMAKE_BINARY_DIR}/h.h build FILES s.txt)\nadd_custom_target(h ALL DEPENDS h.h)\n' "$1" \
    >"$work/$copy/CMakeLists.txt"
  echo one >"$work/$copy/s.txt"
  build "$copy"
done
cmp -s "$work/a/build/h.h" "$work/b/build/h.h" || { echo "FAIL: one set of sources, two identities"; exit 1; }
echo two >"$work/a/s.txt"
build a
! cmp -s "$work/a/build/h.h" "$work/b/build/h.h" || { echo "FAIL: an edited source kept its identity"; exit 1; }
echo "source hash: ok"
