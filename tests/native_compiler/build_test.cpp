// End to end: projects compiled with a real C compiler and run under X,
// checking their output, exit statuses and runtime failure messages; and
// the corvane-native command.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/run_command.h"
#include "helpers.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::error_of;
using testing::make_project;
using testing::run_command;
using testing::slurp;
using testing::tool_path;

class NativeBuild : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("corvane-native-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir);
  }
  fs::path build(const Project& p, const std::optional<std::string>& cc = std::nullopt) {
    return build_native(p, dir / "out", std::nullopt, cc);
  }
  // Runs a built program (at most 30 seconds), with extra environment.
  static CommandResult run(const fs::path& exe, const std::vector<std::string>& env = {}) {
    std::vector<std::string> argv{"env"};
    argv.insert(argv.end(), env.begin(), env.end());
    argv.insert(argv.end(), {"timeout", "30", exe.string()});
    return run_command(argv);
  }
  // A project started by Sub Main in Module1 (no window is opened).
  static Project main_project(const std::string& module_code,
                              const std::vector<std::pair<std::string, std::string>>& classes = {}) {
    Project p = make_project("", {{"Module1", module_code}}, classes);
    p.startup = "Sub Main";
    return p;
  }
};

TEST_F(NativeBuild, ValuesOperatorsBuiltinsAndNumbers) {
  const Project p = main_project(
      "Sub Main()\n"
      "Dim s As String, n As Integer\n"
      "s = \"Hello\"\n"
      "n = 7\n"
      "Debug.Print s & \", \" & Mid(s, 2, 3) & \" \" & Len(s) & \" \" & UCase(s)\n"
      "Debug.Print n \\ 2 & \" \" & -7 Mod 3 & \" \" & 2 ^ 10 & \" \" & (010 + 08)\n"
      "Debug.Print \"1\" + \"1\"\n"
      "Debug.Print &HFF + 1 & \" \" & (&HFFFFFFFFFFFFFFFFFFFF > 1)\n"
      "End\n"
      "End Sub\n");
  for (const char* cc : {"gcc", "clang"}) {
    const CommandResult r = run(build(p, std::string(cc)));
    EXPECT_EQ(r.status, 0) << cc << r.err;
    EXPECT_EQ(r.out, "Hello, ell 5 HELLO\n3 2 1024 18\n2\n256 True\n") << cc;
  }
}

