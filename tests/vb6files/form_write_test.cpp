// Writing: the sample project byte for byte, the optional lines of control
// and menu blocks, and round trips through files.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/code_files.h"
#include "vb6files/form_files.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

using testing::crlf_lines;
using testing::read_bytes;
using testing::TempDir;

TEST(SampleProject, FormFileByteForByte) {
  TempDir dir;
  Project project = Project::sample();
  save_project(project, dir / "HelloWorld.vbp");
  const std::string expected = crlf_lines(
      "VERSION 5.00",
      "Begin VB.Form Form1",
      "   Caption         =   \"Welcome to Corvane\"",
      "   ClientHeight    =   6150",
      "   ClientWidth     =   9900",
      "   StartUpPosition =   3  ' Windows Default",
      "   ScaleHeight    =   6150",
      "   ScaleWidth     =   9900",
      "   Begin VB.Label Label1",
      "      Caption         =   \"Enter your name and click the button:\"",
      "      Height          =   375",
      "      Left            =   480",
      "      Top             =   600",
      "      Width           =   7200",
      "      TabIndex        =   0",
      "   End",
      "   Begin VB.TextBox Text1",
      "      Caption         =   \"\"",
      "      Height          =   405",
      "      Left            =   480",
      "      Top             =   1365",
      "      Width           =   3900",
      "      TabIndex        =   1",
      "      Text            =   \"World\"",
      "   End",
      "   Begin VB.CommandButton Command1",
      "      Caption         =   \"Say Hello\"",
      "      Height          =   480",
      "      Left            =   480",
      "      Top             =   2220",
      "      Width           =   2475",
      "      TabIndex        =   2",
      "   End",
      "End",
      "Attribute VB_Name = \"Form1\"",
      "Attribute VB_GlobalNameSpace = False",
      "Attribute VB_Creatable = False",
      "Attribute VB_PredeclaredId = True",
      "Attribute VB_Exposed = False",
      "Option Explicit",
      "",
      "Private Sub Form_Load()",
      "    Me.Caption = \"Hello - Corvane\"",
      "End Sub",
      "",
      "Private Sub Command1_Click()",
      "    Dim greeting As String",
      "    greeting = \"Hello, \" & Text1.Text & \"!\"",
      "    MsgBox greeting, 0, \"Visual Basic\"",
      "    Label1.Caption = greeting",
      "End Sub");
  EXPECT_EQ(read_bytes(dir / "Form1.frm"), expected);
}

TEST(SampleProject, ProjectFileByteForByte) {
  TempDir dir;
  Project project = Project::sample();
  const auto written = save_project(project, dir / "HelloWorld.vbp");
  EXPECT_EQ(written, dir / "HelloWorld.vbp");
  EXPECT_EQ(project.path, written);
  EXPECT_EQ(read_bytes(written),
            crlf_lines("Type=Exe", "Form=Form1.frm", "Startup=\"Form1\"", "Name=\"HelloWorld\"", "HelpFile=\"\"",
                       "Title=\"\"", "ExeName32=\"\"", "Command32=\"\"", "VersionCompanyName=\"Corvane\"",
                       "MajorVer=1", "MinorVer=0", "RevisionVer=0", "AutoIncrementVer=0", "CompatibleMode=\"0\""));
}

