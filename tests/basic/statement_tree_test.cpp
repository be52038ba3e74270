// Procedures run from statement trees give the same output, messages and
// step counts as the same procedures run line by line.
#include <gtest/gtest.h>

#include "basic/runtime.h"

namespace corvane {
namespace {

struct Outcome {
  std::string output;
  int64_t steps = 0;
};

Outcome run(const std::string& source, bool trees, int64_t max_steps = 0) {
  Outcome result;
  VBRuntime::Options o;
  o.sources.push_back(source);
  o.statement_trees = trees;
  o.max_steps = max_steps;
  o.debug = [&result](const std::string& text) { result.output += text + "\n"; };
  auto text_box = std::make_shared<ControlObject>("Text1", std::map<std::string, Value>{{"text", Value(std::string())}});
  o.controls.emplace_back("Text1", text_box);
  VBRuntime rt(std::move(o));
  try {
    rt.event("Main");
  } catch (const VBError& e) {
    result.output += "error: " + e.message() + " at line " + std::to_string(e.line) + "\n";
  }
  result.output += "Text1=" + vbstr(text_box->get("Text")) + "\n";
  result.steps = rt.step_count;
  return result;
}

// Runs the program both ways; the two must agree and give `expected`.
void expect_same(const std::string& source, const std::string& expected) {
  const Outcome tree = run(source, true);
  const Outcome lines = run(source, false);
  EXPECT_EQ(tree.output, lines.output) << source;
  EXPECT_EQ(tree.steps, lines.steps) << source;
  EXPECT_EQ(tree.output, expected + "Text1=\n") << source;
}

TEST(StatementTreeTest, VariablesFoundWhereverActivationsCreateThem) {
  // Each call creates its variables in another order, so positions
  // remembered from the previous call are stale.
  expect_same(R"(
Function F(k)
  If k Mod 2 = 0 Then
    a = 1
  Else
    b = 2
    Dim extra As Long
  End If
  c = a + b + k
  F = c
End Function
Sub Main()
  For i = 1 To 4
    Debug.Print F(i)
  Next
  For j = 1 To 3
    Dim inner As Integer
    inner = inner + j
    late = late & j
  Next
  Debug.Print inner; late; j
End Sub
)",
               "3\n3\n5\n5\n601233\n");
}

TEST(StatementTreeTest, NamesResolveAsLineByLine) {
  expect_same(R"(
Dim g As Long
Dim counter
Enum Colour
  Red = 7
End Enum
Function Twice(n)
  Twice = n * 2
End Function
Sub Main()
  g = 40000.4
  For counter = 1 To 2
    g = g + counter
  Next
  Debug.Print g; counter
  Dim Twice2(3)
  Twice2(1) = Twice(4)
  Debug.Print Twice2(1); Red; vbTab = Chr(9)
  Red = 3
  Debug.Print Red
End Sub
)",
               "400032\n87True\n7\n");
}

TEST(StatementTreeTest, BlocksLoopsAndExits) {
  expect_same(R"(
Sub Main()
  Dim s As Long, i As Long, t As String
  For i = 10 To 1 Step -3
    If i = 4 Then Exit For
    s = s + i: t = t & i & ","
  Next
  Debug.Print s; i; t
  Do
    s = s - 5
    If s < 0 Then Exit Do
  Loop While s > -100
  Debug.Print s
  Do Until s >= 3
    s = s + 1
  Loop
  While s < 6
    s = s + 2
  Wend
  Debug.Print s
  For Each x In Array(1, 2.5, 7)
    Select Case x
      Case 1, 2: Debug.Print "small"
      Case 2 To 3: Debug.Print "middle"
      Case Is > 3: Debug.Print "big"
    End Select
  Next
  For Each x In Array("b", "zz", "A")
    Select Case x
      Case "a" To "m": Debug.Print "early " & x
      Case Is > "y": Debug.Print "late " & x
      Case Else: Debug.Print "other " & x
    End Select
  Next
  With Text1
    .Text = "set"
  End With
  Text1 = Text1.Text & "!"
  Text1 = ""
End Sub
)",
               "17410,7,\n-3\n7\nsmall\nmiddle\nbig\nearly b\nlate zz\nother A\n");
}

