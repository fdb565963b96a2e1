// A digit-serial GF(2^K) multiplier: D bits of b per clock, most significant
// digit first, z <= z*x^D + a*digit. A pulse on start loads the operands;
// done rises after K/D clocks. The accumulator feeds back into itself, so
// the design is a state machine, not a pipeline: no combinational function
// of a and b can be read off one register stage.

module gf_digit_serial #(
  parameter K = 16,
  parameter [K:0] P = 17'h1002b, // x^16 + x^5 + x^3 + x + 1
  parameter D = 4                // must divide K
) (
  input              clk,
  input              start,
  input      [K-1:0] a,
  input      [K-1:0] b,
  output reg [K-1:0] z,
  output             done
);
  reg [K-1:0] a_q, b_q;
  reg [$clog2(K/D+1)-1:0] left;
  assign done = (left == 0);

  // z*x^D + a*b_q's top digit, one shift-and-reduce per bit of the digit.
  reg [K-1:0] next;
  integer i;
  always @* begin
    next = z;
    for (i = D - 1; i >= 0; i = i - 1)
      next = {next[K-2:0], 1'b0} ^ (P[K-1:0] & {K{next[K-1]}})
           ^ (a_q & {K{b_q[K-D+i]}});
  end

  always @(posedge clk)
    if (start) begin
      a_q  <= a;
      b_q  <= b;
      z    <= {K{1'b0}};
      left <= K / D;
    end else if (!done) begin
      z    <= next;
      b_q  <= b_q << D;
      left <= left - 1'b1;
    end
endmodule

module gf16_digit_serial (
  input         clk,
  input         start,
  input  [15:0] a,
  input  [15:0] b,
  output [15:0] z,
  output        done
);
  gf_digit_serial m (.clk(clk), .start(start), .a(a), .b(b), .z(z), .done(done));
endmodule
