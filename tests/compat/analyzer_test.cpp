#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "compat/analyzer.h"

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
  EXPECT_EQ(features_of("GoTo Done"), Features{"Branch/Resume statements"});
  EXPECT_EQ(features_of("   GoSub 100"), Features{"Branch/Resume statements"});
  EXPECT_EQ(features_of("Resume Retry"), Features{"Branch/Resume statements"});
  EXPECT_EQ(features_of("x = 1: GoTo Done"), Features{});  // anchored at line start
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
  p.forms[0].code = "Option Explicit\n\nGoTo x\n";
  p.modules.push_back(Module{"Tools", "Attribute VB_Name = \"Tools\"\nPrinter.EndDoc\n"});
  p.classes.push_back(ClassModule{"Account", "Implements IAccount\n"});
  const auto found = analyze_project(p);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].location, "Form1.frm");
  EXPECT_EQ(found[0].line, 3);
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
  p.forms[0].code = "GoTo x\nPrinter.Print 1\n";
  EXPECT_EQ(report(p),
            "BLOCKER: Form1.frm:1 \u2014 Branch/Resume statements\n"
            "  Rewrite the control flow using structured If/For/Do blocks.\n"
            "BLOCKER: Form1.frm:2 \u2014 VB6 printer APIs\n"
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

TEST_F(FileRules, ProjectWithoutFileOnDiskRunsOnlyCodeRules) {
  write("Form1.frm", "Begin MSComDlg.CommonDialog CommonDialog1\r\n");
  Project p;
  EXPECT_TRUE(analyze_project(p).empty());  // no path
  p.path = dir_ / "Absent.vbp";
  EXPECT_TRUE(analyze_project(p).empty());  // path is not an existing file
}

}  // namespace
}  // namespace corvane
