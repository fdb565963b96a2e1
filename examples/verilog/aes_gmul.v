// The AES (Rijndael) multiplier in GF(2^8), P = x^8 + x^4 + x^3 + x + 1, as
// a hand-optimised datapath: a 15-bit carry-less product c from an AND
// array, then every output bit as the XOR of c[i] and the high product bits
// that reduce onto bit i. The reduction table, x^8 ... x^14 mod P:
//
//   x^8  = 1b   x^9  = 36   x^10 = 6c   x^11 = d8
//   x^12 = ab   x^13 = 4d   x^14 = 9a
//
// read by columns (bit i of each entry) gives the assigns below.
// FAULT = 1 leaves c[12] out of bit 3, as if x^12 had been typed a3.

module aes_gmul #(parameter FAULT = 0) (
  input  [7:0] a,
  input  [7:0] b,
  output [7:0] p
);
  reg [14:0] c;
  integer i;
  always @* begin
    c = 15'd0;
    for (i = 0; i < 8; i = i + 1)
      c = c ^ ({7'd0, a & {8{b[i]}}} << i);
  end

  assign p[0] = c[0] ^ c[8] ^ c[12] ^ c[13];
  assign p[1] = c[1] ^ c[8] ^ c[9] ^ c[12] ^ c[14];
  assign p[2] = c[2] ^ c[9] ^ c[10] ^ c[13];
  generate
    if (FAULT == 1)
      assign p[3] = c[3] ^ c[8] ^ c[10] ^ c[11] ^ c[13] ^ c[14];
    else
      assign p[3] = c[3] ^ c[8] ^ c[10] ^ c[11] ^ c[12] ^ c[13] ^ c[14];
  endgenerate
  assign p[4] = c[4] ^ c[8] ^ c[9] ^ c[11] ^ c[14];
  assign p[5] = c[5] ^ c[9] ^ c[10] ^ c[12];
  assign p[6] = c[6] ^ c[10] ^ c[11] ^ c[13];
  assign p[7] = c[7] ^ c[11] ^ c[12] ^ c[14];
endmodule

module aes_gmul_bug (input [7:0] a, input [7:0] b, output [7:0] p);
  aes_gmul #(.FAULT(1)) m (.a(a), .b(b), .p(p));
endmodule
