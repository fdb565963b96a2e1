// Writing a translated problem as a .alg file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "translation.h"

namespace net2alg {

// Writes the problem under the given variable order (highest first): a
// comment naming the source, the variables, the free inputs as the
// auxiliary names, the field, the specification, and the polynomials of the
// words and gates, each with its terms in descending order and the
// polynomials in descending order of their leading terms.
void writeAlg(const Translation &t, const std::vector<int> &order, std::ostream &out);

// The same text in one string.
std::string algText(const Translation &t, const std::vector<int> &order);

} // namespace net2alg
