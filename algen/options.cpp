// Command-line parsing for algen; every number is read with a range check.
#include "options.h"

#include "inline_value.h"
#include "minpoly.h"

#include <charconv>

namespace algen {

const char *const kUsage =
    "usage: algen --k K [options]\n"
    "       algen --poly \"X^8+X^4+X^3+X+1\" [options]\n"
    "Writes a .alg verification problem for a gate-level GF(2^K) multiplier.\n"
    "\n"
    "  --kind KIND     mastrovito (default), montgomery or karatsuba\n"
    "  --k K           field degree, 2 to 2048; the minimal polynomial is the\n"
    "                  standard one for 163, 233, 283, 409, 571 and 1223,\n"
    "                  otherwise the irreducible trinomial or pentanomial\n"
    "                  with the smallest exponents\n"
    "  --poly P        minimal polynomial (must be irreducible; fixes K)\n"
    "  --bug N         inject N gate faults that change the function (default 0)\n"
    "  --seed S        seed for the fault choice (default 1)\n"
    "  -o, --output F  write the problem to F (default: standard output)\n"
    "  --graph F       also write the signal graph for toporder to F\n"
    "  -h, --help      show this text\n";

namespace {

// Decimal digits only (no sign, no blanks), the whole text, at most max.
bool parseNumber(const std::string &s, uint64_t max, uint64_t &out) {
  uint64_t v = 0;
  const char *end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, v);
  if (ec != std::errc() || ptr != end || v > max)
    return false;
  out = v;
  return true;
}

} // namespace

std::string parseOptions(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i], value;
    const bool inlineValue = cli::splitInlineValue(name, value);
    if (name == "-h" || name == "--help") {
      o.help = true;
      continue;
    }
    const bool takesValue = name == "--kind" || name == "--k" || name == "--poly" ||
                            name == "--bug" || name == "--seed" || name == "-o" ||
                            name == "--output" || name == "--graph";
    if (!takesValue)
      return "unknown option '" + name + "' (see --help)";
    if (!inlineValue) {
      if (i + 1 >= argc)
        return "option " + name + " needs a value";
      value = argv[++i];
    }
    uint64_t v = 0;
    if (name == "--kind") {
      if (!parseKind(value, o.kind))
        return "unknown kind '" + value + "' (mastrovito, montgomery or karatsuba)";
    } else if (name == "--k") {
      if (!parseNumber(value, UINT32_MAX, v))
        return "--k needs a whole number, not '" + value + "'";
      if (v < 2)
        return "K must be at least 2";
      if (v > kMaxDegree)
        return "K must be at most " + std::to_string(kMaxDegree);
      o.k = static_cast<unsigned>(v);
    } else if (name == "--poly") {
      o.poly = value;
      o.havePoly = true;
    } else if (name == "--bug") {
      if (!parseNumber(value, UINT32_MAX, v))
        return "--bug needs a whole number, not '" + value + "'";
      o.bugs = static_cast<unsigned>(v);
    } else if (name == "--seed") {
      if (!parseNumber(value, UINT64_MAX, v))
        return "--seed needs a whole number below 2^64, not '" + value + "'";
      o.seed = v;
    } else if (name == "-o" || name == "--output") {
      if (value.empty())
        return "option " + name + " needs a file name";
      o.output = value;
    } else { // --graph
      if (value.empty())
        return "option --graph needs a file name";
      o.graph = value;
    }
  }
  if (!o.help && o.k == 0 && !o.havePoly)
    return "give the field degree with --k K or the polynomial with --poly P (see --help)";
  return "";
}

} // namespace algen
