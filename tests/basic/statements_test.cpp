// Declarations, statements, assignment and the block statements.
#include <gtest/gtest.h>

#include "basic/objects.h"
#include "program.h"

namespace corvane {
namespace {

using testing::Program;
using testing::run_main;

std::string main_of(const std::string& body) { return run_main("Sub Main()\n" + body + "\nEnd Sub\n"); }

// Output of Main under a step limit (the host's --max-steps).
std::string limited_main(const std::string& body, int64_t steps) {
  Program p("Sub Main()\n" + body + "\nEnd Sub\n");
  p.runtime->max_steps = steps;
  p.run();
  return p.text();
}

TEST(ScanTest, TypesEnumsProceduresAndModuleVariables) {
  const std::string src = R"(
Option Explicit
Public Type Pt
  X As Integer
  Name As String
End Type
Enum Color
  Red
  Green = 5
  Blue
  Neg = -&H10
End Enum
Private counter As Integer
Public Const LIMIT = 3
Dim a(2)
Sub Main()
  Debug.Print Red & " " & Green & " " & Blue & " " & Neg
  Debug.Print counter & " " & LIMIT & " " & UBoundless
End Sub
)";
  Program p(src);
  EXPECT_EQ(p.run(), "Variable not defined: UBoundless");
  EXPECT_EQ(p.output[0], "0 5 6 -16");
  EXPECT_TRUE(p.runtime->option_explicit);
  EXPECT_EQ(p.runtime->user_types.at("pt").size(), 2u);
  EXPECT_TRUE(p.runtime->globals->holds(intern("a")));
}

TEST(ScanTest, ScanningErrors) {
  auto scan_error = [](const std::string& src) {
    try {
      VBRuntime::Options o;
      o.sources.push_back(src);
      VBRuntime rt(std::move(o));
    } catch (const VBError& e) {
      return e.message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(scan_error("Type T\n  x = 1\nEnd Type"), "Unsupported Type member: x = 1");
  EXPECT_EQ(scan_error("Type T\n  x As Long"), "Missing End Type for T");
  EXPECT_EQ(scan_error("Enum E\n  a b\nEnd Enum"), "Unsupported Enum item: a b");
  EXPECT_EQ(scan_error("Enum E\n  a"), "Missing End Enum");
  // numbers too large for 64 bits are refused, not a crash
  EXPECT_EQ(scan_error("Type T\n  a(99999999999999999999) As Long\nEnd Type"),
            "Unsupported Type member: a(99999999999999999999) As Long");
  EXPECT_EQ(scan_error("Enum E\n  Big = &H1FFFFFFFFFFFFFFFF\nEnd Enum"),
            "Unsupported Enum item: Big = &H1FFFFFFFFFFFFFFFF");
  EXPECT_EQ(scan_error("Sub S()\n  x = 1\n"), "No End Sub for S");
  EXPECT_EQ(scan_error("Property Get Name()\n"), "No End Property Get for Name");
  // a failing module-level declaration is skipped silently
  EXPECT_EQ(scan_error("Dim a(1 To 3)\nDim b(-5)\nSub Main()\nEnd Sub"), "no error");
}

TEST(ScanTest, LaterProcedureReplacesEarlierAndEnumHexLowercase) {
  EXPECT_EQ(run_main("Sub F()\nDebug.Print 1\nEnd Sub\nSub F()\nDebug.Print 2\nEnd Sub\n"
                     "Enum E\nk = &h1F\nEnd Enum\nSub Main()\nF\nDebug.Print k\nEnd Sub"),
            "2\n31\n");
}

TEST(StatementTest, DeclarationsAndTypedAssignment) {
  EXPECT_EQ(main_of("Dim x As Integer\nx = 3.5\nDebug.Print x\nx = 2.5\nDebug.Print x\n"
                    "Dim a(2) As Integer, v(1)\na(0) = 2.5\nv(0) = 2.5\nDebug.Print a(0); v(0)\n"
                    "Dim s As String, b As Boolean, o As Object, d As Double\n"
                    "Debug.Print \"[\" & s & \"]\" & b & (o Is Nothing) & d\n"
                    "d = 3\nDebug.Print d\ns = 12\nDebug.Print s + 1"),
            "4\n2\n22.5\n[]FalseTrue0\n3.0\n13\n");
  EXPECT_EQ(main_of("Dim x As Integer\nx = 40000"), "Runtime error in Main: Overflow for integer\n");
  // a declaration run again keeps the value
  EXPECT_EQ(main_of("For i = 1 To 2\nDim x\nx = x + 1\nNext\nDebug.Print x"), "2\n");
}

TEST(StatementTest, ArraysAndReDim) {
  EXPECT_EQ(main_of("Dim a(3)\na(3) = 7\nDebug.Print a(3) & a(0)\nReDim Preserve a(5)\n"
                    "Debug.Print a(3) & a(5)\nReDim a(1)\nDebug.Print a(1)\nDim e()\nDebug.Print a(1) + 1"),
            "70\n70\n0\n1\n");
  EXPECT_EQ(main_of("Dim a(3)\na(4) = 1"), "Runtime error in Main: Subscript out of range: a\n");
  EXPECT_EQ(main_of("Dim a(3)\nx = a(-1)"), "Runtime error in Main: Subscript out of range: a\n");
  EXPECT_EQ(main_of("Dim a(3)\nx = a(1, 2)"),
            "Runtime error in Main: One-dimensional arrays require exactly one subscript\n");
  EXPECT_EQ(main_of("x = 1\nx(0) = 2"), "Runtime error in Main: Not an array: x\n");
  EXPECT_EQ(main_of("Dim a(100001)\nDebug.Print UBound(a)"), "100001\n");  // sizes are limited by memory
  EXPECT_EQ(main_of("Dim a(3000000000#)"), "Runtime error in Main: Out of memory\n");
  EXPECT_EQ(main_of("ReDim a(-2)"), "Runtime error in Main: Array dimensions out of range\n");
  EXPECT_EQ(main_of("Dim a(-1)\nDebug.Print \"ok\""), "ok\n");
  // arrays are shared by reference
  EXPECT_EQ(main_of("Dim a(1)\nb = a\nb(0) = 9\nDebug.Print a(0)"), "9\n");
  // ReDim of a module array from a procedure replaces the module's array
  EXPECT_EQ(run_main("Dim g(1)\nSub Grow()\nReDim Preserve g(3)\nEnd Sub\nSub Main()\ng(1) = 5\nGrow\n"
                     "g(3) = 1\nDebug.Print g(1) & g(3)\nEnd Sub"),
            "51\n");
}

TEST(StatementTest, StaticLocalsClassTypedVariablesAndSet) {
  EXPECT_EQ(run_main("Sub Count()\nStatic n\nn = n + 1\nDebug.Print n\nEnd Sub\nSub Main()\nCount\nCount\n"
                     "Dim c As SomeClass\nDebug.Print c\nSet o = Nothing\nDebug.Print o Is Nothing\n"
                     "Select Case \"1\"\nCase 1\nDebug.Print \"numeric\"\nEnd Select\nEnd Sub"),
            "1\n2\n0\nTrue\nnumeric\n");
}

TEST(StatementTest, ModuleVariablesAndLocals) {
  // assignment stores into the module variable (converted to its type) unless a local shadows it
  EXPECT_EQ(run_main("Dim g As Integer\nSub SetG()\ng = 2.5\nEnd Sub\nSub Shadow()\nDim g\ng = \"local\"\n"
                     "End Sub\nSub Main()\nSetG\nShadow\nDebug.Print g\nEnd Sub"),
            "2\n");
}

TEST(StatementTest, ConstantsAndQualifiedConstants) {
  EXPECT_EQ(run_main("Public Const A = 2\nPrivate Const B As String = \"b\"\nGlobal Const C = A * 3\n"
                     "Sub Main()\nConst L = 1.5\nDebug.Print A & B & C & L\nEnd Sub"),
            "2b61.5\n");
}

TEST(StatementTest, StatementFormsAndTheirOrder) {
  // DoEvents, labels, Option and Attribute lines do nothing; Beep goes to the debug output
  EXPECT_EQ(main_of("DoEvents\nOption Compare Text\nBeep\nDebug.Print\nDebug.Print 1; 2"), "Beep\n\n12\n");
  // Rem after a colon comments out the rest of the line
  EXPECT_EQ(main_of("x = 1 : Rem note: Debug.Print 5\nDebug.Print x"), "1\n");
  EXPECT_EQ(main_of("Load Form2"), "Runtime error in Main: Load requires a form host\n");
  EXPECT_EQ(main_of("Unload Form2"), "Runtime error in Main: Unload requires a form host\n");
  EXPECT_EQ(main_of("3 = x"), "Runtime error in Main: Unsupported statement: 3 = x\n");
  EXPECT_EQ(main_of(".Caption = 1"), "Runtime error in Main: Unsupported statement: .Caption = 1\n");
  // ReDim of a member gives a record's array field new bounds, never some other variable
  EXPECT_EQ(main_of("Dim q\nReDim q.x(2)\nDebug.Print TypeName(q)"),
            "Runtime error in Main: ReDim requires an array: q.x\n");
  EXPECT_EQ(main_of("ReDim a(2).b.c"), "Runtime error in Main: Unsupported statement: ReDim a(2).b.c\n");
  EXPECT_EQ(main_of("Randomize 3\nDebug.Print Rnd() < 1"), "True\n");
  // Print without an object prints to the debug output in a module, and on
  // the running form when there is one; obj.Print needs an object
  EXPECT_EQ(main_of("Print \"a\"; 1\nPrint"), "a1\n\n");
  EXPECT_EQ(main_of("Dim n\nn = 3\nn.Print 1"), "Runtime error in Main: Object required: n.Print\n");
  {
    Program on_form("Sub Main()\nPrint \"x\"; 2,\nPrint\nDebug.Print \"log\"\nEnd Sub");
    auto form = std::make_shared<ControlObject>("Form1");
    std::vector<std::string> printed;
    form->on_method = [&](ControlObject&, const std::string& method, std::vector<Value>& args) {
      printed.push_back(method + " [" + vbstr(args.at(0)) + "] " + vbstr(args.at(1)));
      return Value();
    };
    on_form.runtime->current_form = form;
    EXPECT_EQ(on_form.run(), "");
    EXPECT_EQ(on_form.text(), "log\n");
    EXPECT_EQ(printed, (std::vector<std::string>{"print [x2            ] False", "print [] True"}));
  }
  Program p("Sub Main()\nUnload Me\nDebug.Print \"after\"\nEnd Sub");
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.stops, 1);
  EXPECT_EQ(p.text(), "after\n");
}

TEST(StatementTest, HostFormOperations) {
  Program p("Sub Main()\nLoad Form2\nUnload Me\nEnd Sub");
  std::vector<std::string> seen;
  p.runtime->load = [&](const std::string& name) { seen.push_back("load " + name); };
  p.runtime->unload = [&](const std::string& name) { seen.push_back("unload " + name); };
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(seen, (std::vector<std::string>{"load Form2", "unload Me"}));
}

TEST(StatementTest, ControlsPropertiesAndWith) {
  auto text1 = std::make_shared<ControlObject>("Text1", std::map<std::string, Value>{{"text", Value("")}});
  auto check = std::make_shared<ControlObject>("Check1", std::map<std::string, Value>{{"value", Value(0)}});
  std::vector<std::string> changes;
  text1->on_change = [&](ControlObject& o, const std::string& prop, const Value& v) {
    changes.push_back(o.name + "." + prop + "=" + vbstr(v));
  };
  Program p(R"(
Sub Main()
  Text1 = "x"
  Check1 = 1
  Text1.Tag = 5
  Debug.Print Text1.Text & Text1.Tag & Check1.Value & Text1.Name
  With Text1
    .Text = "a"
    .AddItem "first"
    With Check1
      .Value = 0
    End With
    .Caption = .Text
  End With
End Sub
)",
            {{"Text1", text1}, {"Check1", check}});
  // ".Text" in an expression reads the With target too
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.output[0], "x51Text1");
  EXPECT_EQ(changes, (std::vector<std::string>{"Text1.text=x", "Text1.tag=5", "Text1.text=a", "Text1.caption=a"}));
  EXPECT_EQ(vbstr(text1->props["items"].as_array()->items.at(0)), "first");
  EXPECT_EQ(check->props["value"].as_int(), 0);
  // the With target is gone after End With, also when the body failed
  Program w("Sub Main()\nOn Error Resume Next\nWith Text1\n.Text = 1 / 0\nEnd With\n.Text = \"b\"\n"
            "Debug.Print Err.Description\nEnd Sub",
            {{"Text1", text1}});
  // (a line that cannot run as written is never swallowed by On Error Resume Next)
  EXPECT_EQ(w.run(), "Unsupported statement: .Text = \"b\"");

