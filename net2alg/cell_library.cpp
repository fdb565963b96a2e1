// The yosys simple gate cells, each defined by a small function of its input
// bits from which the truth table is computed once.
#include "cell_library.h"

#include <cstdint>
#include <map>

namespace net2alg {
namespace {

using Eval = bool (*)(std::uint32_t in); // bit k of `in` is input pin k

CellType makeCell(std::vector<std::string> inputs, Eval eval) {
  CellType cell{std::move(inputs), "Y", {}};
  cell.truth.resize(std::size_t{1} << cell.inputs.size());
  for (std::uint32_t m = 0; m < cell.truth.size(); ++m)
    cell.truth[m] = eval(m) ? 1 : 0;
  return cell;
}

// A mux of 2^s data inputs named A, B, C, ... and s select inputs S, T, U, V
// (S the least significant): Y is the data input that the selects number.
CellType makeMux(unsigned selects, bool inverted) {
  static const char *const selectNames[] = {"S", "T", "U", "V"};
  const unsigned data = 1u << selects;
  std::vector<std::string> inputs;
  for (unsigned k = 0; k < data; ++k)
    inputs.push_back(std::string(1, static_cast<char>('A' + k)));
  for (unsigned k = 0; k < selects; ++k)
    inputs.push_back(selectNames[k]);
  CellType cell{std::move(inputs), "Y", {}};
  cell.truth.resize(std::size_t{1} << cell.inputs.size());
  for (std::uint32_t m = 0; m < cell.truth.size(); ++m) {
    const std::uint32_t chosen = m >> data;
    cell.truth[m] = static_cast<std::uint8_t>(((m >> chosen) & 1) ^ (inverted ? 1 : 0));
  }
  return cell;
}

std::map<std::string, CellType> buildLibrary() {
  std::map<std::string, CellType> lib;
  const std::vector<std::string> A{"A"}, AB{"A", "B"}, ABC{"A", "B", "C"}, ABCD{"A", "B", "C", "D"};
  lib["$_BUF_"] = makeCell(A, [](std::uint32_t m) { return (m & 1) != 0; });
  lib["$_NOT_"] = makeCell(A, [](std::uint32_t m) { return (m & 1) == 0; });
  lib["$_AND_"] = makeCell(AB, [](std::uint32_t m) { return m == 3; });
  lib["$_NAND_"] = makeCell(AB, [](std::uint32_t m) { return m != 3; });
  lib["$_OR_"] = makeCell(AB, [](std::uint32_t m) { return m != 0; });
  lib["$_NOR_"] = makeCell(AB, [](std::uint32_t m) { return m == 0; });
  lib["$_XOR_"] = makeCell(AB, [](std::uint32_t m) { return m == 1 || m == 2; });
  lib["$_XNOR_"] = makeCell(AB, [](std::uint32_t m) { return m == 0 || m == 3; });
  lib["$_ANDNOT_"] = makeCell(AB, [](std::uint32_t m) { return m == 1; }); // A & ~B
  lib["$_ORNOT_"] = makeCell(AB, [](std::uint32_t m) { return m != 2; });  // A | ~B
  lib["$_AOI3_"] = makeCell(ABC, [](std::uint32_t m) { return !((m & 3) == 3 || (m & 4)); });
  lib["$_OAI3_"] = makeCell(ABC, [](std::uint32_t m) { return !((m & 3) && (m & 4)); });
  lib["$_AOI4_"] =
      makeCell(ABCD, [](std::uint32_t m) { return !((m & 3) == 3 || (m & 12) == 12); });
  lib["$_OAI4_"] = makeCell(ABCD, [](std::uint32_t m) { return !((m & 3) && (m & 12)); });
  lib["$_MUX_"] = makeMux(1, false);
  lib["$_NMUX_"] = makeMux(1, true);
  lib["$_MUX4_"] = makeMux(2, false);
  lib["$_MUX8_"] = makeMux(3, false);
  lib["$_MUX16_"] = makeMux(4, false);
  return lib;
}

} // namespace

const CellType *findCellType(const std::string &name) {
  static const std::map<std::string, CellType> library = buildLibrary();
  const auto it = library.find(name);
  return it == library.end() ? nullptr : &it->second;
}

bool isSequentialCellType(const std::string &name) {
  static const char *const prefixes[] = {"$_DFF",   "$_SDFF",   "$_ALDFF", "$_DLATCH", "$_SR_",
                                         "$_FF_",   "$dff",     "$adff",   "$sdff",    "$aldff",
                                         "$dlatch", "$adlatch", "$sr",     "$ff"};
  for (const char *prefix : prefixes)
    if (name.rfind(prefix, 0) == 0)
      return true;
  return false;
}

bool flipFlopPins(const std::string &type, std::string &roles, std::string &pins,
                  std::string &high) {
  // Kind, the number of polarity letters, the pin of each letter ('-' for a
  // reset value) and its role.
  struct Kind {
    const char *name;
    const char *pins;
    const char *roles;
  };
  static const Kind kinds[] = {{"FF", "", ""},
                               {"DFF", "C", "C"},
                               {"DFF", "CR-", "CA-"},
                               {"DFFE", "CE", "CE"},
                               {"DFFE", "CR-E", "CA-E"},
                               {"DFFSR", "CSR", "CAA"},
                               {"DFFSRE", "CSRE", "CAAE"},
                               {"SDFF", "CR-", "CR-"},
                               {"SDFFE", "CR-E", "CR-E"},
                               {"SDFFCE", "CR-E", "CR-E"}};
  if (type.size() < 4 || type.compare(0, 2, "$_") != 0 || type.back() != '_')
    return false;
  const std::string body = type.substr(2, type.size() - 3);
  const std::size_t bar = body.find('_');
  const std::string kind = body.substr(0, bar);
  const std::string letters = bar == std::string::npos ? "" : body.substr(bar + 1);
  for (const Kind &k : kinds) {
    if (kind != k.name || letters.size() != std::string(k.pins).size())
      continue;
    roles.clear();
    pins.clear();
    high.clear();
    for (std::size_t i = 0; i < letters.size(); ++i) {
      if (k.pins[i] == '-')
        continue;
      if (letters[i] != 'P' && letters[i] != 'N')
        return false;
      pins += k.pins[i];
      roles += k.roles[i];
      high += letters[i] == 'P' ? '1' : '0';
    }
    return true;
  }
  return false;
}

} // namespace net2alg
