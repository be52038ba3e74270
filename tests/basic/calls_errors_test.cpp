// Procedure calls, ByRef, recursion, error trapping, the Err object, End
// and events.
#include <gtest/gtest.h>

#include "program.h"

namespace corvane {
namespace {

using testing::Program;
using testing::run_main;

TEST(CallTest, ArgumentsDefaultsAndResults) {
  EXPECT_EQ(run_main(R"(
Sub Show(a, Optional b As Integer, Optional c As String, Optional d As Object)
  Debug.Print a & "|" & b & "|" & c & "|" & (d Is Nothing)
End Sub
Function NoAssign() As String
End Function
Function Twice(ByVal n As Integer)
  Twice = n * 2
End Function
Sub Main()
  Show 1
  Show 1, 2, "x", Nothing, "surplus"
  Debug.Print NoAssign() + 1
  Debug.Print Twice(2.5)
  Debug.Print IsNothing(Show(1))
End Sub
Function IsNothing(v)
  IsNothing = v Is Nothing
End Function
)"),
            "1|0||True\n1|2|x|True\n1\n4\n1|0||True\nTrue\n");
}

TEST(CallTest, ByRefIsCopyInCopyOut) {
  EXPECT_EQ(run_main(R"(
Dim g
Sub Inc(n)
  n = n + 1
End Sub
Sub IncVal(ByVal n)
  n = n + 1
End Sub
Sub SetStr(s As String)
  s = 5
End Sub
Function Bump(n)
  n = n + 10
  Bump = n
End Function
Sub Main()
  Dim a(1)
  x = 1
  Inc x
  Inc (x)
  Inc (x + 0)
  IncVal x
  Call Inc(x)
  Inc a(1)
  Debug.Print x & " " & a(1)
  y = Bump(x) + Bump(x + 0)
  Debug.Print x & " " & y
  g = 1
  Inc g
  Debug.Print g
  Dim i As Integer
  SetStr i
  Debug.Print i + 1
End Sub
)"),
            "4 0\n14 38\n2\n6\n");
}

TEST(CallTest, ByRefWritesBackEvenWhenTheCalleeFails) {
  Program p("Sub Fail(n)\nn = 99\nx = 1 / 0\nEnd Sub\nSub Main()\nOn Error Resume Next\nv = 1\nFail v\n"
            "Debug.Print v & \" \" & Err.Number & \" \" & Err.Description\nEnd Sub");
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.text(), "99 11 division by zero\n");
}

TEST(CallTest, FunctionArgumentsBindAndWriteBackInExpressions) {
  // calls inside expressions: conversion of each argument on binding, an
  // Empty argument for a typed parameter, ByRef written back also when the
  // body fails, and not at all when binding fails
  EXPECT_EQ(run_main(R"(
Function FailF(n, ByVal k As Integer)
  n = k + 5
  FailF = 1 / 0
End Function
Function Label(ByVal k As Integer, s As String)
  s = s & "!"
  Label = k & s
End Function
Sub Main()
  On Error Resume Next
  Dim u, t As String
  v = 1
  r = FailF(v, u)
  Debug.Print v & " " & Err.Number
  Err.Clear
  r = FailF(v, 40000)
  Debug.Print v & " " & Err.Number & " " & Err.Description
  t = "a"
  Debug.Print Label(2.5, t) & " " & t & " " & Label(u, t) & " " & t
End Sub
)"),
            "5 11\n5 6 Overflow for integer\n2a! a! 0a!! a!!\n");
}

TEST(CallTest, ArraysHideProceduresAndDollarNames) {
  EXPECT_EQ(run_main("Function x(i)\nx = 100\nEnd Function\nFunction Name$(v)\nName = \"n\" & v\nEnd Function\n"
                     "Sub Main()\nDebug.Print x(1)\nDim x(2)\nx(1) = 5\nDebug.Print x(1) & Name$(1) & NAME(2)\n"
                     "End Sub"),
            "100\n5n1n2\n");
}

TEST(CallTest, OperandsAreEvaluatedLeftToRight) {
  EXPECT_EQ(run_main("Dim g\nFunction F()\ng = 10\nF = 1\nEnd Function\nFunction T()\nDebug.Print \"T\"\nT = True\n"
                     "End Function\nSub Main()\ng = 1\nDebug.Print g + F()\nDebug.Print F() + g\n"
                     "s = \"a\"\ns = s & F() & s\nDebug.Print s\nDebug.Print T() Or T()\nEnd Sub"),
            "2\n11\na1a\nT\nT\nTrue\n");
}

TEST(CallTest, RecursionDepth) {
  EXPECT_EQ(run_main("Function F(n)\nIf n = 0 Then\nF = 0\nElse\nF = 1 + F(n - 1)\nEnd If\nEnd Function\n"
                     "Sub Main()\nDebug.Print F(63)\nDebug.Print F(300)\nEnd Sub"),
            "63\n300\n");
  // Fact(100) and other legitimate recursion run; a runaway one is an error, not a crash
  EXPECT_EQ(run_main("Function Fact(n)\nIf n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\nEnd Function\n"
                     "Sub Main()\nDebug.Print Fact(20)\nDebug.Print Fact(100) > 1E+157\nEnd Sub"),
            "2432902008176640000\nTrue\n");
  EXPECT_EQ(run_main("Sub R()\nR\nEnd Sub\nSub Main()\nR\nEnd Sub"),
            "Runtime error in Main: Maximum procedure call depth exceeded\n");
}

TEST(CallTest, UnknownProcedureAndUnknownEvent) {
  Program p("Sub Main()\nFoo 1, 2\nEnd Sub");
  EXPECT_EQ(p.run("Form_Load"), "");  // an event without a procedure does nothing
  EXPECT_EQ(p.run(), "Unknown function or procedure: Foo");
  EXPECT_EQ(p.text(), "Runtime error in Main: Unknown function or procedure: Foo\n");
}

TEST(CallTest, OptionExplicitAndUndeclaredNames) {
  EXPECT_EQ(run_main("Option Explicit\nSub Main()\nx = 1\nDebug.Print x\nDebug.Print y\nEnd Sub"),
            "1\nRuntime error in Main: Variable not defined: y\n");
  EXPECT_EQ(run_main("Sub Main()\nDebug.Print y + 1\nPi = 3\nDebug.Print Pi\nEnd Sub"),
            "1\n3.141592653589793\n");
}

TEST(CallTest, EndStopsTheHostButTheCallerContinues) {
  Program p("Sub Quit()\nEnd\nDebug.Print \"not here\"\nEnd Sub\nSub Main()\nQuit\nDebug.Print \"after\"\nEnd Sub");
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.stops, 1);
  EXPECT_EQ(p.text(), "after\n");
}

