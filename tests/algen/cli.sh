#!/usr/bin/env bash
# algen's command line: help, refused arguments (one line on stderr, status
# 2), output files and byte-identical reruns.
#   cli.sh ALGEN
set -u
algen=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# refuse STATUS MESSAGE-PART ARGS...: expect the status, nothing on stdout
# and exactly one line on stderr that starts with "algen: " and holds the part.
refuse() {
  local want=$1 part=$2
  shift 2
  "$algen" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "algen $*: status $got, expected $want"
  [ -s "$work/out" ] && fail "algen $*: wrote to stdout"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "algen $*: stderr is not one line: $(cat "$work/err")"
  grep -q "^algen: .*$part" "$work/err" || fail "algen $*: stderr '$(cat "$work/err")' lacks '$part'"
}

"$algen" --help >"$work/out" 2>&1 || fail "--help: status $?"
grep -q "^usage: algen" "$work/out" || fail "--help shows no usage"

refuse 2 "unknown option '--frobnicate'" --k 8 --frobnicate
refuse 2 "--k K" --kind montgomery
refuse 2 "at least 2" --k 1
refuse 2 "at most 2048" --k 2049
refuse 2 "whole number" --k 8x
refuse 2 "whole number" --k 99999999999999999999999
refuse 2 "needs a value" --k
refuse 2 "unknown kind 'booth'" --k 8 --kind booth
refuse 2 "reducible" --poly "X^4+X^2+1"
refuse 2 "reducible" --poly "X^5+X^4+1"
refuse 2 "bad --poly" --poly "X^8+Y+1"
refuse 2 "appears twice" --poly "X^3+X+X+1"
refuse 2 "degree at least 2" --poly "X+1"
refuse 2 "does not match" --k 9 --poly "X^8+X^4+X^3+X+1"
refuse 2 "gates" --k 2 --bug 8
refuse 2 "whole number" --k 8 --bug -1
refuse 2 "below 2^64" --k 8 --seed 18446744073709551616
refuse 1 "cannot open" --k 4 -o "$work/no/such/dir/p.alg"

# The same arguments give the same bytes, on stdout or in a file, with
# either spelling of the options.
for kind in mastrovito montgomery karatsuba; do
  args=(--kind "$kind" --k 24 --bug 2 --seed 11)
  "$algen" "${args[@]}" >"$work/a.alg" || fail "$kind: status $?"
  "$algen" "${args[@]}" -o "$work/b.alg" --graph "$work/b.graph" || fail "$kind -o: status $?"
  "$algen" --kind="$kind" --k=24 --bug=2 --seed=11 --output "$work/c.alg" --graph="$work/c.graph"
  cmp -s "$work/a.alg" "$work/b.alg" || fail "$kind: stdout and -o differ"
  cmp -s "$work/b.alg" "$work/c.alg" || fail "$kind: --opt=value changes the output"
  cmp -s "$work/b.graph" "$work/c.graph" || fail "$kind: graph differs between runs"
  "$algen" --kind "$kind" --k 24 --bug 2 --seed 12 >"$work/d.alg"
  cmp -s "$work/a.alg" "$work/d.alg" && fail "$kind: another seed gives the same faults"
done

# --poly fixes K; giving the same K as well is accepted.
"$algen" --poly "X^8+X^4+X^3+X+1" >"$work/p1.alg" || fail "--poly: status $?"
"$algen" --k 8 --poly " X^8 + X^4 + X^3 + X + 1 " >"$work/p2.alg" || fail "--k --poly: status $?"
cmp -s "$work/p1.alg" "$work/p2.alg" || fail "--k with a matching --poly changes the output"
grep -q "^X^8+X^4+X^3+X+1;$" "$work/p1.alg" || fail "field line of --poly"

echo "$failures failed"
[ "$failures" -eq 0 ]