  Program q("Sub Main()\nText1.Name = \"X\"\nEnd Sub", {{"Text1", text1}});
  EXPECT_EQ(q.run(), "Cannot change a control name at runtime");
  Program r("Sub Main()\nText1.Frobnicate 1\nEnd Sub", {{"Text1", text1}});
  EXPECT_EQ(r.run(), "Unsupported control method: Text1.Frobnicate");
  Program s("Sub Main()\nx = Text1.Missing\nEnd Sub", {{"Text1", text1}});
  EXPECT_EQ(s.run(), "Text1 has no supported property Missing");
}

TEST(StatementTest, MeAppAndRecords) {
  auto form = std::make_shared<ControlObject>("Form1", std::map<std::string, Value>{{"caption", Value("F")}});
  Program p(R"(
Type Pt
  X As Integer
  Inner As Inner
End Type
Type Inner
  Z As String
End Type
Sub Main()
  Me.Caption = "New"
  Debug.Print Me.Caption & App.Title & App.EXEName & App.PrevInstance
  Dim p As Pt, q As Pt
  p.X = 2.5
  q = p
  q.X = 7
  Debug.Print p.X & "[" & p.Inner.Z & "]"
  p.Z = 1
End Sub
)",
            {{"Form1", form}});
  EXPECT_EQ(p.run(), "pt has no field Z");
  // q = p stores a copy: p keeps its X.
  EXPECT_EQ(p.text(), "NewCorvane ApplicationVBApplicationFalse\n2.5[]\nRuntime error in Main: pt has no field Z\n");
}

