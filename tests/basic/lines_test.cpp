// Logical lines, comments, separators, the assignment sign and tokens.
#include <gtest/gtest.h>

#include "basic/source_lines.h"
#include "basic/tokens.h"
#include "basic/value.h"

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

TEST(CommentTest, QuoteInsideStringIsNotAComment) {
  EXPECT_EQ(comment(R"(x = "it's" ' note)"), R"(x = "it's" )");
  EXPECT_EQ(comment(R"(x = "a""'b" 'c)"), R"(x = "a""'b" )");
  EXPECT_EQ(comment("' whole line"), "");
  EXPECT_EQ(comment("no comment"), "no comment");
}

TEST(SplitOutsideTest, IgnoresSeparatorsInStringsAndParentheses) {
  EXPECT_EQ(split_outside(R"(a: b = "x:y": f(1:2))"), (Lines{"a", " b = \"x:y\"", " f(1:2)"}));
  EXPECT_EQ(split_outside("f(a, b), c", ','), (Lines{"f(a, b)", " c"}));
  EXPECT_EQ(split_outside("a,,b,", ','), (Lines{"a", "", "b", ""}));
  // a stray closing parenthesis never drives the depth below zero
  EXPECT_EQ(split_outside("a), b", ','), (Lines{"a)", " b"}));
}

TEST(LinesTest, ContinuationsColonsCommentsAndRem) {
  EXPECT_EQ(lines("x = 1 + _\n2"), (Lines{"x = 1 + 2"}));
  // a comment after the underscore goes first; a blank line keeps the continuation
  EXPECT_EQ(lines("x = 1 + _ ' more\n\n2\r\ny = 3"), (Lines{"x = 1 + 2", "y = 3"}));
  // the statements after a single-line If's Then stay on its line
  EXPECT_EQ(lines("If x Then y = 1 : z = 2"), (Lines{"If x Then y = 1 : z = 2"}));
  EXPECT_EQ(lines("a = 1: If x Then y = 1: z = \"If q Then r: s\""),
            (Lines{"a = 1", "If x Then y = 1: z = \"If q Then r: s\""}));
  // If c Then: x = 1 is a single-line If whose first statement is empty.
  EXPECT_EQ(lines("If x Then: y = 1"), (Lines{"If x Then y = 1"}));
  EXPECT_EQ(lines("If x Then : y = 1: z = 2"), (Lines{"If x Then y = 1: z = 2"}));
  EXPECT_EQ(lines("If x Then:"), (Lines{"If x Then"}));
  // Rem after a colon comments out the rest of the line, colons and all.
  EXPECT_EQ(lines("Rem note\nx = 1 : Rem note: y = 2\nRemark = 2"), (Lines{"x = 1", "Remark = 2"}));
  // A line number before a statement is a label line of its own.
  EXPECT_EQ(lines("10 x = 1: y = 2\n20\n30 Rem"), (Lines{"10", "x = 1", "y = 2", "20", "30"}));
  // A name and a colon alone on a line is a label.
  EXPECT_EQ(lines("Fail:\r  Resume Next"), (Lines{"Fail:", "Resume Next"}));
  EXPECT_EQ(lines("Fail: Resume Next"), (Lines{"Fail", "Resume Next"}));
  EXPECT_EQ(lines("Else:\nLoop:"), (Lines{"Else", "Loop"}));
  EXPECT_EQ(lines("Attribute VB_Name = \"M\"\nVERSION 5.00\n  a = \"x:y\"  "), (Lines{"a = \"x:y\""}));
  // a continuation pending at the end is one last line, not split at colons
  EXPECT_EQ(lines("a = 1 : b _"), (Lines{"a = 1 : b "}));
  EXPECT_EQ(lines("c = 1 _\nd: e _"), (Lines{"c = 1 d: e "}));
}

TEST(LinesTest, SingleLineIfInsideASingleLineIfReadsAsBlocks) {
  // An Else belongs to the nearest If.
  EXPECT_EQ(lines("If a Then If b Then x = 1 Else x = 2"),
            (Lines{"If a Then", "If b Then x = 1 Else x = 2", "End If"}));
  EXPECT_EQ(lines("If a Then x = 1: y = 2 Else If b Then x = 3 Else x = 4"),
            (Lines{"If a Then", "x = 1", "y = 2", "Else", "If b Then x = 3 Else x = 4", "End If"}));
  EXPECT_EQ(lines("If a Then If b Then If c Then x = 1"),
            (Lines{"If a Then", "If b Then", "If c Then x = 1", "End If", "End If"}));
  // "If" and "Then" inside quoted text change nothing.
  EXPECT_EQ(lines("If a Then s = \"If b Then c\" Else t = 1"), (Lines{"If a Then s = \"If b Then c\" Else t = 1"}));
  EXPECT_EQ(lines("If a Then x = 1 Else: y = 2"), (Lines{"If a Then x = 1 Else: y = 2"}));
  // An inner If after a colon takes the rest of the line.
  EXPECT_EQ(lines("If a Then x = 1: If b Then y = 2: z = 3 Else w = 4"),
            (Lines{"If a Then", "x = 1", "If b Then y = 2: z = 3 Else w = 4", "End If"}));
  EXPECT_EQ(lines("If a Then x = 1 Else y = 2: If b Then z = 3"),
            (Lines{"If a Then", "x = 1", "Else", "y = 2", "If b Then z = 3", "End If"}));
}

TEST(LinesTest, UnicodeLineSeparators) {
  EXPECT_EQ(lines("a = 1\u2028b = 2\x0c" "c = 3"), (Lines{"a = 1", "b = 2", "c = 3"}));
}

TEST(FindEqualTest, SkipsComparisonsAndStrings) {
  EXPECT_EQ(find_equal("x = 1"), 2);
  EXPECT_EQ(find_equal("If a <= b"), -1);
  EXPECT_EQ(find_equal("a >= 1 = b"), 7);
  EXPECT_EQ(find_equal("s = \"a=b\""), 2);
  EXPECT_EQ(find_equal("MsgBox \"x=1\""), -1);
  EXPECT_EQ(find_equal("a == b"), 3);  // the first '=' is followed by '='
}

std::vector<std::string> token_texts(const std::string& text) {
  std::vector<std::string> out;
  for (const Token& t : tokenize(text)) out.push_back(t.value);
  return out;
}

TEST(TokenTest, Alternatives) {
  EXPECT_EQ(token_texts(R"(a$ + "x""y" & &H1F& <> 1.5e+3)"),
            (Lines{"a$", "+", "\"x\"\"y\"", "&", "&H1F&", "<>", "1.5e+3"}));
  EXPECT_EQ(token_texts("1.e"), (Lines{"1.", "e"}));
  EXPECT_EQ(token_texts("a &Hello"), (Lines{"a", "&He", "llo"}));
  EXPECT_EQ(token_texts("x.y(1,2)"), (Lines{"x", ".", "y", "(", "1", ",", "2", ")"}));
  EXPECT_EQ(token_texts("naïve_1 + 1"), (Lines{"naïve_1", "+", "1"}));
  // Type suffixes: '&' ends a name or number unless an operand follows it.
  EXPECT_EQ(token_texts("n& + p@ * 5&"), (Lines{"n&", "+", "p@", "*", "5&"}));
  EXPECT_EQ(token_texts("n&x & a&\"b\" & 5&(1)"), (Lines{"n", "&", "x", "&", "a", "&", "\"b\"", "&", "5", "&", "(", "1", ")"}));
  const auto tokens = tokenize("abc 12");
  EXPECT_EQ(tokens[0].kind, "word");
  EXPECT_EQ(tokens[1].kind, "literal");
}

TEST(TokenTest, UnmatchedTextFailsWithTheStretch) {
  auto message = [](const std::string& text) {
    try {
      tokenize(text);
    } catch (const VBError& e) {
      return e.message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("a ; b"), "Unrecognized expression: ;");
  EXPECT_EQ(message("a # b"), "Unrecognized expression: #");  // (#1 alone is a file number)
  EXPECT_EQ(message("x = \"open"), "Unrecognized expression: \"");
  EXPECT_EQ(message("a [b]"), "Unrecognized expression: [");
  EXPECT_EQ(message("a:"), "Unrecognized expression: :");
}

TEST(LinesTest, WithMembersAreSpelledOutOnlyWhereTheyStartAMember) {
  EXPECT_EQ(with_members("x = .Name & .Phone", "T"), "x = T.Name & T.Phone");
  EXPECT_EQ(with_members("If .On Then .Count = .Count + 1", "T"), "If T.On Then T.Count = T.Count + 1");
  EXPECT_EQ(with_members("Print #f, .Server; Len(.Name)", "T"), "Print #f, T.Server; Len(T.Name)");
  // members of other things, numbers, text and comments stay
  EXPECT_EQ(with_members("a.b = f(1).c + .5 + 1.e3", "T"), "a.b = f(1).c + .5 + 1.e3");
  EXPECT_EQ(with_members("s = \" .x \"\" .y\" & .z ' .w", "T"), "s = \" .x \"\" .y\" & T.z ' .w");
  // a member at the very start may be left to the caller
  EXPECT_EQ(with_members(".Y = .X * 2", "T", 1), ".Y = T.X * 2");
}

}  // namespace
}  // namespace corvane