TEST(StatementTreeTest, ArraysAndTheirIndexes) {
  expect_same(R"(
Dim a()
Function Grow()
  ReDim a(5)
  Grow = 2
End Function
Sub Main()
  ReDim a(1)
  a(1) = "kept"
  a(Grow() - 1) = "x"
  Debug.Print UBound(a); a(1)
  Dim b(2) As Integer
  b(0) = 2.5
  b(1) = b(0) * 2
  Debug.Print b(0); b(1); TypeName(b(0))
  b(3) = 1
End Sub
)",
               "50\n24Integer\nRuntime error in Main: Subscript out of range: b\nerror: Subscript out of range: b at line 16\n");
}

TEST(StatementTreeTest, ErrorsAreLocatedAndTrappedByCallers) {
  expect_same(R"(
Function Inner(n)
  If n > 0 Then
    For i = 1 To 3
      If i = n Then Inner = 1 / 0
    Next
  End If
  Inner = n
End Function
Sub Main()
  On Error Resume Next
  Debug.Print Inner(2)
  Debug.Print Err.Number; Err.Description
  On Error GoTo 0
  Debug.Print Inner(0)
  Debug.Print Inner(3)
End Sub
)",
               "11division by zero\n0\nRuntime error in Main: division by zero\nerror: division by zero at line 5\n");
}

TEST(StatementTreeTest, StepLimitStopsAtTheSameLine) {
  const std::string source = R"(
Function Spin(n)
  Do
    n = n + 1
    If n > 1000000 Then Exit Do
  Loop
  Spin = n
End Function
Sub Main()
  Debug.Print Spin(0)
End Sub
)";
  const Outcome tree = run(source, true, 5000);
  const Outcome lines = run(source, false, 5000);
  EXPECT_EQ(tree.output, lines.output);
  EXPECT_EQ(tree.steps, lines.steps);
  EXPECT_NE(tree.output.find("Execution limit exceeded"), std::string::npos) << tree.output;
}

// Procedures whose variables are all declared up front run on frames;
// they must agree with line-by-line running in every way a scope shows.
TEST(StatementTreeTest, FrameProceduresPassByReferenceAndLocateErrors) {
  expect_same(R"(
Dim total As Long
Function Twice(x As Long) As Long
  x = x * 2
  Twice = x
End Function
Sub Grow(x As Integer)
  Dim big As Long
  big = 40000
  x = big
End Sub
Function Chain(ByVal n As Long) As Long
  Dim k As Long, kept As Integer
  k = n
  Chain = Twice(k) + k
  total = total + k
  kept = 7
  Grow kept
End Function
Sub Main()
  Dim v As Long, s
  v = 5
  Debug.Print Twice(v); v
  s = 3
  Debug.Print Twice(s); TypeName(s)
  Debug.Print Twice(v + 1); v
  On Error Resume Next
  Debug.Print Chain(4)
  Debug.Print Err.Number; total
End Sub
)",
              // Grow's x = 40000 overflows the Integer it goes back to: Chain
              // fails after its other work, and Resume Next skips the Print
              "1010\n6Integer\n2210\n68\n");
}

TEST(StatementTreeTest, FrameProceduresSeeArraysModulesAndBuiltIns) {
  expect_same(R"(
Dim squares(3) As Long
Const LIMIT = 3
Function First(v)
  First = v(0) + v(1)
End Function
Function Fill() As Long
  Dim i As Long
  For i = 0 To LIMIT
    squares(i) = i * i
  Next
  Fill = squares(LIMIT) + UBound(squares)
End Function
Function Words(ByVal n As Integer) As String
  Dim s As String, i As Integer
  s = "go"
  For i = 1 To n
    s = s + Mid("abc", i, 1)
    If Len(s) > 3 Then Exit For
  Next
  Words = s
End Function
Function Sum(ByVal n As Long) As Double
  Dim x As Double, t
  t = "1"
  t = t + 2
  Do While n > 0
    x = x + n / 2
    n = n - 1
    If n = 2 Then Exit Do
  Loop
  Select Case x
    Case Is > 100: Sum = -1
    Case 4 To 5: Sum = x + t
    Case Else: Sum = x
  End Select
End Function
Sub Sort(a() As Long, ByVal n As Long)
  Dim i As Long, j As Long, t As Long
  For i = 0 To n - 2
    For j = 0 To n - 2 - i
      If a(j) > a(j + 1) Then
        t = a(j)
        a(j) = a(j + 1)
        a(j + 1) = t
      End If
    Next
  Next
End Sub
Sub Main()
  Dim r(4) As Long
  r(0) = 5: r(1) = 1: r(2) = 4: r(3) = 2: r(4) = 3
  Sort r, 5
  Debug.Print r(0); r(4); " ";
  Debug.Print First(Array(3, 4)); Fill(); Words(3); Sum(4)
  Debug.Print First(5)
End Sub
)",
              "15 712goab3.5\n"
              "Runtime error in Main: Unknown function or procedure: v\n"
              "error: Unknown function or procedure: v at line 5\n");
}

