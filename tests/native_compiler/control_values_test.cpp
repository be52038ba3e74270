// Controls held in variables, passed to procedures and listed by
// Me.Controls; modal dialogs; option groups; bare form properties. Built
// with a real C compiler and run under X: Sub Main programs by their
// output, the form projects of tests/native_compiler/projects driven by
// xdotool.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/run_command.h"
#include "helpers.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::make_project;
using testing::run_command;
using testing::slurp;

class NativeControls : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("corvane-native-controls-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir);
  }
  fs::path fixture(const std::string& project) {
    const fs::path vbp = fs::path(NATIVE_PROJECTS) / project / (project + ".vbp");
    return build_native(load_project(vbp), dir / "out");
  }
  CommandResult run(const Project& p) {
    return run_command({"bash", "-c", "cd '" + dir.string() + "' && timeout 30 '" +
                                          build_native(p, dir / "out").string() + "'"});
  }
  // Starts the program, waits for its window titled `title` ($w), runs the
  // xdotool `steps`, then waits for it to end (or ends it); its output.
  std::string drive(const fs::path& exe, const std::string& title, const std::string& steps) {
    const std::string script =
        "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
        "for i in $(seq 1 100); do w=$(xdotool search --name '" + title + "' 2>/dev/null | head -1); "
        "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; " + steps +
        "\nfor i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; kill $pid 2>/dev/null; wait $pid";
    (void)run_command({"bash", "-c", script});
    return slurp(dir / "out.txt");
  }
  static bool have_xdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }
  // xdotool steps: a click at x, y of the window $w, then a pause.
  static std::string click(int x, int y) {
    return "xdotool mousemove --window \"$w\" " + std::to_string(x) + " " + std::to_string(y) +
           " click 1; sleep 0.3; ";
  }
  // Presses Return in the newest window titled `title` (a message box).
  static std::string answer(const std::string& title) {
    return "sleep 0.3; b=$(xdotool search --name '^" + title + "$' | tail -1); xdotool key --window \"$b\" Return; "
           "sleep 0.3; ";
  }
};

// A form with an option group in a frame, a second group on the form, a
// text box, a label and a button.
Project controls_project(const std::string& form_code, const std::string& module_code) {
  Project p = make_project(form_code, {{"Module1", module_code}});
  p.startup = "Sub Main";
  VBForm& f = p.forms[0];
  f.controls.clear();
  f.new_control("Frame", 0, 0).name = "fraSize";
  for (int k = 0; k < 3; ++k) {
    Control& o = f.new_control("OptionButton", 4, 20 * k);
    o.name = "optSize";
    o.index = k;
    o.container = "fraSize";
  }
  for (int k = 0; k < 2; ++k) {
    Control& o = f.new_control("OptionButton", 200, 20 * k);
    o.name = "optKind";
    o.index = k;
  }
  f.new_control("TextBox", 10, 100).name = "txtName";
  f.new_control("Label", 10, 140).name = "lblInfo";
  f.new_control("CommandButton", 10, 180).name = "cmdGo";
  return p;
}

