// Running yosys as a subprocess: Verilog files in, a gate netlist (BLIF)
// out, with registers left as plain flip-flop cells.
#pragma once

#include <string>
#include <vector>

namespace gfverify {

// The passes between reading the design and writing BLIF: processes to
// cells, enables and synchronous resets folded into flip-flop cells
// (opt_dff), gates (techmap), unused wires removed. The modules stay apart:
// the BLIF reader flattens the hierarchy itself, which costs yosys's
// flatten pass and the clean-up of the flat design.
extern const char *const kDefaultScript;

// The script: read_verilog (-sv for .sv files) of each file, hierarchy with
// the top (or -auto-top), the passes, write_blif -cname to `blifPath` (the
// instance names of the submodules, so that flattened nets read "inst.net").
std::string yosysScript(const std::vector<std::string> &files, const std::string &top,
                        const std::string &passes, const std::string &blifPath);

// The full path of `program` found on PATH, or empty.
std::string findOnPath(const std::string &program);

// Runs `yosys -q -p SCRIPT`, its output into `logPath`. Returns an empty
// string on success, else the one-line reason (yosys's first ERROR line).
// `cpuSeconds` receives yosys's processor time (user and system).
std::string runYosys(const std::string &yosys, const std::string &script,
                     const std::string &logPath, double &cpuSeconds);

} // namespace gfverify
