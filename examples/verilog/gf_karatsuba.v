// Karatsuba multipliers over GF(2), as used for the binary ECC fields: a
// carry-less product module (recursive Karatsuba down to a schoolbook AND
// array), a reduction module, and a pipelined GF(2^64) multiplier that puts
// a register stage after each of them.
//
// One level of clmul_kara splits N bits into a low half of H = ceil(N/2)
// bits and a high part of N - H bits:
//   a*b = p0 + (pm + p0 + p2) * x^H + p2 * x^(2H),
//   p0 = a0*b0, p2 = a1*b1, pm = (a0 + a1)*(b0 + b1).
// FAULT plants one wrong gate for testing: AND number FAULT (row*N + column)
// of the lowest-order schoolbook block becomes an OR.

module clmul_kara #(
  parameter N      = 64,
  parameter LEVELS = 3,
  parameter FAULT  = -1
) (
  input  [N-1:0]   a,
  input  [N-1:0]   b,
  output [2*N-2:0] p
);
  genvar i, j;
  generate
    if (LEVELS == 0 || N < 4) begin : school
      wire [N-1:0] row [0:N-1];
      for (i = 0; i < N; i = i + 1) begin : r
        for (j = 0; j < N; j = j + 1) begin : c
          if (i * N + j == FAULT)
            assign row[i][j] = a[j] | b[i];
          else
            assign row[i][j] = a[j] & b[i];
        end
      end
      reg [2*N-2:0] acc;
      integer k;
      always @* begin
        acc = {(2*N-1){1'b0}};
        for (k = 0; k < N; k = k + 1)
          acc = acc ^ ({{(N-1){1'b0}}, row[k]} << k);
      end
      assign p = acc;
    end else begin : split
      localparam H = (N + 1) / 2;
      localparam L = N - H;
      wire [H-1:0]   a0 = a[H-1:0], b0 = b[H-1:0];
      wire [L-1:0]   a1 = a[N-1:H], b1 = b[N-1:H];
      wire [2*H-2:0] p0, pm;
      wire [2*L-2:0] p2;
      clmul_kara #(.N(H), .LEVELS(LEVELS - 1), .FAULT(FAULT)) lo (.a(a0), .b(b0), .p(p0));
      clmul_kara #(.N(L), .LEVELS(LEVELS - 1)) hi (.a(a1), .b(b1), .p(p2));
      clmul_kara #(.N(H), .LEVELS(LEVELS - 1)) mid (.a(a0 ^ a1), .b(b0 ^ b1), .p(pm));
      wire [2*H-2:0] m = pm ^ p0 ^ p2;
      assign p = {{(2*N-2*H){1'b0}}, p0}
               ^ ({{(2*N-2*H){1'b0}}, m} << H)
               ^ ({p2, {(2*H){1'b0}}});
    end
  endgenerate
endmodule

// Reduction of a (2K-1)-bit product modulo P (degree K), top bit first:
// each set bit c[j], j >= K, adds P * x^(j-K). P is a constant, so every
// step is a row of XORs gated by one bit.
module gf_reduce #(
  parameter K = 64,
  parameter [K:0] P = 65'h1_0000_0000_0000_001b
) (
  input  [2*K-2:0] c,
  output [K-1:0]   z
);
  reg [2*K-2:0] r;
  integer j;
  always @* begin
    r = c;
    for (j = 2*K-2; j >= K; j = j - 1)
      r = r ^ (({{(K-2){1'b0}}, P} << (j - K)) & {(2*K-1){r[j]}});
  end
  assign z = r[K-1:0];
endmodule

// A combinational field multiplier: product, then reduction.
module gf_kara_mult #(
  parameter K = 64,
  parameter [K:0] P = 65'h1_0000_0000_0000_001b,
  parameter LEVELS = 3
) (
  input  [K-1:0] a,
  input  [K-1:0] b,
  output [K-1:0] z
);
  wire [2*K-2:0] c;
  clmul_kara #(.N(K), .LEVELS(LEVELS)) mul (.a(a), .b(b), .p(c));
  gf_reduce #(.K(K), .P(P)) red (.c(c), .z(z));
endmodule

// GF(2^64), P = x^64 + x^4 + x^3 + x + 1, three Karatsuba levels (64, 32,
// 16, then 8-bit schoolbook blocks). Stage 1 registers the 127-bit product,
// stage 2 the reduced result: a latency of two clocks, both stages held
// while ce is low.
module gf64_kara_pipe #(parameter FAULT = -1) (
  input             clk,
  input             ce,
  input      [63:0] a,
  input      [63:0] b,
  output reg [63:0] z
);
  wire [126:0] p;
  reg  [126:0] p_q;
  wire [63:0]  r;
  clmul_kara #(.N(64), .LEVELS(3), .FAULT(FAULT)) mul (.a(a), .b(b), .p(p));
  gf_reduce #(.K(64), .P(65'h1_0000_0000_0000_001b)) red (.c(p_q), .z(r));
  always @(posedge clk)
    if (ce) begin
      p_q <= p;
      z   <= r;
    end
endmodule

// The same with AND 19 (row 2, column 3) of the lowest 8-bit block an OR.
module gf64_kara_pipe_bug (
  input         clk,
  input         ce,
  input  [63:0] a,
  input  [63:0] b,
  output [63:0] z
);
  gf64_kara_pipe #(.FAULT(19)) m (.clk(clk), .ce(ce), .a(a), .b(b), .z(z));
endmodule

// Carry-less products without reduction: K x K -> 2K-1 bits.
module clmul16_kara (input [15:0] a, input [15:0] b, output [30:0] p);
  clmul_kara #(.N(16), .LEVELS(1)) m (.a(a), .b(b), .p(p));
endmodule

module clmul64_kara (input [63:0] a, input [63:0] b, output [126:0] p);
  clmul_kara #(.N(64), .LEVELS(3)) m (.a(a), .b(b), .p(p));
endmodule

module clmul16_kara_bug (input [15:0] a, input [15:0] b, output [30:0] p);
  clmul_kara #(.N(16), .LEVELS(1), .FAULT(37)) m (.a(a), .b(b), .p(p));
endmodule
