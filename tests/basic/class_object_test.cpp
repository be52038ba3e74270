// Class module instances: fields, property procedures, methods,
// Class_Initialize, sharing by reference, errors and the instance's own
// database session.
#include <gtest/gtest.h>

#include "basic/class_object.h"
#include "basic/runtime.h"

namespace corvane {
namespace {

const char* const COUNTER = R"(VERSION 1.0 CLASS
BEGIN
  MultiUse = -1  'True
END
Attribute VB_Name = "Counter"
Option Explicit
Private m As Integer
Public Label As String
Public Tally As Integer
Public Flag As Boolean

Private Sub Class_Initialize()
  m = 10
  Label = "new"
  Debug.Print "init " & Label
End Sub

Property Get Value() As Integer
  Value = m
End Property

Property Let Value(v As Integer)
  If v < 0 Then Err.Raise 5, , "Value must not be negative"
  m = v
End Property

Sub Bump(Optional n As Integer = 1)
  m = m + IIf(n = 0, 1, n)
End Sub

Function Total()
  Total = m + Tally
End Function

Sub Twice(x)
  x = x * 2
  Tally = x
End Sub

Function Self()
  Set Self = Me
End Function

Sub SetThroughMe(v)
  Me.Value = v
End Sub
)";

struct ClassProgram {
  std::vector<std::string> output;
  std::unique_ptr<VBRuntime> runtime;

  explicit ClassProgram(const std::string& source,
                        std::vector<std::pair<std::string, std::string>> classes = {{"Counter", COUNTER}}) {
    VBRuntime::Options o;
    o.sources.push_back(source);
    o.classes = std::move(classes);
    o.debug = [this](const std::string& text) { output.push_back(text); };
    o.msgbox = [this](const std::string& text, const std::string&, const Value&) -> int64_t {
      output.push_back("MsgBox " + text);
      return 1;
    };
    runtime = std::make_unique<VBRuntime>(std::move(o));
  }

  // The program's output, with a runtime error's message as the last line.
  std::string run(const std::string& name = "Main") {
    try {
      runtime->run_proc(name, {});
    } catch (const VBError& e) {
      output.push_back("error: " + e.message());
    }
    std::string all;
    for (const auto& line : output) all += line + "\n";
    return all;
  }
};

std::string run_main(const std::string& source) { return ClassProgram(source).run(); }

TEST(ClassObjectTest, PropertyProceduresFieldsAndInitialize) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  Dim c As New Counter
  Debug.Print c.Value & " " & c.m & " " & c.Label
  c.Value = 3
  Debug.Print c.Value & " " & c.m
  c.Label = 4.5
  c.Tally = "7"
  c.Flag = 5
  Debug.Print c.Label & " " & (c.Tally + c.Tally) & " " & c.Flag
  c.m = 5
  Debug.Print c.Value
  With c
    .Value = 8
    .Bump 2
  End With
  Debug.Print c.Value
End Sub
)"),
            "init new\n10 10 new\n3 3\n4.5 14 True\n5\n10\n");
}

TEST(ClassObjectTest, InitializeRunsOncePerNewAndPerDimAsNewLine) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  Dim i As Integer
  For i = 1 To 2
    Dim c As New Counter
    c.Bump
  Next
  Debug.Print c.Value
  Set d = New Counter
  Debug.Print d.Value
  Debug.Print (New Counter).Value
End Sub
)"),
            // the Dim line runs twice (two initialisations) but c keeps the
            // first instance, which was bumped twice
            "init new\ninit new\n12\ninit new\n10\ninit new\n10\n");
}

TEST(ClassObjectTest, InstancesAreSharedByReferenceAndKeptApart) {
  EXPECT_EQ(run_main(R"(
Dim keep(2)
Sub Change(o)
  o.Value = 99
End Sub
Sub Main()
  Set a = New Counter
  Set b = New Counter
  Set alias = a
  alias.Value = 1
  Change a
  Set keep(0) = a
  Set k = keep(0)
  k.Bump 5
  Debug.Print a.Value & " " & alias.Value & " " & b.Value
  Debug.Print (a Is alias) & " " & (a Is b) & " " & (a.Self() Is a)
End Sub
)"),
            "init new\ninit new\n104 104 10\nTrue False True\n");
}

