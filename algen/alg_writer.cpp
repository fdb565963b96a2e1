// .alg and graph output; the variable order is explained in alg_writer.h.
#include "alg_writer.h"

#include <algorithm>

namespace algen {

namespace {

// Signal names: a<i>, b<i> for the input bits, z<i> for the output bits and
// g<n> for the other gates, numbered in creation order. None of them is "X"
// or "1", and Z, A and B are the only upper-case names.
class Names {
public:
  explicit Names(const Netlist &n) : prefix_(n.numSignals()), label_(n.numSignals()) {
    for (unsigned i = 0; i < n.k; ++i) {
      prefix_[n.a(i)] = 'a';
      label_[n.a(i)] = i;
      prefix_[n.b(i)] = 'b';
      label_[n.b(i)] = i;
    }
    for (unsigned i = 0; i < n.k; ++i) {
      prefix_[n.outputs[i]] = 'z';
      label_[n.outputs[i]] = i;
    }
    uint32_t next = 0;
    for (Signal s = n.numInputs(); s < n.numSignals(); ++s)
      if (prefix_[s] != 'z') {
        prefix_[s] = 'g';
        label_[s] = next++;
      }
  }
  void put(OutBuf &out, Signal s) const {
    out.put(prefix_[s]);
    out.num(label_[s]);
  }

private:
  std::vector<char> prefix_;
  std::vector<uint32_t> label_;
};

std::vector<bool> fanout(const Netlist &n) {
  std::vector<bool> used(n.numSignals(), false);
  for (const Gate &g : n.gates)
    used[g.in0] = used[g.in1] = true;
  return used;
}

// Positions in the declared variable list: Z is 0, then the gates of
// gateOrder, then A, B, the a bits and the b bits.
struct Layout {
  std::vector<Signal> gates;
  std::vector<uint32_t> rank; // per signal
  uint32_t posA, posB, count;

