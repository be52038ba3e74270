// Property procedures of a module by bare name and qualified by the
// module's name; members of one interpreter's code reached from another
// (as forms reach each other's); graphics statements read into calls.
#include <gtest/gtest.h>

#include "basic/compiled.h"
#include "basic/module_members.h"
#include "program.h"

namespace corvane {
namespace {

using testing::Program;
using testing::run_main;

TEST(ModuleProperties, QualifiedAssignmentAndSetOfObjectsReachTheProcedures) {
  const std::string source =
      "Attribute VB_Name = \"Module1\"\nPrivate mTitle As String\nPrivate mItems As Collection\n"
      "Public Property Get Title() As String\nTitle = \"<\" & mTitle & \">\"\nEnd Property\n"
      "Public Property Let Title(ByVal s As String)\nmTitle = s\nEnd Property\n"
      "Public Property Get Items() As Collection\nSet Items = mItems\nEnd Property\n"
      "Public Property Set Items(c As Collection)\nSet mItems = c\nEnd Property\n"
      "Public Property Let Items(c As Collection)\nDebug.Print \"let called\"\nEnd Property\n"
      "Sub Main()\nModule1.Title = \"a\"\nDebug.Print Module1.Title & Title\n"
      "Set Items = New Collection\nItems.Add 5\nDebug.Print Items.Count & \" \" & Module1.Items.Item(1)\n"
      // a local variable of the same name hides the property
      "Dim Title\nTitle = \"local\"\nDebug.Print Title & \" \" & Module1.Title\nEnd Sub\n";
  EXPECT_EQ(run_main(source), "<a><a>\n1 5\nlocal <a>\n");
}

TEST(ModuleProperties, AnErrorInsideAPropertyReachesTheCaller) {
  const std::string source =
      "Private v As Long\nProperty Let Level(ByVal n As Long)\nIf n > 9 Then Err.Raise 380, , \"too high\"\nv = n\n"
      "End Property\nProperty Get Level() As Long\nLevel = v\nEnd Property\n"
      "Sub Main()\nOn Error GoTo bad\nLevel = 3\nLevel = 12\nExit Sub\nbad:\n"
      "Debug.Print Err.Number & \" \" & Err.Description & \" \" & Level\nEnd Sub\n";
  EXPECT_EQ(run_main(source), "380 too high 3\n");
}

TEST(CodeMembers, AnotherInterpretersVariablesPropertiesAndProcedures) {
  Program other("Public Total As Long\nPrivate mName As String\nPublic Marks(1 To 3) As Integer\n"
                "Public Property Get Name() As String\nName = mName\nEnd Property\n"
                "Public Property Let Name(ByVal s As String)\nmName = UCase$(s)\nEnd Property\n"
                "Public Sub Add(ByVal n As Long)\nTotal = Total + n\nEnd Sub\n"
                "Public Function Twice(ByVal n As Long) As Long\nTwice = 2 * n\nEnd Function\n");
  VBRuntime& vm = *other.runtime;
  std::vector<Value> none;
  std::vector<Value> three{Value(int64_t{3})};
  ASSERT_TRUE(call_code_member(vm, "Add", three));
  EXPECT_EQ(vbstr(*read_code_member(vm, "Total", none)), "3");
  std::vector<Value> four{Value(int64_t{4})};
  EXPECT_EQ(vbstr(*call_code_member(vm, "twice", four)), "8");
  // stores convert to the declared type, and a failed conversion keeps the value
  EXPECT_TRUE(write_code_member(vm, "total", none, Value(std::string("7.5"))));
  EXPECT_EQ(vbstr(*read_code_member(vm, "Total", none)), "8");
  EXPECT_THROW(write_code_member(vm, "total", none, Value(std::string("x"))), VBError);
  EXPECT_EQ(vbstr(*read_code_member(vm, "Total", none)), "8");
  EXPECT_TRUE(write_code_member(vm, "Name", none, Value(std::string("ann"))));
  EXPECT_EQ(vbstr(*read_code_member(vm, "name", none)), "ANN");
  std::vector<Value> two{Value(int64_t{2})};
  EXPECT_TRUE(write_code_member(vm, "Marks", two, Value(int64_t{9})));
  EXPECT_EQ(vbstr(*read_code_member(vm, "Marks", two)), "9");
  std::vector<Value> seven{Value(int64_t{7})};
  EXPECT_THROW(read_code_member(vm, "Marks", seven), VBError);
  EXPECT_FALSE(read_code_member(vm, "Missing", none));
  EXPECT_FALSE(write_code_member(vm, "Missing", none, Value(int64_t{1})));
  EXPECT_FALSE(call_code_member(vm, "Missing", none));
}

// The method and arguments a graphics statement becomes.
std::string shape_of(const std::string& line) {
  const auto stmt = compile_graphics(line);
  if (!stmt) return "none";
  if (stmt->kind == StmtKind::Refused) return "refused: " + stmt->name;
  std::string out = stmt->name + "." + stmt->text + " " + std::to_string(stmt->args.size());
  for (const auto& arg : stmt->args)
    out += arg->kind == NodeKind::Literal ? " [" + vbstr(arg->literal) + "]" : " " + arg->text;
  return out;
}

TEST(GraphicsStatements, PointsStepsAndOptionalPartsBecomeArguments) {
  EXPECT_EQ(shape_of("Picture1.Line (a, b)-Step(c, d), col, BF"),
            "Picture1.Line 8 [False] a b [True] c d col [BF]");
  EXPECT_EQ(shape_of("Line -(x, y), , b"), "Me.Line 8 [False] [] [] [False] x y [] [B]");
  EXPECT_EQ(shape_of("Me.PSet Step(1, 2)"), "Me.PSet 4 [True] [1] [2] []");
  EXPECT_EQ(shape_of("pic.Circle (x, y), r, c"), "pic.Circle 5 [False] x y r c");
  EXPECT_EQ(shape_of("Cls"), "Me.Cls 0");
  // not graphics: other statements and arrays or variables of those names
  for (const char* other : {"Line Input #1, s", "Line(2) = 5", "PSet = 3", "Circle(1, 2) = 0", "Picture1.Cls",
                            "Lines (1, 2)-(3, 4)", "Call Circle"})
    EXPECT_EQ(shape_of(other), "none") << other;
  // what cannot be drawn is refused, naming the construct and the line
  EXPECT_EQ(shape_of("Line (1, 2)-(3, 4), 0, X"), "refused: Unsupported Line arguments: Line (1, 2)-(3, 4), 0, X");
  EXPECT_EQ(shape_of("Circle (1, 2), 3, 0, 1, 2, 3"),
            "refused: Unsupported Circle arguments: Circle (1, 2), 3, 0, 1, 2, 3");
  EXPECT_EQ(shape_of("PSet (1)"), "refused: Unsupported PSet arguments: PSet (1)");
  EXPECT_EQ(shape_of("Line (1, 2, 3)-(4, 5)"), "refused: Unsupported Line arguments: Line (1, 2, 3)-(4, 5)");
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(IndexedMemberCalls, AMethodOfAnArrayElementOrOfAnItemRuns) {
  auto array = std::make_shared<ControlArray>("txtField");
  std::vector<std::string> calls;
  for (int i = 0; i < 2; ++i) {
    auto element = std::make_shared<ControlObject>("txtField");
    element->index = i;
    element->on_method = [&calls, i](ControlObject&, const std::string& method, std::vector<Value>& args) {
      calls.push_back(std::to_string(i) + " " + method + " " + std::to_string(args.size()));
      return Value();
    };
    array->elements[i] = element;
  }
  testing::Program p("Sub Main()\ntxtField(1).SetFocus\ntxtField(0).Move 1, (2)\nDim c As New Collection\n"
                     "c.Add txtField(1)\nc(1).Refresh\nc.Item(1).Refresh\nEnd Sub\n"
                     "Sub Bad()\nDim v(1)\nv(0).Show\nEnd Sub\n",
                     {{"txtField", array}});
  EXPECT_EQ(p.run(), "");
  EXPECT_EQ(calls, (std::vector<std::string>{"1 setfocus 0", "0 move 2", "1 refresh 0", "1 refresh 0"}));
  EXPECT_EQ(p.run("Bad"), "Object required: v(0).Show");
}

}  // namespace
}  // namespace corvane
