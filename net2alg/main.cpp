// Entry of net2alg: converts a combinational netlist (BLIF or AIGER) into a
// .alg verification problem over GF(2^K).
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "alg_writer.h"
#include "error.h"
#include "heap.h"
#include "inline_value.h"
#include "order_graph.h"
#include "read_netlist.h"
#include "simplify.h"
#include "simulate.h"
#include "translation.h"

namespace {

const char *const kUsage =
    "usage: net2alg --z BITS --a BITS [--b BITS] --poly POLY [options] NETLIST";

const char *const kHelp =
    R"(usage: net2alg --z BITS --a BITS [--b BITS] --poly POLY [options] NETLIST

Converts a combinational netlist (or a feed-forward pipeline, see --flops)
into a .alg problem for polyverify: the circuit as polynomials over
GF(2^K), the words Z, A and B built from its bits, and a specification over
the words (by default Z = A*B).

NETLIST is BLIF (as yosys and ABC write it: .names covers, the yosys gate
cells $_AND_, $_XOR_, $_MUX_, ... as .subckt or .gate, .conn) or AIGER,
ASCII (.aag) or binary (.aig); the first bytes decide.

Words (bit 0 first):
  --z BITS      the nets that form the result Z
  --a BITS      the primary inputs that form the operand A
  --b BITS      the primary inputs that form the operand B (optional)
  --word NAME=BITS
                another word (repeatable): Z=BITS is --z, any other NAME an
                operand after A and B that --spec may use (not X)
  BITS is a comma-separated list of items; an item is
    a net name      a[3], n17, carry
    a range         a[0..7] (a[0], ..., a[7]) or a[7..0] (a[7] is bit 0)
    a bus name      a (a[0], a[1], ... as far as they exist)
  Names may be given as in the netlist or as their .alg names (a_3).

Field and specification:
  --poly POLY   the minimal polynomial of GF(2^K), e.g. 'X^8+X^4+X^3+X+1'
  --spec POLY   the specification over the words in .alg syntax; it must
                reduce to 0 for a correct circuit. Default 'Z + A*B'.
                A constant coefficient stands in parentheses at the head of
                a term, e.g. 'Z + (X^7+X^6+X^3+X^2)*A*B'. Powers of words
                are exact: A^e (and A*A) becomes a product of the words
                A_sqJ = A^(2^J), one per binary digit of e, built from the
                bits of A ('Z + A^3' is written 'Z + A_sq1*A').
  --max-power-factors N
                refuse a power of more than N such factors (default 8)

Hierarchy:
  --model NAME  the top model of a BLIF file with several (default: the
                first); a .subckt of another model of the file is read as
                an instance of it, its nets named INSTANCE.net

Registers:
  --flops refuse       a register is an error (the default)
  --flops transparent  registers become wires from D to Q, when every path
                from an operand bit to a result bit crosses the same number
                of them (the latency, printed on standard error) and none is
                in a loop. A cell with a synchronous reset or an enable must
                have it held by --tie (reset inactive, enable active);
                asynchronous resets are taken as inactive.
  --tie PORT=VALUE     hold the primary input (or bus) PORT at VALUE (0, 1,
                decimal or 0x hex, bit 0 first); repeatable

Variable order:
  --graph FILE  also write the signal graph in toporder's format
  --order FILE  take the order from FILE (the tmp.order that toporder wrote
                for the graph of --graph) instead of computing it
  Without --order net2alg sorts the graph itself exactly as toporder does.
  The .alg lists the variables in the reverse of that order: Z, then the
  gates from the outputs towards the inputs, then A, B and the input bits.

Simplification:
  --no-simplify translate the netlist gate by gate. By default constants,
                buffers, double inversions, duplicate gates and unused
                logic are removed first, and inverters, constants and
                multiplexers with related inputs are folded into XORs.

Output:
  -o FILE       write the .alg to FILE (default: standard output)
  -h, --help    show this help

After converting, 64 random input vectors are run through the circuit and
the specification (words and powers exact). When some disagree, standard
error says so, and whether reversing the bit order of some words would make
them agree (the bit-reflected convention of GHASH).

Only the logic that the bits of Z depend on is converted. Net names become
.alg names of letters, digits and '_' (a[3] -> a_3; clashes get a suffix;
"X" and "1" are renamed). A gate becomes  out + ANF(inputs)  over GF(2):
NOT x = x + 1, x AND y = x*y, x OR y = x + y + x*y, x XOR y = x + y. A cover
may depend on at most 16 inputs. net2alg warns when gates with large
polynomials or long multiplexer chains remain: such a problem can take
polyverify very long.

Exit status: 0 on success, 1 for a bad netlist, order file or option
value, 2 for a malformed command line.
)";

