// Private module names kept per module, and the language pieces that both
// engines run through shared rewrites: LSet/RSet, String * n variables,
// "&H" texts in conversions, Imp/Eqv and TypeOf.
#include <gtest/gtest.h>

#include "basic/builtins.h"
#include "basic/module_names.h"
#include "basic/source_lines.h"
#include "program.h"

namespace corvane {
namespace {

std::string run_modules(std::vector<std::string> sources) {
  std::vector<std::string> out;
  VBRuntime::Options o;
  o.sources = std::move(sources);
  o.debug = [&out](const std::string& text) { out.push_back(text); };
  VBRuntime rt(std::move(o));
  try {
    rt.event("Main");
  } catch (const VBError& e) {
    out.push_back("error: " + e.message());
  }
  std::string all;
  for (const std::string& line : out) all += line + "\n";
  return all;
}

TEST(PrivateModuleNames, EachModuleKeepsItsOwnVariablesConstantsAndProcedures) {
  const std::string main =
      "Attribute VB_Name = \"Main\"\n"
      "Private total As Long\nConst Who = \"main\"\n"
      "Private Function Tag()\nTag = \"main tag\"\nEnd Function\n"
      "Sub Main()\ntotal = 5\nAddOne\nAddOne\nDebug.Print Who & \" \" & total & \" \" & Tag()\n"
      "Debug.Print Report()\nEnd Sub\n";
  const std::string other =
      "Attribute VB_Name = \"Other\"\n"
      "Dim total As Long\nPrivate Const Who = \"other\"\n"
      "Private Function Tag()\nTag = \"other tag\"\nEnd Function\n"
      "Public Sub AddOne()\ntotal = total + 1\nEnd Sub\n"
      "Public Function Report()\nReport = Who & \" \" & total & \" \" & Tag()\nEnd Function\n";
  EXPECT_EQ(run_modules({main, other}), "main 5 main tag\nother 2 other tag\n");
  EXPECT_EQ(run_modules({other, main}), "main 5 main tag\nother 2 other tag\n");
}

TEST(PrivateModuleNames, APublicNameStaysSharedAndAPrivateOneElsewhereIsApart) {
  // "shared" is Public in one module: the other module's Private "shared"
  // is its own, whichever comes first.
  const std::string a =
      "Attribute VB_Name = \"A\"\nPrivate shared As String\n"
      "Sub Main()\nshared = \"a's\"\nSetB\nDebug.Print shared & \" \" & ReadB()\nEnd Sub\n";
  const std::string b =
      "Attribute VB_Name = \"B\"\nPublic shared As String\n"
      "Sub SetB()\nshared = \"b's\"\nEnd Sub\nFunction ReadB()\nReadB = shared\nEnd Function\n";
  EXPECT_EQ(run_modules({a, b}), "a's b's\n");
  EXPECT_EQ(run_modules({b, a}), "a's b's\n");
}

TEST(PrivateModuleNames, RenamingLeavesTextsCommentsAndMembersAlone) {
  std::vector<std::string> sources = {
      "Attribute VB_Name = \"One\"\nPrivate n As Long\n",
      "Attribute VB_Name = \"Two\"\nPrivate n As Long\n"
      "Sub S(p)\nn = p.n + 1 ' n stays\nDebug.Print \"n=\" & n\nEnd Sub\n"};
  keep_private_names_apart(sources);
  EXPECT_EQ(sources[0], "Attribute VB_Name = \"One\"\nPrivate n As Long\n");
  EXPECT_EQ(sources[1],
            "Attribute VB_Name = \"Two\"\nPrivate n__Two As Long\n"
            "Sub S(p)\nn__Two = p.n + 1 ' n stays\nDebug.Print \"n=\" & n__Two\nEnd Sub\n");
  // No clash: nothing changes.
  std::vector<std::string> apart = {"Private a As Long\n", "Private b As Long\n"};
  keep_private_names_apart(apart);
  EXPECT_EQ(apart[1], "Private b As Long\n");
}

TEST(JustifiedAssignment, LSetAndRSetBecomeAssignments) {
  EXPECT_EQ(justified_assignment("LSet s = \"ab\""), "s = __lset(s, (\"ab\"))");
  EXPECT_EQ(justified_assignment("  rset  a(i).Name = x & y"), "a(i).Name = __rset(a(i).Name, (x & y))");
  EXPECT_EQ(justified_assignment("LSetter = 3"), "LSetter = 3");
  EXPECT_EQ(justified_assignment("LSet s"), "LSet s");
}

TEST(RadixTexts, ReadAsVb6ReadsTheLiterals) {
  EXPECT_EQ(radix_text(Value("&H10")).as_int(), 16);
  EXPECT_EQ(radix_text(Value(" &o17 ")).as_int(), 15);
  EXPECT_EQ(radix_text(Value("&HFFFF")).as_int(), -1);
  EXPECT_EQ(radix_text(Value("&HFFFF&")).as_int(), 65535);
  EXPECT_EQ(radix_text(Value("&H10000")).as_int(), 65536);
  EXPECT_EQ(radix_text(Value("&HFFFFFFFF")).as_int(), -1);
  EXPECT_THROW(radix_text(Value("&H100000000")), VBError);
  // anything else is left for the ordinary conversion
  EXPECT_EQ(radix_text(Value("&HZZ")).as_string(), "&HZZ");
  EXPECT_EQ(radix_text(Value("12")).as_string(), "12");
  EXPECT_EQ(radix_text(Value("&H")).as_string(), "&H");
}

TEST(LanguageGaps, FixedTextVariablesKeepTheirLengthEverywhere) {
  EXPECT_EQ(testing::run_main("Sub Main()\nDim s As String * 4\ns = \"abcdef\"\nDebug.Print \"[\" & s & \"]\"\n"
                              "s = \"z\"\nDebug.Print \"[\" & s & \"]\"\n"
                              "s = s & \"more\"\nDebug.Print \"[\" & s & \"]\"\n"
                              "Mid(s, 2) = \"QQQQQQ\"\nDebug.Print \"[\" & s & \"]\"\nEnd Sub\n"),
            "[abcd]\n[z   ]\n[z   ]\n[zQQQ]\n");
  // module-level, and an array of them
  EXPECT_EQ(testing::run_main("Dim code As String * 3\nDim list(1) As String * 2\n"
                              "Sub Main()\ncode = 7\nlist(1) = \"xyz\"\n"
                              "Debug.Print \"[\" & code & \"][\" & list(0) & \"][\" & list(1) & \"]\"\nEnd Sub\n"),
            "[7  ][  ][xy]\n");
}

TEST(LanguageGaps, ImpAndEqvBindBelowOrAndEvaluateBothSides) {
  EXPECT_EQ(testing::run_main("Function T(x)\nDebug.Print \"ran \" & x\nT = x\nEnd Function\n"
                              "Sub Main()\nDebug.Print T(False) Imp T(True)\n"
                              "Debug.Print True Imp False Or True\nDebug.Print 3 Eqv 3 = 3\n"  // 3 Eqv True: bitwise, 3
                              
                              "Debug.Print Not 1 = 2 Imp False\nEnd Sub\n"),
            "ran False\nran True\nTrue\nTrue\n3\nFalse\n");
}

}  // namespace
}  // namespace corvane
