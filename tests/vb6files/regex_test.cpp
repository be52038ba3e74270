// Patterns match the same before and after they are compiled to machine
// code, whenever that happens.
#include <gtest/gtest.h>

#include "vb6files/regex.h"

namespace corvane {
namespace {

TEST(RegexTest, PatternsCompiledWhenUsedMatchAsBeforeAndAfter) {
  const Regex eager("^\\s*dim\\s+(\\w+)(?:\\s+as\\s+(\\w+))?", Regex::CASELESS);
  const Regex lazy("^\\s*dim\\s+(\\w+)(?:\\s+as\\s+(\\w+))?", Regex::CASELESS | Regex::JIT_WHEN_USED);
  const std::string subjects[] = {"Dim total As Long", "  DIM x", "ReDim a(3)", "dim é As String", ""};
  for (int round = 0; round < 100; ++round)  // past the uses after which the lazy one is compiled
    for (const std::string& subject : subjects) {
      EXPECT_EQ(lazy.match_groups(subject), eager.match_groups(subject)) << subject << " in round " << round;
      EXPECT_EQ(lazy.search("x = 1: Dim y"), false);
    }
  EXPECT_EQ(lazy.match_groups("Dim total As Long")->at(2), "Long");
  EXPECT_FALSE(lazy.match("ReDim a(3)"));
}

}  // namespace
}  // namespace corvane