TEST(StatementTreeTest, DebugPrintInFrameProceduresSeesTheirVariables) {
  // Debug.Print lines keep Main and Show on frames; a ByRef argument in a
  // printed call, a name never declared and an error in a print list
  // behave as on a scope.
  expect_same(R"(
Dim total As Long
Function Twice(n As Long) As Long
  n = n * 2
  Twice = n
End Function
Function Show(ByVal k As Long) As Long
  Show = k + 1
  Debug.Print "in"; Show, k;
  Debug.Print
End Function
Sub Main()
  Dim s As Long, i As Integer, t As String, v
  t = "x"
  For i = 1 To 3
    s = s + Show(i)
    Debug.Print i; Twice(s); s, t & i; total
  Next
  Debug.Print s; Tab(10); "end"; undeclared; Len(t)
  total = 7
  Debug.Print total / v
End Sub
)",
              "in2           1\n"
              "144           x10\n"
              "in3           2\n"
              "21414         x20\n"
              "in4           3\n"
              "33636         x30\n"
              "36       end01\n"
              "Runtime error in Main: division by zero\n"
              "error: division by zero at line 21\n");
}

TEST(StatementTreeTest, MixedNumberComparisonsAgreeWithTheGeneralOnes) {
  // Doubles against Integers in conditions and in values, including an
  // Integer beyond a Double's precision.
  expect_same(R"(
Function Cmp(ByVal x As Double, ByVal n As Long) As String
  Dim r As String
  If x > n Then r = r & ">"
  If x = n Then r = r & "="
  If x <> n Then r = r & "#"
  r = r & (x <= n) & (n >= x) & (x < 3)
  Cmp = r
End Function
Sub Main()
  Dim big, near As Double, s As Double
  Debug.Print Cmp(2.5, 2); " "; Cmp(2, 2); " "; Cmp(-1.5, -1)
  big = 9007199254740993
  near = CDbl(9007199254740992)
  Debug.Print big > near; big = near; near < big; near >= big
  s = 0.5
  Do While s < 4
    s = s + 1
  Loop
  Debug.Print s
End Sub
)",
              ">#FalseFalseTrue =TrueTrueTrue #TrueTrueTrue\n"
              "TrueFalseTrueFalse\n"
              "4.5\n");
}

TEST(StatementTreeTest, BuiltInsCalledStraightAnswerAsTheGeneralDispatch) {
  // Built-ins from frames and from scopes, nested and failing, beside a
  // module array whose name is a built-in's (the array answers).
  expect_same(R"(
Dim Hex(3) As Long
Function Sum(ByVal n As Long) As Double
  Dim i As Long, s As Double
  For i = 1 To n
    s = s + Sqr(i * i) + Abs(-i) + Len(CStr(i)) + Hex(i Mod 4)
  Next
  Sum = s
End Function
Function Root(ByVal x As Double) As Double
  Root = Sqr(x)
End Function
Sub Scoped()
  Dim a(2) As String, i As Integer
  For i = 0 To 2
    a(i) = String(i + 1, Chr(65 + i))
  Next
  Debug.Print Join(a, "-"); Len(a(2)); InStr(a(2), "C")
End Sub
Sub Main()
  Dim k As Long
  Hex(2) = 5
  Debug.Print Sum(10); Mid("abcdef", 2, 3); UCase(Left("xyz", 2)); Abs(Sgn(-3))
  Scoped
  For k = 1 To 3
    Debug.Print Root(2 - k);
  Next
End Sub
)",
              "136.0bcdXY1\n"
              "A-BB-CCC31\n"
              "1.00.0\n"
              "Runtime error in Main: Sqr requires a number that is not negative (got -1)\n"
              "error: Sqr requires a number that is not negative (got -1) at line 11\n");
}