TEST_F(NativeBuild, OnlyProgramsWithAdoConnectionsLinkTheMysqlClient) {
  if (run_command({"pkg-config", "--exists", "libmariadb"}).status != 0) GTEST_SKIP() << "no MySQL client library";
  const auto needs_client = [](const fs::path& exe) {
    const CommandResult r = run_command({"readelf", "-d", exe.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out.find("libmariadb") != std::string::npos;
  };
  const fs::path plain = build(main_project("Sub Main()\nDebug.Print Len(\"adodb\")\nEnd Sub\n"));
  EXPECT_FALSE(needs_client(plain));
  EXPECT_EQ(run(plain).out, "5\n");
  // the type name as the source spells it
  const fs::path ado = build_native(
      main_project("Sub Main()\nDim cn As New adodb.CONNECTION\nDebug.Print TypeName(cn)\nEnd Sub\n"),
      dir / "ado", std::nullopt, std::nullopt);
  EXPECT_TRUE(needs_client(ado));
  EXPECT_EQ(run(ado).status, 0);
}

TEST_F(NativeBuild, EvaluationOrderByRefLoopsAndProcedureWideDim) {
  const CommandResult r = run(build(main_project(
      "Function Note(t)\nDebug.Print \"call \" & t\nNote = t\nEnd Function\n"
      "Sub Bump(n)\nn = n + 1\nEnd Sub\n"
      "Sub Main()\n"
      "Dim x, i, k\n"
      "Debug.Print Note(\"a\") & Note(\"b\") & Note(\"c\")\n"
      "x = 1\nBump x\nDebug.Print x\nBump (x)\nDebug.Print x\nBump x + 0\nDebug.Print x\n"
      "For i = 1 To 3\nDim c As Integer\nc = c + 1\nNext\nDebug.Print c & \" \" & i\n"
      "For i = 1 To 10\nIf i = 4 Then Exit For\nNext\nDebug.Print i\n"
      "Do\nk = k + 1\nIf k >= 5 Then Exit Do\nLoop\nDebug.Print k\n"
      "For i = 3 To 1 Step -1\nDebug.Print \"down \" & i\nNext\n"
      "For i = 1 To 0\nDebug.Print \"never\"\nNext\n"
      "End\nEnd Sub\n")));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "call a\ncall b\ncall c\nabc\n2\n3\n3\n3 3\n4\n5\ndown 3\ndown 2\ndown 1\n");
}

TEST_F(NativeBuild, ClassFieldsByReferenceAndAsCounters) {
  const CommandResult r = run(build(main_project(
      "Sub Bump(n)\nn = n + 5\nEnd Sub\n"
      "Sub Main()\nDim c As Counter\nSet c = New Counter\nDebug.Print c.Count\nc.Twice\n"
      "Debug.Print c.Count\nDebug.Print c.Doubled\nDebug.Print c.Plus(2)\nEnd\nEnd Sub\n",
      {{"Counter",
        "Public Count As Long\n"
        "Private Sub Class_Initialize()\nCount = 10\nEnd Sub\n"
        "Public Sub Twice()\nBump Count\nDebug.Print Count\nFor Count = 1 To 3\nNext\nEnd Sub\n"
        "Property Get Doubled() As Long\nDoubled = Count * 2\nEnd Property\n"
        "Function Plus(self)\nPlus = self + Count\nEnd Function\n"}})));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "10\n15\n3\n6\n5\n");
}

TEST_F(NativeBuild, AppReportsTheProjectsTitleExecutableAndVersion) {
  Project p = main_project("Sub Main()\nDebug.Print App.Title & \"|\" & App.EXEName & \"|\" & App.Major & \".\" & "
                           "App.Minor & \".\" & App.Revision & \"|\" & App.CompanyName & \"|\" & App.ProductName\nEnd Sub\n");
  EXPECT_EQ(run(build(p)).out, "Demo|Demo|1.0.0||\n");
  p.app.title = "Stock Keeper";
  p.app.exe_name = "stockkeep.exe";
  p.app.major = 2;
  p.app.revision = 31;
  p.app.product_name = "Stock \"Pro\"";
  EXPECT_EQ(run(build(p)).out, "Stock Keeper|stockkeep|2.0.31||Stock \"Pro\"\n");
}

