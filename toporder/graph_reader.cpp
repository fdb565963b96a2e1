// Token-level reading of graph files, with an overflow check on every number.
#include "graph_reader.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <streambuf>

namespace {

// Hands out whitespace-separated tokens straight from a stream buffer; a
// graph of a million edges is a few million tokens.
class TokenReader {
public:
  explicit TokenReader(std::istream &in) : buf(in.rdbuf()) {}

  // Stores the next token in `token`; false at end of input.
  bool next(std::string &token) {
    token.clear();
    if (!buf)
      return false;
    int c = buf->sgetc();
    while (c != EOF && isBlank(c))
      c = buf->snextc();
    while (c != EOF && !isBlank(c)) {
      token.push_back(static_cast<char>(c));
      c = buf->snextc();
    }
    return !token.empty();
  }

private:
  static bool isBlank(int c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
  }

  std::streambuf *buf;
};

enum class IntToken { Ok, NotInteger, OutOfRange };

// A decimal integer is an optional sign and one or more digits, the whole token.
IntToken parseInt(const std::string &token, int &value) {
  const char *begin = token.data();
  const char *end = begin + token.size();
  // from_chars takes a minus sign but not a plus sign.
  if (begin != end && *begin == '+' && (++begin == end || *begin == '-'))
    return IntToken::NotInteger;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ptr != end || ec == std::errc::invalid_argument)
    return IntToken::NotInteger;
  return ec == std::errc::result_out_of_range ? IntToken::OutOfRange : IntToken::Ok;
}

// Reads one of the two counts; `what` names it in messages.
std::string readCount(TokenReader &tokens, const char *what, int &count) {
  std::string token;
  if (!tokens.next(token))
    return std::string("file ends before the ") + what;
  switch (parseInt(token, count)) {
  case IntToken::NotInteger:
    return std::string(what) + " '" + token + "' is not an integer";
  case IntToken::OutOfRange:
    return std::string(what) + " " + token + (token[0] == '-' ? " is negative" : " is too large");
  case IntToken::Ok:
    break;
  }
  if (count < 0)
    return std::string(what) + " " + token + " is negative";
  return "";
}

// Reads one end of edge `e`; valid numbers are lowest..n.
std::string readVertex(TokenReader &tokens, int e, int m, int n, bool isStart, int &vertex) {
  const std::string edge = "edge " + std::to_string(e);
  const char *role = isStart ? "start vertex" : "end vertex";
  std::string token;
  if (!tokens.next(token))
    return "file ends " + std::string(isStart ? "before " : "inside ") + edge + " of " +
           std::to_string(m);
  const int lowest = isStart ? 1 : 0;
  switch (parseInt(token, vertex)) {
  case IntToken::NotInteger:
    return edge + ": " + role + " '" + token + "' is not an integer";
  case IntToken::Ok:
    if (vertex >= lowest && vertex <= n)
      return "";
    [[fallthrough]];
  case IntToken::OutOfRange:
    break;
  }
  if (n < lowest)
    return edge + ": " + role + " " + token + " is out of range: the graph has no vertices";
  return edge + ": " + role + " " + token + " is out of range " + std::to_string(lowest) + ".." +
         std::to_string(n);
}

} // namespace

std::string readGraph(std::istream &in, std::ostream &out, GraphInput &input) {
  TokenReader tokens(in);
  int n = 0;
  int m = 0;
  std::string error = readCount(tokens, "vertex count", n);
  if (error.empty())
    error = readCount(tokens, "edge count", m);
  if (!error.empty())
    return error;

  input.graph = ALGraph(n);
  input.graph.arcCount = m;
  input.inDegree.assign(static_cast<std::size_t>(n) + 1, 0);
  out << "Edge info (start --> end) for each line\n";

  for (int e = 1; e <= m; ++e) {
    int start = 0;
    int end = 0;
    error = readVertex(tokens, e, m, n, true, start);
    if (error.empty())
      error = readVertex(tokens, e, m, n, false, end);
    if (!error.empty())
      return error;
    input.graph.addArc(start, end);
    ++input.inDegree[end];
  }

  input.names.assign(static_cast<std::size_t>(n) + 1, std::string());
  for (int k = 0; k < n; ++k) {
    if (!tokens.next(input.names[k]))
      return "file ends with " + std::to_string(n - k) + " of " + std::to_string(n) +
             " names missing";
  }
  return "";
}
