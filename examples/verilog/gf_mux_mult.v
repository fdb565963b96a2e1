// GF(2^K) multipliers in the style of a first behavioural draft, where each
// step is a conditional XOR written with `?:`.
//
// Every `?:` on a vector is a row of 2-input multiplexers after techmap, and
// in the reduction steps the select is a bit of the very word being reduced.
// Translated gate by gate (no yosys `opt`, no ABC), that is a poor netlist
// for a single-pass algebraic check; net2alg's simplification turns the
// multiplexers back into XORs and ANDs.

// A carry-less product, then a reduction loop that folds each top bit back
// with a conditional XOR of the shifted field polynomial.

module gf_mux_mult #(
  parameter K = 16,
  parameter [K:0] P = 17'h1002b // X^16 + X^5 + X^3 + X + 1
) (
  input  [K-1:0] a,
  input  [K-1:0] b,
  output [K-1:0] z
);
  localparam W = 2 * K - 1; // width of the unreduced product

  reg [W-1:0] prod;
  reg [W-1:0] r;
  integer j, d;

  always @* begin
    prod = {W{1'b0}};
    for (j = 0; j < K; j = j + 1)
      prod = b[j] ? prod ^ ({{(K - 1){1'b0}}, a} << j) : prod;
    r = prod;
    for (d = W - 1; d >= K; d = d - 1)
      r = r[d] ? r ^ ({{(K - 2){1'b0}}, P} << (d - K)) : r;
  end

  assign z = r[K-1:0];
endmodule

// Shift and add, least significant bit of b first: a runs through a*x^i mod P
// (shift, then subtract P when the top bit is set) and is added to the result
// when b[i] is set.
module gf_shift_add_mult #(
  parameter K = 16,
  parameter [K:0] P = 17'h1002b
) (
  input  [K-1:0] a,
  input  [K-1:0] b,
  output [K-1:0] z
);
  reg [K:0]   s;   // a * x^i, one spare bit for the shift
  reg [K-1:0] acc;
  integer i;

  always @* begin
    s = {1'b0, a};
    acc = {K{1'b0}};
    for (i = 0; i < K; i = i + 1) begin
      acc = b[i] ? acc ^ s[K-1:0] : acc;
      s = s << 1;
      s = s[K] ? s ^ P : s;
    end
  end

  assign z = acc;
endmodule

module gf16_mux_mult (input [15:0] a, input [15:0] b, output [15:0] z);
  gf_mux_mult #(.K(16), .P(17'h1002b)) m (.a(a), .b(b), .z(z));
endmodule

module gf16_shift_add_mult (input [15:0] a, input [15:0] b, output [15:0] z);
  gf_shift_add_mult #(.K(16), .P(17'h1002b)) m (.a(a), .b(b), .z(z));
endmodule

// X^64 + X^4 + X^3 + X + 1
module gf64_mux_mult (input [63:0] a, input [63:0] b, output [63:0] z);
  gf_mux_mult #(.K(64), .P(65'h1_0000_0000_0000_001b)) m (.a(a), .b(b), .z(z));
endmodule

// X^128 + X^7 + X^2 + X + 1
module gf128_mux_mult (input [127:0] a, input [127:0] b, output [127:0] z);
  gf_mux_mult #(.K(128), .P(129'h1_0000_0000_0000_0000_0000_0000_0000_0087)) m (.a(a), .b(b), .z(z));
endmodule

module gf64_shift_add_mult (input [63:0] a, input [63:0] b, output [63:0] z);
  gf_shift_add_mult #(.K(64), .P(65'h1_0000_0000_0000_001b)) m (.a(a), .b(b), .z(z));
endmodule

module gf128_shift_add_mult (input [127:0] a, input [127:0] b, output [127:0] z);
  gf_shift_add_mult #(.K(128), .P(129'h1_0000_0000_0000_0000_0000_0000_0000_0087)) m (.a(a), .b(b), .z(z));
endmodule
