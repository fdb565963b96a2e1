// Entry of gfverify: from Verilog to a verdict in one command. yosys turns
// the design into gates; the netlist is translated (net2alg's library) and
// verified in process (the verifier's libraries); a failure is confirmed by
// simulation.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "alg_writer.h"
#include "check.h"
#include "error.h"
#include "fatal_error.h"
#include "heap.h"
#include "inline_value.h"
#include "ports.h"
#include "read_netlist.h"
#include "reduce.h"
#include "registers.h"
#include "run_monitor.h"
#include "simulate.h"
#include "testbench.h"
#include "variables.h"
#include "yosys_run.h"

namespace {

using net2alg::GfField;

const char *const kUsage = "usage: gfverify DESIGN.v [MORE.v ...] [options]";

const char *const kHelp = R"(usage: gfverify DESIGN.v [MORE.v ...] [options]

Verifies a GF(2^K) datapath written in Verilog: yosys turns it into gates,
registers become wires (a feed-forward pipeline is verified as its
combinational function, with its latency printed), and the specification
is proved by algebraic reduction, or a failing input is found and confirmed
by simulation.

Design:
  --top MODULE        the top module (default: yosys's automatic choice)
  --yosys-script S    the passes between hierarchy and write_blif
                      (default: proc; opt_dff; opt_expr -fine; opt_clean;
                      techmap; opt_clean; the hierarchy is flattened when
                      the netlist is read)
Words and specification:
  (default)           Z = A*B on the top's two data inputs A, B and its data
                      output Z, in declaration order (1-bit inputs such as
                      clocks, resets and enables, and tied inputs, left out)
  --word NAME=BITS    a word (repeatable); Z is the result. BITS as in
                      net2alg: a[0..7], a[7..0] (reversed), a (a bus), lists
  --spec POLY         the specification over the words (default Z + A*B);
                      powers of words are exact; X is the field generator
  --reflect           reverse every word's bit order (GCM: bit 0 of a port
                      is the coefficient of x^(K-1))
  --tie PORT=VALUE    hold an input at a constant (repeatable): a reset
                      inactive, an enable active
Field:
  --poly POLY         the minimal polynomial, e.g. 'X^8+X^4+X^3+X+1'
  --poly auto         recover it from the netlist (the default): a
                      multiplier's x^(K-1) * x is x^K mod P
Output:
  --keep-alg FILE     also write the .alg problem
  --testbench FILE    write a self-checking Verilog testbench (the witness
                      of a failure, or random vectors of a proof)
  --max-memory SIZE   memory budget (default: 75% of physical memory)
  --progress          progress lines on standard error (automatic on a
                      terminal)
  -h, --help          this text

Exit status: 0 PASS, 1 FAIL (confirmed by simulation), 2 UNKNOWN, 3 usage
or input error (one line on standard error).
)";

struct Options {
  std::vector<std::string> files, words, ties;
  std::string top, spec = "Z + A*B", poly = "auto", keepAlg, testbench, script;
  bool reflect = false, progress = false, specGiven = false;
  std::size_t maxMemory = 0;
};

// An error of the command line or the input: one line, status 3.
struct Fatal {
  std::string message;
};

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string fixed(double s, int digits = 2) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", digits, s);
  return text;
}

Options parseArgs(int argc, char **argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::cout << kHelp;
      std::exit(0);
    }
    if (arg == "--reflect" || arg == "--progress") {
      (arg == "--reflect" ? o.reflect : o.progress) = true;
      continue;
    }
    if (arg.empty() || arg[0] != '-') {
      o.files.push_back(arg);
      continue;
    }
    std::string value;
    const bool inlineValue = cli::splitInlineValue(arg, value);
    static const char *const valued[] = {"--top",       "--word",       "--spec",
                                         "--poly",      "--tie",        "--keep-alg",
                                         "--testbench", "--max-memory", "--yosys-script"};
    bool known = false;
    for (const char *name : valued)
      known = known || arg == name;
    if (!known)
      throw Fatal{"unknown option '" + arg + "'"};
    if (!inlineValue) {
      if (i + 1 >= argc)
        throw Fatal{"option '" + arg + "' needs a value"};
      value = argv[++i];
    }
    if (value.empty())
      throw Fatal{"option '" + arg + "' needs a non-empty value"};
    if (arg == "--top")
      o.top = value;
    else if (arg == "--word")
      o.words.push_back(value);
    else if (arg == "--spec")
      o.spec = value, o.specGiven = true;
    else if (arg == "--poly")
      o.poly = value;
    else if (arg == "--tie")
      o.ties.push_back(value);
    else if (arg == "--keep-alg")
      o.keepAlg = value;
    else if (arg == "--testbench")
      o.testbench = value;
    else if (arg == "--yosys-script")
      o.script = value;
    else if ((o.maxMemory = parseSize(value)) == 0)
      throw Fatal{"--max-memory: '" + value + "' is not a size, such as 4G or 512M"};
  }
  if (o.files.empty())
    throw Fatal{"no Verilog file given"};
  for (const std::string &f : o.files)
    if (access(f.c_str(), R_OK) != 0)
      throw Fatal{f + ": cannot read the file"};
  return o;
}

