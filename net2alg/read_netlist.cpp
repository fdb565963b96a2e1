// Format detection and opening of netlist files.
#include "read_netlist.h"

#include <filesystem>
#include <fstream>
#include <istream>

#include "aiger_reader.h"
#include "blif_reader.h"
#include "error.h"

namespace net2alg {

Netlist readNetlist(std::istream &in, const std::string &source, bool registers,
                    const std::string &model) {
  char magic[4] = {0, 0, 0, 0};
  in.read(magic, 4);
  const std::string head(magic, static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0);
  if (head == "aag " || head == "aig ")
    return readAiger(in, source, registers);
  return readBlif(in, source, registers, model);
}

Netlist readNetlistFile(const std::string &path, bool registers, const std::string &model) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    fail(path + ": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in)
    fail(path + ": cannot open for reading");
  return readNetlist(in, path, registers, model);
}

} // namespace net2alg
