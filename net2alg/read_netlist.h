// Reading a netlist in whichever format its first bytes announce.
#pragma once

#include <iosfwd>
#include <string>

#include "netlist.h"

namespace net2alg {

// AIGER when the text starts with "aag " or "aig ", BLIF otherwise.
// `registers` lets flip-flops and latches in (see registers.h); `model`
// names the top model of a BLIF file (empty: the first).
Netlist readNetlist(std::istream &in, const std::string &source, bool registers = false,
                    const std::string &model = "");

// Opens `path` (binary mode) and reads it; a file that cannot be opened is
// an InputError.
Netlist readNetlistFile(const std::string &path, bool registers = false,
                        const std::string &model = "");

} // namespace net2alg