TEST_F(NativeBuild, RuntimeFailuresStopWithTheirStatus) {
  const fs::path exe = build(main_project(
      "Sub Main()\nDim n As Integer, i\nDebug.Print \"start\"\n"
      "If Environ(\"MODE\") = \"step\" Then\nFor i = 1 To 2 Step 0\nNext\nEnd If\n"
      "If Environ(\"MODE\") = \"overflow\" Then n = 40000\n"
      "If Environ(\"MODE\") = \"zero\" Then n = 1 / 0\n"
      "Debug.Print \"done\"\nEnd\nEnd Sub\n"));
  CommandResult r = run(exe, {"MODE=step"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "start\n");
  EXPECT_EQ(r.err, "VB native runtime: For loop Step cannot be zero\n");
  r = run(exe, {"MODE=overflow"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "VB native runtime: Overflow for integer\n");
  r = run(exe, {"MODE=zero"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "VB native runtime: division by zero\n");
  r = run(exe, {"MODE=none"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "start\ndone\n");
}

TEST_F(NativeBuild, HostileTextComesOutLiterally) {
  const std::string hostile = "Quote \" back\\slash */ /* ?" "?/ ?" "?= %s %n \xc3\xa9 \xe2\x9c\x93 \xf0\x9f\x98\x80";
  std::string literal;  // the same text as a BASIC literal
  for (char c : hostile) literal += c == '"' ? std::string("\"\"") : std::string(1, c);
  Project p = make_project("Private Sub Form_Load()\n"
                           "Dim gr\xc3\xb6\xc3\x9f" "e As String\n"
                           "gr\xc3\xb6\xc3\x9f" "e = \"" + literal + "\"\n"
                           "Debug.Print gr\xc3\xb6\xc3\x9f" "e\n"
                           "Z\xc3\xa4hlen\n"
                           "Debug.Print Me.Caption\n"
                           "Debug.Print Label1.Caption & \"|\" & Text1.Text\n"
                           "End\n"
                           "End Sub\n"
                           "Sub Z\xc3\xa4hlen()\nDebug.Print \"z\xc3\xa4hlen\"\nEnd Sub\n");
  p.forms[0].caption = hostile;
  Control& label = p.forms[0].new_control("Label", 10, 100);
  label.caption = "50% off ?" "?) \"x\" \\n";
  p.forms[0].controls[0].text = "a\tb";
  const CommandResult r = run(build(p));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, hostile + "\nz\xc3\xa4hlen\n" + hostile + "\n50% off ?" "?) \"x\" \\n|a\tb\n");
}

TEST_F(NativeBuild, ClickHandlerRunsUnderX) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  Project p = make_project("Private Sub Form_Load()\nDebug.Print \"loaded \" & Me.Caption\nEnd Sub\n"
                           "Private Sub Command1_Click()\nDebug.Print \"clicked \" & Text1.Text\n"
                           "MsgBox \"bye\", 0, \"ProbeBox\"\nEnd\nEnd Sub\n");
  p.forms[0].caption = "NativeClickProbe";
  p.forms[0].controls[0].text = "abc";
  const fs::path exe = build(p);
  // The program runs in the background; xdotool clicks Command1 (at 10,50
  // in the client area, 110x32) once its window is mapped.
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeClickProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; "
      "xdotool mousemove --window \"$w\" 40 60 click 1; "
      "for i in $(seq 1 100); do b=$(xdotool search --name ProbeBox 2>/dev/null | head -1); "
      "[ -n \"$b\" ] && break; sleep 0.1; done; sleep 0.3; "
      "xdotool key --window \"$b\" Return; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"), "loaded NativeClickProbe\nclicked abc\nProbeBox: bye\n");
}

TEST_F(NativeBuild, EnterEscapeAndAccessKeysPressButtonsUnderX) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  // Enter presses the Default button, Escape the Cancel button, Alt+G the
  // button captioned "&Go", which ends the program.
  Project p = make_project("Private Sub cmdOK_Click()\nDebug.Print \"ok\"\nEnd Sub\n"
                           "Private Sub cmdCancel_Click()\nDebug.Print \"cancel\"\nEnd Sub\n"
                           "Private Sub Command1_Click()\nDebug.Print \"go \" & Command1.Caption\nEnd\nEnd Sub\n");
  p.forms[0].caption = "NativeKeysProbe";
  p.forms[0].controls[1].caption = "&Go";
  Control& ok = p.forms[0].new_control("CommandButton", 200, 10);
  ok.name = "cmdOK";
  ok.default_button = true;
  Control& cancel = p.forms[0].new_control("CommandButton", 200, 60);
  cancel.name = "cmdCancel";
  cancel.cancel_button = true;
  const fs::path exe = build(p);
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeKeysProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; "
      "xdotool key --window \"$w\" Return Escape alt+g; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"), "ok\ncancel\ngo &Go\n");
}

