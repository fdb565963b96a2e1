// Helpers shared by the net2alg unit tests.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "error.h"
#include "netlist.h"

// The function of the node that drives `net`, as "a*b + c + 1": each product
// with its net names sorted, the products sorted, the constant last; "0" for
// the zero function.
inline std::string anfText(const net2alg::Netlist &nl, const std::string &net) {
  const int id = nl.findNet(net);
  if (id < 0 || nl.driver[id] < 0)
    return "<undriven " + net + ">";
  std::vector<std::string> terms;
  bool one = false;
  for (const net2alg::NetTerm &term : nl.nodes[nl.driver[id]].anf) {
    std::vector<std::string> names;
    for (int n : term)
      names.push_back(nl.netNames[n]);
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string &name : names)
      text += (text.empty() ? "" : "*") + name;
    if (text.empty())
      one = true;
    else
      terms.push_back(text);
  }
  std::sort(terms.begin(), terms.end());
  if (one)
    terms.push_back("1");
  std::string text;
  for (const std::string &t : terms)
    text += (text.empty() ? "" : " + ") + t;
  return text.empty() ? "0" : text;
}

// Runs `f` and returns the message of the InputError it throws ("" if none).
template <class F> std::string errorOf(F &&f) {
  try {
    f();
  } catch (const net2alg::InputError &e) {
    return e.what();
  }
  return "";
}
