#!/usr/bin/env bash
# The command line of net2alg: help, usage errors (status 2) and input
# errors (status 1), each reported in one line on standard error.
#   cli.sh NET2ALG SOURCE_DIR
set -uo pipefail
net2alg=$1
data=$2/tests/net2alg/data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail=0

# expect STATUS MESSAGE ARGS...: exit status and the first line of stderr.
expect() {
  local want_status=$1 want=$2
  shift 2
  "$net2alg" "$@" >out.txt 2>err.txt
  local status=$?
  local got
  got=$(head -n 1 err.txt)
  if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
    echo "net2alg $*: expected status $want_status and '$want'"
    echo "  got status $status and '$got'"
    fail=1
  fi
}

W=(--z z --a a --b b --poly 'X^2+X+1')
expect 0 "" --help
grep -q -- "--order FILE" out.txt || { echo "--help does not explain --order"; fail=1; }
expect 2 "net2alg: no netlist given" "${W[@]}"
expect 2 "net2alg: unknown option '--x'" --x 1 "$data/gf4.blif"
expect 2 "net2alg: option '--a' needs a value" --a
expect 2 "net2alg: --poly is missing: give the field's minimal polynomial" --z z --a a "$data/gf4.blif"
expect 1 "net2alg: missing.blif: cannot open for reading" "${W[@]}" missing.blif
printf '.model s\n.inputs d c\n.outputs q\n.latch d q re c 0\n.end\n' >latch.blif
expect 1 "net2alg: latch.blif:4: latches are not supported (the netlist must be combinational)" \
  "${W[@]}" latch.blif
printf 'aag 2 1 1 1 0\n2\n4 2\n4\n' >latch.aag
expect 1 "net2alg: latch.aag:1: latches are not supported (the netlist must be combinational)" \
  "${W[@]}" latch.aag
expect 2 "net2alg: --flops: expected 'transparent' or 'refuse', not 'wires'" \
  "${W[@]}" --flops wires latch.blif
expect 2 "net2alg: --max-power-factors: expected a number from 1 to 9999, not '0'" \
  "${W[@]}" --max-power-factors 0 latch.blif
expect 0 "net2alg: registers made transparent: every path from an operand to the result crosses 1 register" \
  --z q --a d --poly 'X^2+X+1' --spec 'Z + A' --flops transparent latch.blif
# --b is optional when the specification does not use B.
printf '.model c\n.inputs a\n.outputs z\n.names a y z\n11 1\n.names z y\n1 1\n.end\n' >cycle.blif
expect 1 "net2alg: cycle.blif: combinational cycle: z -> y -> z" --z z --a a --poly 'X^2+X+1' \
  --spec 'Z + A' cycle.blif
printf 'Z,A\n' >short.order
expect 1 "net2alg: order file: 12 of the 14 variables are missing (the first is 'B'); did toporder report a loop?" \
  "${W[@]}" --order short.order "$data/gf4.blif"

# A successful run writes the graph and the .alg and says nothing.
expect 0 "" "${W[@]}" --graph g.graph -o gf4.alg "$data/gf4.blif"
[ "$(head -n 1 g.graph)" = "14 25" ] || { echo "unexpected graph header: $(head -n 1 g.graph)"; fail=1; }
grep -qx "Z + A\*B;" gf4.alg || { echo "no specification line in gf4.alg"; fail=1; }
exit $fail