TEST_F(NativeBuild, TimerActivateAndMouseEventsRunUnderX) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  // The form paints once it shows (and not again while its size stays).
  // The Timer ticks three times and then waits for a press; Command1's
  // MouseDown and MouseUp get the button and the position within the
  // button; the procedure of a control the form lacks is an ordinary one.
  Project p = make_project(
      "Dim ticks\n"
      "Private Sub Form_Resize()\nDebug.Print \"resized \" & Me.ScaleWidth\nEnd Sub\n"
      "Private Sub Form_Activate()\nDebug.Print \"activated\"\nEnd Sub\n"
      "Private Sub Form_Paint()\nDebug.Print \"painted\"\nEnd Sub\n"
      "Private Sub Tick_Timer()\nticks = ticks + 1\nDebug.Print \"tick \" & ticks\n"
      "If ticks = 3 Then\nTick.Enabled = False\nDebug.Print \"interval \" & Tick.Interval\nEnd If\nEnd Sub\n"
      "Private Sub Command1_MouseDown(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
      "Debug.Print \"down \" & Button & \" \" & X & \",\" & Y\nEnd Sub\n"
      "Private Sub Command1_MouseUp(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
      "Debug.Print \"up \" & Button\nGone_Click\nEnd\nEnd Sub\n"
      "Private Sub Gone_Click()\nDebug.Print \"gone called\"\nEnd Sub\n");
  p.forms[0].caption = "NativeTimerProbe";
  p.forms[0].new_control("Timer", 0, 0).name = "Tick";
  p.forms[0].controls.back().interval = 40;
  const fs::path exe = build(p);
  // Command1 is at 10,50 (110x32): the press is at 30,10 within it.
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeTimerProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 1; "
      "xdotool mousemove --window \"$w\" 40 60 click 1; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"),
            "resized 640\nactivated\npainted\ntick 1\ntick 2\ntick 3\ninterval 40\ndown 1 30.0,10.0\nup 1\ngone called\n");
}

TEST_F(NativeBuild, KeyPressFiltersKeysAndDoubleClicksAreSeen) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  // KeyAscii = 0 drops digits, a changed KeyAscii types another key; the
  // text box's contents show on Enter; a double click on the form ends.
  Project p = make_project(
      "Private Sub Text1_KeyPress(KeyAscii As Integer)\n"
      "If KeyAscii >= 48 And KeyAscii <= 57 Then KeyAscii = 0\n"
      "If KeyAscii = 97 Then KeyAscii = 65\n"
      "If KeyAscii = 13 Then Debug.Print \"text \" & Text1.Text\nEnd Sub\n"
      "Private Sub Form_Click()\nDebug.Print \"form click\"\nEnd Sub\n"
      "Private Sub Form_DblClick()\nDebug.Print \"double\"\nEnd\nEnd Sub\n");
  p.forms[0].caption = "NativeKeyProbe";
  p.forms[0].controls[0].text = "";
  const fs::path exe = build(p);
  // Text1 is at 10,10 (110x28); the form's empty area is at 300,300.
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeKeyProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; "
      "xdotool mousemove --window \"$w\" 20 20 click 1; sleep 0.2; "
      "xdotool type --window \"$w\" --delay 50 'a1b2'; xdotool key --window \"$w\" Return; sleep 0.2; "
      "xdotool mousemove --window \"$w\" 300 300 click --repeat 2 --delay 80 1; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"), "text Ab\nform click\nform click\ndouble\n");
}

