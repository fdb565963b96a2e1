// algen: writes a .alg problem (and optionally the toporder graph) for a
// gate-level GF(2^K) multiplier, correct or with injected faults.
#include "alg_writer.h"
#include "faults.h"
#include "minpoly.h"
#include "multipliers.h"
#include "options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace algen;

namespace {

[[noreturn]] void fail(int status, const std::string &msg) {
  std::fflush(stdout);
  std::fprintf(stderr, "algen: %s\n", msg.c_str());
  std::exit(status);
}

Gf2Poly chooseMinpoly(const Options &o) {
  if (!o.havePoly) {
    Gf2Poly m = defaultMinpoly(o.k);
    if (m.degree() != static_cast<int>(o.k))
      fail(1, "no irreducible trinomial or pentanomial of degree " + std::to_string(o.k));
    return m;
  }
  Gf2Poly m;
  std::string why;
  if (!parsePolyText(o.poly, m, why))
    fail(2, "bad --poly '" + o.poly + "': " + why);
  if (m.degree() < 2)
    fail(2, "--poly '" + o.poly + "' must have degree at least 2");
  if (o.k && static_cast<int>(o.k) != m.degree())
    fail(2, "--k " + std::to_string(o.k) + " does not match the degree " +
                std::to_string(m.degree()) + " of --poly");
  if (!isIrreducible(m))
    fail(2, "--poly '" + o.poly + "' is reducible over GF(2), so it defines no field");
  return m;
}

template <class Writer> void writeTo(const std::string &path, const Problem &p, Writer write) {
  std::FILE *f = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
  if (!f)
    fail(1, "cannot open " + path + ": " + std::strerror(errno));
  bool ok;
  {
    OutBuf out(f);
    write(p, out);
    ok = out.flush();
  }
  ok = (path.empty() ? std::fflush(f) : std::fclose(f)) == 0 && ok;
  if (!ok)
    fail(1, "cannot write " + (path.empty() ? std::string("standard output") : path));
}

} // namespace

int main(int argc, char **argv) {
  Options o;
  const std::string err = parseOptions(argc, argv, o);
  if (!err.empty())
    fail(2, err);
  if (o.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Problem p{o.kind, chooseMinpoly(o), Netlist(0), {}, o.seed};
  p.netlist = buildMultiplier(o.kind, p.minpoly);
  if (o.bugs > p.netlist.gates.size())
    fail(2, "--bug " + std::to_string(o.bugs) + " needs at least " + std::to_string(o.bugs) +
                " gates; the circuit has " + std::to_string(p.netlist.gates.size()));
  if (!injectFaults(p.netlist, o.bugs, o.seed, p.faults))
    fail(1, "could not place " + std::to_string(o.bugs) + " faults that change the circuit");
  writeTo(o.output, p, writeAlg);
  if (!o.graph.empty())
    writeTo(o.graph, p, writeGraph);
  return 0;
}
