// Texts are shared between values and copied only when one of them
// changes; appends happen in place; character positions skip the part of a
// text known to be ASCII. None of this may change what a program prints.
#include <gtest/gtest.h>

#include "basic/value.h"
#include "program.h"

namespace corvane {
namespace {

using testing::run_main;

TEST(SharedText, ValuesShareUntilOneChanges) {
  static_assert(sizeof(Value) <= 24, "an array element costs at most 24 bytes");
  Value a(std::string("hello"));
  Value b = a;
  EXPECT_TRUE(a.shares_text(b));
  b.mutable_text()[0] = 'j';
  EXPECT_FALSE(a.shares_text(b));
  EXPECT_EQ(a.as_string(), "hello");
  EXPECT_EQ(b.as_string(), "jello");
  Value c = a;
  c.append(" world");
  EXPECT_EQ(a.as_string(), "hello");
  EXPECT_EQ(c.as_string(), "hello world");
  // an empty text and reading the wrong kind
  Value empty(std::string{});
  EXPECT_TRUE(empty.is_string());
  EXPECT_EQ(empty.as_string(), "");
  empty.append("x");
  EXPECT_EQ(empty.as_string(), "x");
  EXPECT_THROW((void)Value(int64_t{1}).as_string(), std::logic_error);
  EXPECT_THROW((void)Value(std::string("x")).as_array(), std::logic_error);
}

TEST(SharedText, AssignmentsCopiesAndElementsStayIndependent) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  Dim s As String, t As String, a(2) As String
  s = "abc"
  t = s
  a(0) = s
  s = s & "d"
  Mid(t, 1, 1) = "X"
  Debug.Print s; "|"; t; "|"; a(0)
  a(1) = a(0)
  a(1) = a(1) & "!"
  Debug.Print a(0); "|"; a(1)
  Dim v
  v = s
  v = v & 1 & True
  Debug.Print s; "|"; v
End Sub
)"),
            "abcd|Xbc|abc\nabc|abc!\nabcd|abcd1True\n");
}

TEST(SharedText, AppendOperandsThatChangeTheVariable) {
  // The left operand is the variable's text before the others run.
  EXPECT_EQ(run_main(R"(
Dim s As String
Function Change()
  s = "changed"
  Change = "+"
End Function
Function Grow()
  s = s & "g"
  Grow = "-"
End Function
Sub Main()
  s = "start"
  s = s & Change()
  Debug.Print s
  s = "a"
  s = s & Grow() & Grow()
  Debug.Print s
  s = "x"
  s = s & s & s
  Debug.Print s
End Sub
)"),
            "start+\na--\nxxx\n");
}

TEST(SharedText, PlusOnTextAppendsOnlyWhenItConcatenates) {
  // s = s + x adds when both sides are numbers, whatever their kind, and
  // otherwise joins the texts, also when x changes s on the way
  EXPECT_EQ(run_main(R"(
Dim s As String
Function Change()
  s = "changed"
  Change = "+"
End Function
Sub Main()
  Dim v
  s = s + "1"
  s = s + "2"
  Debug.Print s
  s = "abc"
  s = s + 1
  s = s + True
  Debug.Print s
  v = "5"
  v = v + "x"
  Debug.Print v
  v = "5"
  v = v + 5
  Debug.Print v; TypeName(v)
  s = " 7 "
  s = s + "1"
  Debug.Print s
  s = "inf"
  s = s + "1"
  Debug.Print s
  s = "a"
  s = s + Change()
  Debug.Print s
  s = "x"
  s = s + s
  s = s + s
  Debug.Print s
End Sub
)"),
            "3\nabc1True\n5x\n10Integer\n8\ninf\na+\nxxxx\n");
}

TEST(SharedText, PositionsAcrossAsciiAndOtherText) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  Dim s As String, i
  For i = 1 To 5
    s = s & Chr(96 + i)
  Next
  Debug.Print Mid(s, 2, 2); Len(s); Left(s, 2); Right(s, 2); InStr(s, "d")
  s = s & "é" & "fg"
  Debug.Print Mid(s, 6, 2); Len(s); Right(s, 3); InStr(s, "f"); InStr(7, s, "g"); InStr(9, s, "g")
  Mid(s, 1, 1) = "ü"
  Debug.Print Mid(s, 1, 2); Len(s); InStr(2, s, "é"); InStr(8, s, ""); InStr(9, s, "")
  s = "abc"
  Debug.Print Mid(s, 3); Mid(s, 4) = ""; Len(s)
  Debug.Print Len(12345); Mid(-2.5, 2); Left(True, 2); Right(1000000, 3); InStr(3.14159, 4)
End Sub
)"),
            "bc5abde4\néf8éfg780\nüb8689\ncTrue3\n52.5Tr0004\n");
}

TEST(SharedText, ElementsAndCallsThatLookAlike) {
  // F(i) is a call, a(i) an element; a two-dimensional array needs both subscripts.
  EXPECT_EQ(run_main(R"(
Function F(i)
  F = i * 10
End Function
Sub Main()
  Dim a(3), m(2, 2)
  a(2) = F(2)
  Debug.Print a(2); F(3)
  m(1, 1) = 5
  Debug.Print m(1, 1)
  Debug.Print m(1)
End Sub
)"),
            "2030\n5\nRuntime error in Main: Wrong number of dimensions: m\n");
}

}  // namespace
}  // namespace corvane
