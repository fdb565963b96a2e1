#!/usr/bin/env bash
# Gathers the seed corpora of the fuzzers from the golden cases and the
# shipped examples:
#   make_corpus.sh OUTDIR    writes OUTDIR/polyverify and OUTDIR/toporder
# Files are named by their content hash, so running it again adds nothing twice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: make_corpus.sh OUTDIR}
mkdir -p "$out/polyverify" "$out/toporder"

add() { # add DIR FILE
  local sum
  sum=$(sha1sum "$2" | cut -c1-16)
  cp "$2" "$1/$sum"
}

shopt -s nullglob
for f in "$root"/tests/golden/polyverify/*.alg "$root"/examples/*.alg \
         "$root"/tests/hardening/data/*.alg; do
  add "$out/polyverify" "$f"
done
for f in "$root"/tests/golden/toporder/*.graph "$root"/examples/*.graph \
         "$root"/tests/net2alg/data/*.graph; do
  add "$out/toporder" "$f"
done
echo "seeds: $(ls "$out/polyverify" | wc -l) for polyverify, $(ls "$out/toporder" | wc -l) for toporder"
