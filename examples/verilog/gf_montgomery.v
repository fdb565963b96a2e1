// Montgomery multipliers in GF(2^K): z = a * b * x^(-K) mod P. The
// bit-serial algorithm, unrolled into combinational logic: for each bit b[i]
// add b[i] * a, then add P if the constant term is 1 (making it 0), and
// divide by x (a shift to the right).
//
// Verified against the specification Z + c*A*B with c = X^(-K) mod P.

module gf_montgomery #(
  parameter K = 8,
  parameter [K:0] P = 9'h11b
) (
  input  [K-1:0] a,
  input  [K-1:0] b,
  output [K-1:0] z
);
  wire [K-1:0] t [0:K];
  assign t[0] = {K{1'b0}};

  genvar i;
  generate
    for (i = 0; i < K; i = i + 1) begin : step
      wire [K-1:0] s = t[i] ^ (b[i] ? a : {K{1'b0}});
      wire [K:0] u = {1'b0, s} ^ (s[0] ? P : {(K+1){1'b0}});
      assign t[i+1] = u[K:1];
    end
  endgenerate
  assign z = t[K];
endmodule

// GF(2^8) with P = X^8 + X^4 + X^3 + X + 1, where X^(-8) = X^7 + X^6 + X^3 + X^2.
module gf8_montgomery (input [7:0] a, input [7:0] b, output [7:0] z);
  gf_montgomery #(.K(8), .P(9'h11b)) m (.a(a), .b(b), .z(z));
endmodule