int usageError(const std::string &message) {
  std::cerr << "net2alg: " << message << '\n' << kUsage << '\n';
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  net2alg::WordOptions words;
  words.simplify = true;
  std::string netlistPath, outputPath, graphPath, orderPath, maxFactors, tie, flops, word, model;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::cout << kHelp;
      return 0;
    }
    if (arg == "--no-simplify") {
      words.simplify = false;
      continue;
    }
    if (arg.empty() || arg[0] != '-') {
      if (!netlistPath.empty())
        return usageError("more than one netlist given ('" + netlistPath + "' and '" + arg + "')");
      netlistPath = arg;
      continue;
    }
    // --name VALUE or --name=VALUE
    std::string value;
    const bool inlineValue = cli::splitInlineValue(arg, value);
    std::string *target = arg == "--a"                       ? &words.a
                          : arg == "--b"                     ? &words.b
                          : arg == "--z"                     ? &words.z
                          : arg == "--poly"                  ? &words.poly
                          : arg == "--spec"                  ? &words.spec
                          : arg == "--graph"                 ? &graphPath
                          : arg == "--order"                 ? &orderPath
                          : arg == "--max-power-factors"     ? &maxFactors
                          : arg == "--tie"                   ? &tie
                          : arg == "--word"                  ? &word
                          : arg == "--flops"                 ? &flops
                          : arg == "--model"                 ? &model
                          : arg == "-o" || arg == "--output" ? &outputPath
                                                             : nullptr;
    if (!target)
      return usageError("unknown option '" + arg + "'");
    if (!inlineValue) {
      if (i + 1 >= argc)
        return usageError("option '" + arg + "' needs a value");
      value = argv[++i];
    }
    if (value.empty())
      return usageError("option '" + arg + "' needs a non-empty value");
    *target = value;
    if (target == &tie)
      words.ties.push_back(value);
    if (target == &word) {
      const std::size_t at = value.find('=');
      if (at == std::string::npos || at == 0 || at + 1 == value.size())
        return usageError("--word: expected NAME=BITS, not '" + value + "'");
      const std::string name = value.substr(0, at), bits = value.substr(at + 1);
      if (name == "Z")
        words.z = bits;
      else
        words.words.push_back({name, bits});
    }
  }
  if (netlistPath.empty())
    return usageError("no netlist given");
  if (words.poly.empty())
    return usageError("--poly is missing: give the field's minimal polynomial");
  if (words.z.empty())
    return usageError("--z is missing: name the nets that form the word Z");
  if (words.a.empty() && words.words.empty())
    return usageError("--a is missing: name the inputs that form the word A");
  if (!maxFactors.empty()) {
    if (maxFactors.size() > 4 || maxFactors.find_first_not_of("0123456789") != std::string::npos ||
        std::stoul(maxFactors) == 0)
      return usageError("--max-power-factors: expected a number from 1 to 9999, not '" +
                        maxFactors + "'");
    words.maxPowerFactors = static_cast<unsigned>(std::stoul(maxFactors));
  }
  if (!flops.empty() && flops != "transparent" && flops != "refuse")
    return usageError("--flops: expected 'transparent' or 'refuse', not '" + flops + "'");
  words.transparentFlops = flops == "transparent";

  try {
    net2alg::reserveHugePageHeap(std::size_t(1) << 30);
    const net2alg::Netlist netlist =
        net2alg::readNetlistFile(netlistPath, words.transparentFlops, model);
    const net2alg::Translation t = net2alg::translate(netlist, words);
    for (const std::string &warning : net2alg::shapeWarnings(t))
      std::cerr << "net2alg: warning: " << warning << '\n';
    if (t.latency >= 0)
      std::cerr << "net2alg: registers made transparent: every path from an operand to the "
                   "result crosses "
                << t.latency << (t.latency == 1 ? " register" : " registers") << '\n';

    if (!graphPath.empty()) {
      std::ofstream graph(graphPath);
      net2alg::writeGraph(t, graph);
      graph.close();
      if (!graph)
        net2alg::fail(graphPath + ": cannot write the graph");
    }

    const net2alg::SimulationCheck check = net2alg::simulateSpec(t);
    if (check.failing > 0) {
      if (!check.reversed.empty()) {
        std::string list;
        for (std::size_t k = 0; k < check.reversed.size(); ++k)
          list += (k == 0                           ? ""
                   : k + 1 == check.reversed.size() ? " and "
                                                    : ", ") +
                  check.reversed[k];
        std::cerr << "net2alg: with the bit order of " << list
                  << " reversed the circuit verifies: the ports may be in the reflected "
                     "convention\n";
      } else {
        std::cerr << "net2alg: note: the circuit does not meet the specification on "
                  << check.failing << " of " << check.vectors
                  << " random input vectors: the remainder will not be 0\n";
      }
      if (t.aigerSymbols)
        std::cerr << "net2alg: note: the bit names come from an AIGER symbol table, which "
                     "numbers a bus by position (NAME[0] is its least significant bit) also "
                     "for a port declared [0:N], where BLIF numbers it by index\n";
    }

    std::vector<int> order;
    if (orderPath.empty()) {
      order = net2alg::computedOrder(t);
    } else {
      std::ifstream orderFile(orderPath);
      if (!orderFile)
        net2alg::fail(orderPath + ": cannot open for reading");
      order = net2alg::orderFromNames(t, net2alg::readOrderFile(orderFile));
    }
    for (const std::string &warning : net2alg::orderWarnings(t, order))
      std::cerr << "net2alg: warning: " << warning << '\n';

    const std::string text = net2alg::algText(t, order);
    if (outputPath.empty()) {
      std::cout << text;
      std::cout.flush();
      if (!std::cout)
        net2alg::fail("cannot write to standard output");
    } else {
      std::ofstream out(outputPath);
      out << text;
      out.close();
      if (!out)
        net2alg::fail(outputPath + ": cannot write");
    }
  } catch (const net2alg::InputError &e) {
    std::cerr << "net2alg: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
