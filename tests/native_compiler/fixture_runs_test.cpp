// Projects in the shapes VB6 saves (tests/native_compiler/projects) built
// with a real C compiler and run: Sub Main programs by their output, form
// programs under X driven by xdotool. Also module properties, which no
// fixture holds.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/bmp_file.h"
#include "common/run_command.h"
#include "common/temp_folder.h"
#include "helpers.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::make_project;
using testing::run_command;
using testing::slurp;

class NativeFixture : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("corvane-native-fixture-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir);
  }
  fs::path build(const std::string& project) {
    const fs::path vbp = fs::path(NATIVE_PROJECTS) / project / (project + ".vbp");
    return build_native(load_project(vbp), dir / "out");
  }
  // Runs the program in `dir` (its files land there), at most 30 seconds.
  CommandResult run(const fs::path& exe) {
    return run_command({"bash", "-c", "cd '" + dir.string() + "' && timeout 30 '" + exe.string() + "'"});
  }
  // Starts the program, waits for its window titled `title` ($w), runs the
  // xdotool `steps`, then waits for it to end (or ends it); the program's
  // output.
  std::string drive(const fs::path& exe, const std::string& title, const std::string& steps) {
    const std::string script =
        "'" + exe.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1 & pid=$!; "
        "for i in $(seq 1 100); do w=$(xdotool search --name '" + title + "' 2>/dev/null | head -1); "
        "[ -n \"$w\" ] && break; sleep 0.1; done; sleep 0.5; " + steps +
        "; for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; kill $pid 2>/dev/null; wait $pid";
    (void)run_command({"bash", "-c", script});
    return slurp(dir / "out.txt");
  }
  static bool have_xdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }
};

