#!/usr/bin/env bash
# The golden multipliers mult_gf4, mult_gf8 and mult_gf16 (K = 2, 3, 4) are
# algen's output: the correct circuit, one with an XOR gate made an AND
# (seed 13), one with a gate input rewired (seed 1).
#   make_multipliers.sh ALGEN DIR           writes the .alg files into DIR
#   make_multipliers.sh ALGEN DIR --check   fails when DIR's differ from algen's
set -eu
algen=$1
dir=$2
out=$dir
if [ "${3:-}" = --check ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
for k in 2 3 4; do
  name=mult_gf$((1 << k))
  "$algen" --k $k -o "$out/$name.alg"
  "$algen" --k $k --bug 1 --seed 13 -o "$out/${name}_and_for_xor.alg"
  "$algen" --k $k --bug 1 --seed 1 -o "$out/${name}_rewired_input.alg"
done
if [ "$out" != "$dir" ]; then
  for f in "$out"/*.alg; do
    diff -u "$dir/$(basename "$f")" "$f"
  done
fi
