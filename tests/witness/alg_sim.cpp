// Test-side .alg reader and simulator; see alg_sim.h.
#include "alg_sim.h"

#include <algorithm>

namespace {

std::string stripComments(const std::string &t, unsigned &faultLines) {
  std::string out;
  for (size_t i = 0; i < t.size();) {
    if (t.compare(i, 2, "//") == 0) {
      const size_t e = t.find('\n', i);
      if (t.compare(i, 9, "// fault:") == 0)
        ++faultLines;
      i = e == std::string::npos ? t.size() : e;
    } else if (t.compare(i, 2, "/*") == 0) {
      const size_t e = t.find("*/", i + 2);
      i = e == std::string::npos ? t.size() : e + 2;
    } else {
      out += t[i++];
    }
  }
  return out;
}

std::vector<std::string> split(const std::string &s, char sep) {
  std::vector<std::string> parts(1);
  for (char ch : s) {
    if (ch == sep)
      parts.emplace_back();
    else if (ch != ' ' && ch != '\n' && ch != '\t' && ch != '\r')
      parts.back() += ch;
  }
  return parts;
}

// "X^e", "X" or "1" to its exponent; -1 otherwise.
long alphaExponent(const std::string &f) {
  if (f == "1")
    return 0;
  if (f == "X")
    return 1;
  if (f.compare(0, 2, "X^") == 0 && f.size() > 2)
    return std::stol(f.substr(2));
  return -1;
}

} // namespace

std::string parseAlg(const std::string &text, AlgCircuit &c) {
  const std::vector<std::string> sec = split(stripComments(text, c.faultLines), ';');
  if (sec.size() != 6 || !sec[5].empty())
    return "expected five sections ended by ';'";
  for (const std::string &v : split(sec[0], ',')) {
    if (v.empty() || v == "X" || v == "1" || c.index.count(v))
      return "bad or repeated variable '" + v + "'";
    c.index[v] = static_cast<unsigned>(c.vars.size());
    c.vars.push_back(v);
  }
  for (const std::string &t : split(sec[2], '+')) {
    const long e = alphaExponent(t);
    if (e < 0)
      return "bad field term '" + t + "'";
    c.minpoly.push_back(static_cast<unsigned>(e));
  }
  c.k = c.minpoly.empty() ? 0 : c.minpoly[0];
  c.spec = split(sec[3], '\n')[0];
  c.zBits.assign(c.k, ~0u);
  c.aBits.assign(c.k, ~0u);
  c.bBits.assign(c.k, ~0u);
  auto var = [&](const std::string &name, unsigned &out) {
    const auto it = c.index.find(name);
    return it != c.index.end() && (out = it->second, true);
  };
  for (const std::string &poly : split(sec[4], ',')) {
    const std::vector<std::string> terms = split(poly, '+');
    unsigned lead;
    if (!var(terms[0], lead))
      return "leading term of '" + poly + "' is not one variable";
    const std::string &name = terms[0];
    if (name == "Z" || name == "A" || name == "B") {
      std::vector<unsigned> &bits = name == "Z" ? c.zBits : name == "A" ? c.aBits : c.bBits;
      for (size_t i = 1; i < terms.size(); ++i) {
        const std::vector<std::string> f = split(terms[i], '*');
        long e = 0;
        std::string bitName = f[0];
        if (f.size() == 2 && f[0].size() > 2 && f[0].front() == '(' && f[0].back() == ')') {
          e = alphaExponent(f[0].substr(1, f[0].size() - 2));
          bitName = f[1];
        } else if (f.size() != 1) {
          e = -1;
        }
        unsigned b;
        if (e < 0 || e >= static_cast<long>(c.k) || !var(bitName, b) || bits[e] != ~0u)
          return "bad term '" + terms[i] + "' in the definition of " + name;
        bits[e] = b;
      }
      continue;
    }
    AlgCircuit::GatePoly g;
    g.out = lead;
    for (size_t i = 1; i < terms.size(); ++i) {
      if (terms[i] == "1") {
        g.one = !g.one;
        continue;
      }
      std::vector<unsigned> prod;
      for (const std::string &f : split(terms[i], '*')) {
        unsigned v;
        if (!var(f, v))
          return "bad factor '" + f + "' in '" + poly + "'";
        prod.push_back(v);
      }
      g.terms.push_back(prod);
    }
    c.gates.push_back(g);
  }
  for (unsigned i = 0; i < c.k; ++i)
    if (c.zBits[i] == ~0u || c.aBits[i] == ~0u || c.bBits[i] == ~0u)
      return "a word definition lacks bit " + std::to_string(i);
  return "";
}

std::vector<uint64_t> simulate(const AlgCircuit &c, const std::vector<uint64_t> &a,
                               const std::vector<uint64_t> &b) {
  std::vector<uint64_t> val(c.vars.size(), 0);
  for (unsigned i = 0; i < c.k; ++i) {
    val[c.aBits[i]] = a[i];
    val[c.bBits[i]] = b[i];
  }
  // Reverse file order is a topological order (checkOrder verifies it);
  // a variable read before it is set is still zero and shows as a mismatch.
  for (auto it = c.gates.rbegin(); it != c.gates.rend(); ++it) {
    uint64_t v = it->one ? ~uint64_t{0} : 0;
    for (const auto &t : it->terms) {
      uint64_t p = ~uint64_t{0};
      for (unsigned x : t)
        p &= val[x];
      v ^= p;
    }
    val[it->out] = v;
  }
  std::vector<uint64_t> z(c.k);
  for (unsigned i = 0; i < c.k; ++i)
    z[i] = val[c.zBits[i]];
  return z;
}
