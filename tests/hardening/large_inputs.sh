#!/usr/bin/env bash
# Inputs far beyond any fixed buffer, generated here rather than committed:
# a name of 1 MiB, a line of 10 MB, and a problem of a million variables and
# a million circuit polynomials.
#   large_inputs.sh POLYVERIFY
. "$(dirname "$0")/../lib.sh"
polyverify=$1

# run NAME FILE STATUS EXPECTED-STDOUT: the time line is left out of the check.
run() {
  local name=$1 file=$2 want_status=$3 want=$4 status
  "$polyverify" "$file" >"$work/out" 2>"$work/err"
  status=$?
  grep -v '^Total verification time is: ' "$work/out" >"$work/got"
  printf '%s' "$want" >"$work/want"
  [ "$status" = "$want_status" ] || fail "$name: status $status, expected $want_status"
  cmp -s "$work/want" "$work/got" ||
    fail "$name: unexpected output (first 200 bytes): $(head -c 200 "$work/got")"
  [ -s "$work/err" ] && fail "$name: standard error: $(head -c 200 "$work/err")"
}

# A name of 2^20 characters, declared, used and printed; then undefined.
long=$(head -c 1048576 /dev/zero | tr '\0' 'n')
printf 'a, %s;\na;\nX^2 + X + 1;\n%s + a;\na + 1;\n' "$long" "$long" >"$work/name.alg"
run "1 MiB name" "$work/name.alg" 0 "FINAL RESULT: $long+1"$'\n\n'
printf 'a;\na;\nX^2 + X + 1;\na + %s;\na;\n' "$long" >"$work/undef.alg"
run "1 MiB undefined name" "$work/undef.alg" 1 "$long undefined"$'\n'

# A million variables declared on one line of 10 MB (v0000000 .. v0999999),
# the specification v0000000 and the circuit v_i + v_(i+1), ..., v_last + 1,
# a million generators on one line of 19 MB: the reduction walks the chain
# down to 1.
awk 'BEGIN {
  n = 1000000
  for (i = 0; i < n; i++) printf "%sv%07d", (i ? ", " : ""), i
  printf ";\nv0000000;\nX^2 + X + 1;\nv0000000;\n"
  for (i = 0; i < n - 1; i++) printf "v%07d + v%07d, ", i, i + 1
  printf "v%07d + 1;\n", n - 1
}' >"$work/million.alg"
[ "$(head -1 "$work/million.alg" | wc -c)" -ge 10000000 ] || fail "the variable line is short"
run "10^6 variables and generators" "$work/million.alg" 0 $'FINAL RESULT: 1\n\n'

finish
