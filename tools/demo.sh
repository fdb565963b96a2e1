#!/usr/bin/env bash
# The main job on shipped examples: verify a Verilog multiplier and its
# faulty twin in one command with gfverify (when yosys is installed), verify
# a small multiplier problem with polyverify, then order a signal graph with
# toporder (in a scratch directory, since toporder writes tmp.order into the
# current directory).
set -euo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if [ -x "$bin/gfverify" ] && command -v yosys >/dev/null; then
  for top in gf8_mult gf8_mult_bug; do
    echo "\$ gfverify examples/verilog/gf_mastrovito.v --top $top --poly 'X^8+X^4+X^3+X+1'"
    (cd "$root" && "$bin/gfverify" examples/verilog/gf_mastrovito.v --top $top \
      --poly 'X^8+X^4+X^3+X+1') || true
    echo
  done
fi

if [ -x "$bin/polyverify" ]; then
  for f in mult4.alg mult4_bug.alg; do
    [ -e "$root/examples/$f" ] || continue
    echo "\$ polyverify examples/$f"
    "$bin/polyverify" "$root/examples/$f" || true
    echo
  done
fi

echo "\$ toporder examples/worked.graph"
(cd "$scratch" && "$bin/toporder" "$root/examples/worked.graph") || true
echo "tmp.order: $(cat "$scratch/tmp.order" 2>/dev/null)"
