// Multiply-accumulate in GF(2^K): z <= a*b + c, registered, with a
// synchronous reset and a clock enable (yosys folds both into the flip-flops,
// so verification holds rst at 0 and en at 1).
//
// The product is Horner's rule unrolled, most significant bit of b first:
// s = s*x + a*b[i], where s*x is a shift with P added when bit K-1 drops out.
// FAULT = 1 turns the XOR that adds c[1] into an OR.

module gf_mac #(
  parameter K = 8,
  parameter [K:0] P = 9'h11b,
  parameter FAULT = 0
) (
  input              clk,
  input              rst,
  input              en,
  input      [K-1:0] a,
  input      [K-1:0] b,
  input      [K-1:0] c,
  output reg [K-1:0] z
);
  reg [K-1:0] s;
  integer i;
  always @* begin
    s = {K{1'b0}};
    for (i = K - 1; i >= 0; i = i - 1)
      s = {s[K-2:0], 1'b0} ^ (P[K-1:0] & {K{s[K-1]}}) ^ (a & {K{b[i]}});
  end

  wire [K-1:0] sum;
  genvar j;
  generate
    for (j = 0; j < K; j = j + 1) begin : add
      if (FAULT == 1 && j == 1)
        assign sum[j] = s[j] | c[j];
      else
        assign sum[j] = s[j] ^ c[j];
    end
  endgenerate

  always @(posedge clk)
    if (rst)
      z <= {K{1'b0}};
    else if (en)
      z <= sum;
endmodule

module gf8_mac (
  input        clk,
  input        rst,
  input        en,
  input  [7:0] a,
  input  [7:0] b,
  input  [7:0] c,
  output [7:0] z
);
  gf_mac m (.clk(clk), .rst(rst), .en(en), .a(a), .b(b), .c(c), .z(z));
endmodule

module gf8_mac_bug (
  input        clk,
  input        rst,
  input        en,
  input  [7:0] a,
  input  [7:0] b,
  input  [7:0] c,
  output [7:0] z
);
  gf_mac #(.FAULT(1)) m (.clk(clk), .rst(rst), .en(en), .a(a), .b(b), .c(c), .z(z));
endmodule

// NIST B-163: P = x^163 + x^7 + x^6 + x^3 + 1.
module gf163_mac (
  input          clk,
  input          rst,
  input          en,
  input  [162:0] a,
  input  [162:0] b,
  input  [162:0] c,
  output [162:0] z
);
  gf_mac #(.K(163), .P({1'b1, 155'd0, 8'hc9})) m
    (.clk(clk), .rst(rst), .en(en), .a(a), .b(b), .c(c), .z(z));
endmodule
