#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "compat/analyzer.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> features_of(const std::string& code) {
  Project p;
  p.forms[0].code = code;
  std::vector<std::string> out;
  for (const Diagnostic& d : analyze_project(p)) out.push_back(d.feature);
  return out;
}

using Features = std::vector<std::string>;

TEST(CodeRules, BranchesAndResume) {
  EXPECT_EQ(features_of("On Error GoTo Handler\nResume Next\n  resume next\n"), Features{});
  // GoTo, GoSub ... Return and Resume to a label run in both engines
  EXPECT_EQ(features_of("GoTo Done\nResume Retry\nResume"), Features{});
  EXPECT_EQ(features_of("   GoSub 100\nReturn"), Features{});
  EXPECT_EQ(features_of("x = 1: GoSub Done"), Features{});
}

TEST(CodeRules, DeclarationsObjectsAndComments) {
  EXPECT_EQ(features_of("Private Declare Function GetTickCount Lib \"kernel32\" () As Long"),
            Features{"Win32 DLL declarations"});
  EXPECT_EQ(features_of("Declare PtrSafe Sub Sleep Lib \"k\" (ByVal n As Long)"), Features{"Win32 DLL declarations"});
  EXPECT_EQ(features_of("  ' Private Declare Function GetTickCount Lib \"kernel32\" () As Long"), Features{});
  EXPECT_EQ(features_of("s = \"CreateObject(\""), Features{"COM automation"});  // strings are not removed
  EXPECT_EQ(features_of("Set a = CreateObject(\"x\"): Set b = GetObject (\"y\")"), Features{"COM automation"});
  EXPECT_EQ(features_of("Set fso = New Scripting.FileSystemObject"), Features{"Windows object libraries"});
  EXPECT_EQ(features_of("Dim db As DAO.Database"), Features{"Windows object libraries"});
  EXPECT_EQ(features_of("Set o = CreateObject(\"DAO.DBEngine\")"),
            (Features{"COM automation", "Windows object libraries"}));
  EXPECT_EQ(features_of("Rem Implements IFoo"), Features{"Interface implementation"});  // Rem lines are scanned
}

TEST(CodeRules, FileIoPrintingAndEvents) {
  // file channels run: no finding
  EXPECT_EQ(features_of("Open path For Input As #1"), Features{});
  EXPECT_EQ(features_of("Open \"x\" For binary Access Read As #2"), Features{});
  EXPECT_EQ(features_of("Printer.Print x"), Features{"VB6 printer APIs"});
  EXPECT_EQ(features_of("Dim WithEvents conn As Connection"), Features{"WithEvents variables"});
  EXPECT_EQ(features_of("OpenForm For Input"), Features{});
}

TEST(CodeRules, LocationsAndLineNumbersFollowProjectOrder) {
  Project p;
  p.forms[0].code = "Option Explicit\n\nDim WithEvents c As Connection\n";
  p.modules.push_back(Module{"Tools", "Attribute VB_Name = \"Tools\"\nPrinter.EndDoc\n"});
  p.classes.push_back(ClassModule{"Account", "Implements IAccount\n"});
  const auto found = analyze_project(p);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].location, "Form1.frm");
  EXPECT_EQ(found[0].line, 14 + 3);  // a line of the form file as saving writes it, after its description
  EXPECT_EQ(found[1].location, "Tools.bas");
  EXPECT_EQ(found[1].line, 2);
  EXPECT_EQ(found[2].location, "Account.cls");
  EXPECT_EQ(found[2].severity, "BLOCKER");
}

TEST(Report, CleanAndWithFindings) {
  EXPECT_EQ(report(Project{}),
            "No recognized blocking constructs were detected.\n\nThis is NOT a full VB6 compatibility "
            "certification: unsupported language features, resources, properties, and calls may still exist.");
  Project p;
  p.forms[0].code = "Dim WithEvents c As Connection\nPrinter.Print 1\n";
  EXPECT_EQ(report(p),
            "BLOCKER: Form1.frm:15 \u2014 WithEvents variables\n"
            "  Control events work, but user-defined WithEvents variables do not.\n"
            "BLOCKER: Form1.frm:16 \u2014 VB6 printer APIs\n"
            "  Printing needs a CUPS-backed compatibility service.\n"
            "\nThis diagnostic scanner is non-exhaustive.\n");
}

