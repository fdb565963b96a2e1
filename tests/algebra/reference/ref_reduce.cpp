// Reference reduction: a transcription of the single forward pass.
//
// Only the leading term f of spec is ever tested. Generator i is tried on it;
// when the generator's leading term g divides f (g's variables are a subset
// of f's), f is replaced by the products of the quotient term f/g with the
// remaining terms of the generator, and the same generator is tried again on
// the new leading term. Otherwise the next generator is tried. The pass ends
// when the leading term is divisible by no generator from the current index
// on; lower terms stay unreduced.
#include "ref_reduce.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace ref {

namespace {

// Does g divide f? If so, quotient receives the variables of f that g lacks.
bool divides(const VarSet &g, const VarSet &f, VarSet &quotient) {
  if (!std::includes(f.begin(), f.end(), g.begin(), g.end()))
    return false;
  std::set_difference(f.begin(), f.end(), g.begin(), g.end(),
                      std::inserter(quotient, quotient.end()));
  return true;
}

bool dividesAny(const Ideal &ideal, const VarSet &f) {
  VarSet unused;
  for (const Polynomial &g : ideal)
    if (!g.empty() && divides(g.front().vars, f, unused))
      return true;
  return false;
}

} // namespace

std::string reduce(Polynomial &spec, const Ideal &ideal, const Names &names, ReduceStats *stats) {
  ReduceStats local;
  ReduceStats &st = stats != nullptr ? *stats : local;
  const bool startedNonZero = !spec.empty();
  VarSet quotientVars;
  std::size_t i = 0;
  while (i < ideal.size() && !spec.empty()) {
    const Polynomial &generator = ideal[i];
    if (generator.empty()) { // addGenerator stores none; nothing to divide by
      ++i;
      continue;
    }
    Monomial &f = spec.front();
    const Monomial &g = generator.front();
    quotientVars.clear();
    if (!divides(g.vars, f.vars, quotientVars)) {
      ++i;
      continue;
    }
    ++st.steps;
    std::unique_ptr<AlphaPoly> q;
    if (g.coef->isOne()) {
      ++st.byOne;
      q = std::make_unique<AlphaPoly>(f.coef.get());
    } else if (g.coef->equals(f.coef.get())) {
      ++st.byEqual;
      q = std::make_unique<AlphaPoly>(0UL);
    } else {
      ++st.byInverse;
      q.reset(g.coef->getInverse());
      q->mult(f.coef.get());
    }
    // q*g equals f and would cancel it: remove f without forming q*g.
    spec.pop_front();
    for (auto t = std::next(generator.begin()); t != generator.end(); ++t) {
      VarSet vars = t->vars;
      vars.insert(quotientVars.begin(), quotientVars.end());
      auto coef = std::make_unique<AlphaPoly>(t->coef.get());
      if (!q->isOne())
        coef->mult(q.get());
      const bool constant = vars.empty();
      switch (addTerm(spec, std::move(vars), std::move(coef))) {
      case Placed::Dropped:
        ++st.zeroProducts;
        break;
      case Placed::Inserted:
        ++st.inserted;
        break;
      case Placed::Merged:
        ++st.merged;
        st.constantMerges += constant;
        break;
      case Placed::Cancelled:
        ++st.cancelled;
        st.constantMerges += constant;
        break;
      }
    }
  }
  if (startedNonZero && spec.empty())
    ++st.toZero;
  for (const Monomial &t : spec) {
    if (dividesAny(ideal, t.vars)) {
      ++st.leftReducible;
      break;
    }
  }

  std::string out = "FINAL RESULT: ";
  if (spec.empty())
    return out + "0\n\n";
  for (auto t = spec.begin(); t != spec.end(); ++t) {
    if (t != spec.begin())
      out += '+';
    out += termText(*t, names);
  }
  return out + "\n";
}

std::string termText(const Monomial &m, const Names &names) {
  if (m.vars.empty())
    return m.coef->toString() + "\n";
  std::string out;
  if (!m.coef->isOne())
    out += "(" + m.coef->toString() + ")*";
  bool first = true;
  for (unsigned id : m.vars) {
    if (!first)
      out += '*';
    first = false;
    auto name = names.find(id);
    if (name != names.end())
      out += name->second;
  }
  return out;
}

} // namespace ref
