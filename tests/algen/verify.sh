#!/usr/bin/env bash
# End to end with the verifier: correct circuits reduce to "FINAL RESULT: 0",
# faulty ones to a nonzero remainder; with toporder, the order it finds on
# algen's graph, reversed, is a variable order under which the same holds.
#   verify.sh ALGEN POLYVERIFY [TOPORDER]
set -u
algen=$1
polyverify=$2
toporder=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# verdict FILE: the remainder printed by polyverify, or a note on failure.
verdict() {
  local out
  out=$("$polyverify" "$1" 2>&1) || { echo "polyverify status $?"; return; }
  local line
  line=$(grep -m1 '^FINAL RESULT: ' <<<"$out") || { echo "no result: $out"; return; }
  echo "${line#FINAL RESULT: }"
}

expect_zero() {
  local r
  r=$(verdict "$1")
  [ "$r" = 0 ] || fail "$2: expected FINAL RESULT: 0, got '${r:0:200}'"
}

expect_nonzero() {
  local r
  r=$(verdict "$1")
  [ -n "$r" ] && [ "$r" != 0 ] && [[ "$r" != polyverify* ]] && [[ "$r" != "no result"* ]] ||
    fail "$2: expected a nonzero remainder, got '${r:0:200}'"
}

# Replaces the variables line of ALG by the comma list in ORDER-FILE,
# reversed, and writes the result to OUT.
reorder() {
  local alg=$1 order=$2 out=$3 vars
  vars=$({ tr ',' '\n' <"$order"; echo; } | tac | paste -sd, -)
  awk -v vars="$vars" '!done && !/^\/\// { print vars ";"; done = 1; next } { print }' \
    "$alg" >"$out"
}

for kind in mastrovito montgomery karatsuba; do
  for k in 2 3 4 5 8; do
    "$algen" --kind "$kind" --k "$k" -o "$work/ok.alg"
    expect_zero "$work/ok.alg" "$kind K=$k"
  done
  for k in 4 8; do
    for seed in 1 2; do
      "$algen" --kind "$kind" --k "$k" --bug 1 --seed "$seed" -o "$work/bug.alg"
      expect_nonzero "$work/bug.alg" "$kind K=$k bug seed $seed"
    done
  done
  "$algen" --kind "$kind" --poly "X^7+X^3+1" -o "$work/poly.alg"
  expect_zero "$work/poly.alg" "$kind --poly X^7+X^3+1"

  [ -n "$toporder" ] || continue
  for k in 3 6; do
    for bug in 0 2; do
      name="$kind K=$k bugs=$bug via toporder"
      "$algen" --kind "$kind" --k "$k" --bug "$bug" -o "$work/g.alg" --graph "$work/g.graph"
      rm -f "$work/tmp.order"
      (cd "$work" && "$toporder" g.graph >toporder.out) || fail "$name: toporder status $?"
      grep -q "No news is good news!" "$work/toporder.out" || fail "$name: toporder found a cycle"
      reorder "$work/g.alg" "$work/tmp.order" "$work/r.alg"
      if [ "$bug" = 0 ]; then expect_zero "$work/r.alg" "$name"; else expect_nonzero "$work/r.alg" "$name"; fi
    done
  done
done

echo "$failures failed"
[ "$failures" -eq 0 ]