class FileRules : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvane-compat-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name, std::ios::binary) << text; }
  fs::path dir_;
};

TEST_F(FileRules, ReferencesAndForeignControlsOnDisk) {
  write("P.vbp", "Type=Exe\r\nReference=*\\G{00020430}#2.0#0#stdole2.tlb#OLE\r\n  object = {831FDD16}#2.0#0; MSCOMCTL.OCX\r\nForm=Form1.frm\r\n");
  write("Form1.frm",
        "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Begin MSComDlg.CommonDialog CommonDialog1\r\n   End\r\n"
        "   Begin VB.TextBox Text1\r\n   End\r\n   Begin Corvane.ProgressBar Progress1\r\n   End\r\n"
        "   Begin Threed.SSPanel\tPanel1\r\n   End\r\nEnd\r\n");
  Project p;
  p.path = dir_ / "P.vbp";
  p.forms.push_back(VBForm{});
  p.forms[1].name = "Missing";  // no file on disk: skipped
  const auto found = analyze_project(p);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].location, "P.vbp");
  EXPECT_EQ(found[0].line, 2);
  EXPECT_EQ(found[0].feature, "COM/ActiveX project reference");
  EXPECT_EQ(found[1].line, 3);
  EXPECT_EQ(found[2].location, "Form1.frm");
  EXPECT_EQ(found[2].line, 3);
  EXPECT_EQ(found[2].feature, "External ActiveX control MSComDlg.CommonDialog");
  EXPECT_EQ(found[3].feature, "External ActiveX control Threed.SSPanel");
}

TEST_F(FileRules, TheOleAutomationReferenceIsNoBlockerButOtherReferencesAre) {
  write("P.vbp",
        "Type=Exe\r\n"
        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\..\\Windows\\System32\\stdole2.tlb#OLE "
        "Automation\r\n"
        "reference = *\\g{00020430-0000-0000-c000-000000000046}#2.0#0#stdole2.tlb#OLE Automation\r\n"
        "Reference=*\\G{00000205-0000-0010-8000-00AA006D2EA4}#2.5#0#msado25.tlb#Microsoft ActiveX Data Objects "
        "2.5\r\n"
        "Object={F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0; comdlg32.ocx\r\n"
        "Reference=*\\G{00020430-0000-0000-C000-000000000047}#2.0#0#fake.tlb#Not stdole\r\n");
  Project p;
  p.path = dir_ / "P.vbp";
  std::vector<int> lines;
  for (const Diagnostic& d : analyze_project(p)) lines.push_back(d.line);
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6}));
}

TEST_F(FileRules, FormFilesAreFoundByTheirPathsInTheProjectFile) {
  fs::create_directory(dir_ / "Forms");
  write("P.vbp", "Type=Exe\r\nForm=Forms\\MAIN WINDOW.FRM\r\nForm=Gone.frm\r\n");
  write("Forms/Main Window.frm", "VERSION 5.00\r\nBegin VB.Form frmMain\r\n   Begin MSComctlLib.ListView lvw\r\n   End\r\nEnd\r\n");
  Project p;
  p.path = dir_ / "P.vbp";
  p.forms[0].name = "frmMain";
  const auto found = analyze_project(p);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].location, "Main Window.frm");
  EXPECT_EQ(found[0].line, 3);
  EXPECT_EQ(found[0].feature, "External ActiveX control MSComctlLib.ListView");
}