TEST(BlockTest, IfForms) {
  // every statement after Then (or Else) on the line belongs to the If
  EXPECT_EQ(main_of("x = 0\nIf x Then y = 1 : z = 2\nDebug.Print y & z\n"
                    "If x = 0 Then Debug.Print \"a\" Else Debug.Print \"b\"\n"
                    "If x = 1 Then Debug.Print \"a\" Else Debug.Print \"b\"\n"
                    "If x = 0 Then Debug.Print \"c\": Debug.Print \"d\" Else Debug.Print \"e\": Debug.Print \"f\"\n"
                    "If x = 1 Then Debug.Print \"c\": Debug.Print \"d\" Else Debug.Print \"e\": Debug.Print \"f\"\n"
                    "For i = 1 To 5: If i = 3 Then Debug.Print i: Exit For\nNext"),
            "00\na\nb\nc\nd\ne\nf\n3\n");
  EXPECT_EQ(main_of("For x = 1 To 4\nIf x = 1 Then\nDebug.Print \"one\"\nElseIf x = 2 Then\nDebug.Print \"two\"\n"
                    "ElseIf x = 3 Then\nIf True Then\nDebug.Print \"three\"\nElse\nDebug.Print \"no\"\nEnd If\n"
                    "Else\nDebug.Print \"other\"\nEnd If\nNext"),
            "one\ntwo\nthree\nother\n");
  // conditions after the chosen branch are never evaluated
  EXPECT_EQ(run_main("Function F(v)\nDebug.Print \"F\" & v\nF = v\nEnd Function\nSub Main()\n"
                     "If F(1) Then\nElseIf F(2) Then\nEnd If\nEnd Sub"),
            "F1\n");
  EXPECT_EQ(main_of("If True Then\nx = 1"), "Runtime error in Main: Missing closing block for: If True Then\n");
}

