// GHASH multipliers in the bit-reflected convention of GCM: bit W-1 of a
// port (the leftmost bit of the block) is the coefficient of x^0, bit 0 that
// of x^(W-1). For W = 128, P = x^128 + x^7 + x^2 + x + 1.
//
// The ports are reversed into natural order, multiplied carry-less by an
// AND array, and the 2W-1 bit product reduced with two folds of the high
// half: x^W = TAIL (mod P), so hi * x^W becomes hi * TAIL, whose part above
// x^W is folded once more (deg TAIL <= (W+1)/2 keeps it inside W bits). The
// result is reversed back and registered.
//
// FAULT = 1 drops the x^0 term of TAIL from the second fold, one XOR row
// that only the top bits of the product reach.

module ghash_mult #(
  parameter W = 128,
  parameter [W-1:0] TAIL = 128'h87,
  parameter FAULT = 0
) (
  input              clk,
  input      [W-1:0] x,
  input      [W-1:0] h,
  output reg [W-1:0] z
);
  function [W-1:0] reverse(input [W-1:0] v);
    integer i;
    for (i = 0; i < W; i = i + 1)
      reverse[i] = v[W-1-i];
  endfunction

  // Carry-less product of a by the constant tail, kept to 2W-1 bits.
  function [2*W-2:0] times_tail(input [2*W-2:0] v, input [W-1:0] tail);
    integer j;
    begin
      times_tail = {(2*W-1){1'b0}};
      for (j = 0; j < W; j = j + 1)
        if (tail[j])
          times_tail = times_tail ^ (v << j);
    end
  endfunction

  wire [W-1:0] xn = reverse(x), hn = reverse(h);
  reg  [2*W-2:0] prod, t, u;
  integer k;
  always @* begin
    prod = {(2*W-1){1'b0}};
    for (k = 0; k < W; k = k + 1)
      prod = prod ^ ({{(W-1){1'b0}}, xn & {W{hn[k]}}} << k);
    t = times_tail(prod >> W, TAIL);
    u = times_tail(t >> W, FAULT == 1 ? TAIL & ~{{(W-1){1'b0}}, 1'b1} : TAIL);
  end

  always @(posedge clk)
    z <= reverse(prod[W-1:0] ^ t[W-1:0] ^ u[W-1:0]);
endmodule

module ghash128_mult (
  input          clk,
  input  [127:0] x,
  input  [127:0] h,
  output [127:0] z
);
  ghash_mult m (.clk(clk), .x(x), .h(h), .z(z));
endmodule

module ghash128_mult_bug (
  input          clk,
  input  [127:0] x,
  input  [127:0] h,
  output [127:0] z
);
  ghash_mult #(.FAULT(1)) m (.clk(clk), .x(x), .h(h), .z(z));
endmodule

// The same in GF(2^16), P = x^16 + x^5 + x^3 + x + 1, for quick tests.
module ghash16_mult (
  input         clk,
  input  [15:0] x,
  input  [15:0] h,
  output [15:0] z
);
  ghash_mult #(.W(16), .TAIL(16'h2b)) m (.clk(clk), .x(x), .h(h), .z(z));
endmodule

// One GHASH step, Y' = (D xor Y) * H, registered: D the data block, Y the
// running hash, H the key. The feedback of Y' into Y stays outside, so the
// step itself is a one-stage pipeline.
module ghash_step #(
  parameter W = 128,
  parameter [W-1:0] TAIL = 128'h87,
  parameter FAULT = 0
) (
  input          clk,
  input  [W-1:0] d,
  input  [W-1:0] y,
  input  [W-1:0] h,
  output [W-1:0] z
);
  ghash_mult #(.W(W), .TAIL(TAIL), .FAULT(FAULT)) m (.clk(clk), .x(d ^ y), .h(h), .z(z));
endmodule

module ghash128_step (
  input          clk,
  input  [127:0] d,
  input  [127:0] y,
  input  [127:0] h,
  output [127:0] z
);
  ghash_step s (.clk(clk), .d(d), .y(y), .h(h), .z(z));
endmodule

// The step in GF(2^16).
module ghash16_step (
  input         clk,
  input  [15:0] d,
  input  [15:0] y,
  input  [15:0] h,
  output [15:0] z
);
  ghash_step #(.W(16), .TAIL(16'h2b)) s (.clk(clk), .d(d), .y(y), .h(h), .z(z));
endmodule

module ghash16_step_bug (
  input         clk,
  input  [15:0] d,
  input  [15:0] y,
  input  [15:0] h,
  output [15:0] z
);
  ghash_step #(.W(16), .TAIL(16'h2b), .FAULT(1)) s (.clk(clk), .d(d), .y(y), .h(h), .z(z));
endmodule