TEST_F(FileRules, ActiveXProjectsAndComponentsTheModelDoesNotHold) {
  write("P.vbp", "Type=Control\r\nUserControl=ucFlat.ctl\r\nClass=c; c.cls\r\nDesigner=DataReport1.Dsr\r\n"
                 "[RVB]\r\nUserControl=x.ctl\r\n");
  Project p;
  p.path = dir_ / "P.vbp";
  std::vector<std::pair<int, std::string>> found;
  for (const Diagnostic& d : analyze_project(p)) found.emplace_back(d.line, d.feature);
  EXPECT_EQ(found, (std::vector<std::pair<int, std::string>>{{1, "ActiveX control project"},
                                                             {2, "User control component"},
                                                             {4, "Designer component"}}));
  write("P.vbp", "Type=OleDll\r\nType=Exe\r\n");
  ASSERT_EQ(analyze_project(p).size(), 1u);
  EXPECT_EQ(analyze_project(p)[0].feature, "ActiveX DLL project");
}

TEST_F(FileRules, FindingsInCodeNameTheLinesOfTheFilesOnDisk) {
  fs::create_directory(dir_ / "src");
  write("P.vbp", "Type=Exe\r\nForm=src\\Main Window.frm\r\nModule=modIO; src\\io.bas\r\nClass=clsLog; src\\log.cls\r\n");
  write("src/Main Window.frm",
        "VERSION 5.00\r\nBegin VB.Form frmMain \r\n   Caption = \"Main\"\r\nEnd\r\nAttribute VB_Name = \"frmMain\"\r\n"
        "Option Explicit\r\nPrivate WithEvents cn As Connection\r\nAttribute cn.VB_VarHelpID = -1\r\n\r\n"
        "Sub Go()\r\n    Printer.EndDoc\r\nDone:\r\nEnd Sub\r\n");
  write("src/io.bas", "Attribute VB_Name = \"modIO\"\r\nPublic Type Rec\r\n    Code As String * 8  ' fixed\r\n"
                      "    Qty As Long\r\n    Parts(3) As Integer\r\n    Price As Currency ' ok\r\n    Grid(1, 2) As Long\r\n    Slots(1 To 4) As Byte\r\n"
                      "    Items() As Long\r\n    Cells(1 To 2, 3) As Long\r\nEnd Type\r\n"
                      "Sub Save()\r\n    Open \"x\" For Output As #1\r\nEnd Sub\r\n");
  write("src/log.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"clsLog\"\r\n"
                       "Attribute VB_Exposed = False\r\nOption Explicit\r\n\r\nImplements ILog\r\n");
  Project p = load_project(dir_ / "P.vbp");
  std::vector<std::string> found;
  for (const Diagnostic& d : analyze_project(p)) found.push_back(d.location + ":" + std::to_string(d.line) + " " + d.feature);
  EXPECT_EQ(found, (std::vector<std::string>{"Main Window.frm:7 WithEvents variables",
                                             "Main Window.frm:11 VB6 printer APIs",
                                             "io.bas:7 Type member the interpreter cannot hold",
                                             "io.bas:10 Type member the interpreter cannot hold",
                                             "log.cls:9 Interface implementation"}));  // file channels run now
  // Code changed since the files were read: lines of the files as saving writes them.
  p.modules[0].code = "Attribute VB_Name = \"modIO\"\n\nPrinter.EndDoc\n";
  p.forms[0].code = "Attribute VB_Name = \"frmMain\"\nPrinter.EndDoc\n";
  found.clear();
  for (const Diagnostic& d : analyze_project(p)) found.push_back(d.location + ":" + std::to_string(d.line) + " " + d.feature);
  EXPECT_EQ(found[0], "frmMain.frm:15 VB6 printer APIs");
  EXPECT_EQ(found[1], "modIO.bas:3 VB6 printer APIs");
}

TEST_F(FileRules, ProjectWithoutFileOnDiskRunsOnlyCodeRules) {
  write("Form1.frm", "Begin MSComDlg.CommonDialog CommonDialog1\r\n");
  Project p;
  EXPECT_TRUE(analyze_project(p).empty());  // no path
  p.path = dir_ / "Absent.vbp";
  EXPECT_TRUE(analyze_project(p).empty());  // path is not an existing file
}

}  // namespace
}  // namespace corvane