TEST(BlockTest, ForLoops) {
  EXPECT_EQ(main_of("For i = 1 To 3\nNext\nDebug.Print i\nFor j = 3 To 1\nDebug.Print \"never\"\nNext\n"
                    "Debug.Print j\nFor k = 10 To 1 Step -4\nDebug.Print k\nNext k\n"
                    "For m = 0 To 1 Step 0.5\nDebug.Print m\nNext"),
            "3\n0\n10\n6\n2\n0\n0.5\n1.0\n");
  EXPECT_EQ(main_of("For i = 1 To 10 Step 0\nNext"), "Runtime error in Main: For loop Step cannot be zero\n");
  // the loop runs by its own counter
  EXPECT_EQ(main_of("For i = 1 To 3\nDebug.Print i\ni = 10\nNext"), "1\n2\n3\n");
  EXPECT_EQ(main_of("For i = 1 To 5\nFor j = 1 To 5\nIf j = 2 Then Exit For\nNext\nIf i = 3 Then Exit For\n"
                    "Next\nDebug.Print i & j"),
            "32\n");
  EXPECT_EQ(main_of("For i = 1 To 200000\nNext\nDebug.Print i"), "200000\n");
  EXPECT_EQ(main_of("Dim a(2)\na(0) = 1 : a(1) = 2 : a(2) = 3\nFor Each v In a\nDebug.Print v\n"
                    "If v = 2 Then Exit For\nNext\nFor Each w In 5\nNext"),
            "1\n2\nRuntime error in Main: For Each requires an array\n");
}