  explicit Layout(const Netlist &n) : gates(gateOrder(n)), rank(n.numSignals()) {
    uint32_t pos = 1;
    for (Signal s : gates)
      rank[s] = pos++;
    posA = pos++;
    posB = pos++;
    for (Signal s = 0; s < n.numInputs(); ++s)
      rank[s] = pos++;
    count = pos;
  }
};

void putCoefficient(OutBuf &out, unsigned e) {
  if (e == 0)
    return;
  out.put("(X");
  if (e > 1) {
    out.put('^');
    out.num(e);
  }
  out.put(")*");
}

// "W + w0 + (X)*w1 + ..." with the bits in declaration order.
void putWordDefinition(OutBuf &out, const char *word, const std::vector<Signal> &bits,
                       const Layout &lay, const Names &names) {
  std::vector<unsigned> idx(bits.size());
  for (unsigned i = 0; i < idx.size(); ++i)
    idx[i] = i;
  std::sort(idx.begin(), idx.end(),
            [&](unsigned x, unsigned y) { return lay.rank[bits[x]] < lay.rank[bits[y]]; });
  out.put(word);
  for (unsigned i : idx) {
    out.put(" + ");
    putCoefficient(out, i);
    names.put(out, bits[i]);
  }
}

// The gate polynomial, terms in descending order: the higher input first.
void putGate(OutBuf &out, const Netlist &n, Signal s, const Layout &lay, const Names &names) {
  const Gate &g = n.gate(s);
  Signal x = g.in0, y = g.in1;
  if (lay.rank[x] > lay.rank[y])
    std::swap(x, y);
  names.put(out, s);
  out.put(" + ");
  if (g.type != GateType::Xor) {
    names.put(out, x);
    out.put('*');
    names.put(out, y);
    if (g.type == GateType::And)
      return;
    out.put(" + ");
  }
  names.put(out, x);
  out.put(" + ");
  names.put(out, y);
}

void putHeader(OutBuf &out, const Problem &p, const Names &names) {
  const Netlist &n = p.netlist;
  uint64_t count[3] = {0, 0, 0};
  for (const Gate &g : n.gates)
    ++count[static_cast<int>(g.type)];
  out.put("// GF(2^");
  out.num(n.k);
  out.put(") ");
  out.put(kindName(p.kind));
  out.put(" multiplier, minimal polynomial ");
  out.put(p.minpoly.toString());
  out.put(", made by algen\n// gates: ");
  out.num(n.gates.size());
  out.put(" (AND ");
  out.num(count[static_cast<int>(GateType::And)]);
  out.put(", XOR ");
  out.num(count[static_cast<int>(GateType::Xor)]);
  out.put(", OR ");
  out.num(count[static_cast<int>(GateType::Or)]);
  out.put("), variables: ");
  out.num(variableCount(n));
  out.put('\n');
  if (!p.faults.empty()) {
    out.put("// faults: ");
    out.num(p.faults.size());
    out.put(", seed ");
    out.num(p.seed);
    out.put('\n');
  }
  for (const Fault &f : p.faults) {
    out.put("// fault: ");
    names.put(out, f.gate);
    if (f.kind == Fault::WrongType) {
      out.put(' ');
      out.put(gateTypeName(f.oldType));
      out.put(" -> ");
      out.put(gateTypeName(f.newType));
    } else {
      out.put(" input ");
      names.put(out, f.oldSource);
      out.put(" -> ");
      names.put(out, f.newSource);
    }
    out.put('\n');
  }
}

} // namespace

std::vector<Signal> gateOrder(const Netlist &n) {
  const std::vector<bool> used = fanout(n);
  std::vector<bool> top(n.numSignals(), false);
  std::vector<Signal> order;
  order.reserve(n.gates.size());
  for (Signal s : n.outputs)
    if (!used[s]) {
      top[s] = true;
      order.push_back(s);
    }
  for (Signal s = n.numSignals(); s-- > n.numInputs();)
    if (!top[s])
      order.push_back(s);
  return order;
}

uint64_t variableCount(const Netlist &n) { return 3 + n.gates.size() + n.numInputs(); }

void writeAlg(const Problem &p, OutBuf &out) {
  const Netlist &n = p.netlist;
  const Names names(n);
  const Layout lay(n);
  putHeader(out, p, names);

  // Variables.
  out.put('Z');
  for (Signal s : lay.gates) {
    out.put(", ");
    names.put(out, s);
  }
  out.put(", A, B");
  for (Signal s = 0; s < n.numInputs(); ++s) {
    out.put(", ");
    names.put(out, s);
  }
  out.put(";\n");
  // Auxiliary names: the input words.
  out.put("A, B;\n");
  out.put(p.minpoly.toString());
  out.put(";\n");
  // Specification.
  if (p.kind == Kind::Montgomery) {
    out.put("Z + (");
    out.put(montgomeryFactor(p.minpoly).toString());
    out.put(")*A*B;\n");
  } else {
    out.put("Z + A*B;\n");
  }
  // Circuit, in the variable order of the leading terms.
  putWordDefinition(out, "Z", n.outputs, lay, names);
  out.put(",\n");
  for (Signal s : lay.gates) {
    putGate(out, n, s, lay, names);
    out.put(",\n");
  }
  std::vector<Signal> bits(n.k);
  for (unsigned i = 0; i < n.k; ++i)
    bits[i] = n.a(i);
  putWordDefinition(out, "A", bits, lay, names);
  out.put(",\n");
  for (unsigned i = 0; i < n.k; ++i)
    bits[i] = n.b(i);
  putWordDefinition(out, "B", bits, lay, names);
  out.put(";\n");
}

// Vertices are numbered by declaration position (Z is 1). Edges run from a
// signal to the gates that read it, from every gate without fanout to Z,
// along a chain b(K-1) -> .. -> b0 -> a(K-1) -> .. -> a0 -> B -> A, and from A
// to every gate that reads only input bits. The chain makes the input bits
// and the words the only way into the gates, so that any topological order
// lists them before every gate and Z last; reversed, it declares Z first,
// every gate above its inputs and all gates above A, B and the bits.
void writeGraph(const Problem &p, OutBuf &out) {
  const Netlist &n = p.netlist;
  const Names names(n);
  const Layout lay(n);
  const std::vector<bool> used = fanout(n);
  auto vertex = [&](Signal s) { return uint64_t{lay.rank[s]} + 1; };
  const uint64_t vZ = 1, vA = lay.posA + 1, vB = lay.posB + 1;

  uint64_t edges = 2 * n.k + 1;
  for (Signal s = n.numInputs(); s < n.numSignals(); ++s) {
    const Gate &g = n.gate(s);
    edges += g.in0 == g.in1 ? 1 : 2;
    edges += !used[s];
    edges += !n.isGate(g.in0) && !n.isGate(g.in1);
  }
  out.num(lay.count);
  out.put(' ');
  out.num(edges);
  out.put('\n');
  auto edge = [&](uint64_t from, uint64_t to) {
    out.num(from);
    out.put(' ');
    out.num(to);
    out.put('\n');
  };
  for (unsigned i = n.k; i-- > 1;)
    edge(vertex(n.b(i)), vertex(n.b(i - 1)));
  edge(vertex(n.b(0)), vertex(n.a(n.k - 1)));
  for (unsigned i = n.k; i-- > 1;)
    edge(vertex(n.a(i)), vertex(n.a(i - 1)));
  edge(vertex(n.a(0)), vB);
  edge(vB, vA);
  for (Signal s = n.numInputs(); s < n.numSignals(); ++s) {
    const Gate &g = n.gate(s);
    if (!n.isGate(g.in0) && !n.isGate(g.in1))
      edge(vA, vertex(s));
    edge(vertex(g.in0), vertex(s));
    if (g.in1 != g.in0)
      edge(vertex(g.in1), vertex(s));
    if (!used[s])
      edge(vertex(s), vZ);
  }
  // Names in vertex order.
  out.put("Z\n");
  for (Signal s : lay.gates) {
    names.put(out, s);
    out.put('\n');
  }
  out.put("A\nB\n");
  for (Signal s = 0; s < n.numInputs(); ++s) {
    names.put(out, s);
    out.put('\n');
  }
}

} // namespace algen
