// corvane-run --script end to end: output, dialogs, exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/run_command.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::run_command;
using testing::tool_path;

class RunScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("corvane-run-test-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  testing::CommandResult run(const std::vector<std::string>& files, const std::string& input = "") {
    std::vector<std::string> argv{tool_path("corvane-run"), "--script"};
    argv.insert(argv.end(), files.begin(), files.end());
    return run_command(argv, input);
  }

  fs::path dir_;
};

TEST_F(RunScriptTest, PrintsDebugOutputBeepAndAnswersDialogs) {
  const auto file = write("main.bas",
                          "Attribute VB_Name = \"Module1\"\r\n"
                          "Sub Main()\r\n"
                          "  Debug.Print \"Hello, \" & InputBox(\"Name?\")\r\n"
                          "  Beep\r\n"
                          "  r = MsgBox(\"Save?\", vbYesNo, \"Editor\")\r\n"
                          "  MsgBox \"Done \" & r\r\n"
                          "  Debug.Print \"[\" & InputBox(\"More?\") & \"]\"\r\n"
                          "End Sub\r\n");
  const auto result = run({file}, "World\r\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Hello, World\nBeep\nEditor: Save?\nVisual Basic: Done 6\n[]\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(RunScriptTest, ModulesShareProceduresAndClassFilesAreAccepted) {
  const auto lib = write("lib.bas", "Public Total As Integer\nSub Add(n)\nTotal = Total + n\nEnd Sub\n");
  const auto main = write("main.bas", "Sub Main()\nAdd 2\nAdd 3.5\nDebug.Print Total\nEnd Sub\n");
  const auto cls = write("Counter.cls",
                         "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n"
                         "Attribute VB_Name = \"Counter\"\nPrivate n As Integer\n");
  const auto result = run({lib, main, cls});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "6\n");
}

TEST_F(RunScriptTest, ClassFilesMakeInstancesWithTheScriptsDialogs) {
  const auto cls = write("account.cls",
                         "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                         "Attribute VB_Name = \"Account\"\r\n"
                         "Private total As Double\r\nPublic Owner As String\r\n"
                         "Private Sub Class_Initialize()\r\n  Owner = InputBox(\"Owner?\")\r\n"
                         "  DBOpen \"sqlite\", \":memory:\"\r\n  DBExecute \"CREATE TABLE log (amount REAL)\"\r\nEnd Sub\r\n"
                         "Public Property Get Balance() As Double\r\n  Balance = total\r\nEnd Property\r\n"
                         "Public Sub Deposit(ByVal amount As Double)\r\n"
                         "  If amount <= 0 Then Err.Raise 380, , \"Invalid amount\"\r\n"
                         "  total = total + amount\r\n  DBExecute \"INSERT INTO log VALUES (?)\", amount\r\n"
                         "End Sub\r\n"
                         "Public Function Entries()\r\n  Entries = DBScalar(\"SELECT COUNT(*) FROM log\")\r\nEnd Function\r\n");
  const auto main = write("main.bas",
                          "Sub Main()\r\n  Dim a As New Account\r\n  Set b = a\r\n  a.Deposit 10\r\n"
                          "  b.Deposit 2.5\r\n  MsgBox a.Owner & \" \" & b.Balance & \" \" & a.Entries()\r\n"
                          "  On Error Resume Next\r\n  a.Deposit -1\r\n  Debug.Print Err.Description\r\n"
                          "  On Error GoTo 0\r\n  a.Withdraw 1\r\nEnd Sub\r\n");
  const auto result = run({cls, main}, "Ada\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "Visual Basic: Ada 12.5 2\nInvalid amount\n"
            "Runtime error in Main: Unknown class method: Account.Withdraw\n");
}