TEST(BlockTest, DoWhileAndLimits) {
  EXPECT_EQ(main_of("i = 0\nDo While i < 3\ni = i + 1\nLoop\nDebug.Print i\nDo\ni = i - 1\nLoop Until i = 0\n"
                    "Debug.Print i\nDo Until i = 2\ni = i + 1\nLoop\nDebug.Print i\n"
                    "Do\ni = i + 1\nIf i = 5 Then Exit Do\nLoop\nDebug.Print i\n"
                    "Do\ni = 100\nLoop While i < 10\nDebug.Print i\nWhile i > 98\ni = i - 1\nWend\nDebug.Print i"),
            "3\n0\n2\n5\n100\n98\n");
  // no fixed limits: a long loop finishes; a host's step limit ends even empty loops,
  // and On Error Resume Next cannot swallow it
  EXPECT_EQ(main_of("Do\nn = n + 1\nLoop Until n = 2000000\nDebug.Print n"), "2000000\n");
  const std::string stopped = "Runtime error in Main: Execution limit exceeded (possible infinite loop)\n";
  EXPECT_EQ(limited_main("Do\nLoop", 100000), stopped);
  EXPECT_EQ(limited_main("While True\nWend", 100000), stopped);
  EXPECT_EQ(limited_main("On Error Resume Next\nDo\nx = x + 1\nLoop", 100000), stopped);
  EXPECT_EQ(limited_main("For i = 1 To 10\nNext\nDebug.Print i", 12), "10\n");
  EXPECT_EQ(limited_main("For i = 1 To 10\nNext", 9), stopped);
  // Exit Do inside While ends the enclosing Do
  EXPECT_EQ(main_of("Do\nWhile True\nExit Do\nWend\nLoop\nDebug.Print \"out\""), "out\n");
}