TEST_F(NativeBuild, KeyDownKeyUpAndKeyPreviewRunUnderX) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  // With KeyPreview the form sees each key before the focused text box:
  // KeyDown, KeyPress, KeyUp; Escape ends the program from Form_KeyDown.
  Project p = make_project(
      "Private Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)\n"
      "Debug.Print \"form down \" & KeyCode & \" \" & Shift\nIf KeyCode = 27 Then End\nEnd Sub\n"
      "Private Sub Form_KeyPress(KeyAscii As Integer)\nDebug.Print \"form press \" & KeyAscii\nEnd Sub\n"
      "Private Sub Form_KeyUp(KeyCode As Integer, Shift As Integer)\nDebug.Print \"form up \" & KeyCode\nEnd Sub\n"
      "Private Sub Text1_KeyDown(KeyCode As Integer, Shift As Integer)\nDebug.Print \"text down \" & KeyCode\nEnd Sub\n"
      "Private Sub Text1_KeyPress(KeyAscii As Integer)\nDebug.Print \"text press \" & KeyAscii\nEnd Sub\n"
      "Private Sub Text1_KeyUp(KeyCode As Integer, Shift As Integer)\nDebug.Print \"text up \" & KeyCode\nEnd Sub\n");
  p.forms[0].caption = "NativeKeyDownProbe";
  p.forms[0].key_preview = true;
  p.forms[0].controls[0].text = "";
  const fs::path exe = build(p);
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeKeyDownProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; "
      "xdotool mousemove --window \"$w\" 20 20 click 1; sleep 0.2; "
      "xdotool key --window \"$w\" a; sleep 0.3; xdotool key --window \"$w\" Escape; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"),
            "form down 65 0\ntext down 65\nform press 97\ntext press 97\nform up 65\ntext up 65\nform down 27 0\n");
}

TEST_F(NativeBuild, ControlArrayMembersRaiseClickWithTheirIndexUnderX) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool missing";
  Project p = make_project("Private Sub cmdKey_Click(Index As Integer)\nDebug.Print \"click \" & Index\n"
                           "If Index = 7 Then End\nEnd Sub\n");
  p.forms[0].caption = "NativeArrayProbe";
  for (int index : {3, 7}) {
    Control& c = p.forms[0].new_control("CommandButton", index == 3 ? 200 : 340, 50);
    c.name = "cmdKey";
    c.index = index;
  }
  const fs::path exe = build(p);
  // cmdKey(3) is at 200,50 and cmdKey(7) at 340,50 (110x28 each).
  const std::string script =
      "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
      "for i in $(seq 1 100); do w=$(xdotool search --name NativeArrayProbe 2>/dev/null | head -1); "
      "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; "
      "xdotool mousemove --window \"$w\" 220 60 click 1; sleep 0.3; "
      "xdotool mousemove --window \"$w\" 360 60 click 1; "
      "for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill $pid 2>/dev/null; wait $pid; echo status=$?";
  const CommandResult r = run_command({"bash", "-c", script});
  EXPECT_EQ(r.out, "status=0\n");
  EXPECT_EQ(slurp(dir / "out.txt"), "click 3\nclick 7\n");
}

TEST_F(NativeBuild, RefusalsNameTheFileAndLine) {
  // The line of the file as saving writes the module (its code as it is).
  const std::string message =
      error_of([&] { build(main_project("Sub Main()\nDim x\nGet #1, x\nEnd Sub\n")); });
  EXPECT_EQ(message,
            "Module1.Main, statement 2: Get #1, x: This file statement is not yet available in native builds: "
            "Get #1, x\n"
            "    at Module1.bas, line 3");
}

