// GoTo, GoSub, Resume and Resume label; trapped errors by VB6 number;
// multi-dimensional arrays, lower bounds and ReDim Preserve; Nothing and
// clear refusals.
#include <gtest/gtest.h>

#include "program.h"

namespace corvane {
namespace {

using testing::Program;
using testing::run_main;

std::string main_of(const std::string& body) { return run_main("Sub Main()\n" + body + "\nEnd Sub\n"); }

TEST(JumpTest, GoToForwardBackwardAndOutOfLoops) {
  EXPECT_EQ(main_of("n = 0\nAgain:\nn = n + 1\nIf n < 3 Then GoTo Again\nDebug.Print n\nGoTo Done\n"
                    "Debug.Print \"skipped\"\nDone:\nDebug.Print \"done\""),
            "3\ndone\n");
  // out of nested loops, and within a loop body
  EXPECT_EQ(main_of("For i = 1 To 5\nFor j = 1 To 5\nIf i * j = 6 Then GoTo Found\nNext\nNext\nFound:\n"
                    "Debug.Print i & \" \" & j"),
            "2 3\n");
  EXPECT_EQ(main_of("For i = 1 To 3\nIf i = 2 Then GoTo NextI\nDebug.Print i\nNextI:\nNext"), "1\n3\n");
  // line numbers, alone or before a statement, are labels
  EXPECT_EQ(main_of("10 x = 1\nGoTo 20\nx = 2\n20\nDebug.Print x"), "1\n");
  EXPECT_EQ(main_of("GoTo Nowhere"), "Runtime error in Main: Label not defined: nowhere\n");
}

TEST(JumpTest, GoSubAndReturn) {
  EXPECT_EQ(main_of("GoSub Twice\nGoSub Twice\nDebug.Print n\nExit Sub\nTwice:\nn = n + 2\nReturn"), "4\n");
  EXPECT_EQ(main_of("Return"), "Runtime error in Main: Return without GoSub\n");
}

TEST(JumpTest, ResumeRetriesAndResumeLabelContinuesThere) {
  EXPECT_EQ(main_of("On Error GoTo Fix\nd = 0\nDebug.Print 10 / d\nDebug.Print \"after\"\nExit Sub\n"
                    "Fix:\nDebug.Print \"fixing \" & Err.Number\nd = 2\nResume"),
            "fixing 11\n5.0\nafter\n");
  EXPECT_EQ(main_of("On Error GoTo H\nx = 1 / 0\nDebug.Print \"not here\"\nGone:\nDebug.Print \"gone \" & Err.Number\n"
                    "Exit Sub\nH:\nResume Gone"),
            "gone 0\n");
  EXPECT_EQ(main_of("Resume"), "Runtime error in Main: Resume without error\n");
}

TEST(ErrorNumberTest, TrappedErrorsCarryVb6Numbers) {
  Program q(R"(
Sub Main()
  On Error Resume Next
  Dim a(2), o As Object, i As Integer
  x = 1 / 0: Debug.Print Err.Number
  x = 5 \ 0: Debug.Print Err.Number
  i = 70000: Debug.Print Err.Number
  x = a(5): Debug.Print Err.Number
  x = "abc" * 2: Debug.Print Err.Number
  o.Show: Debug.Print Err.Number
  x = o.Caption: Debug.Print Err.Number
  x = 5: x.Foo: Debug.Print Err.Number
  Set t = New Widget: Debug.Print Err.Number
  Undefined 1: Debug.Print Err.Number
  Err.Raise vbObjectError + 513, "Orders", "No stock"
  Debug.Print Err.Number - vbObjectError & " " & Err.Source & " " & Err.Description
  Err.Raise 11
  Debug.Print Err.Number & " " & Err.Description
End Sub
)");
  EXPECT_EQ(q.run(), "");
  EXPECT_EQ(q.text(), "11\n11\n6\n9\n13\n91\n424\n424\n429\n35\n513 Orders No stock\n11 Division by zero\n");
}

TEST(ArrayTest, TwoDimensionsLowerBoundsAndPreserve) {
  EXPECT_EQ(main_of("Dim m(1 To 3, 0 To 1) As Integer\nFor i = 1 To 3\nFor j = 0 To 1\nm(i, j) = i * 10 + j\nNext\nNext\n"
                    "Debug.Print m(3, 1) & \" \" & LBound(m) & UBound(m) & LBound(m, 2) & UBound(m, 2)\n"
                    "s = \"\"\nFor Each v In m\ns = s & v & \",\"\nNext\nDebug.Print s\nx = m(4, 0)"),
            "31 1301\n10,20,30,11,21,31,\nRuntime error in Main: Subscript out of range: m\n");
  EXPECT_EQ(main_of("Dim m(2, 2)\nx = m(1)"), "Runtime error in Main: Wrong number of dimensions: m\n");
  EXPECT_EQ(main_of("Dim names() As String\nReDim names(1 To 2)\nnames(2) = \"b\"\nReDim Preserve names(1 To 3)\n"
                    "Debug.Print names(2) & \"[\" & names(3) & \"]\" & LBound(names)"),
            "b[]1\n");
  // growing one element at a time keeps the elements and stays fast
  EXPECT_EQ(main_of("Dim a()\nReDim a(0)\nFor i = 1 To 100000\nReDim Preserve a(i)\na(i) = i\nNext\n"
                    "Debug.Print UBound(a) & \" \" & a(100000) & \" \" & a(1)"),
            "100000 100000 1\n");
  // an array another variable shares is copied, not changed under it
  EXPECT_EQ(main_of("Dim a(1)\na(1) = 5\nb = a\nReDim Preserve a(3)\nDebug.Print UBound(b) & UBound(a) & a(1)"), "135\n");
  EXPECT_EQ(main_of("ReDim a(2000000000, 2000000000)"), "Runtime error in Main: Out of memory\n");
  // array and fixed-length text fields of a Type; the Mid statement
  EXPECT_EQ(run_main("Type Rec\nName As String * 4\nVals(2) As Integer\nEnd Type\nSub Main()\nDim r As Rec\n"
                     "r.Vals(2) = 7\nDebug.Print r.Vals(2) & \"[\" & r.Name & \"]\" & UBound(r.Vals)\n"
                     "s = \"hello\"\nMid(s, 2, 3) = \"EYXZ\"\nDebug.Print s\nEnd Sub"),
            "7[    ]2\nhEYXo\n");
}

TEST(RefusalTest, NothingAndUnsupportedConstructsSayWhatTheyAre) {
  EXPECT_EQ(main_of("Dim o As Object\no.Refresh"),
            "Runtime error in Main: Object variable or With block variable not set: o.Refresh\n");
  // A computed jump names labels that must exist.
  EXPECT_EQ(main_of("x = 1\nOn x GoTo A, B"), "Runtime error in Main: Label not defined: a\n");
  EXPECT_EQ(main_of("Debug.Print 3000000000# + 1 & \" \" & 5& * 2 & \" \" & 1.5!"), "3000000001 10 1.5\n");
  // Module1.Proc and Module1.Func(): procedures qualified by their module
  EXPECT_EQ(run_main("Function Twice(n)\nTwice = n * 2\nEnd Function\nSub Show(t)\nDebug.Print t\nEnd Sub\n"
                     "Sub Main()\nModule1.Show Module1.Twice(4)\nEnd Sub"),
            "8\n");
  // a line that does not parse is never swallowed by On Error Resume Next
  EXPECT_EQ(main_of("On Error Resume Next\nx = (1 +\nDebug.Print \"after\""),
            "Runtime error in Main: Incomplete expression\n");
}

TEST(SyntaxCheckTest, UnparsableLinesAreFoundWithTheirPlaceBeforeRunning) {
  VBRuntime::Options o;
  o.sources.push_back("Attribute VB_Name = \"M\"\nSub Main()\n  x = 1\n  y = (2 +\nEnd Sub\nSub B()\n  If x Then\n"
                      "End Sub\n");
  o.source_files.push_back("m.bas");
  VBRuntime rt(std::move(o));
  const std::vector<VBError> errors = rt.syntax_errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].message(), "Incomplete expression");
  EXPECT_EQ(errors[0].file, "m.bas");
  EXPECT_EQ(errors[0].line, 4);
  EXPECT_EQ(errors[0].procedure, "Main");
  EXPECT_EQ(errors[1].message(), "Missing closing block for: If x Then");
  EXPECT_EQ(errors[1].line, 7);
}

TEST(SyntaxCheckTest, RuntimeErrorsKnowTheirFileAndLine) {
  VBRuntime::Options o;
  o.sources.push_back("Sub Main()\n  Inner\nEnd Sub\n\nSub Inner()\n  ' note _\n  continued\n  x = 1 + _\n    1 / 0\nEnd Sub\n");
  o.source_files.push_back("lib.bas");
  o.source_first_lines.push_back(10);
  VBRuntime rt(std::move(o));
  try {
    rt.event("Main");
    FAIL() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 11);
    EXPECT_EQ(e.file, "lib.bas");
    EXPECT_EQ(e.line, 17);  // the first line of the statement, counted from the source's place in its file
  }
}

}  // namespace
}  // namespace corvane
