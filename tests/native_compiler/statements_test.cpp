// Statement translation: blocks, simple statements, hoisted declarations,
// loop exits from single-line Ifs, class fields by reference and as
// counters, and the located failure messages.
#include <gtest/gtest.h>

#include "helpers.h"

namespace corvane {
namespace {

using testing::body_of;
using testing::error_of;
using testing::make_project;

const char* MODULE =
    "Public total As Long\n"
    "Sub Bump(n)\nn = n + 1\nEnd Sub\n"
    "Sub Show2(ByVal a, ByVal b)\nEnd Sub\n"
    "Function Ask()\nAsk = 1\nEnd Function\n";

// The C body of Sub Test (in Form1) holding `body`.
std::string translate(const std::string& body, const std::string& header = "Sub Test()",
                      const std::string& footer = "End Sub") {
  Project p = make_project(header + "\n" + body + "\n" + footer + "\n", {{"Module1", MODULE}});
  NativeCompiler compiler(p);
  std::string out;
  for (const std::string& line : body_of(compiler, "f0_test")) out += line + "\n";
  return out;
}

std::string failure(const std::string& body, const std::string& header = "Sub Test()") {
  return error_of([&] { translate(body, header, header.find("Function") != std::string::npos ? "End Function" : "End Sub"); });
}

TEST(Statements, SampleStatements) {
  EXPECT_EQ(translate("Me.Caption = \"Hello - Corvane\""), "    vb_set(\"Form1\",\"Caption\",vb_str(\"Hello - Corvane\"));\n");
  EXPECT_EQ(translate("Dim greeting As String\nMsgBox greeting, 0, \"Visual Basic\""),
            "    VBValue l_greeting = vb_str(\"\");\n    (void)vb_msgbox(l_greeting,vb_str(\"Visual Basic\"));\n");
  EXPECT_EQ(translate("Dim a, b As String\na = 1\nb = a"),
            "    VBValue l_a = vb_int(0);\n    VBValue l_b = vb_str(\"\");\n"
            "    l_a = vb_int(1);\n    l_b = vb_coerce(l_a,\"string\");\n");
  EXPECT_EQ(translate("MsgBox \"hi\""), "    (void)vb_msgbox(vb_str(\"hi\"),vb_str(\"Visual Basic\"));\n");
  EXPECT_EQ(translate("Debug.Print 1 + 2"), "    vb_print(vb_int(((1LL) + (2LL))));\n");
  EXPECT_EQ(translate("Debug.Print"), "    vb_print(vb_str(\"\"));\n");
  EXPECT_EQ(translate("End"), "    vb_end(); return vb_int(0);\n");
  EXPECT_EQ(translate("Unload Me"), "    vb_unload(\"Me\");\n");
  EXPECT_EQ(translate("Load Form1"), "    vb_load_form(\"Form1\");\n");
  EXPECT_EQ(translate("Form1.Show\nForm1.Hide()\nForm1.Refresh\nMe.Hide"),
            "    vb_show(\"Form1\");\n    vb_hide(\"Form1\");\n    vb_hide(\"Me\");\n");
  EXPECT_EQ(translate("total = 5\nText1.Text = total"),
            "    g_total = vb_coerce(vb_int(5),\"long\");\n    vb_set(\"Text1\",\"Text\",g_total);\n");
  EXPECT_EQ(translate("Dim n As Long\nConst k = 2"), "    long long l_n = 0;\n    VBValue l_k = vb_int(2);\n");
}

TEST(Statements, DatabaseStatements) {
  EXPECT_EQ(translate("DBOpen \"sqlite\", \"a.db\""), "    vb_db_open(vb_str(\"sqlite\"),vb_str(\"a.db\"));\n");
  EXPECT_EQ(translate("Call DBExecute(\"insert into t values(?)\", 5)"),
            "    vb_db_exec(2,(VBValue[]){vb_str(\"insert into t values(?)\"),vb_int(5)},0);\n");
  EXPECT_EQ(translate("DBQuery \"select 1\""), "    vb_db_exec(1,(VBValue[]){vb_str(\"select 1\")},1);\n");
  EXPECT_EQ(failure("DBOpen \"x.db\""), "Form1.Test, statement 1: DBOpen \"x.db\": Native DBOpen currently requires SQLite provider and filename");
  EXPECT_EQ(failure("DBExecute"), "Form1.Test, statement 1: DBExecute: SQL command text is missing");
  EXPECT_EQ(failure("Dim DBQueryCount\nDBQueryCount = 1"), "");
}

// By reference, by value, left-out arguments and their order are checked
// by running them (the parity corpus: byref_byval.bas, block_shapes.bas).
TEST(Statements, Calls) {
  EXPECT_EQ(failure("Bump 1, 2"), "Form1.Test, statement 1: Bump 1, 2: Module1.Bump expects 1 arguments");
  EXPECT_EQ(failure("Start"), "Form1.Test, statement 1: Start: Unknown native procedure Start");
  // MsgBox and InputBox are functions too; Show takes its style.
  EXPECT_EQ(failure("MsgBox(\"Hi\")"), "");
  EXPECT_EQ(failure("If MsgBox(\"Sure?\", vbYesNo) = vbYes Then s = InputBox(\"Name\", \"Ask\", \"x\")"), "");
  EXPECT_EQ(failure("Form1.Show vbModal"), "");
  EXPECT_EQ(failure("Text1.SetFocus"), "");
  EXPECT_EQ(failure("Form9.Show"), "Form1.Test, statement 1: Form9.Show: Unknown form: Form9");
}

// Blocks (If, ElseIf, Select Case ranges, every Do and While form) are
// checked by running them: the parity corpus, block_shapes.bas and
// loop_exits.bas.

TEST(Statements, LoopExitFromSingleLineIf) {
  // The exits themselves run in the parity corpus (loop_exits.bas).
  EXPECT_EQ(failure("If 1 Then Exit Do"), "Form1.Test, statement 1: If 1 Then Exit Do: Exit For/Do outside loop");
  EXPECT_EQ(failure("Exit For"), "Form1.Test, statement 1: Exit For: Exit For/Do outside loop");
}

TEST(Statements, WithOnAControlKeepsItsNameAndOnAValueEvaluatesItOnce) {
  // A control cannot be a value natively, so its name is put back in front
  // of each member statement.
  EXPECT_EQ(translate("With Text1\n.Text = \"a\"\nEnd With"),
            "    {\n        vb_set(\"Text1\",\"Text\",vb_str(\"a\"));\n    }\n");
  const std::string body = translate("Dim o\nWith o\n.Name = 1\nWith o\n.Size = 2\nEnd With\nEnd With");
  EXPECT_NE(body.find("VBValue __with_2 = l_o;"), std::string::npos) << body;
  EXPECT_NE(body.find("vb_member_let(__with_2,\"__with__\",\"Name\",vb_int(1));"), std::string::npos) << body;
  EXPECT_NE(body.find("vb_member_let(__with_4,\"__with__\",\"Size\",vb_int(2));"), std::string::npos) << body;
  EXPECT_EQ(failure("End With"), "Form1.Test, statement 1: End With: End With without With");
  EXPECT_EQ(failure("With Text1\nEnd If"), "Form1.Test, statement 2: End If: End If without If");
}

TEST(Statements, DimInsideABlockIsProcedureWide) {
  // A Dim in a loop not starting again on each pass runs in the parity
  // corpus (block_shapes.bas); here, the names it may not take.
  EXPECT_EQ(failure("Dim a\nDim A"), "Form1.Test, statement 2: Dim A: Variable declared more than once: a");
  EXPECT_EQ(failure("Dim Test"), "Form1.Test, statement 1: Dim Test: Cannot redeclare function name");
  EXPECT_EQ(failure("Dim x = Ask()"),
            "Form1.Test, statement 1: Dim x = Ask(): Form1: only a constant can have a value in its declaration: Dim x = Ask()");
}

// Function results and Exit Function/Sub run in the parity corpus
// (functions.bas, block_shapes.bas).

TEST(Statements, ClassFields) {
  Project p = make_project("", {{"Module1", MODULE}},
                           {{"Counter", "Public Count As Long\n"
                                        "Sub Run(count)\ncount = 5\nEnd Sub\n"
                                        "Sub Twice()\nBump Count\nFor Count = 1 To 2\nNext\nEnd Sub\n"
                                        "Property Get Size() As Long\nSize = Count\nEnd Property\n"}});
  NativeCompiler compiler(p);
  // A field assignment writes the field even where a parameter has its name.
  EXPECT_EQ(body_of(compiler, "cls_counter_run"),
            std::vector<std::string>{"    vb_member_set((*a_self),\"count\",vb_int(5));"});
  const auto twice = body_of(compiler, "cls_counter_twice");
  ASSERT_EQ(twice.size(), 11u);
  EXPECT_EQ(twice[0], "    VBValue _t1, _t2;");
  // By reference through a temporary written back.
  EXPECT_EQ(twice[1], "    (void)(_t1=vb_member_get((*a_self),\"count\"),_t2=p_module_bump(&_t1),"
                      "vb_member_set((*a_self),\"count\",_t1),_t2);");
  // As counter: read and written through the object.
  EXPECT_EQ(twice[9], "        vb_member_set((*a_self),\"count\",vb_for_value(&_for_2_loop));");
  EXPECT_EQ(body_of(compiler, "cls_counter_property_get_size"),
            std::vector<std::string>{"    _ret = vb_member_get((*a_self),\"count\");"});
}

TEST(Statements, FailureMessages) {
  // Jumps: every label a jump names must exist, outside blocks.
  EXPECT_EQ(failure("On Error GoTo Fail\nFail:"), "");
  EXPECT_EQ(failure("GoTo done"), "Form1: Label not defined in Test: done");
  // A label inside a block takes GoTo from within that block only.
  EXPECT_EQ(failure("If 1 Then\nAgain:\nEnd If\nGoTo Again"),
            "Form1.Test, statement 2: Again: GoTo to a label inside a block (Again) from outside that block is not "
            "supported in native builds");
  EXPECT_EQ(failure("Dim i\nFor i = 1 To 2\nIf i = 1 Then GoTo Skip\nIf i = 2 Then\nGoTo Skip\nEnd If\nSkip:\nNext"),
            "");
  EXPECT_EQ(failure("Dim i\nFor i = 1 To 2\nSkip:\nNext\nFor i = 1 To 2\nGoTo Skip\nNext"),
            "Form1.Test, statement 3: Skip: GoTo to a label inside a block (Skip) from outside that block is not "
            "supported in native builds");
  EXPECT_EQ(failure("On Error GoTo Fail\nIf 1 Then\nFail:\nEnd If"),
            "Form1.Test, statement 3: Fail: GoTo or Resume to a label inside a block (Fail) is not supported in native "
            "builds");
  EXPECT_EQ(failure("x:\nx:\nGoTo x"), "Form1.Test, statement 2: x: Label defined more than once: x");
  EXPECT_EQ(failure("GoSub x\nExit Sub\nx:\nReturn"), "");
  EXPECT_EQ(failure("GoSub y\nReturn"), "Form1: Label not defined in Test: y");
  EXPECT_EQ(failure("Dim k\nOn k GoSub a, b\nExit Sub\na:\nb:\nReturn"), "");
  EXPECT_EQ(failure("Dim k\nOn k GoTo a, c\na:"), "Form1: Label not defined in Test: c");
  EXPECT_EQ(failure("ReDim a(2, 3)"), "");
  // File channels of every mode compile; shapes VB does not have are refused by name.
  EXPECT_EQ(failure("Dim n\nn = FreeFile\nOpen \"x.txt\" For Input As #n\nClose #n"), "");
  EXPECT_EQ(failure("Open \"x.txt\" For Binary As #1\nDim r\nGet #1, , r\nPut #1, 5, r\nSeek #1, 1\n"
                    "Open \"y\" For Random As #2 Len = 20"),
            "");
  EXPECT_EQ(failure("Dim r\nGet #1, r"),
            "Form1.Test, statement 2: Get #1, r: This file statement is not yet available in native builds: Get #1, r");
  EXPECT_EQ(failure("Dim n\nn = Dir(\"*.txt\")\nn = Dir\nMkDir \"d\"\nFileCopy \"a\", \"b\"\nName \"a\" As \"b\""), "");
  EXPECT_EQ(failure("Dim n\nn = FileDateTime(\"a.txt\")"),
            "Form1.Test, statement 2: n = FileDateTime(\"a.txt\"): File function FileDateTime is not yet available in "
            "native builds");
  EXPECT_EQ(failure("ReDim a"), "Form1.Test, statement 1: ReDim a: Native compiler does not support statement: ReDim a");
  EXPECT_EQ(failure("Dim a\nMid(a, 1) = \"x\""), "");  // the Mid statement
  EXPECT_EQ(failure("Dim a\nMid(a) = \"x\""),
            "Form1.Test, statement 2: Mid(a) = \"x\": Undefined variable Mid (native builds require explicit declarations)");
  EXPECT_EQ(failure("App.Title = 1"), "");
  EXPECT_EQ(failure("1 + 1"), "Form1.Test, statement 1: 1 + 1: Native compiler cannot lower statement: 1 + 1");
  EXPECT_EQ(failure("Next"), "Form1.Test, statement 1: Next: Next without For");
  EXPECT_EQ(failure("Loop"), "Form1.Test, statement 1: Loop: Loop without Do");
  EXPECT_EQ(failure("Wend"), "Form1.Test, statement 1: Wend: Wend without While");
  EXPECT_EQ(failure("End If"), "Form1.Test, statement 1: End If: End If without If");
  EXPECT_EQ(failure("Else"), "Form1.Test, statement 1: Else: Else without If");
  EXPECT_EQ(failure("ElseIf 1 Then"), "Form1.Test, statement 1: ElseIf 1 Then: ElseIf without If");
  EXPECT_EQ(failure("Case 1"), "Form1.Test, statement 1: Case 1: Case without Select Case");
  EXPECT_EQ(failure("End Select"), "Form1.Test, statement 1: End Select: End Select without Select Case");
  EXPECT_EQ(failure("Dim i\nFor i = 1 To 2"), "Form1.Test, statement 2: For i = 1 To 2: Unclosed for block");
  EXPECT_EQ(failure("If 1 Then"), "Form1.Test, statement 1: If 1 Then: Unclosed if block");
  // "Case Is>10" is a comparison, as interpreted, not a variable named Is.
  EXPECT_EQ(translate("Select Case 1\nCase Is>10\nEnd Select").find("l_is"), std::string::npos);
  EXPECT_EQ(translate("Select Case 1\nCase Is>10\nEnd Select"), translate("Select Case 1\nCase Is > 10\nEnd Select"));
  EXPECT_EQ(failure("x = Test"), "Form1.Test, statement 1: x = Test: Undefined variable Test (native builds require explicit declarations)");
  EXPECT_EQ(failure("Dim x\nx = App"), "Form1.Test, statement 2: x = App: Form/control object must be accessed via member: App");
}

}  // namespace
}  // namespace corvane