TEST_F(NativeBuild, TypedArraysConvertOnStoreAndErase) {
  // Elements of a typed array hold their type: stores round halves to
  // even and check the range, whichever path stores them.
  const fs::path exe = build(main_project(
      "Sub Put1(arr, ByVal v)\narr(1) = v\nEnd Sub\n"
      "Sub Main()\n"
      "Dim a(3) As Long, b(2) As Byte, d() As Double, f(1) As Boolean, s(1) As String, i As Long\n"
      "a(0) = 2.5: a(1) = 3.5: a(2) = \"12\"\n"
      "Debug.Print a(0) & \" \" & a(1) & \" \" & (a(2) + 1)\n"
      "Put1 a, 7.5\nDebug.Print a(1)\n"
      "f(0) = 5: s(0) = 42\nDebug.Print f(0) & \" \" & (s(0) & \"!\") & \" \" & (s(0) + s(0))\n"
      "ReDim d(2)\nd(1) = 1 / 4\nDebug.Print d(1) & \" \" & d(0)\n"
      "Erase a\nDebug.Print a(1) & \" \" & UBound(a)\n"
      "Erase d\nDebug.Print UBound(d)\n"
      "ReDim d(1)\nd(1) = 3\nDebug.Print d(1)\n"
      "If Environ(\"MODE\") = \"byte\" Then b(0) = 256\n"
      "If Environ(\"MODE\") = \"dynamic\" Then Put1 b, -1\n"
      "If Environ(\"MODE\") = \"bounds\" Then i = 3: b(i) = 1\n"
      "If Environ(\"MODE\") = \"read\" Then i = -1: Debug.Print a(i)\n"
      "Debug.Print \"done\"\nEnd\nEnd Sub\n"));
  CommandResult r = run(exe, {"MODE=none"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 4 13\n8\nTrue 42! 84\n0.25 0\n0 3\n-1\n3.0\ndone\n");
  for (const auto& [mode, message] : std::vector<std::pair<std::string, std::string>>{
           {"byte", "Overflow for byte"},
           {"dynamic", "Overflow for byte"},
           {"bounds", "Subscript out of range: b"},
           {"read", "Subscript out of range: a"}}) {
    r = run(exe, {"MODE=" + mode});
    EXPECT_EQ(r.status, 1) << mode;
    EXPECT_EQ(r.err, "VB native runtime: " + message + "\n") << mode;
  }
}

TEST_F(NativeBuild, ControlArraysWithBlocksAndNestedMenus) {
  // Members of a control array by index, the array's Count and bounds,
  // members loaded and unloaded at run time, members that do not exist, With on records and controls, a form
  // variable, menus nested two levels deep and handlers of events the
  // runtime never raises (ordinary procedures, called here directly).
  Project p = make_project(
      "Private Type Pos\nX As Integer\nY As Integer\nEnd Type\n"
      "Private Sub Form_Load()\nDim i As Integer, p As Pos\nDim f As New Form1\n"
      "For i = cmdKey.LBound To cmdKey.UBound Step 4\ncmdKey(i).Caption = cmdKey(i).Caption & i\nNext i\n"
      "Debug.Print cmdKey.Count; cmdKey.LBound; cmdKey.UBound; \" \" & cmdKey(3).Caption & cmdKey(7).Caption\n"
      "With p\n.X = 4\n.Y = .X * 2\nDebug.Print .X + .Y\nEnd With\n"
      "With Text1\n.Text = \"w\" & .Text\nDebug.Print .Text; Len(.Text)\nEnd With\n"
      "f.Caption = \"renamed\"\nDebug.Print Me.Caption\n"
      "Dim c As Integer\nForm_QueryUnload c, 0\nDebug.Print \"cancel \" & c\n"
      "mnuDeep.Checked = True\nmnuRecent(1).Caption = \"b.txt\"\n"
      "Debug.Print mnuDeep.Checked; mnuRecent(1).Caption; mnuRecent(0).Caption; mnuSub.Enabled\n"
      "Screen.MousePointer = 11\nDebug.Print Screen.TwipsPerPixelX; Screen.Width > 0; Screen.MousePointer\n"
      "Load cmdKey(9)\nDebug.Print cmdKey.Count; cmdKey.UBound; cmdKey(9).Caption; cmdKey(9).Visible\n"
      "Unload cmdKey(9)\nDebug.Print cmdKey.Count\n"
      "cmdKey(5).Caption = \"x\"\nEnd Sub\n"
      "Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)\nCancel = 1\nEnd Sub\n"
      "Private Sub cmdKey_Click(Index As Integer)\nDebug.Print Index\nEnd Sub\n"
      "Private Sub Text1_GotFocus()\nEnd Sub\n"
      "Private Sub mnuDeep_Click()\nEnd Sub\n");
  p.forms[0].controls[0].text = "t";
  for (int index : {3, 7}) {
    Control& c = p.forms[0].new_control("CommandButton", 10 + 40 * index, 100);
    c.name = "cmdKey";
    c.caption = "k";
    c.index = index;
  }
  MenuItem deep{"mnuDeep", "Deep"};
  MenuItem recent0{"mnuRecent", "a.txt"}, recent1{"mnuRecent", "-"};
  recent0.index = 0;
  recent1.index = 1;
  MenuItem sub{"mnuSub", "Sub", {deep, recent0, recent1}};
  p.forms[0].menus.push_back(MenuItem{"mnuTop", "Top", {sub}});
  const CommandResult r = run(build(p));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "237 k3k7\n12\nwt2\nrenamed\ncancel 1\nTrueb.txta.txtTrue\n15True11\n39k3False\n2\n");
  EXPECT_NE(r.err.find("Control array element '5' doesn't exist"), std::string::npos) << r.err;
}

TEST_F(NativeBuild, SubMainThatShowsAFormRunsOnWhileItIsOpen) {
  // The program does not end with Sub Main: the Timer of the shown form
  // still ticks.
  Project p = make_project("Private Sub Tick_Timer()\nDebug.Print \"still running\"\nEnd\nEnd Sub\n",
                           {{"Module1", "Sub Main()\nForm1.Show\nDebug.Print \"shown\"\nEnd Sub\n"}});
  p.startup = "Sub Main";
  p.forms[0].new_control("Timer", 0, 0).name = "Tick";
  p.forms[0].controls.back().interval = 50;
  const CommandResult r = run(build(p));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "shown\nstill running\n");
}

