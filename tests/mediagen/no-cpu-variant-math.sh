#!/usr/bin/env bash
# The generator's library calls none of the C library's transcendental functions: glibc picks a
# variant of those by the processor, so a call would make a circuit depend on the machine. The
# generator has its own in PortableMath. Lists the objects and functions that break this.
# usage: no-cpu-variant-math.sh <libvorbel-mediagen-lib.a>
set -uo pipefail
names='sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|sincos|exp|exp2|exp10|expm1|log|log2'
names="$names|log10|log1p|pow|cbrt|hypot|erf|erfc|lgamma|tgamma"
symbols=$(nm -u -A "$1") || exit 1
if grep -E "[[:space:]]U (($names)[fl]?|__(${names})[fl]?_finite)\$" <<< "$symbols"; then
    echo "calls into the C library's processor-dependent math above: use portable:: instead"
    exit 1
fi
echo "no processor-dependent math in $1"
