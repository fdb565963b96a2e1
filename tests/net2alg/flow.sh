#!/usr/bin/env bash
# End-to-end flows: Verilog -> yosys (-> ABC) -> net2alg (-> toporder) ->
# polyverify, on the multipliers of examples/verilog. The plain BLIF flow,
# step by step through toporder, and the wrong gate's remainder from BLIF are
# the examples of docs/net2alg.md (the docs test).
#   flow.sh CASE NET2ALG TOPORDER POLYVERIFY SOURCE_DIR
# A case whose tool (yosys, berkeley-abc) is not installed is skipped
# (status 77); "make setup-test" installs them.
. "$(dirname "$0")/../lib.sh"
set -eo pipefail
case=$1
net2alg=$2
toporder=$3
polyverify=$4
root=$5
verilog=$root/examples/verilog
data=$root/tests/net2alg/data
cd "$work"

P8='X^8+X^4+X^3+X+1'
P16='X^16+X^5+X^3+X+1'

die() { echo "FAIL ($case): $*" >&2; exit 1; }

# synth TOP NAME [write_blif options]: NAME.blif, NAME.aig and NAME.aag.
synth() {
  need yosys
  yosys -q -p "read_verilog $verilog/gf_mastrovito.v $verilog/gf_montgomery.v;
               synth -flatten -top $1; write_blif ${*:3} $2.blif;
               aigmap; write_aiger -symbols $2.aig; write_aiger -ascii -symbols $2.aag" \
    || die "yosys failed on $1"
}

# abc_opt IN OUT: an AIG-optimised netlist from ABC, as BLIF and AIGER.
abc_opt() {
  need berkeley-abc
  berkeley-abc -q "read_blif $1.blif; strash; dc2; write_blif $2.blif; write_aiger -s $2.aig" \
    >/dev/null || die "berkeley-abc failed on $1.blif"
}

expect_zero() {
  local r
  r=$(result "$1")
  [ "$r" = "FINAL RESULT: 0" ] || die "$1: expected FINAL RESULT: 0, got ${r:0:200}"
}
expect_nonzero() {
  local r
  r=$(result "$1")
  [[ $r == "FINAL RESULT: "* && $r != "FINAL RESULT: 0" ]] || die "$1: expected a non-zero remainder, got ${r:0:200}"
}

# convert NETLIST OUT.alg POLY [options]: the one-command conversion.
convert() { "$net2alg" --z z --a a --b b --poly "$3" -o "$2" "${@:4}" "$1" || die "net2alg failed on $1"; }

# steps NETLIST OUT.alg POLY: the graph, toporder, then the order file. Checks
# that the result equals the one-command conversion (same order, same text).
steps() {
  convert "$1" "$2" "$3" --graph "$2.graph"
  "$toporder" "$2.graph" >/dev/null || die "toporder failed on $2.graph"
  convert "$1" "$2.steps" "$3" --order tmp.order
  cmp -s "$2" "$2.steps" || die "$1: the order of toporder differs from net2alg's own"
}

case $case in
  gf8_cells)    # the gate cells as .subckt, and as .gate with .conn
    synth gf8_mult m -icells
    convert m.blif m.alg "$P8"
    expect_zero m.alg
    synth gf8_mult g -gates -conn
    convert g.blif g.alg "$P8"
    expect_zero g.alg ;;
  gf8_aiger)    # binary and ASCII AIGER with symbols
    synth gf8_mult m
    steps m.aig aig.alg "$P8"
    expect_zero aig.alg
    convert m.aag aag.alg "$P8"
    expect_zero aag.alg ;;
  gf8_abc)      # optimised by ABC, as BLIF and as AIGER
    synth gf8_mult m
    abc_opt m o
    steps o.blif blif.alg "$P8"
    expect_zero blif.alg
    convert o.aig aig.alg "$P8"
    expect_zero aig.alg ;;
  gf8_bug)      # one wrong gate: a non-zero remainder from AIGER too
    synth gf8_mult_bug m
    convert m.aig m.alg "$P8"
    expect_nonzero m.alg ;;
  gf8_montgomery) # Z = A*B*X^-8: the specification carries the constant
    synth gf8_montgomery m
    convert m.blif m.alg "$P8" --spec 'Z + (X^7+X^6+X^3+X^2)*A*B'
    expect_zero m.alg
    convert m.blif plain.alg "$P8"
    expect_nonzero plain.alg ;;
  gf16)         # GF(2^16): BLIF, and the AIG (about 1100 AND gates) through toporder
    synth gf16_mult m
    convert m.blif blif.alg "$P16"
    expect_zero blif.alg
    steps m.aig aig.alg "$P16"
    expect_zero aig.alg ;;
  mux16)
    # Data-dependent multiplexers, techmapped without yosys' opt: net2alg's
    # simplification turns them into XORs and ANDs; gate by gate, it warns.
    need yosys
    for top in gf16_mux_mult gf16_shift_add_mult; do
      yosys -q -p "read_verilog $verilog/gf_mux_mult.v; hierarchy -top $top; proc;
                   flatten; techmap; opt_clean; write_blif $top.blif" || die "yosys failed"
      convert $top.blif $top.alg "$P16" 2>warn.txt
      [ ! -s warn.txt ] || die "$top: warnings after simplification: $(cat warn.txt)"
      expect_zero $top.alg
      convert $top.blif raw.alg "$P16" --no-simplify 2>warn.txt
      grep -q "multiplexers remain, in chains up to" warn.txt ||
        die "$top: no warning about the multiplexer chains: $(cat warn.txt)"
      expect_zero raw.alg
      [ "$(wc -c <$top.alg)" -lt "$(wc -c <raw.alg)" ] || die "$top: the simplified problem is not smaller"
    done ;;
  trap)
    # The plain signal graph of a correct GF(4) multiplier (edges from fanins
    # to gates, bits to words) sorts inputs in among the gates; under that
    # order the single pass stops early. net2alg warns, and its own graph
    # gives an order that reduces to 0.
    "$toporder" "$data/gf4_plain.graph" >/dev/null || die "toporder failed on the plain graph"
    convert "$data/gf4.blif" plain.alg 'X^2+X+1' --order tmp.order 2>warn.txt
    grep -q "warning: the order puts the primary input 'a_0' above 'p10'" warn.txt ||
      die "no warning about the plain order: $(cat warn.txt)"
    expect_nonzero plain.alg
    steps "$data/gf4.blif" good.alg 'X^2+X+1'
    expect_zero good.alg ;;
  *)
    die "unknown case" ;;
esac
echo "ok ($case)"