TEST_F(NativeBuild, PrivateNamesOfTwoModulesStayApart) {
  // Two modules declare the same Private variable and constant: each
  // module sees its own; a parameter of that name is the parameter.
  Project p = make_project("", {{"Module1", "Private mCount As Integer\nPrivate Const LABEL = \"main\"\n"
                                            "Sub Bump(mCount)\nmCount = mCount + 100\nEnd Sub\n"
                                            "Sub Main()\nDim k As Integer\nFor mCount = 1 To 3\nOther.Add mCount\nNext mCount\n"
                                            "Debug.Print LABEL & \" \" & mCount & \" \" & Other.Report()\n"
                                            "k = 5\nBump k\nDebug.Print k & \" \" & mCount\nEnd Sub\n"},
                                {"Other", "Private mCount As Integer\nPrivate Const LABEL = \"other\"\n"
                                          "Public Sub Add(ByVal n As Integer)\nmCount = mCount + n\nEnd Sub\n"
                                          "Public Function Report() As String\nReport = LABEL & \" \" & mCount\nEnd Function\n"}});
  p.startup = "Sub Main";
  const CommandResult r = run(build(p));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "main 3 other 6\n105 3\n");  // (a For variable keeps its last value)
  // The same name declared Public twice stays an error.
  Project twice = make_project("", {{"Module1", "Public mCount\nSub Main()\nEnd Sub\n"}, {"Other", "Public mCount\n"}});
  twice.startup = "Sub Main";
  EXPECT_EQ(error_of([&] { build(twice); }), "Demo: Duplicate module-level identifier mcount");
}

TEST_F(NativeBuild, PublicVariablesOfAFormAreItsMembers) {
  // A dialog form's Public variable, set inside the form and read and set
  // from a module as the form's member.
  Project p = make_project("Public Result As Integer\nPrivate Sub Form_Load()\nResult = 7\nMe.Result = Me.Result + 1\nEnd Sub\n",
                           {{"Module1", "Sub Main()\nLoad Form1\nDebug.Print Form1.Result\nForm1.Result = 3\n"
                                        "Debug.Print Form1.Result * 2\nEnd Sub\n"}});
  p.startup = "Sub Main";
  const CommandResult r = run(build(p));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "8\n6\n");
}

