#!/usr/bin/env bash
# algen's command line: help, refused arguments (one line on stderr, status
# 2), output files and byte-identical reruns.
#   cli.sh ALGEN
. "$(dirname "$0")/../lib.sh"
algen=$1

"$algen" --help >"$work/out" 2>&1 || fail "--help: status $?"
grep -q "^usage: algen" "$work/out" || fail "--help shows no usage"

# refuse ARGS | MESSAGE: status 2 (1 for an unwritable file), nothing on
# standard output, the one line "algen: MESSAGE" on standard error.
while IFS='|' read -r args message; do
  status=2
  [[ $message == cannot* ]] && status=1
  eval "set -- $args"
  expect $status "algen: $message" "$algen" "$@"
  [ -s "$work/out" ] && fail "algen $args: wrote to standard output"
done <<EOT
--k 8 --frobnicate|unknown option '--frobnicate' (see --help)
--kind montgomery|give the field degree with --k K or the polynomial with --poly P (see --help)
--k 1|K must be at least 2
--k 2049|K must be at most 2048
--k 8x|--k needs a whole number, not '8x'
--k 99999999999999999999999|--k needs a whole number, not '99999999999999999999999'
--k|option --k needs a value
--k 8 --kind booth|unknown kind 'booth' (mastrovito, montgomery or karatsuba)
--poly X^4+X^2+1|--poly 'X^4+X^2+1' is reducible over GF(2), so it defines no field
--poly X^5+X^4+1|--poly 'X^5+X^4+1' is reducible over GF(2), so it defines no field
--poly X^8+Y+1|bad --poly 'X^8+Y+1': terms are X^e, X and 1 joined by '+'
--poly 'X^8++1'|bad --poly 'X^8++1': terms are X^e, X and 1 joined by '+'
--poly X^3+X+X+1|bad --poly 'X^3+X+X+1': the term of degree 1 appears twice
--poly X^3000+1|bad --poly 'X^3000+1': exponent larger than 2048
--poly X+1|--poly 'X+1' must have degree at least 2
--k 9 --poly X^8+X^4+X^3+X+1|--k 9 does not match the degree 8 of --poly
--k 2 --bug 8|--bug 8 needs at least 8 gates; the circuit has 7
--k 8 --bug -1|--bug needs a whole number, not '-1'
--k 8 --seed 18446744073709551616|--seed needs a whole number below 2^64, not '18446744073709551616'
--k 4 -o $work/no/such/dir/p.alg|cannot open $work/no/such/dir/p.alg: No such file or directory
EOT

# The same arguments give the same bytes, on stdout or in a file, with
# either spelling of the options; another seed gives other faults.
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

# --poly fixes K; giving the same K as well is accepted; blanks and any term
# order are.
"$algen" --poly "X^8+X^4+X^3+X+1" >"$work/p1.alg" || fail "--poly: status $?"
"$algen" --k 8 --poly " 1+X + X^8+X^3+X^4 " >"$work/p2.alg" || fail "--k --poly: status $?"
cmp -s "$work/p1.alg" "$work/p2.alg" || fail "--k with a matching --poly changes the output"
grep -q "^X^8+X^4+X^3+X+1;$" "$work/p1.alg" || fail "field line of --poly"
finish
