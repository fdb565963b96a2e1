// A GF(2^8) multiplier in the bit-reflected convention of GCM's GHASH: bit 7
// of a port (the leftmost) is the coefficient of x^0, bit 0 that of x^7.
// The textbook loop: for each bit of x from the leftmost, add v when it is
// set, then multiply v by x, which in this convention is a right shift with
// the reduction constant added when x^7's coefficient (bit 0) drops out.
// P = x^8 + x^4 + x^3 + x + 1: x^8 = x^4 + x^3 + x + 1, reflected 8'hd8.
module gf8_ghash_mult (
  input  [7:0] x,
  input  [7:0] y,
  output [7:0] z
);
  function [7:0] mult(input [7:0] a, input [7:0] b);
    integer i;
    reg [7:0] v;
    begin
      mult = 8'd0;
      v = b;
      for (i = 7; i >= 0; i = i - 1) begin
        if (a[i])
          mult = mult ^ v;
        v = v[0] ? (v >> 1) ^ 8'hd8 : v >> 1;
      end
    end
  endfunction
  assign z = mult(x, y);
endmodule

// A carry-less 8-by-8 product: 15 bits, no reduction.
module clmul8 (input [7:0] a, input [7:0] b, output [14:0] z);
  integer i;
  reg [14:0] acc;
  always @* begin
    acc = 15'd0;
    for (i = 0; i < 8; i = i + 1)
      if (b[i])
        acc = acc ^ ({7'd0, a} << i);
  end
  assign z = acc;
endmodule