TEST_F(NativeBuild, CommandLine) {
  const std::string tool = tool_path("corvane-native");
  Project p = make_project("Private Sub Form_Load()\nDebug.Print \"cli\"\nEnd\nEnd Sub\n");
  p.name = "My App!";
  const fs::path vbp = save_project(p, dir / "src" / "app.vbp");

  CommandResult r = run_command({tool});
  EXPECT_EQ(r.status, 2);
  r = run_command({tool, "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Compile VB6-style projects to Linux-native machine code"), std::string::npos);
  EXPECT_NE(r.out.find("GCC/Clang or a cross-compiler e.g. aarch64-linux-gnu-gcc"), std::string::npos);
  EXPECT_NE(r.out.find("Keep generated C and support sources at this path"), std::string::npos);
  r = run_command({tool, (dir / "missing.vbp").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());

  const fs::path out = dir / "bin";
  r = run_command({"env", "CC=gcc -O0 -DCORVANE_PROBE=\"1 2\"", tool, vbp.string(), "-o", out.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Compiled native ELF: " + (out / "My_App").string() + "\n");
  EXPECT_TRUE(fs::exists(out / "My_App.native.c"));
  struct stat st {};
  ASSERT_EQ(::stat((out / "My_App").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_EQ(run(out / "My_App").out, "cli\n");

  // --emit-c keeps the generated file with the runtime sources beside it,
  // enough to build it again by hand.
  const fs::path kept = dir / "kept" / "prog.c";
  r = run_command({tool, vbp.string(), "-o", out.string(), "--name", "...", "--cc", "clang", "--emit-c", kept.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Compiled native ELF: " + (out / "VBApplication").string() + "\n");
  EXPECT_TRUE(fs::exists(kept));
  EXPECT_TRUE(fs::exists(kept.parent_path() / "vb_native.c"));
  EXPECT_TRUE(fs::exists(kept.parent_path() / "vb_native.h"));
  EXPECT_FALSE(fs::exists(out / "VBApplication.native.c"));
  // a kept file named without ".c" is still compiled as C, not linked
  const fs::path plain_out = dir / "plain";
  r = run_command({tool, vbp.string(), "-o", plain_out.string(), "--emit-c", (dir / "kept" / "program").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(run(plain_out / "My_App").out, "cli\n");

  r = run_command({tool, vbp.string(), "-o", out.string(), "--cc", "no-such-cc-xyz"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "C compiler not found: no-such-cc-xyz\n");
  r = run_command({tool, vbp.string(), "-o", out.string(), "--cc", " "});
  EXPECT_EQ(r.err, "Compiler command is empty\n");
  r = run_command({tool, vbp.string(), "-o", out.string(), "--cc", "gcc -include /no/such/header.h"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("Native C compilation failed:\n", 0), 0u) << r.err;
  r = run_command({"env", "CORVANE_HOME=" + (dir / "nowhere").string(), tool, vbp.string(), "-o", out.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find((dir / "nowhere" / "native").string()), std::string::npos) << r.err;

  // A translation failure writes no C file.
  p.forms[0].code = "Private Sub Form_Load()\nx = 1 Nand 2\nEnd Sub\n";
  p.name = "Broken";
  const fs::path broken = save_project(p, dir / "broken" / "broken.vbp");
  r = run_command({tool, broken.string(), "-o", (dir / "broken-out").string()});
  EXPECT_EQ(r.status, 1);
  // The form file holds its description first: the code's line 2 is a later line of the file.
  EXPECT_EQ(r.err.rfind("Form1.Form_Load, statement 1: x = 1 Nand 2: Unexpected token: Nand\n"
                        "    at Form1.frm, line ", 0),
            0u)
      << r.err;
  EXPECT_FALSE(fs::exists(dir / "broken-out" / "Broken.native.c"));
}

}  // namespace
}  // namespace corvane
