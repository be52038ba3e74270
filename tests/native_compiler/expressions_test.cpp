// Expression translation: the C text of each construct, left-to-right
// evaluation, safe literals and the failure messages.
#include <gtest/gtest.h>

#include "helpers.h"

namespace corvane {
namespace {

using testing::error_of;
using testing::make_project;

class Expressions : public ::testing::Test {
 protected:
  Project project = make_project(
      "Dim counter As Long\n"
      "Function Twice(ByVal n)\nTwice = n * 2\nEnd Function\n"
      "Sub Bump(n)\nn = n + 1\nEnd Sub\n",
      {{"Module1", "Function Next1()\nNext1 = 1\nEnd Function\nEnum Colors\nRed\nGreen = 5\nBlue\nEnd Enum\n"}},
      {{"Class1", "Public Value As Long\n"}});
  NativeCompiler compiler{project};
  Locals locals{{"a", {"l_a", false, "variant"}},
                {"b", {"l_b", false, "variant"}},
                {"x", {"l_x", false, "variant"}},
                {"y", {"l_y", false, "variant"}},
                {"s", {"l_s", false, "string"}},
                {"rs", {"l_rs", false, "adodb.recordset"}},
                {"p", {"a_p", true, "variant"}}};
  std::string c(const std::string& text) { return compiler.expr(nullptr, text, locals); }
  std::string fails(const std::string& text) {
    return error_of([&] { c(text); });
  }
};

TEST_F(Expressions, ExamplesTranslateToNestedRuntimeCalls) {
  EXPECT_EQ(c("\"Hello, \" & Text1.Text & \"!\""),
            "vb_concat(vb_concat(vb_str(\"Hello, \"),vb_get(\"Text1\",\"Text\")),vb_str(\"!\"))");
  EXPECT_EQ(c("a + b * 2"), "vb_binary(VB_OP_ADD,l_a,vb_binary(VB_OP_MUL,l_b,vb_int(2)))");
  EXPECT_EQ(c("Not x = 1 And y"), "vb_bool(((!vb_test(VB_OP_EQ,l_x,vb_int(1))) & vb_truth(l_y)))");
  EXPECT_EQ(c("2 ^ 3 ^ 2"), "vb_binary(VB_OP_POW,vb_int(2),vb_binary(VB_OP_POW,vb_int(3),vb_int(2)))");
  EXPECT_EQ(c("Left(s, 3)"), "vb_builtin_left(2,(VBValue[]){l_s,vb_int(3)})");
  EXPECT_EQ(c("rs.Fields(\"name\").Value"),
            "vb_member_get(vb_member_call(l_rs,\"Fields\",1,(VBValue[]){vb_str(\"name\")}),\"Value\")");
}

// Operators, unary signs and grouping run in the parity corpus
// (precedence.bas, block_shapes.bas).

TEST_F(Expressions, LiteralsReservedWordsAndNumbers) {
  EXPECT_EQ(c("\"say \"\"hi\"\"\""), "vb_str(\"say \\\"hi\\\"\")");
  EXPECT_EQ(c("True"), "vb_bool(1)");
  EXPECT_EQ(c("vbCrLf"), "vb_str(\"\\r\\n\")");
  EXPECT_EQ(c("vbTab & Empty"), "vb_concat(vb_str(\"\\t\"),vb_str(\"\"))");
  EXPECT_EQ(c("Nothing"), "vb_nothing()");
  EXPECT_EQ(c("vbNo"), "vb_int(7)");
  EXPECT_EQ(c("&HFF"), "vb_int(255)");
  EXPECT_EQ(c("&HFFFF"), "vb_int(65535)");
  EXPECT_EQ(c("1.5E+3"), "vb_num(1500.0)");
  // Leading zeros would be octal (or invalid) in C.
  EXPECT_EQ(c("010"), "vb_int(10)");
  EXPECT_EQ(c("08"), "vb_int(8)");
  EXPECT_EQ(c("000"), "vb_int(0)");
  EXPECT_EQ(c("007.5"), "vb_num(7.5)");
  // Too large for a C integer constant: a floating constant instead.
  EXPECT_EQ(c("&HFFFFFFFFFFFFFFFFFFFF"), "vb_num(1.2089258196146292e+24)");
  EXPECT_EQ(c("123456789012345678901"), "vb_num(123456789012345683968.0)");
  // Constants declared in the project are module-level variables.
  EXPECT_EQ(c("Green + counter"), "vb_binary(VB_OP_ADD,g_green,g_counter)");
}

TEST_F(Expressions, NamesCallsAndObjects) {
  EXPECT_EQ(c("Str(5)"), "vb_builtin(\"str\",1,(VBValue[]){vb_int(5)})");
  EXPECT_EQ(c("DBRows()"), "vb_builtin(\"dbrows\",0,(VBValue[]){vb_int(0)})");
  EXPECT_EQ(c("Next1()"), "p_module_next1()");
  EXPECT_EQ(c("New Class1"), "vb_new(\"Class1\")");
  EXPECT_EQ(c("New ADODB.Connection"), "vb_new(\"ADODB.Connection\")");
  // Another form's control: that form's own, wherever the code stands.
  EXPECT_EQ(c("Form1.Text1.Text"), "vb_member_get(vb_form_control(\"Form1\",\"Text1\"),\"Text\")");
  EXPECT_EQ(c("Me.Caption"), "vb_get(\"Me\",\"Caption\")");
  EXPECT_EQ(c("App.Title"), "vb_get(\"App\",\"Title\")");
  EXPECT_EQ(c("a$"), "l_a");
}

// The expression is read as the interpreter reads it: literals take the
// interpreter's values and kinds, suffixed names are the plain names.
TEST_F(Expressions, ReadAsTheInterpreterReadsThem) {
  EXPECT_EQ(c("1#"), "vb_num(1.0)");
  EXPECT_EQ(c("3!"), "vb_num(3.0)");
  EXPECT_EQ(c("2&"), "vb_int(2)");
  EXPECT_EQ(c("&HFF&"), "vb_int(255)");
  EXPECT_EQ(c("#1/2/2024#"), "vb_str(\"2024-01-02\")");
  EXPECT_EQ(c("+\"12\""), "vb_to_number(vb_str(\"12\"))");
  EXPECT_EQ(c("Left$(s$, 1)"), "vb_builtin_left(2,(VBValue[]){l_s,vb_int(1)})");
  EXPECT_EQ(c("(a).b"), "vb_member_get(l_a,\"b\")");
  EXPECT_EQ(c("-2 ^ 2"), c("-(2 ^ 2)"));
  EXPECT_EQ(c("Not a = b"), c("Not (a = b)"));
}

TEST_F(Expressions, FailureMessages) {
  // Reading failures carry the interpreter's own messages.
  EXPECT_EQ(fails(""), "Demo: Empty expression");
  EXPECT_EQ(fails("a +"), "Demo: Incomplete expression");
  EXPECT_EQ(fails("(a"), "Demo: Expected closing parenthesis");
  EXPECT_EQ(fails("Left(a b)"), "Demo: Expected comma or )");
  EXPECT_EQ(fails(".5"), "Demo: Unexpected token: 5");
  EXPECT_EQ(fails("a Nand b"), "Demo: Unexpected token: Nand");
  EXPECT_EQ(fails("TypeOf a"), "Demo: Expected Is and a type name after TypeOf");
  EXPECT_EQ(fails("TypeOf a Is"), "Demo: Expected Is and a type name after TypeOf");
  EXPECT_EQ(fails("a ; b"), "Demo: Unrecognized expression: ;");
  EXPECT_EQ(fails("a # b"), "Demo: Unrecognized expression: #");
  EXPECT_EQ(fails("#13/45/2024#"), "Demo: Invalid date literal: #13/45/2024#");
  EXPECT_EQ(fails("App"), "Demo: Form/control object must be accessed via member: App");
  EXPECT_EQ(fails("Text1.1"), "Demo: Invalid member");
  EXPECT_EQ(fails("New 5"), "Demo: New requires a class name");
  EXPECT_EQ(fails("New Class1.5"), "Demo: Invalid qualified New class");
  EXPECT_EQ(fails("New Class1.X"), "Demo: Unknown class after New: Class1.X");
  EXPECT_EQ(fails("Len x"), "Demo: Unexpected token: x");
  EXPECT_EQ(fails("Len"), "Demo: Undefined variable Len (native builds require explicit declarations)");
  EXPECT_EQ(fails("Beep1(\"x\")"), "Demo: Unknown native procedure Beep1");
  EXPECT_EQ(fails("Screen + 1"), "Demo: Form/control object must be accessed via member: Screen");
  EXPECT_EQ(fails("Next1(1)"), "Demo: Module1.Next1 expects 0 arguments");
  // Deep nesting is an error, not a stack overflow.
  EXPECT_EQ(fails(std::string(5000, '(') + "1" + std::string(5000, ')')), "Demo: Expression nested too deeply");
  EXPECT_EQ(fails("Err.Raise(1)"), "Demo: Cannot call Err.Raise in an expression");
}

// Effectful operands worked out left to right, each once, run in the
// parity corpus (block_shapes.bas).

TEST(Quote, EscapesEverythingCouldMisread) {
  EXPECT_EQ(q("plain text"), "\"plain text\"");
  EXPECT_EQ(q("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(q("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
  EXPECT_EQ(q(std::string("\x01\x7f", 2)), "\"\\001\\177\"");
  EXPECT_EQ(q("\xc3\xa9"), "\"\\303\\251\"");  // é as its UTF-8 bytes
  EXPECT_EQ(q("\xf0\x9f\x98\x80"), "\"\\360\\237\\230\\200\"");
  EXPECT_EQ(q("what?" "?/"), "\"what?\\?/\"");  // no trigraph survives
  EXPECT_EQ(q("?" "?" "?="), "\"?\\?\\?=\"");
  EXPECT_EQ(q("%s */ /*"), "\"%s */ /*\"");
  EXPECT_EQ(q(std::string("a\0b", 3)), "\"a\\000b\"");
}

TEST(Valid, IdentifiersAsTheInterpreterReadsThem) {
  EXPECT_TRUE(valid("Text1"));
  EXPECT_TRUE(valid("_x"));
  EXPECT_TRUE(valid("Gr\xc3\xb6\xc3\x9f"));      // Größ
  EXPECT_TRUE(valid("\xe5\x90\x8d\xe5\x89\x8d" "1"));  // 名前1
  EXPECT_FALSE(valid(""));
  EXPECT_FALSE(valid("1a"));
  EXPECT_FALSE(valid("\xd9\xa3" "a"));  // an Arabic-Indic digit first
  EXPECT_FALSE(valid("a.b"));
  EXPECT_FALSE(valid("a\xe2\x80\x94" "b"));  // a dash inside
  EXPECT_FALSE(valid("a$"));
}

}  // namespace
}  // namespace corvane
