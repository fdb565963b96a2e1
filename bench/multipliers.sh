# Sourced by the yosys benchmarks: the Verilog multipliers of
# examples/verilog at the NIST sizes, instantiated under a top module with
# ports a, b and z.

# The low part of P (below x^K) in hex, and the levels of Karatsuba that
# leave schoolbook blocks of 8 to 18 bits.
low() { case $1 in 64) echo 1b ;; 163) echo c9 ;; 283) echo 10a1 ;; 571) echo 425 ;; esac; }
levels() { case $1 in 64) echo 3 ;; 163) echo 4 ;; 283) echo 5 ;; 571) echo 6 ;; esac; }

# write_top DESIGN K TOP.v: writes the top module to TOP.v and prints the
# source file of the multiplier it instantiates.
write_top() {
  local design=$1 k=$2 inst
  if [ "$design" = karatsuba ]; then
    echo "$root/examples/verilog/gf_karatsuba.v"
    inst="gf_kara_mult #(.K($k), .P({1'b1, {($k-16){1'b0}}, 16'h$(low "$k")}), .LEVELS($(levels "$k")))"
  else
    echo "$root/examples/verilog/gf_mastrovito.v"
    inst="gf_mastrovito #(.K($k), .P({1'b1, {($k-16){1'b0}}, 16'h$(low "$k")}))"
  fi
  echo "module top (input [$k-1:0] a, input [$k-1:0] b, output [$k-1:0] z);
  $inst m (.a(a), .b(b), .z(z));
endmodule" >"$3"
}
