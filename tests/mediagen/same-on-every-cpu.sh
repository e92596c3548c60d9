#!/usr/bin/env bash
# A circuit number is the same circuit on every processor: generates each given circuit as this
# machine's C library runs it and again with its multiply-add variants turned off (as on a processor
# without them), and fails on any byte that differs.
# usage: same-on-every-cpu.sh <vorbel-mediagen> <circuit>...
set -euo pipefail
generator="$1" && shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
differing=()
for circuit in "$@"; do
    "$generator" "$work/native/$circuit/media" "$circuit" > /dev/null
    GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA,-AVX512F "$generator" "$work/plain/$circuit/media" "$circuit" > /dev/null
    diff -r -q "$work/native/$circuit" "$work/plain/$circuit" > /dev/null || differing+=("$circuit")
done
echo "circuits compared: $#, differing without multiply-add: ${#differing[@]} ${differing[*]:-}"
[ ${#differing[@]} -eq 0 ]
