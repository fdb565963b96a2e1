#!/usr/bin/env bash
# The example designs against a reference model, by simulation alone (Icarus
# Verilog), so that their verdicts in designs.tsv do not rest on our tools.
# For each row a testbench applies 200 random vectors (after an all-ones one),
# clocks the design through its latency and compares with a plain
# shift-and-add model; a correct design must give no mismatch, a faulty one
# at least one.
#   reference.sh SOURCE_DIR
# Row: files | top | kind | K | P (with x^K, hex) | reflected | latency | ports | ties | expect
# Kinds: mul (Z = A*B mod P), clmul (no reduction, 2K-1 bits), mac (Z = A*B +
# C), step (Z = (D+Y)*H), serial (a start pulse, then clocks until done).
# Ports name the operands, then the result. Exits with 77 without iverilog.
set -uo pipefail
verilog=$(realpath "$1")/examples/verilog
command -v iverilog >/dev/null || { echo "iverilog is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

read -r -d '' TABLE <<'ROWS'
aes_gmul.v        | aes_gmul           | mul    | 8   | 11b    | 0 | 0 | a b p     |             | ok
aes_gmul.v        | aes_gmul_bug       | mul    | 8   | 11b    | 0 | 0 | a b p     |             | bad
ghash.v           | ghash128_mult      | mul    | 128 | 1_00000000_00000000_00000000_00000087 | 1 | 1 | x h z | | ok
ghash.v           | ghash128_mult_bug  | mul    | 128 | 1_00000000_00000000_00000000_00000087 | 1 | 1 | x h z | | bad
ghash.v           | ghash16_mult       | mul    | 16  | 1002b  | 1 | 1 | x h z     |             | ok
ghash.v           | ghash16_step       | step   | 16  | 1002b  | 1 | 1 | d y h z   |             | ok
ghash.v           | ghash16_step_bug   | step   | 16  | 1002b  | 1 | 1 | d y h z   |             | bad
ghash.v           | ghash128_step      | step   | 128 | 1_00000000_00000000_00000000_00000087 | 1 | 1 | d y h z | | ok
gf_karatsuba.v    | gf64_kara_pipe     | mul    | 64  | 1_00000000_0000001b | 0 | 2 | a b z | ce=1 | ok
gf_karatsuba.v    | gf64_kara_pipe_bug | mul    | 64  | 1_00000000_0000001b | 0 | 2 | a b z | ce=1 | bad
gf_karatsuba.v    | clmul16_kara       | clmul  | 16  | 0      | 0 | 0 | a b p     |             | ok
gf_karatsuba.v    | clmul16_kara_bug   | clmul  | 16  | 0      | 0 | 0 | a b p     |             | bad
gf_karatsuba.v    | clmul64_kara       | clmul  | 64  | 0      | 0 | 0 | a b p     |             | ok
gf_mac.v          | gf8_mac            | mac    | 8   | 11b    | 0 | 1 | a b c z   | rst=0 en=1  | ok
gf_mac.v          | gf8_mac_bug        | mac    | 8   | 11b    | 0 | 1 | a b c z   | rst=0 en=1  | bad
gf_mac.v          | gf163_mac          | mac    | 163 | 8_00000000_00000000_00000000_00000000_000000c9 | 0 | 1 | a b c z | rst=0 en=1 | ok
gf_digit_serial.v | gf16_digit_serial  | serial | 16  | 1002b  | 0 | 0 | a b z     |             | ok
ROWS

# testbench TOP KIND K P REFLECTED LATENCY PORTS TIES: the Verilog text.
testbench() {
  local top=$1 kind=$2 k=$3 p=$4 refl=$5 lat=$6 ports=($7) ties=($8) zw=$3 conn="" i rnd="" want
  [ "$kind" = clmul ] && zw=$((2 * k - 1))
  for ((i = 0; i < (k + 31) / 32; i++)); do rnd+="\$random, "; done
  rnd="{${rnd%, }}"
  for ((i = 0; i < ${#ports[@]} - 1; i++)); do conn+=".${ports[i]}(o$i), "; done
  conn+=".${ports[-1]}(z)"
  [ "$lat" -gt 0 ] || [ "$kind" = serial ] && conn="$conn, .clk(clk)"
  [ "$kind" = serial ] && conn="$conn, .start(start), .done(done)"
  for i in "${ties[@]}"; do conn+=", .${i%=*}(1'b${i#*=})"; done
  case $kind in
    mul | serial) want="mulmod(i0, i1)" ;;
    clmul) want="clmul(i0, i1)" ;;
    mac) want="mulmod(i0, i1) ^ i2" ;;
    step) want="mulmod(i0 ^ i1, i2)" ;;
  esac
  cat <<TB
module tb;
  localparam K = $k;
  localparam [K:0] P = $((k + 1))'h$p;
  reg clk = 0, start = 0;
  wire done;
  reg [K-1:0] o0, o1, o2;
  // the operands and the result in natural order (x^0 at bit 0)
  wire [K-1:0] i0 = $refl ? rev(o0) : o0, i1 = $refl ? rev(o1) : o1, i2 = $refl ? rev(o2) : o2;
  wire [$zw-1:0] z;
  wire [$zw-1:0] zn = $refl ? rev(z) : z;
  integer n, bad = 0;
  function [K-1:0] rev(input [K-1:0] v);
    integer i;
    for (i = 0; i < K; i = i + 1) rev[i] = v[K-1-i];
  endfunction
  function [2*K-2:0] clmul(input [K-1:0] x, input [K-1:0] y);
    integer i;
    begin
      clmul = 0;
      for (i = 0; i < K; i = i + 1) if (y[i]) clmul = clmul ^ (x << i);
    end
  endfunction
  function [K-1:0] mulmod(input [K-1:0] x, input [K-1:0] y);
    integer i;
    reg [K:0] s;
    begin
      mulmod = 0;
      s = {1'b0, x};
      for (i = 0; i < K; i = i + 1) begin
        if (y[i]) mulmod = mulmod ^ s[K-1:0];
        s = s << 1;
        if (s[K]) s = s ^ P;
      end
    end
  endfunction
  task tick; begin #1 clk = 1; #1 clk = 0; end endtask
  $top dut ($conn);
  initial begin
    for (n = 0; n <= 200; n = n + 1) begin
      o0 = n ? $rnd : ~0; o1 = n ? $rnd : ~0; o2 = n ? $rnd : ~0;
      if ("$kind" == "serial") begin
        start = 1; tick; start = 0;
        while (!done) tick;
      end
      repeat ($lat) tick;
      #1 if (zn !== ($want)) bad = bad + 1;
    end
    \$display("%0d mismatches", bad);
    \$finish;
  end
endmodule
TB
}

trim() { local s=${1#"${1%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }
fail=0
while IFS='|' read -r files top kind k p refl lat ports ties expect; do
  top=$(trim "$top") expect=$(trim "$expect")
  testbench "$top" $(trim "$kind") $(trim "$k") $(trim "$p") $(trim "$refl") $(trim "$lat") \
    "$(trim "$ports")" "$(trim "$ties")" >"$work/$top.tb.v"
  srcs=()
  for f in $files; do srcs+=("$verilog/$f"); done
  if ! iverilog -g2005 -o "$work/$top.vvp" "$work/$top.tb.v" "${srcs[@]}" 2>"$work/err"; then
    echo "FAIL $top: iverilog: $(head -c 300 "$work/err")"; fail=1; continue
  fi
  got=$(vvp -n "$work/$top.vvp" | grep -m1 mismatches)
  case $expect:$got in
    ok:"0 mismatches" | bad:[1-9]*) echo "ok $top: $got" ;;
    *) echo "FAIL $top: expected $expect, got '$got'"; fail=1 ;;
  esac
done <<<"$TABLE"
exit $fail