TEST(ControlBlocks, OptionalLinesInTheirOrder) {
  VBForm form;
  form.code = "";
  Control check = Control::create("CheckBox", "Check1", 10, 20);
  check.width = 100;
  check.height = 30;
  check.value = 1;
  check.items = "a|\"b\"";
  check.font_size = 12;
  check.visible = false;
  check.enabled = false;
  check.back_color = "#0080FF";
  check.fore_color = "weird";
  check.text = "not written";
  form.controls.push_back(check);
  Control grid = Control::create("DataGrid", "DataGrid1");
  grid.record_source = "SELECT * FROM t";
  form.controls.push_back(grid);
  Control timer = Control::create("Timer", "Timer1");
  timer.interval = 250;
  timer.back_color = "";
  form.controls.push_back(timer);
  const std::string text = form_file_text(form);
  EXPECT_NE(text.find("   Begin VB.CheckBox Check1\n"
                      "      Caption         =   \"Check1\"\n"
                      "      Height          =   450\n"
                      "      Left            =   150\n"
                      "      Top             =   300\n"
                      "      Width           =   1500\n"
                      "      TabIndex        =   0\n"
                      "      Value           =   1\n"
                      "      ' Corvane_Items = \"a|\"\"b\"\"\"\n"
                      "      BeginProperty Font\n"
                      "         Name            =   \"MS Sans Serif\"\n"
                      "         Size            =   12\n"
                      "         Charset         =   0\n"
                      "         Weight          =   400\n"
                      "         Underline       =   0\n"
                      "         Italic          =   0\n"
                      "         Strikethrough   =   0\n"
                      "      EndProperty\n"
                      "      Visible         =   0  'False\n"
                      "      Enabled         =   0  'False\n"
                      "      BackColor       =   &H00FF8000&\n"
                      "      ForeColor       =   &H8000000F&\n"
                      "   End\n"
                      "   Begin Corvane.DataGrid DataGrid1\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("      TabIndex        =   0\n"
                      "      RecordSource    =   \"SELECT * FROM t\"\n"
                      "   End\n"
                      "   Begin VB.Timer Timer1\n"),
            std::string::npos);
  EXPECT_NE(text.find("      Interval        =   250\n   End\nEnd\n"), std::string::npos);
  EXPECT_EQ(text.find("not written"), std::string::npos);
}