TEST_F(NativeControls, ControlVariablesParametersAndTheControlsList) {
  Project p = controls_project(
      "Public Sub Fill(t As TextBox, ByVal s As String)\nt.Text = s\nEnd Sub\n"
      "Public Function Count(ByVal kind As String) As Integer\nDim c As Control\n"
      "For Each c In Me.Controls\nIf TypeName(c) = kind Then Count = Count + 1\nNext\nEnd Function\n"
      "Public Sub Clear()\nDim c As Control\nFor Each c In Controls\n"
      "If TypeOf c Is TextBox Then c.Text = \"\"\nIf TypeOf c Is Label Then c.Caption = \"-\"\nNext\nEnd Sub\n"
      "Private Sub cmdGo_Click()\nDebug.Print \"go \" & txtName\nEnd Sub\n"
      "Public Sub Report()\nDim t As TextBox, o As Object\nSet t = txtName\n"
      "Fill txtName, \"Ada\"\nDebug.Print t.Text & \" \" & txtName & \" \" & (t Is txtName) & \" \" & TypeName(t)\n"
      "lblInfo = txtName & \"!\"\nDebug.Print lblInfo.Caption & \" \" & Controls.Count & \" \" & Count(\"OptionButton\")\n"
      "Set o = optSize(2)\nDebug.Print o.Index & \" \" & o.Name & \" \" & optSize.Count & \" \" & optSize.UBound\n"
      "cmdGo.Value = True\nClear\nDebug.Print \"[\" & txtName.Text & \"] \" & lblInfo & \" \" & t.Name\n"
      "txtName.Move 5, 6, 70\nDebug.Print txtName.Left & \",\" & txtName.Top & \",\" & txtName.Width\n"
      "Move 300, 450\nDebug.Print Left & \",\" & Me.Top\nEnd Sub\n",
      "Sub Main()\nDim f As Form\nLoad Form1\nForm1.Report\nForm1.txtName.Text = \"x\"\n"
      "Debug.Print Form1.txtName & \" \" & Form1.optSize(1).Index & \" \" & TypeName(Form1.Controls(0))\n"
      "Set f = Form1\nf.txtName.Text = f.txtName.Text & \"y\"\n"
      "Debug.Print f.txtName.Text & \" \" & f.Controls.Count & \" \" & f.optSize(2).Index & \" \" & f.Controls(1).Name\n"
      "Form1.txtName.Move 1, 2\nf.txtName.Move 3\nDebug.Print Form1.txtName.Left & \",\" & f.txtName.Top\n"
      "End Sub\n");
  const CommandResult r = run(p);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Ada Ada True TextBox\n"
            "Ada! 9 5\n"
            "2 optSize 3 2\n"
            "go Ada\n"
            "[] - txtName\n"
            "5,6,70\n"
            "300,450\n"
            "x 1 Frame\n"
            "xy 9 2 optSize\n"
            "3,2\n");
}

TEST_F(NativeControls, OptionButtonsOfAGroupExcludeEachOtherAndReadTrue) {
  // Choosing one option clears the others of its container only; Value
  // reads True or False, so "o.Value = True" finds the chosen one.
  Project p = controls_project(
      "Public Function Chosen(opts As Object) As Integer\nDim o As OptionButton\nChosen = -1\n"
      "For Each o In opts\nIf o.Value = True Then Chosen = o.Index\nNext\nEnd Function\n"
      "Public Sub Report()\nDebug.Print Chosen(optSize) & \" \" & Chosen(optKind)\nEnd Sub\n",
      "Sub Main()\nLoad Form1\nForm1.optSize(0).Value = True\nForm1.optKind(1).Value = True\nForm1.Report\n"
      "Form1.optSize(2).Value = True\nForm1.Report\nDebug.Print Form1.optSize(0).Value & \" \" & "
      "Form1.optKind(1).Value\nUnload Form1\nEnd Sub\n");
  const CommandResult r = run(p);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0 1\n2 1\nFalse True\n");
}

TEST_F(NativeControls, BareFormPropertiesAppAndWhatADeclaredNameHides) {
  Project p = controls_project(
      "Public Sub Report()\nCaption = \"Set \" & App.Title\nDebug.Print Me.Caption & \" \" & Caption & \" \" & "
      "ScaleWidth\nKeyPreview = True\nDebug.Print KeyPreview & \" \" & (App.Path <> \"\") & \" \" & App.EXEName\n"
      "Helper\nEnd Sub\n"
      "Private Sub Helper()\nDim Width As Long\nWidth = 5\nDebug.Print Width & \" \" & Me.Width\nEnd Sub\n",
      "Sub Main()\nLoad Form1\nForm1.Report\nEnd Sub\n");
  p.name = "Probe";
  p.forms[0].width = 300;
  const CommandResult r = run(p);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Set Probe Set Probe 300\nTrue True Probe\n5 300\n");
}

TEST_F(NativeControls, ContactsClearsTextBoxesThroughControlVariablesUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // Clear empties every text box found in Me.Controls; Save checks the
  // required boxes through a helper taking a TextBox, then saves.
  const std::string out = drive(fixture("Contacts"), "Contacts",
                                click(200, 130) + click(100, 15) + "xdotool type --window \"$w\" Bob; sleep 0.2; " +
                                    click(100, 130) + click(100, 43) + "xdotool type --window \"$w\" 123; sleep 0.2; " +
                                    click(100, 130));
  EXPECT_EQ(out,
            "load Name=Ada;Phone=555-0100; TextBox True\n"
            "cleared \n"
            "Phone is required\n"
            "saved Name=Bob;Phone=123;\n");
}

