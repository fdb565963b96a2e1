#!/usr/bin/env bash
# gfverify's command line end to end (the example designs are designs.sh):
# input errors and their one line with status 3, a missing yosys, the
# default words and --poly auto on the shipped multipliers, --keep-alg read
# back by polyverify, and a proof's random-vector testbench run in Icarus
# Verilog (MATCH only).
#   cli.sh GFVERIFY POLYVERIFY SOURCE_DIR
# Exits with 77 (skipped) when yosys or iverilog is not installed.
. "$(dirname "$0")/../lib.sh"
gfverify=$(realpath "$1")
polyverify=$(realpath "$2")
v=$(realpath "$3")/examples/verilog
need yosys
need iverilog
M="$v/gf_mastrovito.v"
P8='X^8+X^4+X^3+X+1'

# Input and usage errors: one line on standard error, status 3.
expect 3 "gfverify: $work/none.v: cannot read the file" "$gfverify" "$work/none.v"
printf 'gfverify: unknown option %s\n%s' "'--bogus'" "usage: gfverify DESIGN.v [MORE.v ...] [options]" >"$work/want"
expect 3 "$(cat "$work/want")" "$gfverify" "$M" --bogus
expect 3 "gfverify: --word: a word may not be called X, the field generator in the .alg language" \
  "$gfverify" "$M" --top gf8_mult --word Z=z --word X=a --word B=b
expect 3 "gfverify: --poly: X^8+X^4+X+1 is not irreducible: GF(2^8) needs an irreducible polynomial" \
  "$gfverify" "$M" --top gf8_mult --poly 'X^8+X^4+X+1'
expect 3 "gfverify: clmul8: the default Z = A*B needs two data inputs and one output of the same width; the top has inputs a (8 bits), b (8 bits) and outputs z (15 bits): name the words with --word NAME=BITS" \
  "$gfverify" "$v/gf_reflected.v" --top clmul8
expect 3 "gfverify: yosys not found on PATH (install it, e.g. apt-get install yosys)" \
  env PATH=/nonexistent "$gfverify" "$M" --top gf8_mult
printf 'module broken(input a, output z);\n  assign z = a &;\nendmodule\n' >"$work/broken.v"
"$gfverify" "$work/broken.v" >"$work/out" 2>"$work/err"
[ $? = 3 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q '^gfverify: yosys: ERROR: ' "$work/err" ||
  fail "a yosys error: $(cat "$work/err")"

# Verdicts, first lines and statuses.
check() { # STATUS VERDICT ARGS...
  local want=$1 verdict=$2 status
  shift 2
  "$gfverify" "$@" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" = "$want" ] && [ "$(head -c ${#verdict} "$work/out")" = "$verdict" ] ||
    fail "$*: status $status, $(head -n 1 "$work/out") $(cat "$work/err")"
}
check 0 "PASS gf8_mult" "$M" --top gf8_mult --keep-alg "$work/gf8.alg"
[ "$(result "$work/gf8.alg")" = "FINAL RESULT: 0" ] || fail "--keep-alg: $(result "$work/gf8.alg")"
grep -q "^  field: $P8 (recovered from the netlist: irreducible)" "$work/out" || fail "no recovered field"
check 1 "FAIL gf8_mult_bug" "$M" --top gf8_mult_bug --poly "$P8"
grep -q '^  wrong output bits: z\[3\]$' "$work/out" || fail "wrong bits: $(cat "$work/out")"
grep -q '^  suspect gates ([0-9]*): .*m.row\[3\].terms\[5\]' "$work/out" || fail "suspects: $(cat "$work/out")"
# Over the memory budget: UNKNOWN with the reason, or FAIL when simulation
# finds the fault anyway.
check 2 "UNKNOWN gf8_mult" "$M" --top gf8_mult --max-memory 1M
grep -q '^  reason: problem 1, generator 1/[0-9]*, .*over the memory budget of 1.0 MB' "$work/out" ||
  fail "budget: $(cat "$work/out")"
check 1 "FAIL gf8_mult_bug" "$M" --top gf8_mult_bug --poly "$P8" --max-memory 1M
# A buggy multiplier's recovered polynomial may be no field: never PASS.
check 2 "UNKNOWN gf8_mult_bug" "$M" --top gf8_mult_bug
# The reflected convention: a field only with --reflect.
check 2 "UNKNOWN gf8_ghash_mult" "$v/gf_reflected.v" --top gf8_ghash_mult
check 0 "PASS gf8_ghash_mult" "$v/gf_reflected.v" --top gf8_ghash_mult --reflect
# A pipeline: a reset folded into the registers is refused until tied.
check 3 "" "$v/gf_pipeline.v" "$M" --top gf8_pipe
check 0 "PASS gf8_pipe" "$v/gf_pipeline.v" "$M" --top gf8_pipe --tie rst=0 --testbench "$work/tb.v"
grep -q 'latency 2$' "$work/out" || fail "no latency: $(cat "$work/out")"
(cd "$work" && iverilog -g2012 -o tb.vvp tb.v "$v/gf_pipeline.v" "$M" && vvp -n tb.vvp) >"$work/sim" 2>&1
[ "$(grep -c '^MATCH random' "$work/sim")" = 8 ] && ! grep -q MISMATCH "$work/sim" ||
  fail "the testbench of a proof: $(head -c 300 "$work/sim")"
finish
