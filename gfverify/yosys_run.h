// Running yosys as a subprocess: Verilog files in, a gate netlist (BLIF)
// out, with registers left as plain flip-flop cells.
#pragma once

#include <string>
#include <vector>

namespace gfverify {

// The passes between reading the design and writing BLIF. proc and flatten
// come first and no pass folds logic into flip-flops (no opt_dff, no
// synth), so every register stays a $_DFF_ cell that net2alg can make a wire.
extern const char *const kDefaultScript;

// The script: read_verilog (-sv for .sv files) of each file, hierarchy with
// the top (or -auto-top), the passes, write_blif to `blifPath`.
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