TEST(StatementTreeTest, FrameProceduresHoldTheirOwnArrays) {
  // Arrays a procedure's leading Dim lines declare: one set per
  // activation (recursion keeps each its own), bounds from constants and
  // earlier variables, ReDim, Erase and whole arrays passed on; a bad
  // subscript is located at its line.
  expect_same(R"(
Const N = 3
Dim shared() As Long
Function Build(ByVal depth As Long) As String
  Dim a(N) As Long, names(1 To 2) As String, i As Long
  For i = 0 To N
    a(i) = depth * 10 + i
  Next
  names(2) = "d" & depth
  If depth > 0 Then Build = Build(depth - 1)
  Build = Build & a(0) & a(N) & names(2) & "[" & names(1) & "]" & LBound(names) & " "
End Function
Sub Grow(ByVal n As Long)
  Dim b() As Long, k As Long, c() As String
  ReDim b(n)
  b(n) = 7
  ReDim Preserve b(n + 1)
  k = UBound(b)
  Debug.Print k; b(n); b(n + 1); Total(b)
  Erase b
  ReDim shared(k)
  shared(k) = k * 2
  ReDim c(1 To k)
  Debug.Print LBound(c); UBound(c); UBound(shared)
End Sub
Function Total(v() As Long) As Long
  Dim i As Long
  For i = LBound(v) To UBound(v)
    Total = Total + v(i)
  Next
  v(0) = 99
End Function
Sub Main()
  Dim m(2, 1) As Integer, t As Long, d(N + 1) As Double
  m(2, 1) = 5
  t = m(2, 1) + 1
  d(N + 1) = 0.5
  Debug.Print Build(2)
  Grow 3
  Debug.Print shared(4); t; d(4); m(0, 0)
  Debug.Print d(t)
End Sub
)",
              "003d0[]1 1013d1[]1 2023d2[]1 \n"
              "4707\n"
              "144\n"
              "860.50\n"
              "Runtime error in Main: Subscript out of range: d\n"
              "error: Subscript out of range: d at line 41\n");
}


TEST(StatementTreeTest, OneArgumentBuiltInsReadTheirArgumentInPlace) {
  // The one-argument forms against the general ones: in-place reads of
  // frame and module variables, nested calls, an extra argument (ignored)
  // and a missing one (named in the message).
  expect_same(R"(
Dim level As Double
Function F(ByVal x As Double) As String
  F = CStr(Int(x)) & Fix(x) & Abs(x, 1) & Sgn(x) & Len(x) & Chr(65 + Abs(Int(x))) & Sqr(level)
End Function
Sub Main()
  Dim i As Integer, t As String
  level = 6.25
  For i = -1 To 1
    Debug.Print F(i * 2.5); " ";
  Next
  Debug.Print
  t = "  ab "
  Debug.Print UCase(Trim(t)) & Hex(255) & Val("12abc") & TypeName(i) & IsEmpty(t) & Asc(LCase(t))
  ' a character Chr gives out is shared: changing one copy leaves the others
  t = Chr(66)
  t = t & "x"
  For i = 0 To 3
    Select Case Chr(97 + i)
      Case "a", "c": t = t & Chr(66)
      Case Is > "b": t = t & ">"
      Case Else: t = t & (Chr(98) < "ab") & (Chr(233) > "z")
    End Select
  Next
  Debug.Print t; Chr(66)
  Debug.Print Len()
End Sub
)",
              "-3-22.5-14D2.5 00003A2.5 222.513C2.5 \n"
              "ABFF12IntegerFalse32\n"
              "BxBFalseTrueB>B\n"
              "Runtime error in Main: Len requires 1 argument\n"
              "error: Len requires 1 argument at line 26\n");
}

}  // namespace
}  // namespace corvane