TEST_F(NativeFixture, InventoryKeepsClassObjectsInAKeyedCollection) {
  const CommandResult r = run(build("Inventory"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "A050 Nails (100)   90 108.00 Bolt & Co\n"
            "A100 Hammer        12 114.00 Acme\n"
            "B200 Screwdriver   40 130.00 Bolt & Co\n"
            "C300 Wrench         7 98.00 Acme\n"
            "Value: 450.00\n"
            "After sale: 3 items, 303.25\n"
            "Duplicate key: 457\n"
            "Negative: 380 Quantity cannot be negative\n"
            "Missing: 5\n"
            "A050 Nails (100)   90 108.00 Bolt & Co\n"
            "A100 Hammer        12 114.00 Acme\n"
            "B200 Screwdriver   25 81.25 Bolt & Co\n"
            "Value: 303.25\n");
}

TEST_F(NativeFixture, LogParserReadsAndWritesTextFiles) {
  const CommandResult r = run(build("LogParser"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "service.log 265 bytes\n5 entries, 2 errors, 2 info\n"
            "08:01:17\tcannot open C:/data/input.csv\n08:03:30\ttimeout after 30 s\n"
            "Info=2; Warn=1; Error=2\n40.0%\n");
  EXPECT_FALSE(fs::exists(dir / "service.log"));  // removed by the program (Kill)
}

TEST_F(NativeFixture, ToolkitOptionalParamArrayStaticAndErrorHandlers) {
  const CommandResult r = run(build("Toolkit"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "red, green, 42\n[ab   ][   ab][007]\n2left\n3.5False\n0Truedivision by zero\n"
            "ticket1\nticket2\nticket3\n12            -1            0\n"
            "ok after 3 ok after 1 gave up after 1001\n"
            "2024-02-28    2024-03-01\n32            4             2             2024\n"
            "13:05:09      13\nFalse         True\nTrue          True\nToolkit done\n");
}

TEST_F(NativeFixture, MemoFormPropertiesAndARecentFilesMenuArrayUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // Form_Load loads a second member of mnuRecent; the File menu's drop-down
  // then shows New, -, the two recent files, -, Exit (23 pixels apart
  // from 25). Choosing the second file sets the FileName property.
  const std::string out = drive(build("Memo"), "Untitled - Memo",
                                "xdotool mousemove --window \"$w\" 15 12 click 1; sleep 0.3; "
                                "xdotool mousemove --window \"$w\" 20 104 click 1; sleep 0.3; "
                                "xdotool mousemove --window \"$w\" 15 12 click 1; sleep 0.3; "
                                "xdotool mousemove --window \"$w\" 20 150 click 1");
  EXPECT_EQ(out, "todo.txt - Memo 2 1 (2 recent) todo.txt\nbye todo.txt\n");
}

TEST_F(NativeFixture, EntryFormTabsBetweenBoxesAndSendKeysMovesOnUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // The form starts with the focus in the first box in tab order; Enter
  // there sends "{TAB}"; Shift+Tab goes back (LostFocus and GotFocus each
  // time). Enter in the second box prints both and sends "+(ok)", whose
  // "K" ends the program.
  const std::string out = drive(build("EntryForm"), "Quick entry",
                                "xdotool type --window \"$w\" ann; "
                                "xdotool key --window \"$w\" Return; sleep 0.3; "
                                "xdotool type --window \"$w\" rome; xdotool key --window \"$w\" shift+Tab; "
                                "xdotool type --window \"$w\" e; xdotool key --window \"$w\" Tab Return");
  EXPECT_EQ(out, "left name\ncity\nleft name\ncity\nanne|rome\ndone: romeO\n");
}

TEST_F(NativeFixture, TodoListChoosesDrawnItemsAndKeepsItemDataUnderX) {
  if (!have_xdotool()) GTEST_SKIP() << "xdotool missing";
  // The list box is at 8,40; its second row ("Call Anna [High]", whose
  // ItemData marks it high) is chosen, removed, and High then finds none.
  const std::string out = drive(build("TodoList"), "To do",
                                "xdotool mousemove --window \"$w\" 50 66 click 1; sleep 0.3; "
                                "xdotool mousemove --window \"$w\" 290 98 click 1; sleep 0.3; "
                                "xdotool mousemove --window \"$w\" 290 130 click 1; "
                                "for i in $(seq 1 100); do b=$(xdotool search --name 'High priority' | head -1); "
                                "[ -n \"$b\" ] && break; sleep 0.1; done; sleep 0.3; xdotool key --window \"$b\" Return");
  EXPECT_EQ(out, "3 task(s) -1\n3 task(s) 1\n2 task(s) -1\nHigh priority: (none)\n");
}

TEST(NativeModuleProperties, GetLetAndSetWithIndexesRunAsProcedures) {
  Project p = make_project(
      "", {{"Module1",
            "Private mName As String\nPrivate mScores(1 To 3) As Long\nPrivate mOwner As Collection\n"
            "Private mChanges As Long\n"
            "Public Property Get Title() As String\nTitle = \"[\" & mName & \"]\"\nEnd Property\n"
            "Public Property Let Title(ByVal s As String)\nmName = UCase$(s)\nmChanges = mChanges + 1\nEnd Property\n"
            "Public Property Get Score(ByVal i As Integer) As Long\nScore = mScores(i)\nEnd Property\n"
            "Public Property Let Score(ByVal i As Integer, ByVal v As Long)\n"
            "If v < 0 Then Err.Raise 380, , \"Invalid property value\"\nmScores(i) = v\nEnd Property\n"
            "Public Property Get Owner() As Collection\nSet Owner = mOwner\nEnd Property\n"
            "Public Property Set Owner(c As Collection)\nSet mOwner = c\nEnd Property\n"
            "Public Property Get Changes() As Long\nChanges = mChanges\nEnd Property\n"
            "Sub Main()\nDim c As Collection\n"
            "Debug.Print Title & \" \" & Changes\n"
            "Title = \"abc\"\nTitle = Title & \"d\"\nDebug.Print Title & \" \" & Changes & \" \" & Module1.Title\n"
            "Score(2) = 40\nScore(3) = Score(2) + 2\nDebug.Print Score(1) & \" \" & Score(2) & \" \" & Score(3)\n"
            "Set c = New Collection\nc.Add \"x\"\nSet Owner = c\nOwner.Add \"y\"\n"
            "Debug.Print Owner.Count & \" \" & c.Count & \" \" & Owner.Item(2)\n"
            "On Error Resume Next\nScore(1) = -5\nDebug.Print Err.Number & \" \" & Score(1)\nEnd Sub\n"}});
  p.startup = "Sub Main";
  const fs::path out = fs::temp_directory_path() / ("corvane-native-props-" + std::to_string(::getpid()));
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(r.status, 0) << r.err;
  // "[ABC]" then "[[ABC]D]": the Let stores what the Get gave, plus "d".
  EXPECT_EQ(r.out, "[] 0\n[[ABC]D] 2 [[ABC]D]\n0 40 42\n2 2 y\n380 0\n");
}

TEST(NativeFormProcedures, AnotherFormsProceduresLoadItFirst) {
  // Form2's Sub and Function called from a module and from Form1: Form2's
  // Load event runs once, before the first call; Load Form1 loads without
  // showing.
  Project p = make_project("Private Sub Form_Load()\nDebug.Print \"load 1\"\nEnd Sub\n"
                           "Public Sub Ask()\nForm2.Refill 1\nDebug.Print Form2.Twice(Form2.Count)\nEnd Sub\n",
                           {{"Module1", "Sub Main()\nForm2.Refill 3\nDebug.Print Form2.Twice(4) & \" \" & Form2.Count\n"
                                        "Load Form1\nForm1.Ask\nDebug.Print Form1.Visible\nEnd Sub\n"}});
  VBForm second = p.forms[0];
  second.name = "Form2";
  second.code = "Private n As Long\nPrivate Sub Form_Load()\nDebug.Print \"load 2\"\nEnd Sub\n"
                "Public Sub Refill(ByVal k As Long)\nn = n + k\nDebug.Print \"refill \" & k\nEnd Sub\n"
                "Public Function Twice(ByVal k As Long) As Long\nTwice = 2 * k\nEnd Function\n"
                "Public Function Count() As Long\nCount = n\nEnd Function\n";
  p.forms.push_back(second);
  p.startup = "Sub Main";
  const fs::path out = fs::temp_directory_path() / ("corvane-native-forms-" + std::to_string(::getpid()));
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "load 2\nrefill 3\n8 3\nload 1\nrefill 1\n8\nFalse\n");
}

TEST(NativeFormProcedures, FormsAsValuesInForEachAndUnload) {
  // Forms holds the loaded forms; a form variable reaches the form's
  // members and Unload takes it; Me as a value is the procedure's form.
  Project p = make_project("Public Function Self() As Form\nSet Self = Me\nEnd Function\n",
                           {{"Module1", "Sub Main()\nDim f As Form, g As Form\nLoad Form1\nLoad Form2\n"
                                        "For Each f In Forms\nDebug.Print f.Name & \" \" & f.Caption\nNext\n"
                                        "Set g = Form2\ng.Caption = \"second\"\nDebug.Print Form2.Caption & \" \" & TypeName(g)\n"
                                        "Unload g\nFor Each f In Forms\nDebug.Print \"left \" & f.Name\nNext\n"
                                        "Debug.Print Form1.Self.Name\nEnd Sub\n"}});
  VBForm second = p.forms[0];
  second.name = "Form2";
  second.caption = "Two";
  second.code = "";
  p.forms.push_back(second);
  p.forms[0].caption = "One";
  p.startup = "Sub Main";
  const fs::path out = fs::temp_directory_path() / ("corvane-native-formvalues-" + std::to_string(::getpid()));
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Form1 One\nForm2 Two\nsecond Form2\nleft Form1\nForm1\n");
}

TEST(NativeGraphics, StepCurrentPointAndClsFollowVB) {
  // Line ends at its second point, Step counts from the current point, a
  // Line without a first point starts there; Circle moves it to its centre;
  // Cls returns it to 0. A picture box's ScaleWidth is its width.
  Project p = make_project("Public Sub Draw()\n"
                           "Picture1.Line (10, 10)-Step(5, 7), vbRed\n"
                           "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                           "Picture1.PSet Step(1, 1)\n"
                           "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                           "Picture1.Line -(40, 2), , BF\n"
                           "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                           "Picture1.Circle (3, 4), 2\n"
                           "Debug.Print Picture1.CurrentX & \" \" & Picture1.ScaleWidth\n"
                           "Picture1.Cls\nDebug.Print Picture1.CurrentX\n"
                           "Line (1, 1)-(5, 5)\nDebug.Print Form1.CurrentX\nEnd Sub\n",
                           {{"Module1", "Sub Main()\nForm1.Draw\nEnd Sub\n"}});
  p.startup = "Sub Main";
  p.forms[0].new_control("PictureBox", 10, 10).name = "Picture1";
  p.forms[0].controls.back().width = 120;
  const fs::path out = fs::temp_directory_path() / ("corvane-native-gfx-" + std::to_string(::getpid()));
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "15,17\n16,18\n40,2\n3 120\n0\n5\n");
  // Print draws the line at the current point and moves it: down a line
  // at the end of the list, along the text when the list ends open.
  Project printing = p;
  printing.forms[0].code = "Public Sub Draw()\nPrint \"ab\";\nDebug.Print (CurrentX > 0) & \" \" & CurrentY\n"
                           "Me.Print\nDebug.Print CurrentX & \" \" & (CurrentY > 0)\n"
                           "Picture1.Print \"x\", 2\nDebug.Print Picture1.CurrentX & \" \" & (Picture1.CurrentY > 0)\n"
                           "End Sub\n";
  const CommandResult printed = run_command({"timeout", "30", build_native(printing, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(printed.status, 0) << printed.err;
  EXPECT_EQ(printed.out, "True 0\n0 True\n0 True\n");
  // Other shapes of arguments are refused when building.
  Project bad = p;
  bad.forms[0].code = "Sub Draw()\nPicture1.Line (1, 2)-(3, 4), 0, X\nEnd Sub\n";
  EXPECT_NE(testing::error_of([&] { (void)NativeCompiler(bad).emit(); }).find("Unsupported Line arguments"),
            std::string::npos);
}

TEST(NativeGraphics, ScaleGivesASurfaceItsOwnUnits) {
  // Scale (-10, 5)-(10, -5): points, CurrentX/CurrentY and the Scale
  // properties in those units; Scale alone returns to pixels.
  Project p = make_project("Public Sub Draw()\nPicture1.Scale (-10, 5)-(10, -5)\n"
                           "Picture1.Line (-10, 0)-(10, 0)\nPicture1.Circle (0, 0), 2\nPicture1.PSet Step(5, 2.5)\n"
                           "Debug.Print Picture1.ScaleLeft & \" \" & Picture1.ScaleWidth & \" \" & Picture1.ScaleHeight & "
                           "\" \" & Picture1.ScaleMode & \" \" & Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                           "Picture1.Scale\nDebug.Print Picture1.ScaleMode & \" \" & Picture1.ScaleLeft & \" \" & "
                           "Picture1.ScaleWidth\nScale (0, 0)-(1, 1)\nDebug.Print ScaleWidth & \" \" & ScaleMode\n"
                           "On Error Resume Next\nScale (1, 1)-(1, 2)\nDebug.Print Err.Number\nEnd Sub\n",
                           {{"Module1", "Sub Main()\nForm1.Draw\nEnd Sub\n"}});
  p.startup = "Sub Main";
  p.forms[0].new_control("PictureBox", 10, 10).name = "Picture1";
  p.forms[0].controls.back().width = 200;
  p.forms[0].controls.back().height = 100;
  const fs::path out = fs::temp_directory_path() / ("corvane-native-scale-" + std::to_string(::getpid()));
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  fs::remove_all(out);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "-10 20 -10 0 5,2.5\n3 0 200\n1 0\n5\n");
}

TEST(NativePictures, LoadPictureSizesImagesAndRefusesWhatIsNoPicture) {
  // An Image takes its picture's size; a missing file is error 53, a file
  // that is no picture 481, as interpreted.
  testing::TempFolder folder("corvane-native-pictures-");
  const std::string dir = folder.path().string();
  testing::write_file(dir + "/red.bmp", testing::solid_bmp(7, 5, 255, 0, 0));
  testing::write_file(dir + "/broken.bmp", "BM not really a picture");
  Project p = make_project(
      "Public Sub Load(ByVal f As String)\nImage1.Picture = LoadPicture(f)\n"
      "Debug.Print Image1.Width & \"x\" & Image1.Height & \" \" & TypeName(Image1.Picture)\n"
      "Set Picture1.Picture = LoadPicture(f)\nMe.Picture = LoadPicture()\nEnd Sub\n",
      {{"Module1", "Sub Main()\nForm1.Load \"" + dir + "/red.bmp\"\nOn Error Resume Next\nForm1.Load \"" + dir +
                       "/missing.bmp\"\nDebug.Print Err.Number\nErr.Clear\nForm1.Load \"" + dir +
                       "/broken.bmp\"\nDebug.Print Err.Number\nEnd Sub\n"}});
  p.startup = "Sub Main";
  p.forms[0].new_control("Image", 10, 10).name = "Image1";
  p.forms[0].new_control("PictureBox", 60, 10).name = "Picture1";
  const fs::path out = folder.path() / "out";
  const CommandResult r = run_command({"timeout", "30", build_native(p, out).string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "7x5 Picture\n53\n481\n");
}

}  // namespace
}  // namespace corvane
