#!/usr/bin/env bash
# No false proofs: multipliers with injected faults must never reduce to
# "FINAL RESULT: 0". Many seeds and fault counts over several fields, for
# Mastrovito and Montgomery circuits and some Karatsuba ones; the fault-free
# circuit of every field and kind must reduce to 0, so that the check is
# not passed by a verifier that never proves anything (and algen's circuits
# are proved correct).
#   no_false_proofs.sh ALGEN POLYVERIFY
. "$(dirname "$0")/../lib.sh"
algen=$1
polyverify=$2
runs=0

# verdict ARGS...: writes the problem with algen and prints polyverify's result.
verdict() {
  "$algen" "$@" -o "$work/p.alg" 2>"$work/algen.err" || {
    echo "algen failed: $(head -c 200 "$work/algen.err")"
    return
  }
  result "$work/p.alg"
}

check() { # KIND K SEEDS...
  local kind=$1 k=$2 r
  shift 2
  runs=$((runs + 1 + $#))
  r=$(verdict --kind "$kind" --k "$k")
  [ "$r" = "FINAL RESULT: 0" ] || fail "$kind K=$k: the correct circuit gives '${r:0:100}'"
  for seed in "$@"; do
    local bugs=$((1 + seed % 3))
    r=$(verdict --kind "$kind" --k "$k" --bug "$bugs" --seed "$seed")
    [ "$r" = "FINAL RESULT: 0" ] &&
      fail "FALSE PROOF: algen --kind $kind --k $k --bug $bugs --seed $seed reduces to 0"
    [[ $r == "FINAL RESULT: "* ]] || fail "$kind K=$k seed $seed: $r"
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
echo "$runs runs"
finish
