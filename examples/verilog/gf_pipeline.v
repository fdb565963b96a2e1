// Sequential GF(2^8) designs for the register checks of net2alg
// (--flops transparent): a two-stage pipelined multiplier with synchronous
// resets, which yosys' opt folds into $_SDFF_ cells, and a bit-serial
// multiplier, whose accumulator is a loop and can never be a wire.

// Operand registers, then the product (gf_mastrovito.v) into an output
// register; both stages clear on a synchronous reset.
module gf8_pipe (
  input            clk,
  input            rst,
  input      [7:0] a,
  input      [7:0] b,
  output reg [7:0] z
);
  reg  [7:0] a_q, b_q;
  wire [7:0] p;
  gf_mastrovito #(.K(8), .P(9'h11b)) m (.a(a_q), .b(b_q), .z(p));
  always @(posedge clk) begin
    if (rst) begin
      a_q <= 8'd0;
      b_q <= 8'd0;
      z   <= 8'd0;
    end else begin
      a_q <= a;
      b_q <= b;
      z   <= p;
    end
  end
endmodule

// One bit of b per clock, most significant first (Horner's rule):
// z <= z*x + a*b[i]. After eight clocks z holds a*b.
module gf8_serial (
  input            clk,
  input            start,
  input      [7:0] a,
  input      [7:0] b,
  output reg [7:0] z
);
  reg [2:0] i;
  wire [7:0] zx = {z[6:0], 1'b0} ^ (z[7] ? 8'h1b : 8'h00);
  always @(posedge clk) begin
    if (start) begin
      i <= 3'd6;
      z <= b[7] ? a : 8'd0;
    end else begin
      i <= i - 3'd1;
      z <= zx ^ (b[i] ? a : 8'd0);
    end
  end
endmodule
