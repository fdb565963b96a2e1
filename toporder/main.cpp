// Entry of toporder: reads a signal graph, sorts it topologically, reports
// whether it has a cycle and writes the order found to tmp.order.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <string>
#include <system_error>

#include "graph_reader.h"
#include "topological_sort.h"

namespace {

// Reports a fatal problem on standard error; returns the exit status to use.
int fail(const std::string &message) {
  std::cout.flush();
  std::cerr << "toporder: " << message << '\n';
  return 1;
}

int run(const std::string &path) {
  std::ifstream graphFile(path);
  // Emptied before anything is read, so a failed run leaves no stale order.
  std::ofstream orderFile("tmp.order", std::ios::out | std::ios::trunc | std::ios::binary);
  if (!orderFile)
    return fail("cannot open tmp.order for writing");
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return fail(path + ": is a directory");
  if (!graphFile)
    return fail(path + ": cannot open for reading");

  GraphInput input;
  const std::string error = readGraph(graphFile, std::cout, input);
  if (!error.empty())
    return fail(path + ": " + error);

  std::string order;
  const bool complete = TopologicalSort(input.graph, input.inDegree, input.names, order, std::cout);
  std::cout << (complete ? "No news is good news!" : "Error: Loop detected!") << '\n';

  if (!order.empty())
    order.pop_back(); // the comma after the last name
  orderFile << order;
  orderFile.close();
  if (!orderFile)
    return fail("cannot write tmp.order");
  // A cycle leaves tmp.order holding only part of the vertices: not a success.
  return complete ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "Usage: toporder graph_file\n";
    return 1;
  }
  std::ios::sync_with_stdio(false);
  try {
    return run(argv[1]);
  } catch (const std::bad_alloc &) {
    return fail(std::string(argv[1]) + ": not enough memory for this graph");
  }
}
