// Net names as .alg variable names.
#include "names.h"
#include "test_util.h"

using namespace net2alg;

TEST(Names, Sanitize) {
  EXPECT_EQ(sanitizeName("a[3]"), "a_3");
  EXPECT_EQ(sanitizeName("m.col[1][4]"), "m_col_1_4");
  EXPECT_EQ(sanitizeName("\\data_in"), "data_in");
  EXPECT_EQ(sanitizeName("$abc$466$new_n25_"), "new_n25_");
  EXPECT_EQ(sanitizeName("$true"), "true");
  EXPECT_EQ(sanitizeName("$auto$blifparse.cc:396:parse_blif$156"), "n156");
  EXPECT_EQ(sanitizeName("17"), "n17");
  EXPECT_EQ(sanitizeName("1"), "n1");
  EXPECT_EQ(sanitizeName("[]"), "n");
  EXPECT_EQ(sanitizeName("X"), "X"); // made unique by the name table
}

TEST(Names, TableMakesNamesUnique) {
  NameTable names;
  names.reserve("Z");
  EXPECT_EQ(names.claim("X"), "X_1");
  EXPECT_EQ(names.claim("Z"), "Z_1");
  EXPECT_EQ(names.claim("a_3"), "a_3");
  EXPECT_EQ(names.claim(sanitizeName("a[3]")), "a_3_1");
  EXPECT_EQ(names.claim("a_3_1"), "a_3_1_1");
  EXPECT_EQ(names.claim("a_3"), "a_3_2");
  EXPECT_TRUE(names.taken("1"));
}

// The index grows by itself and after a reserve; every name keeps its id,
// and names that differ only in a late character are told apart.
TEST(Names, IndexFindsEveryIdAcrossGrowth) {
  std::vector<std::string> names;
  NameIndex index;
  for (int i = 0; i < 5000; ++i) {
    if (i == 1000)
      index.reserve(20000);
    names.push_back("net_" + std::to_string(i) + "_x");
    ASSERT_EQ(index.find(names.back(), NameIndex::hashOf(names.back()), names), NameIndex::kNone);
    index.add(NameIndex::hashOf(names.back()));
  }
  for (std::uint32_t id = 0; id < names.size(); ++id)
    EXPECT_EQ(index.find(names[id], NameIndex::hashOf(names[id]), names), id);
  EXPECT_EQ(index.find("net_5000_x", NameIndex::hashOf("net_5000_x"), names), NameIndex::kNone);
}
