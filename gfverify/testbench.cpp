// Writing the Verilog testbench.
#include "testbench.h"

namespace gfverify {

namespace {

// A port name as a Verilog identifier: escaped unless it is a plain one.
std::string identifier(const std::string &name) {
  bool plain =
      !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) && name[0] != '$';
  for (char c : name)
    plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$');
  return plain ? name : "\\" + name + " ";
}

std::string range(std::size_t width) {
  return width == 1 ? std::string() : "[" + std::to_string(width - 1) + ":0] ";
}

} // namespace

std::string hexLiteral(const std::vector<bool> &bits) {
  std::string hex;
  for (std::size_t nibble = (bits.size() + 3) / 4; nibble-- > 0;) {
    int digit = 0;
    for (std::size_t b = 0; b < 4; ++b)
      if (4 * nibble + b < bits.size() && bits[4 * nibble + b])
        digit |= 1 << b;
    hex += "0123456789abcdef"[digit];
  }
  return std::to_string(bits.size()) + "'h" + (hex.empty() ? "0" : hex);
}

std::string testbench(const std::string &top, const std::vector<TbPort> &ports,
                      const std::string &clock, int latency, const std::vector<TbVector> &vectors,
                      const std::string &comment) {
  std::string v = "// " + comment + "\n`timescale 1ns/1ps\nmodule gfverify_tb;\n";
  for (const TbPort &p : ports)
    v += std::string("  ") + (p.input ? "reg  " : "wire ") + range(p.width) + identifier(p.name) +
         (p.input && p.name == clock ? " = 1'b0" : "") + ";\n";
  v += "  integer mismatches = 0;\n\n  " + identifier(top) + " dut (";
  for (std::size_t k = 0; k < ports.size(); ++k)
    v += std::string(k ? ", " : "") + "." + identifier(ports[k].name) + "(" +
         identifier(ports[k].name) + ")";
  v += ");\n\n";
  if (!clock.empty())
    v += "  always #5 " + identifier(clock) + " = ~" + identifier(clock) + ";\n\n";
  v += "  initial begin\n";
  for (const TbVector &vec : vectors) {
    std::size_t in = 0;
    for (const TbPort &p : ports)
      if (p.input && p.name != clock)
        v += "    " + identifier(p.name) + " = " + vec.inputs[in++] + ";\n";
      else if (p.input)
        ++in;
    if (!clock.empty() && latency > 0)
      v += "    repeat (" + std::to_string(latency) + ") @(posedge " + identifier(clock) + ");\n";
    v += "    #1;\n";
    std::string same, shown, wanted;
    for (const TbCheck &c : vec.checks) {
      same += std::string(same.empty() ? "" : " && ") + "((" + identifier(c.port) + " & " + c.mask +
              ") === " + c.expected + ")";
      shown += std::string(shown.empty() ? "" : ", ") + c.port + " = %h";
      wanted += std::string(wanted.empty() ? "" : ", ") + c.port + " = " + c.expected;
    }
    std::string args;
    for (const TbCheck &c : vec.checks)
      args += ", " + identifier(c.port);
    v += "    if (" + (same.empty() ? std::string("1") : same) + ")\n      $display(\"MATCH " +
         vec.label + ": " + shown + "\"" + args + ");\n    else begin\n" +
         "      $display(\"MISMATCH " + vec.label + ": " + shown + ", expected " + wanted + "\"" +
         args + ");\n      mismatches = mismatches + 1;\n    end\n";
  }
  v += "    $display(\"%0d mismatches\", mismatches);\n    $finish;\n  end\nendmodule\n";
  return v;
}

} // namespace gfverify