TEST(BlockTest, SelectCase) {
  EXPECT_EQ(main_of("For Each x In Split3()\nSelect Case x\nCase 1, 2\nDebug.Print \"low \" & x\n"
                    "Case \"b\"\nDebug.Print \"b\"\nCase Else\nDebug.Print \"else \" & x\nEnd Select\nNext"),
            "Runtime error in Main: Unknown function or procedure: Split3\n");
  EXPECT_EQ(run_main("Function Items()\nDim a(3)\na(0) = 1 : a(1) = \"2\" : a(2) = 7 : a(3) = 3\nItems = a\n"
                     "End Function\nSub Main()\nFor Each x In Items()\nSelect Case x\nCase 1, 2\n"
                     "Debug.Print \"low \" & x\nCase 7\nSelect Case x\nCase 7\nDebug.Print \"seven\"\nEnd Select\n"
                     "Case Else\nDebug.Print \"else \" & x\nEnd Select\nNext\nEnd Sub"),
            "low 1\nlow 2\nseven\nelse 3\n");
  EXPECT_EQ(main_of("Select Case \"a\"\nCase 1\nEnd Select"),
            "Runtime error in Main: Type mismatch (expected number, got 'a')\n");
}

TEST(BlockTest, DeepNestingIsAnErrorNotACrash) {
  std::string body;
  for (int i = 0; i < 10000; ++i) body += "If True Then\n";
  body += "x = 1\n";
  for (int i = 0; i < 10000; ++i) body += "End If\n";
  EXPECT_EQ(main_of(body), "Runtime error in Main: Blocks nested too deeply\n");
}

TEST(BlockTest, StepLimitIsPerTopLevelCall) {
  Program p("Sub Main()\nFor i = 1 To 30000\nx = x + 1\nNext\nEnd Sub");
  p.runtime->max_steps = 70000;
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(p.run(), "");  // the counter starts again for every event
  EXPECT_EQ(p.run(), "");
  EXPECT_LT(p.runtime->step_count, 70000);
}

TEST(BlockTest, TheWatchStopsALongEventAndItsAnswerIsKept) {
  // the host's watch sees the running seconds; it stops the program on its second look
  Program p("Sub Main()\nDo\nx = x + 1\nLoop\nEnd Sub\nSub Quick()\nDebug.Print \"quick\"\nEnd Sub");
  int looks = 0;
  double last = -1;
  bool increasing = true;
  p.runtime->watch = [&](double seconds) {
    increasing = increasing && seconds >= last;
    last = seconds;
    return ++looks >= 2;
  };
  EXPECT_EQ(p.run(), "Execution limit exceeded (possible infinite loop)");
  EXPECT_EQ(looks, 2);
  EXPECT_TRUE(increasing);
  EXPECT_GE(last, 0.0);
  EXPECT_LT(last, 60.0);
  // a short event never reaches the watch
  looks = 0;
  EXPECT_EQ(p.run("Quick"), "");
  EXPECT_EQ(looks, 0);
}

// A type suffix is written on a name, not part of it: x$, x% and x are
// one variable, in reads, stores, declarations and reference arguments.
TEST(StatementTest, TypeSuffixesNameThePlainVariable) {
  EXPECT_EQ(main_of("Dim s As String\ns = \"abc\"\nDebug.Print s$; Len(s$)\ns$ = \"xy\"\nDebug.Print s"),
            "abc3\nxy\n");
  EXPECT_EQ(main_of("Dim n%\nn = 41\nDebug.Print n% + 1"), "42\n");
  EXPECT_EQ(run_main("Option Explicit\nSub Inc(v)\nv = v + 1\nEnd Sub\n"
                     "Sub Main()\nDim k%\nk = 1\nInc k%\nDebug.Print k\nDebug.Print Left$(\"abc\", 2)\nEnd Sub\n"),
            "2\nab\n");
}

// A call statement's argument text loses one pair of parentheses only when
// that pair encloses all of it; left-out arguments keep their places.
TEST(StatementTest, CallStatementArguments) {
  const std::string show = "Sub Show(a, b, c)\nDebug.Print a & \"|\" & b & \"|\" & c\nEnd Sub\n";
  EXPECT_EQ(run_main(show + "Sub Main()\nShow (1) + (2), (3), 4\nEnd Sub\n"), "3|3|4\n");
  EXPECT_EQ(run_main(show + "Sub Main()\nShow 1, , 3\nCall Show(, 2, )\nEnd Sub\n"), "1||3\n|2|\n");
}

}  // namespace
}  // namespace corvane
