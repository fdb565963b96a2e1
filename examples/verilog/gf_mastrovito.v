// Multipliers in GF(2^K), Mastrovito style: z = M(a) * b over GF(2), where
// column j of the K x K matrix M(a) is a * x^j mod P.  The columns come from a
// by repeated multiplication by x (a shift and a conditional add of P), and
// bit i of the product is the XOR of the AND of row i of M(a) with b.
//
// BUG_ROW/BUG_COL plant one wrong gate for testing: the AND of M(a)[i][j]
// with b[j] at that place becomes an OR.

module gf_mastrovito #(
  parameter K = 8,
  parameter [K:0] P = 9'h11b,
  parameter BUG_ROW = -1,
  parameter BUG_COL = -1
) (
  input  [K-1:0] a,
  input  [K-1:0] b,
  output [K-1:0] z
);
  wire [K-1:0] col [0:K-1];
  assign col[0] = a;

  genvar i, j;
  generate
    for (j = 1; j < K; j = j + 1) begin : shift
      assign col[j] = {col[j-1][K-2:0], 1'b0}
                    ^ (col[j-1][K-1] ? P[K-1:0] : {K{1'b0}});
    end
    for (i = 0; i < K; i = i + 1) begin : row
      wire [K-1:0] terms;
      for (j = 0; j < K; j = j + 1) begin : term
        if (i == BUG_ROW && j == BUG_COL)
          assign terms[j] = col[j][i] | b[j];
        else
          assign terms[j] = col[j][i] & b[j];
      end
      assign z[i] = ^terms;
    end
  endgenerate
endmodule

// GF(2^8) with P = X^8 + X^4 + X^3 + X + 1.
module gf8_mult (input [7:0] a, input [7:0] b, output [7:0] z);
  gf_mastrovito #(.K(8), .P(9'h11b)) m (.a(a), .b(b), .z(z));
endmodule

// The same with one wrong gate (row 3, column 5).
module gf8_mult_bug (input [7:0] a, input [7:0] b, output [7:0] z);
  gf_mastrovito #(.K(8), .P(9'h11b), .BUG_ROW(3), .BUG_COL(5)) m (.a(a), .b(b), .z(z));
endmodule

// GF(2^16) with P = X^16 + X^5 + X^3 + X + 1.
module gf16_mult (input [15:0] a, input [15:0] b, output [15:0] z);
  gf_mastrovito #(.K(16), .P(17'h1002b)) m (.a(a), .b(b), .z(z));
endmodule