// Progress lines on standard error.
struct Progress {
  bool on;
  void operator()(const std::string &line) const {
    if (on)
      std::cerr << "gfverify: " << line << std::endl;
  }
};

// A scratch directory, removed at exit.
struct Scratch {
  std::string dir;
  Scratch() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/gfverify.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      throw Fatal{"cannot create a scratch directory in " + pattern};
    dir = pattern;
  }
  ~Scratch() {
    for (const char *f : {"/design.blif", "/yosys.log"})
      std::remove((dir + f).c_str());
    rmdir(dir.c_str());
  }
};

// Values of nets on one vector: inputs and gates of the translation, tied
// inputs at their constants, other nets 0.
struct NetValues {
  std::vector<int> var;      // per net of the netlist: its variable, or -1
  std::vector<int> constant; // per net: 0, 1, or -1 when it is no constant
  NetValues(const net2alg::Netlist &nl, const net2alg::Translation &t,
            const std::vector<std::string> &ties) {
    var.assign(nl.netNames.size(), -1);
    for (std::size_t v = 0; v < t.vars.size(); ++v)
      if (t.vars[v].net >= 0)
        var[static_cast<std::size_t>(t.vars[v].net)] = static_cast<int>(v);
    constant.assign(nl.netNames.size(), -1);
    if (ties.empty())
      return;
    net2alg::Netlist tied = nl;
    net2alg::tieInputs(tied, ties);
    for (int id : nl.inputs) {
      const int d = tied.driver[static_cast<std::size_t>(id)];
      if (d >= 0 && tied.nodes[static_cast<std::size_t>(d)].support.empty())
        constant[static_cast<std::size_t>(id)] =
            tied.nodes[static_cast<std::size_t>(d)].anf.empty() ? 0 : 1;
    }
  }
  bool at(int net, const std::vector<std::uint64_t> &values, unsigned lane) const {
    const std::size_t n = static_cast<std::size_t>(net);
    if (constant[n] >= 0)
      return constant[n] == 1;
    return var[n] >= 0 && (values[static_cast<std::size_t>(var[n])] >> lane & 1);
  }
};

std::string portRange(const gfverify::Port &p) {
  return p.bits.size() == 1 ? p.name : p.name + "[" + std::to_string(p.bits.size() - 1) + ":0]";
}

