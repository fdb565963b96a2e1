#!/usr/bin/env bash
# No false proofs: multipliers with injected faults must never reduce to
# "FINAL RESULT: 0". Many seeds and fault counts over several fields, for
# Mastrovito and Montgomery circuits and some Karatsuba ones; the fault-free
# circuit of every field and kind must reduce to 0, so that the check is
# not passed by a verifier that never proves anything.
#   no_false_proofs.sh ALGEN POLYVERIFY
set -u
algen=$1
polyverify=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
runs=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# result NAME ARGS...: writes the problem with algen, runs polyverify and
# sets R to its result line; false (and counted as a failure) when
# something else went wrong.
R=""
result() {
  local name=$1
  shift
  R=""
  if ! "$algen" "$@" -o "$work/p.alg" 2>"$work/algen.err"; then
    fail "$name: algen failed: $(head -c 200 "$work/algen.err")"
    return 1
  fi
  "$polyverify" "$work/p.alg" >"$work/out" 2>"$work/err"
  local status=$?
  runs=$((runs + 1))
  local lines
  lines=$(grep -c '^FINAL RESULT: ' "$work/out")
  if [ "$status" != 0 ] || [ "$lines" != 1 ]; then
    fail "$name: status $status, $lines results: $(head -c 200 "$work/out")"
    return 1
  fi
  R=$(grep '^FINAL RESULT: ' "$work/out")
}

check() { # KIND K SEEDS...
  local kind=$1 k=$2
  shift 2
  if result "$kind K=$k correct" --kind "$kind" --k "$k" && [ "$R" != "FINAL RESULT: 0" ]; then
    fail "$kind K=$k: the correct circuit gives '${R:0:100}'"
  fi
  for seed in "$@"; do
    local bugs=$((1 + seed % 3))
    if result "$kind K=$k seed $seed" --kind "$kind" --k "$k" --bug "$bugs" --seed "$seed" &&
      [ "$R" = "FINAL RESULT: 0" ]; then
      fail "FALSE PROOF: algen --kind $kind --k $k --bug $bugs --seed $seed reduces to 0"
    fi
  done
}

for kind in mastrovito montgomery; do
  for k in 2 3 4 8 11 16; do
    check "$kind" "$k" 1 2 3 4 5 6 7 8
  done
  check "$kind" 32 1 2 3
done
for k in 4 8 13; do
  check karatsuba "$k" 1 2 3 4
done

echo "$runs runs, $failures failed"
[ "$failures" -eq 0 ]