TEST(CallTest, MsgBoxAndInputBoxReachTheHost) {
  Program p("Sub Main()\nr = MsgBox(\"Delete?\", vbYesNo, \"Confirm\")\nMsgBox \"Hi\"\n"
            "Debug.Print r & \" \" & MsgBox(\"x\", 36)\nDebug.Print InputBox(\"Name?\") & \"|\" & InputBox(\"Again\")\n"
            "End Sub");
  p.inputs = {"Ann"};
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.text(), "MsgBox Confirm: Delete?\nMsgBox Visual Basic: Hi\nMsgBox Visual Basic: x\n6 6\nAnn|\n");
}

TEST(CallTest, AProcedureRedefinedWhileItRunsFinishesAsItWas) {
  // The host loads a new version of Work while Work waits in a message
  // box: the running call ends with its own body, the next call runs the
  // new one.
  Program p("Function Work(n)\nMsgBox \"busy\"\nWork = n * 2\nEnd Function\n"
            "Sub Main()\nDebug.Print Work(1)\nDebug.Print Work(2)\nEnd Sub");
  bool replaced = false;
  p.runtime->msgbox = [&](const std::string& text, const std::string&, const Value&) -> int64_t {
    p.output.push_back("MsgBox " + text);
    if (!replaced) {
      replaced = true;
      p.runtime->add_source("Function Work(n)\nWork = n * 100\nEnd Function");
    }
    return 1;
  };
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.text(), "MsgBox busy\n2\n200\n");
}

TEST(ErrorTest, ResumeNextRecordsTheError) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  On Error Resume Next
  x = 1 / 0
  Debug.Print Err.Number & " " & Err.Description
  Err.Raise 1000, "Src", "Boom"
  Debug.Print Err.Number & " " & Err.Description
  y = "a" * 2
  Debug.Print Err.Number & " " & Err.Description
  Err.Clear
  Debug.Print Err.Number & "[" & Err.Description & "]"
  Err.Raise 7
  Debug.Print Err.Number & " " & Err.Description
  Err.Number = 99
  Debug.Print Err.Number
  On Error GoTo 0
  Debug.Print Err.Number & "[" & Err.Description & "]"
  Err.Raise 3, "Only source"
End Sub
)"),
            "11 division by zero\n1000 Boom\n13 Type mismatch (expected number, got 'a')\n0[]\n"
            "7 Out of memory\n99\n0[]\nRuntime error in Main: Return without GoSub\n");
}

TEST(ErrorTest, ConditionsAndHeadersAreNotTrappedByResumeNext) {
  // a failing condition skips its block
  EXPECT_EQ(run_main("Sub Main()\nOn Error Resume Next\nIf 1 / 0 Then\nDebug.Print \"in\"\nEnd If\n"
                     "Debug.Print \"after \" & Err.Number\nEnd Sub"),
            "after 11\n");
  EXPECT_EQ(run_main("Sub Main()\nOn Error Resume Next\nIf True Then x = 1 / 0\nDebug.Print \"next\"\nEnd Sub"),
            "next\n");
  // but a statement inside a block is
  EXPECT_EQ(run_main("Sub Main()\nOn Error Resume Next\nFor i = 1 To 2\nx = 1 / 0\nNext\nDebug.Print i\nEnd Sub"),
            "2\n");
}

