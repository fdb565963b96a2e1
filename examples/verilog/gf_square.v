// Squarers in GF(2^K) as linear XOR networks. Squaring is linear over
// GF(2): it spreads the bits of a (bit i goes to position 2i), and the
// reduction modulo P folds each high position j >= K back down, top first,
// by adding P * x^(j-K) when that position is set. As P is a constant, every
// fold is a set of XORs with one data bit: no AND, no multiplexer.
//
// BUG_ROW/BUG_COL plant one fault for testing: output bit BUG_ROW also
// takes input bit BUG_COL into its XOR.

module gf_square #(
  parameter K = 8,
  parameter [K:0] P = 9'h11b,
  parameter BUG_ROW = -1,
  parameter BUG_COL = -1
) (
  input  [K-1:0] a,
  output [K-1:0] z
);
  // r[j] holds the square with the positions above j folded down already.
  wire [2*K-2:0] r [K-1:2*K-1];
  genvar i, j;
  generate
    for (i = 0; i < K; i = i + 1) begin : spread
      assign r[2*K-1][2*i] = a[i];
      if (i < K - 1)
        assign r[2*K-1][2*i+1] = 1'b0;
    end
    for (j = 2*K-2; j >= K; j = j - 1) begin : fold
      assign r[j] = r[j+1] ^ ({{K-2{1'b0}}, P} << (j - K) & {2*K-1{r[j+1][j]}});
    end
    for (i = 0; i < K; i = i + 1) begin : out
      if (i == BUG_ROW)
        assign z[i] = r[K][i] ^ a[BUG_COL];
      else
        assign z[i] = r[K][i];
    end
  endgenerate
endmodule

// Squarers: GF(2^8) (AES), GF(2^64) and GF(2^163) (NIST B-163).
module gf8_square (input [7:0] a, output [7:0] z);
  gf_square #(.K(8), .P(9'h11b)) s (.a(a), .z(z));
endmodule

module gf64_square (input [63:0] a, output [63:0] z);
  gf_square #(.K(64), .P(65'h1_0000_0000_0000_001b)) s (.a(a), .z(z));
endmodule

module gf163_square (input [162:0] a, output [162:0] z);
  gf_square #(.K(163), .P({1'b1, 155'b0, 8'hc9})) s (.a(a), .z(z));
endmodule

// The fourth power in GF(2^8): two squarers in a row.
module gf8_pow4 (input [7:0] a, output [7:0] z);
  wire [7:0] sq;
  gf_square #(.K(8), .P(9'h11b)) s1 (.a(a), .z(sq));
  gf_square #(.K(8), .P(9'h11b)) s2 (.a(sq), .z(z));
endmodule

// A^3 = A^2 * A: a squarer feeding a multiplier (gf_mastrovito.v).
module gf8_cube (input [7:0] a, output [7:0] z);
  wire [7:0] sq;
  gf_square #(.K(8), .P(9'h11b)) s (.a(a), .z(sq));
  gf_mastrovito #(.K(8), .P(9'h11b)) m (.a(sq), .b(a), .z(z));
endmodule

// A squarer with one wrong XOR input (a[6] into z[2]).
module gf8_square_bug (input [7:0] a, output [7:0] z);
  gf_square #(.K(8), .P(9'h11b), .BUG_ROW(2), .BUG_COL(6)) s (.a(a), .z(z));
endmodule

// The identity, which a squarer must not be mistaken for.
module gf8_identity (input [7:0] a, output [7:0] z);
  assign z = a;
endmodule