int run(const Options &o) {
  const auto start = std::chrono::steady_clock::now();
  const bool terminal = isatty(STDERR_FILENO) == 1;
  const Progress progress{o.progress || terminal};

  // 1. yosys.
  const std::string yosys = gfverify::findOnPath("yosys");
  if (yosys.empty())
    throw Fatal{"yosys not found on PATH (install it, e.g. apt-get install yosys)"};
  Scratch scratch;
  const std::string blif = scratch.dir + "/design.blif";
  progress("yosys: reading " + o.files.front() + (o.files.size() > 1 ? " ..." : ""));
  const auto yosysStart = std::chrono::steady_clock::now();
  double yosysCpu = 0;
  const std::string error = gfverify::runYosys(
      yosys,
      gfverify::yosysScript(o.files, o.top, o.script.empty() ? gfverify::kDefaultScript : o.script,
                            blif),
      scratch.dir + "/yosys.log", yosysCpu);
  if (!error.empty())
    throw Fatal{error};
  const double yosysTime = seconds(yosysStart);

  // 2. The netlist, the words and the translation.
  const auto ourStart = std::chrono::steady_clock::now();
  const std::clock_t ourCpuStart = std::clock();
  progress("translating the netlist (yosys took " + fixed(yosysTime) + " s)");
  net2alg::reserveHugePageHeap(std::size_t(1) << 30);
  const net2alg::Netlist nl = net2alg::readNetlistFile(blif, true);
  const std::vector<gfverify::Port> ports = gfverify::portsOf(nl);
  std::vector<std::string> tiedPorts;
  for (const std::string &tie : o.ties)
    tiedPorts.push_back(tie.substr(0, tie.find('=')));
  std::vector<gfverify::Word> words;
  if (o.words.empty()) {
    std::string why;
    words = gfverify::defaultWords(ports, tiedPorts, why);
    if (words.empty())
      throw Fatal{nl.model + ": " + why};
  } else {
    words = gfverify::namedWords(nl, o.words);
  }
  if (o.reflect)
    for (gfverify::Word &w : words)
      std::reverse(w.bits.begin(), w.bits.end());
  net2alg::WordOptions wo;
  wo.simplify = true;
  wo.transparentFlops = true;
  wo.ties = o.ties;
  wo.spec = o.spec;
  wo.z = gfverify::bitList(nl, words[0].bits);
  for (std::size_t w = 1; w < words.size(); ++w)
    wo.words.push_back({words[w].name, gfverify::bitList(nl, words[w].bits)});
  std::size_t k = 0;
  for (const gfverify::Word &w : words)
    k = std::max(k, w.bits.size());
  const bool autoPoly = o.poly == "auto";
  wo.poly = autoPoly ? "X^" + std::to_string(std::max<std::size_t>(k, 2)) + "+1" : o.poly;
  net2alg::Translation t = net2alg::translate(nl, wo);
  std::string fieldNote;
  if (autoPoly) {
    std::string why;
    const std::string poly = gfverify::recoverPolynomial(t, why);
    if (poly.empty()) {
      std::cout << "UNKNOWN " << nl.model << ": no field: " << why << '\n';
      return 2;
    }
    wo.poly = poly;
    fieldNote = " (recovered from the netlist: irreducible)";
    // Only the Frobenius words of a power depend on P: translate again when
    // the specification has any, else just change the field.
    std::size_t wordVars = 0;
    for (const net2alg::AlgVariable &v : t.vars)
      wordVars += v.kind == net2alg::AlgVariable::kWord;
    if (wordVars > t.wordNames.size())
      t = net2alg::translate(nl, wo);
    else
      t.field = net2alg::parseFieldPolynomial(poly);
  } else if (!GfField(t.field).irreducible()) {
    throw Fatal{"--poly: " + t.field.text + " is not irreducible: GF(2^" +
                std::to_string(t.field.degree) + ") needs an irreducible polynomial"};
  }
  const GfField field(t.field);
  std::size_t gates = 0;
  for (const net2alg::AlgVariable &v : t.vars)
    gates += v.kind == net2alg::AlgVariable::kGate;
  const std::vector<int> order = net2alg::computedOrder(t);
  if (!o.keepAlg.empty()) {
    std::ofstream keep(o.keepAlg);
    net2alg::writeAlg(t, order, keep);
    keep.close();
    if (!keep)
      throw Fatal{o.keepAlg + ": cannot write"};
  }
  const double translateTime = seconds(ourStart);

  // 3. Verification, in process, under the memory budget.
  progress("verifying " + std::to_string(gates) + " gates over GF(2^" +
           std::to_string(t.field.degree) + ") (the translation took " + fixed(translateTime) +
           " s)");
  const std::size_t budget = o.maxMemory != 0 ? o.maxMemory : physicalMemoryBytes() / 4 * 3;
  RunMonitor monitor(o.progress, terminal, budget, "gfverify");
  setReductionMonitor(&monitor);
  const auto verifyStart = std::chrono::steady_clock::now();
  gfverify::Remainder rem;
  std::string unknownReason;
  try {
    rem = gfverify::verifyTranslation(t, order);
  } catch (const MemoryBudgetExceeded &e) {
    unknownReason = e.what();
    if (unknownReason.rfind("gfverify: ", 0) == 0)
      unknownReason.erase(0, 10);
  } catch (const std::bad_alloc &) {
    unknownReason = "out of memory during the reduction";
  }
  setReductionMonitor(nullptr);
  const double verifyTime = seconds(verifyStart);
  const double ourCpu = static_cast<double>(std::clock() - ourCpuStart) / CLOCKS_PER_SEC;

  // 4. The verdict; a failure needs a witness.
  gfverify::Witness witness;
  if (!rem.zero) {
    progress("looking for a failing input by simulation (the verification took " +
             fixed(seconds(verifyStart)) + " s)");
    witness = gfverify::findWitness(t, rem, 256);
  }
  const char *verdict = rem.zero ? "PASS" : witness.found ? "FAIL" : "UNKNOWN";
  std::string files;
  for (const std::string &f : o.files)
    files += (files.empty() ? "" : " ") + f;
  std::cout << verdict << " " << nl.model << " (" << files << ") GF(2^" << t.field.degree << ") "
            << t.field.text << ", " << fixed(seconds(start)) << " s\n";
  std::string wordsLine;
  for (std::size_t w = 1; w <= words.size(); ++w) {
    const gfverify::Word &word = words[w % words.size()];
    wordsLine += (wordsLine.empty() ? "" : ", ") + word.name + " = " +
                 (word.bits.empty() ? "" : nl.netNames[word.bits.front()]) + ".." +
                 nl.netNames[word.bits.back()];
  }
  std::cout << "  specification: " << t.spec << "; words (bit 0 first): " << wordsLine << '\n';
  std::cout << "  field: " << t.field.text << fieldNote << '\n';
  std::cout << "  netlist: " << gates << " gates";
  if (t.latency >= 0)
    std::cout << ", registers made wires, latency " << t.latency;
  std::cout << '\n';
  std::cout << "  time: yosys " << fixed(yosysTime) << " s, translation " << fixed(translateTime)
            << " s, verification " << fixed(verifyTime) << " s; CPU: yosys " << fixed(yosysCpu)
            << " s, translation and verification " << fixed(ourCpu) << " s\n";

  const NetValues nets(nl, t, o.ties);
  std::map<int, std::size_t> zBit; // net -> bit of Z
  for (std::size_t b = 0; b < words[0].bits.size(); ++b)
    zBit[words[0].bits[b]] = b;
  const bool explicitZ = gfverify::resultIsExplicit(t);
  std::vector<gfverify::TbVector> vectors;
  // One vector for the report and the testbench: port values, the output,
  // what it should be.
  auto describe = [&](const std::vector<std::uint64_t> &values, unsigned lane,
                      const std::string &label, bool print) {
    gfverify::TbVector vec{label, {}, {}};
    for (const gfverify::Port &p : ports) {
      if (!p.input)
        continue;
      std::vector<bool> bits;
      for (int net : p.bits)
        bits.push_back(nets.at(net, values, lane));
      vec.inputs.push_back(gfverify::hexLiteral(bits));
      if (print)
        std::cout << "    " << portRange(p) << " = " << vec.inputs.back() << '\n';
    }
    const std::vector<GfField::Element> wv = gfverify::wordValues(t, field, values, lane);
    GfField::Element expected = explicitZ ? gfverify::expectedResult(t, field, wv) : wv[0];
    std::string wrong;
    for (const gfverify::Port &p : ports) {
      if (p.input)
        continue;
      std::vector<bool> got, want, mask;
      for (int net : p.bits) {
        const auto it = zBit.find(net);
        const bool inZ = it != zBit.end();
        const bool g = inZ && (wv[0][it->second / 64] >> (it->second % 64) & 1);
        const bool w = inZ && (expected[it->second / 64] >> (it->second % 64) & 1);
        got.push_back(g);
        want.push_back(w);
        mask.push_back(inZ);
        if (g != w)
          wrong += (wrong.empty() ? "" : ", ") + nl.netNames[net];
      }
      if (std::find(mask.begin(), mask.end(), true) == mask.end())
        continue;
      vec.checks.push_back({p.name, gfverify::hexLiteral(want), gfverify::hexLiteral(mask)});
      if (print) {
        std::cout << "  output:   " << portRange(p) << " = " << gfverify::hexLiteral(got) << '\n';
        if (explicitZ)
          std::cout << "  expected: " << portRange(p) << " = " << gfverify::hexLiteral(want)
                    << '\n';
      }
    }
    if (print && explicitZ)
      std::cout << "  wrong output bits: " << wrong << '\n';
    vectors.push_back(vec);
  };

  int status = 0;
  if (rem.zero) {
    const std::vector<std::uint64_t> values = gfverify::randomVectors(t, 0x2545f4914f6cdd1dull);
    for (unsigned lane = 0; lane < 8 && explicitZ; ++lane)
      describe(values, lane, "random " + std::to_string(lane + 1), false);
  } else if (witness.found) {
    status = 1;
    std::cout << "  witness (the circuit and the specification disagree; confirmed by "
                 "simulation):\n";
    describe(witness.values, witness.lane, "witness", true);
    if (!explicitZ)
      std::cout << "  (the specification does not give Z explicitly: no expected value)\n";
    // The suspects by their netlist names.
    std::map<std::string, std::string> netOf;
    for (const net2alg::AlgVariable &v : t.vars)
      if (v.net >= 0)
        netOf[v.name] = nl.netNames[static_cast<std::size_t>(v.net)];
    std::cout << "  suspect gates (" << rem.suspectsInAll << "):";
    for (std::size_t s = 0; s < rem.suspects.size() && s < 20; ++s) {
      const auto it = netOf.find(rem.suspects[s]);
      std::cout << ' ' << (it != netOf.end() ? it->second : rem.suspects[s]);
    }
    std::cout << (rem.suspectsInAll > 20 ? " ..." : "") << '\n';
    std::cout << "  remainder: " << rem.text << '\n';
    // A 1-bit input outside the words that the witness sets: maybe a
    // control that should be tied.
    for (const gfverify::Port &p : ports)
      if (p.input && p.bits.size() == 1 && nets.var[static_cast<std::size_t>(p.bits[0])] >= 0 &&
          nets.at(p.bits[0], witness.values, witness.lane))
        std::cout << "  note: the witness sets the 1-bit input " << p.name
                  << " to 1; if it is a reset or an enable, --tie " << p.name
                  << "=VALUE may be what is missing\n";
  } else {
    status = 2;
    if (unknownReason.empty())
      unknownReason = "the remainder is not zero (" + std::to_string(rem.terms) +
                      " terms), but no failing input was found in " +
                      std::to_string(witness.tried) + " simulated vectors";
    else
      unknownReason +=
          "; no failing input was found in " + std::to_string(witness.tried) + " simulated vectors";
    std::cout << "  reason: " << unknownReason << '\n';
    if (!rem.text.empty())
      std::cout << "  remainder: " << rem.text << '\n';
  }
  if (!o.testbench.empty()) {
    std::vector<gfverify::TbPort> tbPorts;
    std::string clock;
    for (const gfverify::Port &p : ports) {
      tbPorts.push_back({p.name, p.bits.size(), p.input});
      std::string lower;
      for (char c : p.name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (p.input && p.bits.size() == 1 && clock.empty() &&
          (lower.find("clk") != std::string::npos || lower.find("clock") != std::string::npos))
        clock = p.name;
    }
    if (clock.empty() && t.latency > 0)
      std::cerr << "gfverify: note: no clock input (a 1-bit input whose name holds clk or "
                   "clock): the testbench does not clock the design\n";
    std::ofstream tb(o.testbench);
    tb << gfverify::testbench(nl.model, tbPorts, clock, std::max(t.latency, 0), vectors,
                              "Generated by gfverify: " + std::string(verdict) + " " + nl.model +
                                  " over GF(2^" + std::to_string(t.field.degree) + ") " +
                                  t.field.text);
    tb.close();
    if (!tb)
      throw Fatal{o.testbench + ": cannot write"};
  }
  std::cout.flush();
  return status;
}

} // namespace

int main(int argc, char **argv) {
  std::atexit(releaseProblemState);
  try {
    const Options o = parseArgs(argc, argv);
    return run(o);
  } catch (const Fatal &e) {
    std::cout.flush();
    std::cerr << "gfverify: " << e.message << '\n';
    if (e.message.rfind("unknown option", 0) == 0 || e.message.rfind("option", 0) == 0 ||
        e.message == "no Verilog file given")
      std::cerr << kUsage << '\n';
    return 3;
  } catch (const net2alg::InputError &e) {
    std::cout.flush();
    std::cerr << "gfverify: " << e.what() << '\n';
    return 3;
  } catch (const FatalError &e) {
    std::cout.flush();
    std::string text = e.text();
    while (!text.empty() && text.back() == '\n')
      text.pop_back();
    std::cerr << "gfverify: " << text << '\n';
    return 3;
  }
}