TEST_F(NativeControls, LogonWaitsForTheModalDialogUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // The main form's Load shows the login dialog modally and reads its
  // public variables once the dialog hides; a wrong password answers with
  // a message box. The main form then shows with the user's name.
  const std::string out =
      drive(fixture("Logon"), "Login - Logon",
            click(100, 47) + "xdotool type --window \"$w\" wrong; " + click(110, 85) + answer("Login") +
                click(100, 47) + "xdotool key --window \"$w\" BackSpace BackSpace BackSpace BackSpace BackSpace; "
                "xdotool type --window \"$w\" secret; " + click(110, 85) +
                "sleep 0.3; w=$(xdotool search --name 'Logon - guest' | head -1); " + click(200, 68));
  EXPECT_EQ(out, "asking\nLogin: Invalid password, try again!\nLogon - guest\nbye guest\n");
}

TEST_F(NativeControls, SurveyReadsOptionGroupsPassedAsObjectsUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // Large (in the Size frame), then Submit: the Yes/No box is answered
  // Yes; Reset clears every option and check box found in Controls.
  const std::string out = drive(fixture("Survey"), "Survey - Anonymous",
                                click(150, 66) + click(40, 160) + answer("Survey") + click(180, 160) +
                                    click(40, 160) + answer("Visual Basic"));
  EXPECT_EQ(out,
            "Survey: Send for Anonymous?\n"
            "Anonymous: 18 to 64, Large, France, []\n"
            "reset 1 -1\n"
            "Visual Basic: Please choose a size\n"
            "no size\n");
}

TEST_F(NativeControls, StopwatchLoadsAndUnloadsLabelsFromItsTimerUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  const std::string out = drive(fixture("Stopwatch"), "Stopwatch", click(30, 55) + "sleep 1; " + click(200, 55));
  EXPECT_EQ(out,
            "lap 1: 00:00.3 of 2\n"
            "lap 2: 00:00.5 of 3\n"
            "stopped at 00:00.5 reset True\n"
            "reset 1\n");
}

TEST_F(NativeControls, KeypadPassesItsControlArrayAndPreviewsKeysUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  const std::string out =
      drive(fixture("Keypad"), "Keypad",
            "xdotool type --window \"$w\" 1234; xdotool key --window \"$w\" BackSpace Return; sleep 0.3; " +
                click(20, 230) + "xdotool type --window \"$w\" 55; xdotool key --window \"$w\" Return; sleep 0.3; " +
                click(20, 230));
  EXPECT_EQ(out, "keys 10 0-9 at 600\nentered 123\nlocked 1 False\nentered \nlocked 0 True\n");
}

TEST_F(NativeControls, ColoursPresetsFromAnOptionArrayUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // Green (QBColor 10), Yellow (RGB), Invert, then the form takes the colour.
  const std::string out = drive(fixture("Colours"), "Colour picker",
                                click(175, 120) + click(255, 120) + click(130, 155) + click(20, 155));
  EXPECT_EQ(out, "&H00FF00 preset 2\n&H00FFFF preset 3\n&HFF0000 preset 3\nform FF0000\n");
}

TEST_F(NativeControls, NotesLaysItselfOutWhenTheWindowIsResizedUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // Form_Resize runs when the form is shown and again at the window's new
  // size, which ScaleWidth and ScaleHeight then give; Escape (seen first
  // by the form, KeyPreview) ends it.
  const std::string out = drive(fixture("Notes"), "Notes",
                                "xdotool windowsize \"$w\" 400 300; sleep 0.5; " + click(100, 40) +
                                    "xdotool type --window \"$w\" ab; xdotool key --window \"$w\" Escape; sleep 0.3");
  EXPECT_EQ(out, "width True True\nresized 312x217 True\nresized 400x300 True\nescape after 3 keys: AB\n");
}

}  // namespace
}  // namespace corvane
