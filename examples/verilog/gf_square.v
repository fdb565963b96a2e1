// Powers A^(2^N) in GF(2^K) as linear XOR networks. Squaring is linear over
// GF(2): bit i of a contributes the constant column x^(i*2^N) mod P, so each
// output bit is the XOR of the input bits whose column has a one there. The
// columns are computed at elaboration time by a constant function.
//
// BUG_ROW/BUG_COL plant one fault for testing: the matrix entry at that row
// and column is flipped (an input bit joins or leaves an output's XOR).

module gf_frobenius #(
  parameter K = 8,
  parameter [K:0] P = 9'h11b,
  parameter N = 1,
  parameter BUG_ROW = -1,
  parameter BUG_COL = -1
) (
  input  [K-1:0] a,
  output [K-1:0] z
);
  // x^(i*2^N) mod P: start from x^i and square N times.
  function [K-1:0] column(input integer i);
    integer s, j;
    reg [2*K-1:0] t;
    begin
      column = {K{1'b0}};
      column[i] = 1'b1;
      for (s = 0; s < N; s = s + 1) begin
        t = {2*K{1'b0}};
        for (j = 0; j < K; j = j + 1)
          t[2*j] = column[j];
        for (j = 2*K-1; j >= K; j = j - 1)
          if (t[j])
            t = t ^ ({{K-1{1'b0}}, P} << (j - K));
        column = t[K-1:0];
      end
    end
  endfunction

  wire [K-1:0] acc [0:K];
  assign acc[0] = {K{1'b0}};
  genvar i;
  generate
    for (i = 0; i < K; i = i + 1) begin : col
      localparam [K-1:0] C = column(i) ^ (i == BUG_COL ? {{K-1{1'b0}}, 1'b1} << BUG_ROW : {K{1'b0}});
      assign acc[i+1] = acc[i] ^ (C & {K{a[i]}});
    end
  endgenerate
  assign z = acc[K];
endmodule

// Squarers: GF(2^8) (AES), GF(2^64) and GF(2^163) (NIST B-163).
module gf8_square (input [7:0] a, output [7:0] z);
  gf_frobenius #(.K(8), .P(9'h11b)) s (.a(a), .z(z));
endmodule

module gf64_square (input [63:0] a, output [63:0] z);
  gf_frobenius #(.K(64), .P(65'h1_0000_0000_0000_001b)) s (.a(a), .z(z));
endmodule

module gf163_square (input [162:0] a, output [162:0] z);
  gf_frobenius #(.K(163), .P({1'b1, 155'b0, 8'hc9})) s (.a(a), .z(z));
endmodule

// The fourth power in GF(2^8).
module gf8_pow4 (input [7:0] a, output [7:0] z);
  gf_frobenius #(.K(8), .P(9'h11b), .N(2)) s (.a(a), .z(z));
endmodule

// A^3 = A^2 * A: a squarer feeding a multiplier (gf_mastrovito.v).
module gf8_cube (input [7:0] a, output [7:0] z);
  wire [7:0] sq;
  gf_frobenius #(.K(8), .P(9'h11b)) s (.a(a), .z(sq));
  gf_mastrovito #(.K(8), .P(9'h11b)) m (.a(sq), .b(a), .z(z));
endmodule

// A squarer with one wrong matrix entry (row 2, column 6).
module gf8_square_bug (input [7:0] a, output [7:0] z);
  gf_frobenius #(.K(8), .P(9'h11b), .BUG_ROW(2), .BUG_COL(6)) s (.a(a), .z(z));
endmodule

// The identity, which a squarer must not be mistaken for.
module gf8_identity (input [7:0] a, output [7:0] z);
  assign z = a;
endmodule