TEST(ErrorTest, ModesAreSavedAroundEachActivation) {
  EXPECT_EQ(run_main(R"(
Sub Inner()
  x = 1 / 0
  Debug.Print "inner continued"
End Sub
Sub Outer()
  On Error Resume Next
  Inner
  Debug.Print "outer continued " & Err.Description
End Sub
Sub Main()
  Outer
  x = 1 / 0
End Sub
)"),
            "outer continued division by zero\nRuntime error in Main: division by zero\n");
}

TEST(ErrorTest, HandlersAndResumeNext) {
  EXPECT_EQ(run_main(R"(
Sub WithHandler()
  On Error GoTo Fail
  Debug.Print "start"
  For i = 1 To 3
    If i = 2 Then x = 1 / 0
    y = "a" * 1
    Debug.Print "after " & i
  Next
  Debug.Print "end of body"
  Exit Sub
Fail:
  Debug.Print "handler " & Err.Number & " " & Err.Description
  Resume Next
End Sub
Sub Main()
  WithHandler
  Debug.Print "main"
End Sub
)"),
            // Resume Next goes on inside the loop, and the handler traps the next error again
            "start\nhandler 13 Type mismatch (expected number, got 'a')\nafter 1\n"
            "handler 11 division by zero\nhandler 13 Type mismatch (expected number, got 'a')\nafter 2\n"
            "handler 13 Type mismatch (expected number, got 'a')\nafter 3\nend of body\nmain\n");
  EXPECT_EQ(run_main("Sub Main()\nOn Error GoTo Nowhere\nx = 1 / 0\nEnd Sub"),
            "Runtime error in Main: Error handler label not found: nowhere\n");
  // an error inside the handler is not trapped again
  EXPECT_EQ(run_main("Sub Main()\nOn Error GoTo H\nx = 1 / 0\nH:\nDebug.Print \"in handler\"\ny = 1 \\ 0\nEnd Sub"),
            "in handler\nRuntime error in Main: integer division or modulo by zero\n");
  // a handler label reached by falling through is only a label
  EXPECT_EQ(run_main("Sub Main()\nOn Error GoTo Done\nDebug.Print 1\nDone:\nDebug.Print 2\nEnd Sub"), "1\n2\n");
  // On Error GoTo 0 removes the handler
  EXPECT_EQ(run_main("Sub Main()\nOn Error GoTo H\nOn Error GoTo 0\nx = 1 / 0\nExit Sub\nH:\nDebug.Print \"h\"\n"
                     "End Sub"),
            "Runtime error in Main: division by zero\n");
}

TEST(ErrorTest, ErrorsFromCalleesReachTheCallersHandler) {
  EXPECT_EQ(run_main(R"(
Sub Boom()
  Err.Raise 1000, "Src", "Boom"
End Sub
Sub Main()
  On Error GoTo H
  Boom
  Debug.Print "resumed"
  Exit Sub
H:
  Debug.Print Err.Number & " " & Err.Description
  Resume Next
End Sub
)"),
            "1000 Boom\nresumed\n");
}

TEST(ErrorTest, StraySignalsAreClearErrors) {
  EXPECT_EQ(run_main("Sub Main()\nExit For\nEnd Sub"), "Runtime error in Main: Exit For outside a For loop\n");
  EXPECT_EQ(run_main("Sub Main()\nWhile True\nExit Do\nWend\nEnd Sub"),
            "Runtime error in Main: Exit Do outside a Do loop\n");
  EXPECT_EQ(run_main("Sub Main()\nResume Next\nEnd Sub"),
            "Runtime error in Main: Resume Next without an active error handler\n");
  // an Exit For in a procedure called from a loop does not end the caller's loop
  EXPECT_EQ(run_main("Sub S()\nExit For\nEnd Sub\nSub Main()\nOn Error Resume Next\nFor i = 1 To 2\nS\nNext\n"
                     "Debug.Print i & Err.Description\nEnd Sub"),
            "2Exit For outside a For loop\n");
  EXPECT_EQ(run_main("Sub Main()\nErr.Frob\nEnd Sub"), "Runtime error in Main: Unsupported Err method: frob\n");
}

TEST(ErrorTest, ExitSubAndExitFunction) {
  EXPECT_EQ(run_main("Function F()\nF = 1\nExit Function\nF = 2\nEnd Function\nSub Main()\nDebug.Print F()\n"
                     "For i = 1 To 3\nIf i = 2 Then Exit Sub\nDebug.Print i\nNext\nEnd Sub"),
            "1\n1\n");
}

TEST(EventTest, EventsLogErrorsAndRethrow) {
  Program p("Dim clicks\nSub Command1_Click()\nclicks = clicks + 1\nDebug.Print clicks\nIf clicks = 2 Then x = 1 / 0\n"
            "End Sub");
  EXPECT_EQ(p.run("Command1_Click"), "");
  EXPECT_EQ(p.run("command1_click"), "division by zero");
  EXPECT_EQ(p.run("Command1_Click"), "");
  EXPECT_EQ(p.text(), "1\n2\nRuntime error in command1_click: division by zero\n3\n");
  EXPECT_EQ(p.runtime->stack_depth, 0);
  EXPECT_EQ(p.runtime->error_mode, VBRuntime::ErrorMode::Raise);
}

}  // namespace
}  // namespace corvane