TEST(ClassObjectTest, PropertySetStoresObjects) {
  const char* const node = R"(
Private nextNode As Object
Public Tag
Property Set NextOne(n As Object)
  Set nextNode = n
End Property
Property Get NextOne() As Object
  Set NextOne = nextNode
End Property
)";
  ClassProgram p(R"(
Sub Main()
  Set a = New Node
  Set b = New Node
  b.Tag = "second"
  Set a.NextOne = b
  Set c = a.NextOne
  Debug.Print c.Tag & " " & (c Is b) & " " & (b.NextOne Is Nothing)
End Sub
)",
                 {{"Node", node}});
  EXPECT_EQ(p.run(), "second True True\n");
}

TEST(ClassObjectTest, MethodsTakeArgumentsByValueAndReturnResults) {
  EXPECT_EQ(run_main(R"(
Sub Main()
  Set c = New Counter
  n = 4
  c.Twice n
  Debug.Print n & " " & c.Tally
  c.Bump 3
  Debug.Print c.Total()
  Call c.Bump(2)
  x = c.Total()
  Debug.Print x
  c.SetThroughMe 6
  Debug.Print c.Value
End Sub
)"),
            "init new\n4 8\n21\n23\n6\n");
}

TEST(ClassObjectTest, ErrorsAndTheirMessages) {
  auto error_of = [](const std::string& statement) {
    ClassProgram p("Sub Main()\nSet c = New Counter\n" + statement + "\nEnd Sub\n");
    const std::string out = p.run();
    const size_t at = out.find("error: ");
    return at == std::string::npos ? std::string("(none)") : out.substr(at + 7, out.size() - at - 8);
  };
  EXPECT_EQ(error_of("x = c.Missing"), "Unknown class member: Counter.Missing");
  EXPECT_EQ(error_of("c.Missing = 1"), "Unknown class member: Counter.Missing");
  EXPECT_EQ(error_of("c.Nope 1, 2"), "Unknown class method: Counter.Nope");
  EXPECT_EQ(error_of("x = c.Nope(1)"), "Unknown class method: Counter.Nope");
  // A Function read without parentheses is called, as VB6 calls it.
  EXPECT_EQ(error_of("x = c.Total"), "(none)");
  EXPECT_EQ(error_of("x = c.Name"), "Unknown class member: Counter.Name");
  EXPECT_EQ(error_of("Set d = New Widget"), "Class not found: Widget");
  EXPECT_EQ(error_of("Dim d As New Widget"), "Class not found: Widget");
  // an error inside a property procedure reaches the calling statement
  EXPECT_EQ(error_of("c.Value = -1"), "Value must not be negative");
  // a failed conversion leaves the field as it was
  ClassProgram p(R"(
Sub Main()
  Set c = New Counter
  c.Tally = 3
  On Error Resume Next
  c.Tally = "abc"
  Debug.Print Err.Description
  Debug.Print c.Tally
  c.Value = -4
  Debug.Print c.Value
End Sub
)");
  const std::string out = p.run();
  EXPECT_NE(out.find("Type mismatch"), std::string::npos) << out;
  EXPECT_NE(out.find("\n3\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\n10\n"), std::string::npos) << out;
  // the class name matches in any case; the instance keeps the declared name
  EXPECT_EQ(error_of("Set d = New COUNTER\nx = d.zz"), "Unknown class member: Counter.zz");
}

TEST(ClassObjectTest, ScanFailuresAndRunawayCreationAreErrors) {
  EXPECT_EQ(ClassProgram("Sub Main()\nSet c = New Broken\nEnd Sub\n", {{"Broken", "Sub Oops()\n"}}).run(),
            "error: No End Sub for Oops\n");
  // an instance that creates another of its kind on creation
  const std::string out =
      ClassProgram("Sub Main()\nSet c = New Nest\nEnd Sub\n",
                   {{"Nest", "Dim inner\nSub Class_Initialize()\nSet inner = New Nest\nEnd Sub\n"}})
          .run();
  EXPECT_EQ(out, "error: Maximum procedure call depth exceeded\n");
}

