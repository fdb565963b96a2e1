// The variable table against a plain map: random declarations in the shapes
// that reach its dense arrays (numbered names of a few prefixes) and its
// hash table (other names, leading zeros, long and sparse numbers), names
// declared again, declarations after lookups, then every name and some
// undeclared ones looked up.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "name_list.h"
#include "name_table.h"

namespace {

struct Shape {
  const char *what;
  std::vector<std::string> prefixes;
  unsigned numbers;     // numbers drawn below this
  int leadingZeroEvery; // every n-th name gets a leading zero (0: never)
};

const Shape kShapes[] = {
    {"gates and inputs", {"g", "a", "b", "z", "Z"}, 3000, 0},
    {"one dense series", {"n"}, 200, 0},
    {"sparse numbers", {"x"}, 4000000000u, 0},
    {"leading zeros", {"w"}, 500, 5},
    {"long and empty prefixes", {"a_very_long_prefix_", "", "s9_"}, 800, 0},
    {"many prefixes",
     {"p", "q", "r", "s", "t", "u", "v", "A", "B", "C",
      "D", "E", "F", "G", "H", "I", "J", "K", "L", "M"},
     300,
     0},
};

TEST(NameTable, LooksUpWhatAPlainMapHolds) {
  for (const Shape &shape : kShapes) {
    SCOPED_TRACE(shape.what);
    std::mt19937 rng(7);
    for (int round = 0; round < 3; ++round) {
      NameTable table;
      std::map<std::string, unsigned> reference;
      std::vector<std::string> declared;
      auto randomName = [&](int k) {
        std::string name = shape.prefixes[rng() % shape.prefixes.size()];
        if (shape.leadingZeroEvery != 0 && k % shape.leadingZeroEvery == 0)
          name += '0';
        return name + std::to_string(rng() % shape.numbers);
      };
      auto declare = [&](const std::string &name, unsigned id) {
        table.assign(name.data(), name.size(), id);
        reference[name] = id; // a later declaration wins
        declared.push_back(name);
      };
      auto checkAll = [&](int k) {
        for (const std::string &name : declared)
          ASSERT_EQ(table.find(name.data(), name.size()), reference[name]) << name;
        for (int i = 0; i < 200; ++i) {
          const std::string name = randomName(k + i);
          const auto it = reference.find(name);
          ASSERT_EQ(table.find(name.data(), name.size()), it == reference.end() ? 0 : it->second)
              << name;
        }
      };
      unsigned id = 2;
      for (int k = 0; k < 2000; ++k)
        declare(randomName(k), id++);
      declare(declared[17], id++); // declared again
      checkAll(0);
      // Declarations after lookups: new names and earlier ones again.
      for (int k = 0; k < 300 * round; ++k)
        declare(k % 3 == 0 ? declared[rng() % declared.size()] : randomName(k), id++);
      checkAll(5000);
      table.clear();
      EXPECT_EQ(table.find(declared[0].data(), declared[0].size()), 0u);
    }
  }
}

// Names of every length class of the list's length prefix, a gap, a name
// given again.
TEST(NameList, GivesBackEachName) {
  NameList list;
  const std::vector<std::pair<unsigned, std::string>> sets = {
      {2, "a"},
      {3, std::string(127, 'b')},
      {4, std::string(128, 'c')},
      {7, std::string(20000, 'd')},
      {5, "e17"},
      {3, "b_again"},
      {8, ""},
  };
  std::map<unsigned, std::string> expected;
  for (const auto &[id, name] : sets) {
    list.set(id, name.data(), name.size());
    expected[id] = name;
  }
  for (unsigned id = 0; id < 10; ++id)
    EXPECT_EQ(list.get(id), expected.count(id) ? expected[id] : "") << id;
  list.clear();
  EXPECT_EQ(list.get(2), "");
}

} // namespace
