#!/usr/bin/env bash
# Word powers, registers and the hints of net2alg, end to end: Verilog of
# examples/verilog through yosys, net2alg, polyverify. One row per case:
#   name | top module | yosys flow | net2alg options | expected result | stderr text
# Flows: opt (proc, flatten, opt, techmap, opt: yosys folds resets and enables
# into the flip-flops), raw (no opt: the registers stay plain), aig (as raw,
# written as AIGER). Results: zero or nonzero (the remainder), refused
# (net2alg exits with 1). The stderr text must occur in net2alg's messages;
# "quiet" means there must be none.
#   rtl.sh NET2ALG POLYVERIFY SOURCE_DIR
# Exits with 77 (skipped) when yosys is not installed.
. "$(dirname "$0")/../lib.sh"
set -o pipefail
net2alg=$(realpath "$1")
polyverify=$(realpath "$2")
verilog=$(realpath "$3")/examples/verilog
need yosys
cd "$work" || exit 1

P8='X^8+X^4+X^3+X+1'
P64='X^64+X^4+X^3+X+1'
P163='X^163+X^7+X^6+X^3+1'
AB="--z z --a a --b b --poly $P8"
SQ="--z z --a a --poly $P8"
REFL="--z z[7..0] --a x[7..0] --b y[7..0] --poly $P8"
SEQ="$AB --flops transparent"

read -r -d '' TABLE <<'ROWS'
identity      | gf8_identity   | opt | $SQ --spec 'Z + A^2'                         | nonzero |
square8       | gf8_square     | opt | $SQ --spec 'Z + A^2'                         | zero    | quiet
square8_aa    | gf8_square     | opt | $SQ --spec 'Z + A*A'                         | zero    |
square64      | gf64_square    | opt | --z z --a a --poly $P64 --spec 'Z + A^2'     | zero    |
square163     | gf163_square   | opt | --z z --a a --poly $P163 --spec 'Z + A^2'    | zero    |
fourth_power  | gf8_pow4       | opt | $SQ --spec 'Z + A^4'                         | zero    |
cube          | gf8_cube       | opt | $SQ --spec 'Z + A^3'                         | zero    |
cube_as_sq    | gf8_cube       | opt | $SQ --spec 'Z + A^2'                         | nonzero | does not meet the specification
square_bug    | gf8_square_bug | opt | $SQ --spec 'Z + A^2'                         | nonzero |
many_factors  | gf8_square     | opt | $SQ --spec 'Z + A^127' --max-power-factors 6 | refused | at most 6 are allowed
pipe_folded   | gf8_pipe       | opt | $SEQ                                         | refused | synchronous reset 'rst' is not held inactive
pipe_tied     | gf8_pipe       | opt | $SEQ --tie rst=0                             | zero    | crosses 2 registers
pipe_held     | gf8_pipe       | opt | $SEQ --tie rst=1                             | refused | hold its synchronous reset 'rst' active
pipe_plain    | gf8_pipe       | raw | $SEQ                                         | nonzero | crosses 2 registers
pipe_plain_t  | gf8_pipe       | raw | $SEQ --tie rst=0                             | zero    |
pipe_aiger    | gf8_pipe       | aig | $SEQ --tie rst=0                             | zero    | crosses 2 registers
pipe_default  | gf8_pipe       | raw | $AB                                          | refused | are not supported
serial        | gf8_serial     | opt | $SEQ                                         | refused | is in a loop
reflected     | gf8_ghash_mult | opt | --z z --a x --b y --poly $P8                 | nonzero | with the bit order of A, B and Z reversed the circuit verifies
reflected_rev | gf8_ghash_mult | opt | $REFL                                        | zero    | quiet
carry_less    | clmul8         | opt | $AB --poly 'X^15+X+1'                        | zero    | quiet
ROWS

# netlist TOP FLOW: synthesizes once per top module and flow; prints the file.
netlist() {
  local file="$1.$2" script="hierarchy -top $1; proc; flatten;"
  case $2 in
    opt) script+=" opt; techmap; opt; write_blif $file.blif" ;;
    raw) script+=" techmap; write_blif $file.blif" ;;
    aig) script+=" techmap; opt -nosdff -nodffe; aigmap; write_aiger -symbols $file.aig" ;;
  esac
  local out=$file.$([ "$2" = aig ] && echo aig || echo blif)
  [ -e "$out" ] || yosys -q -p "read_verilog $verilog/gf_square.v $verilog/gf_mastrovito.v \
      $verilog/gf_pipeline.v $verilog/gf_reflected.v; $script" >yosys.log 2>&1 ||
    { echo "yosys failed on $1 ($2):" >&2; cat yosys.log >&2; return 1; }
  echo "$out"
}

trim() { local s=${1#"${1%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }
while IFS='|' read -r name top flow options expected text; do
  name=$(trim "$name") top=$(trim "$top") flow=$(trim "$flow")
  expected=$(trim "$expected") text=$(trim "$text")
  file=$(netlist "$top" "$flow") || { fail "$name: no netlist"; continue; }
  eval "args=($options)"
  "$net2alg" "${args[@]}" -o "$name.alg" "$file" 2>"$name.err"
  status=$?
  got=refused
  if [ $status -eq 0 ]; then
    got=$("$polyverify" "$name.alg" | head -n 1)
    [ "$got" = "FINAL RESULT: 0" ] && got=zero || got=nonzero
  fi
  bad=""
  [ "$got" = "$expected" ] || bad="expected $expected, got $got"
  if [ "$text" = quiet ]; then
    [ -s "$name.err" ] && bad+=" messages where none were expected"
  elif [ -n "$text" ] && ! grep -qF -- "$text" "$name.err"; then
    bad+=" no message with '$text'"
  fi
  if [ -n "$bad" ]; then
    fail "$name: $bad"
    sed 's/^/  net2alg: /' "$name.err" | cut -c1-300
  fi
done <<<"$TABLE"
finish