TEST_F(RunScriptTest, RuntimeErrorLeavingMainExitsOne) {
  const auto file = write("main.bas", "Sub Main()\nDebug.Print 1\nx = 1 / 0\nDebug.Print 2\nEnd Sub\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "1\nRuntime error in Main: division by zero\n");
}

TEST_F(RunScriptTest, ScanningErrorGoesToStandardError) {
  const auto file = write("main.bas", "Sub Main()\nDebug.Print 1\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "No End Sub for Main\n");
}

TEST_F(RunScriptTest, EndStopsMainWithStatusZero) {
  const auto file = write("main.bas", "Sub Main()\nDebug.Print \"a\"\nEnd\nDebug.Print \"b\"\nEnd Sub\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "a\n");
}

TEST_F(RunScriptTest, Windows1252FilesAreDecoded) {
  const auto file = write("main.bas", "Sub Main()\nDebug.Print \"caf\xe9 \x80\"\nEnd Sub\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "caf\xc3\xa9 \xe2\x82\xac\n");
}

TEST_F(RunScriptTest, ErrorsTellTheirFileAndLineOnStandardError) {
  const auto file = write("main.bas", "Attribute VB_Name = \"Module1\"\r\nSub Main()\r\n  Debug.Print 1\r\n  Fail\r\n"
                                      "End Sub\r\nSub Fail()\r\n  x = 1 / 0\r\nEnd Sub\r\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "1\nRuntime error in Main: division by zero\n");
  EXPECT_EQ(result.err, "    at " + file + ", line 7\n");
  // a line that does not parse is reported before anything runs
  const auto bad = write("bad.bas", "Sub Main()\nDebug.Print 1\nx = (2 *\nEnd Sub\n");
  const auto refused = run({bad});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "Syntax error in Main: Incomplete expression\n    at " + bad + ", line 3\n");
}

TEST_F(RunScriptTest, LongLoopsFinishAndMaxStepsStopsThem) {
  const auto file = write("loop.bas", "Sub Main()\nFor i = 1 To 2000000\ns = s + i Mod 7\nNext\nDebug.Print s\n"
                                      "Debug.Print Fact(170) > 1E+306\nEnd Sub\n"
                                      "Function Fact(n)\nIf n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)\nEnd Function\n");
  const auto result = run({file});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "5999997\nTrue\n");
  const auto limited = run_command({tool_path("corvane-run"), "--script", file, "--max-steps", "1000"});
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.out, "Runtime error in Main: Execution limit exceeded (possible infinite loop)\n");
  EXPECT_EQ(run_command({tool_path("corvane-run"), "--script", file, "--max-steps", "x"}).status, 2);
  // deep but finite recursion has the room it needs; a runaway one is an error
  const auto deep = write("deep.bas", "Function D(n)\nIf n = 0 Then D = 0 Else D = 1 + D(n - 1)\nEnd Function\n"
                                      "Sub R()\nR\nEnd Sub\nSub Main()\nDebug.Print D(3000)\nR\nEnd Sub\n");
  const auto recursion = run({deep});
  EXPECT_EQ(recursion.status, 1);
  EXPECT_EQ(recursion.out, "3000\nRuntime error in Main: Maximum procedure call depth exceeded\n");
}

TEST_F(RunScriptTest, RunningOutOfMemoryIsErrorSeven) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
  // under an address-space limit: trapped by a handler, and untrapped
  const auto file = write("mem.bas", "Sub Main()\nOn Error GoTo Full\ns = \"x\"\nDo\ns = s & s\nLoop\nFull:\n"
                                     "Debug.Print \"error \" & Err.Number & \" \" & Err.Description\ns = \"\"\n"
                                     "On Error GoTo 0\nReDim a(100000000)\nEnd Sub\n");
  const auto result = run_command({"/bin/sh", "-c", "ulimit -v 600000; exec " + testing::shell_quote(tool_path("corvane-run")) +
                                                         " --script " + testing::shell_quote(file)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "error 7 Out of memory\nRuntime error in Main: Out of memory\n");
}

TEST_F(RunScriptTest, UsageErrors) {
  EXPECT_EQ(run({(dir_ / "missing.bas").string()}).status, 1);
  EXPECT_EQ(run_command({tool_path("corvane-run")}).status, 2);
  EXPECT_EQ(run_command({tool_path("corvane-run"), "--script"}).status, 2);
  const auto no_main = run({write("lib.bas", "Sub Other()\nEnd Sub\n")});
  EXPECT_EQ(no_main.status, 1);
  EXPECT_EQ(no_main.err, "No Sub Main to run\n");
  // A project without forms cannot run (before any display is needed).
  const auto project = run_command({tool_path("corvane-run"), write("p.vbp", "Type=Exe\n")});
  EXPECT_EQ(project.status, 1);
  EXPECT_NE(project.err.find("Project contains no VB6 forms."), std::string::npos);
}

}  // namespace
}  // namespace corvane
