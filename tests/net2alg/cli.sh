#!/usr/bin/env bash
# The command line of net2alg: help, usage errors (status 2, the message and
# the usage line) and input errors (status 1, one line), each on standard
# error; a successful run writes the graph and the .alg and says nothing.
#   cli.sh NET2ALG SOURCE_DIR
. "$(dirname "$0")/../lib.sh"
net2alg=$1
data=$2/tests/net2alg/data
cd "$work" || exit 1

usage="usage: net2alg --z BITS --a BITS [--b BITS] --poly POLY [options] NETLIST"
W=(--z z --a a --b b --poly 'X^2+X+1')
expect 0 "" "$net2alg" --help
grep -q -- "--order FILE" out || fail "--help does not explain --order"
expect 2 $'net2alg: no netlist given\n'"$usage" "$net2alg" "${W[@]}"
expect 2 $'net2alg: unknown option \'--x\'\n'"$usage" "$net2alg" --x 1 "$data/gf4.blif"
expect 2 $'net2alg: option \'--a\' needs a value\n'"$usage" "$net2alg" --a
expect 2 $'net2alg: --poly is missing: give the field\'s minimal polynomial\n'"$usage" \
  "$net2alg" --z z --a a "$data/gf4.blif"
expect 1 "net2alg: missing.blif: cannot open for reading" "$net2alg" "${W[@]}" missing.blif
expect 1 "net2alg: --poly: bad minimal polynomial 'X^2+Y+1' (terms are X^e, X and 1 joined by '+')" \
  "$net2alg" --z z --a a --b b --poly 'X^2+Y+1' "$data/gf4.blif"
printf '.model s\n.inputs d c\n.outputs q\n.latch d q re c 0\n.end\n' >latch.blif
expect 1 "net2alg: latch.blif:4: latches are not supported (the netlist must be combinational)" \
  "$net2alg" "${W[@]}" latch.blif
printf 'aag 2 1 1 1 0\n2\n4 2\n4\n' >latch.aag
expect 1 "net2alg: latch.aag:1: latches are not supported (the netlist must be combinational)" \
  "$net2alg" "${W[@]}" latch.aag
expect 2 $'net2alg: --flops: expected \'transparent\' or \'refuse\', not \'wires\'\n'"$usage" \
  "$net2alg" "${W[@]}" --flops wires latch.blif
expect 2 $'net2alg: --max-power-factors: expected a number from 1 to 9999, not \'0\'\n'"$usage" \
  "$net2alg" "${W[@]}" --max-power-factors 0 latch.blif
expect 0 "net2alg: registers made transparent: every path from an operand to the result crosses 1 register" \
  "$net2alg" --z q --a d --poly 'X^2+X+1' --spec 'Z + A' --flops transparent latch.blif
# --word: A and B by name give the same problem as --a and --b; any other
# name is an operand word of the specification, X never.
"$net2alg" "${W[@]}" -o ab.alg "$data/gf4.blif" &&
  "$net2alg" --word Z=z --word A=a --word B=b --poly 'X^2+X+1' -o word.alg "$data/gf4.blif" &&
  cmp -s ab.alg word.alg || fail "--word A=a --word B=b differs from --a a --b b"
expect 0 "" "$net2alg" --word Z=z --word P=a --word Q=b --poly 'X^2+X+1' --spec 'Z + P*Q' \
  "$data/gf4.blif"
grep -q '^Z + P\*Q;$' out || fail "--word P, Q: $(head -c 200 out)"
expect 1 "net2alg: --word: a word may not be called X, the field generator in the .alg language" \
  "$net2alg" --z z --word X=a --poly 'X^2+X+1' "$data/gf4.blif"
expect 2 $'net2alg: --word: expected NAME=BITS, not \'a\'\n'"$usage" \
  "$net2alg" --z z --word a --poly 'X^2+X+1' "$data/gf4.blif"
# --b is optional when the specification does not use B.
printf '.model c\n.inputs a\n.outputs z\n.names a y z\n11 1\n.names z y\n1 1\n.end\n' >cycle.blif
expect 1 "net2alg: cycle.blif: combinational cycle: z -> y -> z" \
  "$net2alg" --z z --a a --poly 'X^2+X+1' --spec 'Z + A' cycle.blif
printf 'Z,A\n' >short.order
expect 1 "net2alg: order file: 12 of the 14 variables are missing (the first is 'B'); did toporder report a loop?" \
  "$net2alg" "${W[@]}" --order short.order "$data/gf4.blif"

expect 0 "" "$net2alg" "${W[@]}" --graph g.graph -o gf4.alg "$data/gf4.blif"
[ "$(head -n 1 g.graph)" = "14 25" ] || fail "unexpected graph header: $(head -n 1 g.graph)"
grep -qx "Z + A\*B;" gf4.alg || fail "no specification line in gf4.alg"
finish
