// Collection of procedures, module-level names, enumerations and class
// fields, with the messages of every rejected construct.
#include <gtest/gtest.h>

#include "helpers.h"

namespace corvane {
namespace {

using testing::error_of;
using testing::make_project;

std::string collect_error(const std::string& form_code,
                          const std::vector<std::pair<std::string, std::string>>& modules = {},
                          const std::vector<std::pair<std::string, std::string>>& classes = {}) {
  return error_of([&] { NativeCompiler c(make_project(form_code, modules, classes)); });
}

TEST(Collect, ProceduresKeysKindsAndParameters) {
  Project p = make_project("Private Sub Form_Load()\nEnd Sub\nFunction Add(ByVal a As Integer, b) As Long\nAdd = a\nEnd Function\n",
                           {{"Module1", "Public Sub Main()\nEnd Sub\n"}},
                           {{"Shape", "Private w As Double\nProperty Get Width() As Double\nWidth = w\nEnd Property\n"
                                      "Property Let Width(ByVal v)\nw = v\nEnd Property\n"}});
  NativeCompiler c(p);
  std::vector<std::string> keys;
  for (const NativeProcedure* proc : c.procedures()) keys.push_back(proc->key);
  EXPECT_EQ(keys, (std::vector<std::string>{"f0_form_load", "f0_add", "module_main", "cls_shape_property_get_width",
                                            "cls_shape_property_let_width"}));
  const NativeProcedure* add = c.find_procedure("f0_add");
  ASSERT_TRUE(add);
  EXPECT_EQ(add->kind, "function");
  EXPECT_EQ(add->result_type, "long");
  ASSERT_EQ(add->params.size(), 2u);
  EXPECT_FALSE(add->params[0].by_ref);
  EXPECT_EQ(add->params[0].type, "integer");
  EXPECT_TRUE(add->params[1].by_ref);
  EXPECT_EQ(add->params[1].type, "variant");
  EXPECT_EQ(add->body, std::vector<std::string>{"Add = a"});
  EXPECT_EQ(c.find_procedure("cls_shape_property_let_width")->kind, "sub");
  EXPECT_EQ(c.find_procedure("cls_shape_property_get_width")->kind, "function");
}

TEST(Collect, ModuleLevelNamesAndEnums) {
  NativeCompiler c(make_project("Dim a, b As String\nConst Greeting = \"hi \"\"you\"\"\"\nPublic Flag As Boolean = True\n",
                                {{"Module1", "Enum Colors\nRed\nGreen = 5\nBlue\nEnd Enum\nGlobal n As Long = -07\n"
                                             "Public o As Object, r As New ADODB.Recordset\n"}}));
  std::vector<std::string> got;
  for (const GlobalName& g : c.globals()) got.push_back(g.name + ":" + g.type + ":" + g.init);
  // Enumeration members first: constants may be computed from them.
  EXPECT_EQ(got, (std::vector<std::string>{"red:long:vb_int(0)", "green:long:vb_int(5)", "blue:long:vb_int(6)",
                                           "a:variant:vb_int(0)", "b:string:vb_str(\"\")",
                                           "greeting:variant:vb_str(\"hi \\\"you\\\"\")", "flag:boolean:vb_bool(1)",
                                           "n:long:vb_int(-7)", "o:object:vb_nothing()",
                                           "r:adodb.recordset:vb_new(\"adodb.recordset\")"}));
  // Computed constants, bounds, records and fixed-length texts.
  NativeCompiler computed(make_project("Const K = Green * 2\nDim g(1 To 3, 2) As String\nDim p As Pt\nDim f As String * 3\n",
                                       {{"Module1", "Enum Colors\nRed\nGreen = 5\nEnd Enum\nType Pt\nX As Long\nEnd Type\n"}}));
  got.clear();
  for (const GlobalName& g : computed.globals()) got.push_back(g.name + ":" + g.type + ":" + g.init);
  EXPECT_EQ(got, (std::vector<std::string>{
                     "red:long:vb_int(0)", "green:long:vb_int(5)", "k:variant:vb_binary(VB_OP_MUL,g_green,vb_int(2))",
                     "g:string:vb_array_shape(2,(VBValue[]){vb_int(1),vb_int(3),vb_int(0),vb_int(2)},\"string\")",
                     "p:pt:vb_new_record(\"pt\")", "f:string*3:vb_str(\"   \")"}));
}

TEST(Collect, RejectedProceduresAndTopLevelSource) {
  EXPECT_EQ(collect_error("Sub Foo()\n"), "Demo: Form1.Foo: End Sub is missing");
  EXPECT_EQ(collect_error("Sub Foo()\nEnd Function\n"), "Demo: Form1.Foo: mismatched End Sub");
  EXPECT_EQ(collect_error("Sub Foo(Optional x)\nEnd Sub\n"), "");
  EXPECT_EQ(collect_error("Sub Foo(a())\nEnd Sub\n"), "");
  EXPECT_EQ(collect_error("Sub Foo(a(1))\nEnd Sub\n"), "Demo: Form1.Foo: unsupported parameter declaration: a(1)");
  EXPECT_EQ(collect_error("Sub Foo()\nEnd Sub\nSub FOO()\nEnd Sub\n"), "Demo: Duplicate procedure Form1.FOO");
  EXPECT_EQ(collect_error("Type Point\nx As Long\nEnd Type\n"), "");
  EXPECT_EQ(collect_error("Type Point\nx As Long\n"), "Demo: Form1: Missing End Type for point");
  EXPECT_EQ(collect_error("Type Point\nx(1 To 2) As Long\ny() As Long\nEnd Type\n"), "");
  EXPECT_EQ(collect_error("Type Point\nx(1, 2) As Long\nEnd Type\n"), "Demo: Form1: unsupported Type member: x(1, 2) As Long");
  EXPECT_EQ(collect_error("Static n\n"), "Demo: Form1: unsupported top-level source: Static n");
  // Property procedures of modules and forms end with End Property.
  EXPECT_EQ(collect_error("", {{"Module1", "Property Get X()\nEnd Property\n"}}), "");
  EXPECT_EQ(collect_error("", {{"Module1", "Property Let X(v)\nEnd Sub\n"}}),
            "Demo: Module1.X: mismatched End Property");
  EXPECT_EQ(collect_error("Property Get X()\n"), "Demo: Form1.X: End Property is missing");
  EXPECT_EQ(collect_error("Option Explicit\nOption Compare Text\nOption Base 1\n"), "");
}

TEST(Collect, RejectedDeclarationsAndEnums) {
  EXPECT_EQ(collect_error("Private Const X = 1\nPublic Const Y = \"y\"\n"), "");
  EXPECT_EQ(collect_error("Private Const Z\n"), "Demo: Const Z must have a value");
  EXPECT_EQ(collect_error("Public Declare Function F Lib \"x\" ()\n"),
            "Demo: Form1: unsupported native declaration: Declare Function F Lib \"x\" ()");
  EXPECT_EQ(collect_error("Dim a(10)\n"), "");
  EXPECT_EQ(collect_error("Dim a(1 To 10)\n"), "");
  EXPECT_EQ(collect_error("Dim a(2, 3)\n"), "");
  // An array As New is accepted; its class must exist as any type must.
  EXPECT_EQ(collect_error("Dim a(2) As New Class1\n"), "Demo: Form1: native backend does not yet implement type 'class1' for a");
  EXPECT_EQ(collect_error("Dim s$\n"), "");
  EXPECT_EQ(collect_error("Dim d As Date\n"), "");
  EXPECT_EQ(collect_error("Dim d As Widget\n"), "Demo: Form1: native backend does not yet implement type 'widget' for d");
  EXPECT_EQ(collect_error("Const K\n"), "Demo: Const K must have a value");
  EXPECT_EQ(collect_error("Dim k = 1 + 2\n"), "Demo: Form1: only a constant can have a value in its declaration: Dim k = 1 + 2");
  // Private names of two modules are each module's own; Public ones clash.
  EXPECT_EQ(collect_error("Private Count\n", {{"Module1", "Private count As Long\n"}}), "");
  EXPECT_EQ(collect_error("Public Count\n", {{"Module1", "Global count As Long\n"}}),
            "Demo: Duplicate module-level identifier count");
  EXPECT_EQ(collect_error("Dim Red\nEnum C\nRed\nEnd Enum\n"), "Demo: Duplicate module-level identifier red");
  EXPECT_EQ(collect_error("Enum C As Long\nEnd Enum\n"), "Demo: Invalid enum declaration: Enum C As Long");
  EXPECT_EQ(collect_error("Enum C\nRed = &H1\nEnd Enum\n"), "");
  EXPECT_EQ(collect_error("Enum C\nRed = 1 + 2\nBlue = Red * vbObjectError\nEnd Enum\n"), "");
  EXPECT_EQ(collect_error("Enum C\nRed = Other + 2\nEnd Enum\n"), "Demo: Invalid Enum item: Red = Other + 2");
  EXPECT_EQ(collect_error("Enum C\nRed = 1 / 0\nEnd Enum\n"), "Demo: Invalid Enum item: Red = 1 / 0");
  EXPECT_EQ(collect_error("Enum C\nRed = 99999999999999999999\nEnd Enum\n"),
            "Demo: Invalid Enum item: Red = 99999999999999999999");
  EXPECT_EQ(collect_error("Enum C\nRed\n"), "Demo: Missing End Enum");
}

TEST(Collect, Classes) {
  const auto cls = [](const std::string& code) { return collect_error("", {}, {{"Class1", code}}); };
  EXPECT_EQ(cls("Property Get X()\nEnd Sub\n"), "Demo: Class1.X: Missing End Property Get");
  EXPECT_EQ(cls("Sub Go(Optional a)\nEnd Sub\n"), "");
  EXPECT_EQ(cls("Sub Go(a(1))\nEnd Sub\n"), "Demo: Class1.Go: unsupported parameter declaration: a(1)");
  EXPECT_EQ(cls("Public a\nPrivate A As Long\n"), "Demo: Duplicate field Class1.a");
  EXPECT_EQ(cls("Event Changed()\n"), "Demo: Class1: unsupported class declaration: Event Changed()");
  EXPECT_EQ(cls("Const K = 1\n"), "Demo: Class1: unsupported class declaration: Const K = 1");
  EXPECT_EQ(cls("VERSION 1.0 CLASS\nBEGIN\nMultiUse = -1\nEND\nAttribute VB_Name = \"Class1\"\n"), "");
  // A later procedure of the same key replaces the earlier one.
  NativeCompiler c(make_project("", {}, {{"Class1", "Sub Go()\nx = 1\nEnd Sub\nSub GO()\nEnd Sub\n"}}));
  EXPECT_TRUE(c.find_procedure("cls_class1_go")->body.empty());
  // Class fields are per instance: never module-level.
  NativeCompiler d(make_project("", {}, {{"Class1", "Public Size As Long\n"}}));
  EXPECT_TRUE(d.globals().empty());
}

TEST(Resolve, VariablesAndCalls) {
  Project p = make_project("Sub Mine()\nEnd Sub\n", {{"Module1", "Public g1\nSub Shared1(a, ByVal b)\nEnd Sub\n"}});
  p.forms.push_back(VBForm{});
  p.forms.back().name = "Form2";
  p.forms.back().code = "Sub Other()\nEnd Sub\n";
  NativeCompiler c(p);
  const NativeProcedure* mine = c.find_procedure("f0_mine");
  Locals locals{{"x", {"l_x", false, "variant"}}, {"p", {"a_p", true, "variant"}}};
  EXPECT_EQ(c.resolve_variable(mine, "X", locals), "l_x");
  EXPECT_EQ(c.resolve_variable(mine, "p", locals), "(*a_p)");
  EXPECT_EQ(c.resolve_variable(mine, "G1", locals), "g_g1");
  EXPECT_EQ(error_of([&] { c.resolve_variable(mine, "Form2", locals); }),
            "Form1: A form object must be used with a member, e.g. Form2.Caption");
  EXPECT_EQ(error_of([&] { c.resolve_variable(mine, "Command1", locals); }),
            "Form1: A control object must be used with a member, e.g. Text1.Text");
  EXPECT_EQ(c.call_expr(mine, "Mine", {}, {}), "p_f0_mine()");
  EXPECT_EQ(c.call_expr(mine, "shared1", {"l_x", "l_x"}, {"l_x", "l_x"}),
            "p_module_shared1(&(l_x),vb_cell(&(VBValue){0},l_x))");
  EXPECT_EQ(error_of([&] { c.call_expr(mine, "Other", {}, {}); }), "Form1: Unknown native procedure Other");
}

}  // namespace
}  // namespace corvane