TEST(ClassObjectTest, InstanceSeesNoProgramStateButCanMakeInstances) {
  const char* const shape = R"(
Public Inner
Sub Class_Initialize()
  Set Inner = New Counter
End Sub
Function Probe()
  Probe = "[" & Shared & "]"
End Function
Function CallsProgram()
  CallsProgram = Helper()
End Function
)";
  ClassProgram p(R"(
Public Shared As String
Function Helper()
  Helper = 1
End Function
Sub Main()
  Shared = "outer"
  Set s = New Shape
  Set inner = s.Inner
  inner.Value = 2
  Debug.Print s.Inner.Value
  Debug.Print s.Probe()
  x = s.CallsProgram()
End Sub
)",
                 {{"Counter", COUNTER}, {"Shape", shape}});
  EXPECT_EQ(p.run(), "init new\n2\n[0]\nerror: Unknown function or procedure: Helper\n");
}

TEST(ClassObjectTest, ManyCallsDoNotExhaustTheInstanceStepLimit) {
  // 30000 calls of five lines each run more lines inside the instance than
  // one step limit allows; each call from outside starts a fresh count.
  ClassProgram p(R"(
Sub Main()
  Set w = New Worker
  For i = 1 To 30000
    w.Work
  Next
  Debug.Print w.Done
End Sub
)",
                 {{"Worker", "Public Done As Long\nSub Work()\nx = 1\nx = 2\nx = 3\nx = 4\nDone = Done + 1\nEnd Sub\n"}});
  p.runtime->max_steps = 100000;
  EXPECT_EQ(p.run(), "30000\n");
  // a runaway loop inside a method still stops
  ClassProgram q("Sub Main()\nSet w = New Spin\nw.Go\nEnd Sub\n",
                 {{"Spin", "Sub Go()\nDo\nx = x + 1\ny = x\nLoop\nEnd Sub\n"}});
  q.runtime->max_steps = 100000;  // instances take their creator's limit
  EXPECT_EQ(q.run(), "error: Execution limit exceeded (possible infinite loop)\n");
}

TEST(ClassObjectTest, InstanceHasItsOwnDatabaseSession) {
  const char* const store = R"BAS(
Sub Class_Initialize()
  DBOpen "sqlite", ":memory:"
  DBExecute "CREATE TABLE t (v TEXT)"
  DBExecute "INSERT INTO t VALUES (?)", "inside"
End Sub
Function Read()
  Read = DBScalar("SELECT v FROM t")
End Function
)BAS";
  ClassProgram p(R"BAS(
Sub Main()
  Set s = New Store
  Debug.Print s.Read()
  DBOpen "sqlite", ":memory:"
  On Error Resume Next
  x = DBScalar("SELECT v FROM t")
  Debug.Print "main: " & Err.Description
  On Error GoTo 0
  DBExecute "CREATE TABLE t (v TEXT)"
  DBExecute "INSERT INTO t VALUES ('outside')"
  Set s2 = New Store
  Debug.Print s.Read() & " " & s2.Read() & " " & DBScalar("SELECT v FROM t")
End Sub
)BAS",
                 {{"Store", store}});
  EXPECT_EQ(p.run(), "inside\nmain: SQL execution failed: no such table: t\ninside inside outside\n");
}

TEST(ClassObjectTest, CollectionKeysFollowTheirItemsWhereverTheyMove) {
  // keys stay with their items through inserts before/after, removals in
  // the middle and at the end, and a removed key can be used again
  EXPECT_EQ(run_main(R"(
Sub Main()
  Dim c As New Collection, i As Long, s As String
  For i = 1 To 6
    c.Add i * 10, "K" & i
  Next
  c.Add 1, "front", 1
  c.Add 35, "Mid", , "k3"
  c.Remove "k1"
  c.Remove c.Count
  For i = 1 To c.Count
    s = s & c(i) & " "
  Next
  Debug.Print s; c("FRONT"); c("mid"); c("k5"); c.Count
  c.Add 60, "k6"
  c.Remove 2
  Debug.Print c("k6"); c("k3"); c(2)
  On Error Resume Next
  Debug.Print c("k1")
  Debug.Print Err.Number
End Sub
)"),
            "1 20 30 35 40 50 135506\n603030\n5\n");
}

}  // namespace
}  // namespace corvane
