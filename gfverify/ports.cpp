// Ports and words.
#include "ports.h"

#include <algorithm>

#include "error.h"
#include "translation.h"

namespace gfverify {

namespace {

std::string baseName(const std::string &net) {
  const std::size_t open = net.rfind('[');
  if (open == std::string::npos || open == 0 || net.back() != ']' ||
      net.find_first_not_of("0123456789", open + 1) != net.size() - 1 || open + 2 == net.size())
    return net;
  return net.substr(0, open);
}

} // namespace

std::vector<Port> portsOf(const net2alg::Netlist &nl) {
  std::vector<Port> ports;
  for (bool input : {true, false})
    for (int net : input ? nl.inputs : nl.outputs) {
      const std::string base = baseName(nl.netNames[net]);
      auto it = std::find_if(ports.begin(), ports.end(),
                             [&](const Port &p) { return p.name == base && p.input == input; });
      if (it == ports.end())
        ports.push_back({base, {net}, input});
      else
        it->bits.push_back(net);
    }
  // Inputs and outputs were gathered apart; BLIF declares them apart too.
  return ports;
}

std::vector<Word> defaultWords(const std::vector<Port> &ports, const std::vector<std::string> &tied,
                               std::string &why) {
  std::vector<const Port *> in, out;
  for (const Port &p : ports) {
    if (p.input && (p.bits.size() == 1 || std::count(tied.begin(), tied.end(), p.name)))
      continue;
    (p.input ? in : out).push_back(&p);
  }
  auto names = [](const std::vector<const Port *> &list) {
    std::string s;
    for (const Port *p : list)
      s += (s.empty() ? "" : ", ") + p->name + " (" + std::to_string(p->bits.size()) + " bits)";
    return s.empty() ? std::string("none") : s;
  };
  if (in.size() != 2 || out.size() != 1 || in[0]->bits.size() != in[1]->bits.size() ||
      in[0]->bits.size() != out[0]->bits.size()) {
    why = "the default Z = A*B needs two data inputs and one output of the same width; the top "
          "has inputs " +
          names(in) + " and outputs " + names(out) + ": name the words with --word NAME=BITS";
    return {};
  }
  return {{"Z", out[0]->bits}, {"A", in[0]->bits}, {"B", in[1]->bits}};
}

std::vector<Word> namedWords(const net2alg::Netlist &nl, const std::vector<std::string> &specs) {
  std::vector<Word> words;
  bool haveZ = false;
  for (const std::string &spec : specs) {
    const std::size_t at = spec.find('=');
    if (at == std::string::npos || at == 0 || at + 1 == spec.size())
      net2alg::fail("--word: expected NAME=BITS, not '" + spec + "'");
    Word w{spec.substr(0, at), {}};
    const bool isZ = w.name == "Z";
    w.bits = net2alg::resolveBits(nl, spec.substr(at + 1), "--word " + w.name, !isZ);
    if (isZ) {
      if (haveZ)
        net2alg::fail("--word: the word Z is given twice");
      haveZ = true;
      words.insert(words.begin(), std::move(w));
    } else {
      words.push_back(std::move(w));
    }
  }
  if (!haveZ)
    net2alg::fail("--word: no word Z (the result): give --word Z=BITS");
  if (words.size() < 2)
    net2alg::fail("--word: no operand word: give --word NAME=BITS for the inputs");
  return words;
}

std::string bitList(const net2alg::Netlist &nl, const std::vector<int> &bits) {
  std::string list;
  for (int net : bits)
    list += (list.empty() ? "" : ",") + nl.netNames[net];
  return list;
}

} // namespace gfverify
