// Forms reaching each other's code (procedures, public variables, Property
// procedures), forms as values (Forms, Dim f As Form, Unload f), Show
// vbModal, and drawing and the mouse on forms and picture boxes.
#include <cmath>

#include "../common/bmp_file.h"
#include "../common/temp_folder.h"
#include "forms_fixture.h"
#include "tk/events.h"

namespace corvane::testing {
namespace {

using FormCodeTest = FormsTest;

TEST_F(FormCodeTest, AnotherFormsProceduresAndVariablesLoadItFirst) {
  add_form("Form1",
           "Sub Go()\nForm2.Refill 3\nDebug.Print Form2.Twice(4) & \" \" & Form2.Count & \" \" & Form2.Total\n"
           "Form2.Total = \"7.6\"\nDebug.Print Form2.Total + 1 & \" \" & Form2.Total\n"
           "Form2.Label = \"abc\"\nDebug.Print Form2.Label & \" \" & Form2.Changes\nEnd Sub\n");
  add_form("Form2",
           "Public Total As Long\nPrivate n As Long\nPrivate mLabel As String\nPrivate mChanges As Long\n"
           "Private Sub Form_Load()\nDebug.Print \"load 2\"\nEnd Sub\n"
           "Public Sub Refill(ByVal k As Long)\nn = n + k\nTotal = Total + 10 * k\nDebug.Print \"refill \" & k\nEnd Sub\n"
           "Public Function Twice(ByVal k As Long) As Long\nTwice = 2 * k\nEnd Function\n"
           "Public Function Count() As Long\nCount = n\nEnd Function\n"
           "Public Property Get Label() As String\nLabel = \"[\" & mLabel & \"]\"\nEnd Property\n"
           "Public Property Let Label(ByVal s As String)\nmLabel = UCase$(s)\nChanges = Changes + 1\nEnd Property\n"
           "Private Property Get Changes() As Long\nChanges = mChanges\nEnd Property\n"
           "Private Property Let Changes(ByVal v As Long)\nmChanges = v\nEnd Property\n");
  auto session = start_session("Form1");
  EXPECT_FALSE(session->preview("Form2"));
  run(*host_->preview, "Go");
  // Form2 loaded (hidden) before the first call; the typed variable keeps its type.
  ASSERT_TRUE(session->preview("Form2"));
  EXPECT_EQ(tcl({"wm", "state", session->preview("Form2")->window}), "withdrawn");
  const std::vector<std::string> expected{"load 2", "refill 3", "8 3 30", "9 8", "[ABC] 1"};
  EXPECT_EQ(logs(), expected);
  // A form's own code reads its Property procedures by bare name and through Me.
  EXPECT_EQ(eval(*session->preview("Form2"), "Label & Me.Label & Changes"), "[ABC][ABC]1");
  run(*session->preview("Form2"), "Me.Label = \"x\"");
  EXPECT_EQ(eval(*host_->preview, "Form2.Label"), "[X]");
  // What the form's code does not have stays an error naming it.
  EXPECT_THROW(run(*host_->preview, "Form2.Nowhere 1"), VBError);
  EXPECT_THROW(run(*host_->preview, "Debug.Print Form2.Missing"), VBError);
}

TEST_F(FormCodeTest, AnotherFormsControlsAreReachedThroughIt) {
  // Form2.txtName reads and sets the control; Form2.lstA.AddItem calls its
  // method; a form's code moves itself with a bare Move.
  add_form("Form1",
           "Sub Go()\nForm2.txtName.Text = \"Ada\"\nForm2.lstA.AddItem \"b\"\nCall Form2.lstA.AddItem(\"a\", 0)\n"
           "Form2.lstA.Move 5, 6\nForm2.Place\n"
           "Debug.Print Form2.txtName.Text & \" \" & Form2.lstA.ListCount & Form2.lstA.List(0) & \" \" & "
           "Form2.lstA.Left & \" \" & Form2.Left\nEnd Sub\n");
  add_form("Form2", "Public Sub Place()\nMove 120, 240\nEnd Sub\n", {{"TextBox", "txtName"}, {"ListBox", "lstA"}});
  auto session = start_session("Form1");
  run(*host_->preview, "Go");
  EXPECT_EQ(logs().back(), "Ada 2a 5 120");
  EXPECT_EQ(eval(*session->preview("Form2"), "txtName.Text & lstA.List(1)"), "Adab");
  EXPECT_THROW(run(*host_->preview, "Form2.lstB.AddItem 1"), VBError);
}

TEST_F(FormCodeTest, UnloadedFormsStartAfreshWhenReachedAgain) {
  add_form("Form1", "");
  add_form("Form2", "Public Hits As Long\nSub Form_Load()\nDebug.Print \"load\"\nEnd Sub\n"
                    "Sub Form_Unload(Cancel As Integer)\nDebug.Print \"unload \" & Hits\nEnd Sub\n");
  auto session = start_session("Form1");
  run(*host_->preview, "Form2.Hits = 5");
  run(*host_->preview, "Unload Form2");
  EXPECT_EQ(eval(*host_->preview, "Form2.Hits"), "0");
  const std::vector<std::string> expected{"load", "unload 5", "load"};
  EXPECT_EQ(logs(), expected);
}

TEST_F(FormCodeTest, ANewFormIsTheFormsOneInstance) {
  add_form("Form1", "Sub About()\nDim f As New Form2\nf.Show\nDebug.Print f.Visible & \" \" & (f Is Form2) & \" \" & f.Hello\n"
                    "Dim g As Form\nSet g = New Form2\nDebug.Print g.Name\nEnd Sub\n");
  add_form("Form2", "Public Function Hello()\nHello = \"hi\"\nEnd Function\n");
  auto session = start_session("Form1");
  run(*host_->preview, "About");
  EXPECT_EQ(logs(), (std::vector<std::string>{"True True hi", "Form2"}));
  ASSERT_TRUE(session->preview("Form2"));
  EXPECT_EQ(tcl({"wm", "state", session->preview("Form2")->window}), "normal");
}

TEST_F(FormCodeTest, FormsAsValuesInForEachAndUnload) {
  add_form("Form1", "Sub Form_Unload(Cancel As Integer)\nDim f As Form\nFor Each f In Forms\n"
                    "If f.Name <> Me.Name Then Unload f\nNext\nEnd Sub\n"
                    "Sub List()\nDim f As Form\nFor Each f In Forms\nDebug.Print f.Name & \" \" & f.Caption\nNext\n"
                    "Debug.Print Forms.Count & \" \" & Forms(0).Name\nEnd Sub\n"
                    "Sub Drop()\nDim g As Form\nSet g = Form3\ng.Caption = \"third\"\nUnload g\nEnd Sub\n");
  add_form("Form2", "Sub Form_Unload(Cancel As Integer)\nDebug.Print \"Form_Unload\"\nEnd Sub\n");
  add_form("Form3", "Sub Form_Unload(Cancel As Integer)\nDebug.Print \"bye 3\"\nEnd Sub\n");
  auto session = start_session("Form1");
  run(*host_->preview, "Load Form3");
  run(*host_->preview, "Load Form2");
  run(*host_->preview, "List");
  // Loaded forms in the order they were loaded.
  const std::vector<std::string> listed{"Form1 Form1", "Form3 Form3", "Form2 Form2", "3 Form1"};
  EXPECT_EQ(logs(), listed);
  logs().clear();
  run(*host_->preview, "Drop");
  EXPECT_EQ(logs(), std::vector<std::string>{"bye 3"});
  EXPECT_FALSE(session->preview("Form3"));
  EXPECT_EQ(eval(*host_->preview, "Forms.Count & \" \" & Form3.Caption"), "2 third");
  // Closing the main form unloads the rest through the loop.
  host_->preview->close();
  EXPECT_EQ(count("Form_Unload"), 1);
  EXPECT_TRUE(session->previews.empty());
  EXPECT_EQ(host_->statuses.back(), "Program stopped");
}

TEST_F(FormCodeTest, ShowModalWaitsUntilTheFormIsHiddenOrUnloaded) {
  add_form("Form1", "Sub Ask()\nForm2.Answer = 0\nForm2.Show vbModal, Me\n"
                    "Debug.Print \"after \" & Form2.Answer & \" \" & Form2.Visible\nUnload Form2\n"
                    "Form3.Show 1\nDebug.Print \"after 3 \" & Forms.Count\nEnd Sub\n");
  VBForm& second = add_form("Form2", "Public Answer As Long\nSub Timer1_Timer()\nTimer1.Enabled = False\n"
                                     "Answer = 42\nMe.Hide\nEnd Sub\n",
                            {{"Timer", "Timer1"}});
  second.controls[0].interval = 20;
  VBForm& third = add_form("Form3", "Sub Timer1_Timer()\nTimer1.Enabled = False\nUnload Me\nEnd Sub\n",
                           {{"Timer", "Timer1"}});
  third.controls[0].interval = 20;
  start_session("Form1");
  run(*host_->preview, "Ask");
  const std::vector<std::string> expected{"after 42 False", "after 3 1"};
  EXPECT_EQ(logs(), expected);
  EXPECT_EQ(tcl({"grab", "current"}), "");
  // Without vbModal the program goes straight on.
  logs().clear();
  run(*host_->preview, "Form2.Show");
  run(*host_->preview, "Debug.Print \"went on \" & Form2.Answer");
  EXPECT_EQ(logs(), std::vector<std::string>{"went on 0"});
}

TEST_F(FormCodeTest, EndingTheRunDuringAModalShowStopsTheCallerQuietly) {
  add_form("Form1", "Sub Command1_Click()\nForm2.Show vbModal\nDebug.Print \"went on\"\nEnd Sub\n",
           {{"CommandButton", "Command1"}});
  VBForm& second = add_form("Form2", "Sub Timer1_Timer()\nTimer1.Enabled = False\nEnd\nEnd Sub\n", {{"Timer", "Timer1"}});
  second.controls[0].interval = 20;
  auto session = start_session("Form1");
  tcl({host_->preview->widget_of("Command1"), "invoke"});
  EXPECT_EQ(count("went on"), 0);
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_TRUE(session->previews.empty());
  ASSERT_FALSE(host_->statuses.empty());
  EXPECT_EQ(host_->statuses.back(), "Program stopped");
}

// The canvas items of a drawing surface: "type coords fill outline" each.
std::vector<std::string> items(FormsTest& t, tk::Interp& in, const std::string& canvas) {
  std::vector<std::string> out;
  for (const tk::Obj& id : in.call_obj({canvas, "find", "all"}).to_list()) {
    const std::string type = in.call({canvas, "type", id});
    std::string fill = in.call({canvas, "itemcget", id, "-fill"});
    std::string line = type + " " + in.call({canvas, "coords", id}) + " " + fill;
    if (type != "line") line += " " + in.call({canvas, "itemcget", id, "-outline"});
    out.push_back(line);
  }
  (void)t;
  return out;
}

TEST_F(FormCodeTest, GraphicsMethodsDrawAndFollowTheCurrentPoint) {
  add_form("Form1", "Public Sub Draw()\n"
                    "Picture1.Line (10, 10)-Step(5, 7), vbRed\n"
                    "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                    "Picture1.PSet Step(1, 1)\n"
                    "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                    "Picture1.Line -(40, 2), , BF\n"
                    "Debug.Print Picture1.CurrentX & \",\" & Picture1.CurrentY\n"
                    "Picture1.FillStyle = 0: Picture1.FillColor = vbBlue: Picture1.DrawWidth = 3\n"
                    "Picture1.Circle (30, 40), 20, vbGreen\n"
                    "Debug.Print Picture1.CurrentX & \" \" & Picture1.ScaleWidth\n"
                    "End Sub\n"
                    "Sub Bare()\nLine (1, 1)-(5, 5)\nMe.Circle (50, 50), 10\nDebug.Print CurrentX & \" \" & Form1.CurrentY\n"
                    "Cls\nDebug.Print CurrentX\nEnd Sub\n"
                    "Sub Names()\nDim Line(3)\nLine(2) = 7\nDim PSet\nPSet = 1\nDebug.Print Line(2) + PSet\nEnd Sub\n",
           {{"PictureBox", "Picture1"}});
  host_->project_.forms[0].controls[0].width = 120;
  start_session("Form1");
  Preview& p = *host_->preview;
  run(p, "Draw");
  const std::vector<std::string> printed{"15,17", "16,18", "40,2", "30 120"};
  EXPECT_EQ(logs(), printed);
  const std::string canvas = tcl({"winfo", "children", p.widget_of("Picture1")});
  ASSERT_FALSE(canvas.empty());
  const std::vector<std::string> drawn{"line 10.0 10.0 15.0 17.0 #ff0000", "rectangle 16.0 18.0 17.0 19.0 #000000 ",
                                       "rectangle 16.0 2.0 40.0 18.0 #000000 #000000",
                                       "oval 10.0 20.0 50.0 60.0 #0000ff #00ff00"};
  EXPECT_EQ(items(*this, interp(), canvas), drawn);
  EXPECT_EQ(tcl({canvas, "itemcget", "4", "-width"}), "3.0");
  run(p, "Picture1.Cls");
  EXPECT_TRUE(items(*this, interp(), canvas).empty());
  EXPECT_EQ(eval(p, "Picture1.CurrentX"), "0");
  // Drawing without an object draws on the form, beneath its controls.
  logs().clear();
  run(p, "Bare");
  EXPECT_EQ(logs(), (std::vector<std::string>{"50 50", "0"}));
  // What the statement cannot draw is refused naming it.
  try {
    run(p, "Picture1.Circle (1, 2), 3, 0, 1, 2");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_NE(std::string(e.what()).find("Unsupported Circle arguments"), std::string::npos) << e.what();
  }
  // Arrays and variables of those names are no drawing.
  logs().clear();
  run(p, "Names");
  EXPECT_EQ(logs(), std::vector<std::string>{"8"});
}

TEST_F(FormCodeTest, ScaleGivesASurfaceItsOwnUnits) {
  // Scale (-10, 5)-(10, -5): x from -10 at the left to 10 at the right, y
  // from 5 at the top down to -5; CurrentX and CurrentY in those units.
  add_form("Form1", "Public Sub Draw()\nPicture1.Scale (-10, 5)-(10, -5)\n"
                    "Picture1.Line (-10, 0)-(10, 0)\nPicture1.Circle (0, 0), 2\nPicture1.PSet Step(5, 2.5)\n"
                    "Debug.Print Picture1.ScaleLeft & \" \" & Picture1.ScaleWidth & \" \" & Picture1.ScaleHeight & \" \" & "
                    "Picture1.CurrentX & \",\" & Picture1.CurrentY\nEnd Sub\n"
                    "Public Sub Back()\nPicture1.Scale\nDebug.Print Picture1.ScaleMode & \" \" & Picture1.ScaleLeft\n"
                    "Picture1.PSet (3, 4)\nEnd Sub\n",
           {{"PictureBox", "Picture1"}});
  host_->project_.forms[0].controls[0].width = 200;
  host_->project_.forms[0].controls[0].height = 100;
  start_session("Form1");
  Preview& p = *host_->preview;
  pump(50);
  run(p, "Draw");
  EXPECT_EQ(logs().back(), "-10 20 -10 5,2.5");
  const std::string canvas = tcl({"winfo", "children", p.widget_of("Picture1")});
  const int64_t w = std::stoll(tcl({"winfo", "width", canvas})), h = std::stoll(tcl({"winfo", "height", canvas}));
  ASSERT_GT(w, 20);
  const auto at = [](int64_t px) { return std::to_string(px) + ".0"; };
  const int64_t r = std::llround(static_cast<double>(w) / 10);  // a radius of 2 across 20 units
  const std::vector<std::string> drawn{
      "line 0.0 " + at(h / 2) + " " + at(w) + " " + at(h / 2) + " #000000",
      "oval " + at(w / 2 - r) + " " + at(h / 2 - r) + " " + at(w / 2 + r) + " " + at(h / 2 + r) + "  #000000",
      "rectangle " + at(w * 3 / 4) + " " + at(h / 4) + " " + at(w * 3 / 4 + 1) + " " + at(h / 4 + 1) + " #000000 "};
  EXPECT_EQ(items(*this, interp(), canvas), drawn);
  // Scale alone: pixels again.
  run(p, "Back");
  EXPECT_EQ(logs().back(), "3 0");
  EXPECT_EQ(items(*this, interp(), canvas).back(), "rectangle 3.0 4.0 4.0 5.0 #000000 ");
  EXPECT_THROW(run(p, "Picture1.Scale (1, 1)-(1, 2)"), VBError);  // no width
}

TEST_F(FormCodeTest, PrintWritesOnTheSurfaceAndMovesTheCurrentPoint) {
  add_form("Form1",
           "Sub Write()\nPrint \"Hi\";\nDebug.Print (CurrentX > 0) & \" \" & CurrentY\n"
           "Me.Print \" there\"\nDebug.Print CurrentX & \" \" & (CurrentY > 0)\n"
           "Picture1.Print \"a\"; 5, \"b\"\nDebug.Print Picture1.CurrentX & \" \" & (Picture1.CurrentY > 0)\n"
           "End Sub\nSub Bad()\nDim n\nn = 3\nn.Print 1\nEnd Sub\n",
           {{"PictureBox", "Picture1"}});
  start_session("Form1");
  Preview& p = *host_->preview;
  run(p, "Write");
  EXPECT_EQ(logs(), (std::vector<std::string>{"True 0", "0 True", "0 True"}));
  // Each line is one text item at the point it was printed at; a comma
  // moves to the next print zone as in Debug.Print.
  const auto texts = [&](const std::string& canvas) {
    std::vector<std::string> out;
    for (const tk::Obj& id : interp().call_obj({canvas, "find", "all"}).to_list())
      out.push_back(tcl({canvas, "type", id}) + " " + tcl({canvas, "itemcget", id, "-text"}));
    return out;
  };
  std::string form_canvas;
  for (const tk::Obj& child : interp().call_obj({"winfo", "children", p.window}).to_list())
    if (tcl({"winfo", "class", child}) == "Canvas") form_canvas = child.str();
  EXPECT_EQ(texts(form_canvas), (std::vector<std::string>{"text Hi", "text  there"}));
  EXPECT_NE(tcl({form_canvas, "coords", "2"}), tcl({form_canvas, "coords", "1"}));
  EXPECT_EQ(texts(tcl({"winfo", "children", p.widget_of("Picture1")})), (std::vector<std::string>{"text a5            b"}));
  run(p, "Cls");
  EXPECT_TRUE(texts(form_canvas).empty());
  // Print on something that is no object is refused naming it.
  try {
    run(p, "Bad");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(std::string(e.what()), "Object required: n.Print");
  }
}

TEST_F(FormCodeTest, FormPaintRunsOnceShownAndAgainForANewSize) {
  add_form("Form1", "Sub Form_Paint()\nCls\nPrint \"painted at\"; ScaleWidth\nDebug.Print \"paint\"\nEnd Sub\n", {});
  start_session("Form1");
  Preview& p = *host_->preview;
  pump(100);
  EXPECT_EQ(logs(), std::vector<std::string>{"paint"});
  // What it drew stays; a new size paints again (here over a cleared surface).
  tcl({"wm", "geometry", p.window, "420x330"});
  pump(200);
  EXPECT_EQ(logs(), (std::vector<std::string>{"paint", "paint"}));
  std::string canvas;
  for (const tk::Obj& child : interp().call_obj({"winfo", "children", p.window}).to_list())
    if (tcl({"winfo", "class", child}) == "Canvas") canvas = child.str();
  ASSERT_FALSE(canvas.empty());
  EXPECT_EQ(tcl({canvas, "itemcget", tcl({canvas, "find", "all"}), "-text"}), "painted at420");
}

TEST_F(FormCodeTest, LoadPictureShowsFilesOnImagesPictureBoxesAndTheForm) {
  testing::TempFolder folder("corvane-pictures-");
  const std::string dir = folder.path().string();
  testing::write_file(dir + "/red.bmp", testing::solid_bmp(7, 5, 255, 0, 0));
  testing::write_file(dir + "/broken.bmp", "BM not really a picture");
  add_form("Form1",
           "Sub Load(ByVal f As String)\nImage1.Picture = LoadPicture(f)\n"
           "Debug.Print Image1.Width & \"x\" & Image1.Height & \" \" & TypeName(Image1.Picture)\n"
           "Set Picture1.Picture = LoadPicture(f)\nPicture1.Line (0, 0)-(3, 3)\nPicture1.Cls\n"
           "Me.Picture = Image1.Picture\nEnd Sub\n"
           "Sub Clear()\nImage1.Picture = LoadPicture()\nPicture1.Picture = LoadPicture(\"\")\nEnd Sub\n"
           "Sub Wrong()\nImage1.Picture = 5\nEnd Sub\n",
           {{"Image", "Image1"}, {"PictureBox", "Picture1"}});
  start_session("Form1");
  Preview& p = *host_->preview;
  run(p, "Load \"" + dir + "/red.bmp\"");
  // An Image takes the picture's size; the picture's pixels are the file's.
  EXPECT_EQ(logs(), std::vector<std::string>{"7x5 Picture"});
  const std::string image = tcl({p.widget_of("Image1"), "cget", "-image"});
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(tcl({"image", "width", image}) + " " + tcl({"image", "height", image}), "7 5");
  EXPECT_EQ(tcl({image, "get", "3", "2"}), "255 0 0");
  // A picture box keeps its picture beneath the drawing that Cls clears.
  const std::string canvas = tcl({"winfo", "children", p.widget_of("Picture1")});
  EXPECT_EQ(tcl({canvas, "find", "withtag", "picture"}), tcl({canvas, "find", "all"}));
  EXPECT_FALSE(tcl({canvas, "find", "all"}).empty());
  run(p, "Clear");
  EXPECT_EQ(tcl({p.widget_of("Image1"), "cget", "-image"}), "");
  EXPECT_EQ(tcl({canvas, "find", "all"}), "");
  // A number is no picture; a file that is missing, or no picture, is
  // refused with VB's numbers.
  try {
    run(p, "Wrong");
    ADD_FAILURE() << "no error";
  } catch (const VBError& e) {
    EXPECT_EQ(std::string(e.what()), "Type mismatch: Picture");
  }
  for (const auto& [file, expected] : std::vector<std::pair<std::string, std::string>>{
           {"missing.bmp", "File not found: " + dir + "/missing.bmp"}, {"broken.bmp", "Invalid picture: " + dir + "/broken.bmp"}}) {
    try {
      run(p, "Load \"" + dir + "/" + file + "\"");
      ADD_FAILURE() << "no error for " << file;
    } catch (const VBError& e) {
      EXPECT_EQ(std::string(e.what()), expected);
      EXPECT_EQ(e.number(), file == "missing.bmp" ? 53 : 481);
    }
  }
}

TEST_F(FormCodeTest, MouseEventsReachPictureBoxesAndTheForm) {
  add_form("Form1",
           "Sub Picture1_MouseDown(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
           "Debug.Print \"down \" & Button & \" \" & Shift & \" \" & X & \" \" & Y\nPicture1.PSet (X, Y)\nEnd Sub\n"
           "Sub Picture1_MouseMove(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
           "Debug.Print \"move \" & Button & \" \" & X & \" \" & Y\nEnd Sub\n"
           "Sub Picture1_MouseUp(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
           "Debug.Print \"up \" & Button\nEnd Sub\n"
           "Sub Form_MouseDown(Button As Integer, Shift As Integer, X As Single, Y As Single)\n"
           "Debug.Print \"form \" & Button & \" \" & X & \" \" & Y\nEnd Sub\n",
           {{"PictureBox", "Picture1"}, {"CommandButton", "Command1"}});
  start_session("Form1");
  Preview& p = *host_->preview;
  pump(50);
  const std::string canvas = tcl({"winfo", "children", p.widget_of("Picture1")});
  tk::event_generate(interp(), canvas, "<ButtonPress-3>", {"-x", 5, "-y", 6, "-state", 1});
  tk::event_generate(interp(), canvas, "<Motion>", {"-x", 7, "-y", 8, "-state", 256});
  tk::event_generate(interp(), canvas, "<ButtonRelease-1>", {"-x", 7, "-y", 8});
  tk::event_generate(interp(), p.window, "<ButtonPress-1>", {"-x", 200, "-y", 150});
  // A press on a control is no press on the form.
  tk::event_generate(interp(), p.widget_of("Command1"), "<ButtonPress-1>", {"-x", 2, "-y", 2});
  // X and Y are Singles.
  const std::vector<std::string> expected{"down 2 1 5.0 6.0", "move 1 7.0 8.0", "up 1", "form 1 200.0 150.0"};
  EXPECT_EQ(logs(), expected);
  EXPECT_EQ(tcl({canvas, "find", "all"}), "1");
}

}  // namespace
}  // namespace corvane::testing