TEST(MenuBlocks, ThreeLevelsIndentedByThreeBlanksPerLevel) {
  VBForm form;
  MenuItem leaf{"mnuLeaf", "Lea&f", {}, true, false, false};
  MenuItem middle{"mnuMiddle", "Middle", {leaf}, false, true, true};
  form.menus.push_back(MenuItem{"mnuTop", "&Top", {middle}, false, true, true});
  form.menus.push_back(MenuItem{"mnuHelp", "&Help", {}, false, true, true});
  const std::string text = form_file_text(form);
  EXPECT_NE(text.find("   ScaleWidth     =   9600\n"
                      "   Begin VB.Menu mnuTop\n"
                      "      Caption         =   \"&Top\"\n"
                      "      Begin VB.Menu mnuMiddle\n"
                      "         Caption         =   \"Middle\"\n"
                      "         Begin VB.Menu mnuLeaf\n"
                      "            Caption         =   \"Lea&f\"\n"
                      "            Checked         =   -1  'True\n"
                      "            Enabled         =   0  'False\n"
                      "            Visible         =   0  'False\n"
                      "         End\n"
                      "      End\n"
                      "   End\n"
                      "   Begin VB.Menu mnuHelp\n"
                      "      Caption         =   \"&Help\"\n"
                      "   End\n"
                      "End\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(read_form_text(text, "Form1.frm").menus, form.menus);
}

TEST(FormWriting, AttributeLinesOfTheCodeAreDroppedAndTheEndTrimmed) {
  VBForm form;
  form.code = "\n\n  Attribute VB_Name = \"Other\"\nDim x   \n\n\n   \n";
  const std::string text = form_file_text(form);
  EXPECT_EQ(text.find("Other"), std::string::npos);
  EXPECT_TRUE(text.ends_with("Attribute VB_Exposed = False\n\n\nDim x\n")) << text;
}

TEST(FormWriting, LineBreaksInTextsCannotBreakTheFileStructure) {
  VBForm form;
  Control& text_box = form.new_control("TextBox", 0, 0);
  text_box.text = "line one\r\nEnd\nBegin VB.Form Evil";
  form.new_control("Label", 0, 0);
  form.caption = "a\nb";
  const VBForm back = read_form_text(form_file_text(form), "Form1.frm");
  ASSERT_EQ(back.controls.size(), 2u);
  EXPECT_EQ(back.controls[0].text, "line one  End Begin VB.Form Evil");
  EXPECT_EQ(back.caption, "a b");
  EXPECT_EQ(back.name, "Form1");
}

// A form that uses every field a round trip keeps.
VBForm rich_form() {
  VBForm form;
  form.name = "frmRich";
  form.caption = "Ünïcode \"quoted\" caption – ok";
  form.width = 333;
  form.height = 0;
  Control& text = form.new_control("TextBox", 10, 20);
  text.width = 100;
  text.height = 30;
  text.text = "  padded \"text\"  ";
  text.back_color = "#102030";
  text.fore_color = "#ffeedd";
  text.font_size = 7;
  Control& list = form.new_control("ListBox", 0, 0);
  list.items = "one|two|thr'ee";
  list.visible = false;
  Control& option = form.new_control("OptionButton", -5, 3);
  option.value = -1;
  option.enabled = false;
  Control& timer = form.new_control("Timer", 1, 1);
  timer.interval = 5;
  Control& grid = form.new_control("DataGrid", 2, 2);
  grid.record_source = "SELECT 'x' FROM \"t\"";
  Control& ok = form.new_control("CommandButton", 4, 4);
  ok.default_button = true;
  Control& cancel = form.new_control("CommandButton", 4, 40);
  cancel.cancel_button = true;
  Control& huge = form.new_control("Label", 0, 0);
  huge.left = 2147483647;
  huge.top = -2147483647 - 1;
  huge.tab_index = -3;
  form.menus = {MenuItem{"mnuA", "&A", {MenuItem{"mnuB", "B", {MenuItem{"mnuC", "-", {}, false, true, true}}, true,
                                                 false, true}},
                         false, true, false}};
  form.code = "Option Explicit\n\nPrivate Sub Form_Load()\n    Caption = \"é\"\nEnd Sub\n";
  return form;
}

TEST(RoundTrip, FormThroughAFileKeepsEveryKeptField) {
  TempDir dir;
  const VBForm form = rich_form();
  save_form(form, dir / "frmRich.frm");
  EXPECT_EQ(read_form(dir / "frmRich.frm"), form);
}

TEST(RoundTrip, FormWrittenTwiceIsIdentical) {
  TempDir dir;
  save_form(read_form(testing::fixture("legacy/frmMain.frm")), dir / "a.frm");
  save_form(read_form(dir / "a.frm"), dir / "b.frm");
  EXPECT_EQ(read_bytes(dir / "a.frm"), read_bytes(dir / "b.frm"));
}

TEST(RoundTrip, WhatTheFilesDoNotKeep) {
  VBForm form;
  Control& label = form.new_control("Label", 0, 0);
  label.text = "dropped";
  label.value = 3;
  label.interval = 7;
  label.record_source = "x";
  label.back_color = "";
  label.fore_color = "#ABCDEF";
  form.code = "\n\n  Sub A()\nEnd Sub  \n\n";
  const VBForm back = read_form_text(form_file_text(form), "Form1.frm");
  const Control& c = back.controls[0];
  EXPECT_EQ(c.text, "");
  EXPECT_EQ(c.value, 0);
  EXPECT_EQ(c.interval, 1000);
  EXPECT_EQ(c.record_source, "");
  EXPECT_EQ(c.back_color, "#f0f0f0");
  EXPECT_EQ(c.fore_color, "#abcdef");
  EXPECT_EQ(back.code, "Sub A()\nEnd Sub\n");
}

TEST(RoundTrip, CharactersOutsideWindows1252BecomeQuestionMarks) {
  TempDir dir;
  VBForm form;
  form.caption = "Ω € ✓";
  save_form(form, dir / "Form1.frm");
  EXPECT_EQ(read_form(dir / "Form1.frm").caption, "? € ?");
}

}  // namespace
}  // namespace corvane
