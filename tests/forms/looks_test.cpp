// How a VB6 form looks when it runs: shapes of every kind, lines between
// their ends, labels with alignment, AutoSize and fonts, colours given as
// VB values, and menu entries (menu arrays too) changed by the program.
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "forms/app_host.h"
#include "forms_fixture.h"
#include "vb6files/form_files.h"
#include "vb6files/project_files.h"

namespace corvane::testing {
namespace {

// A form as VB6 writes it (CR LF line ends, fonts in property blocks).
std::filesystem::path looks_file() {
  return std::filesystem::path(CORVANE_SOURCE_DIR) / "tests/forms/fixtures/frmLooks.frm";
}

class LooksTest : public FormsTest {
 protected:
  Preview& open() {
    host_->project_.forms.push_back(read_form(looks_file()));
    start_session("frmLooks");
    pump(20);
    return *host_->preview;
  }
  // The canvas items of a shape or line: each item's type and options.
  std::vector<std::string> items(Preview& form, const std::string& key) {
    const std::string canvas = form.widget_of(key);
    std::vector<std::string> out;
    for (const tk::Obj& id : tk::Obj(tcl({canvas, "find", "all"})).to_list()) {
      std::string item = tcl({canvas, "type", id});
      for (const char* option : {"-fill", "-outline"})
        if (tcl({canvas, "type", id}) != "line" || std::string(option) == "-fill")
          item += " " + std::string(option) + "=" + tcl({canvas, "itemcget", id, option});
      out.push_back(item);
    }
    return out;
  }
  std::vector<double> coords(Preview& form, const std::string& key, int item) {
    const std::string canvas = form.widget_of(key);
    const auto ids = tk::Obj(tcl({canvas, "find", "all"})).to_list();
    std::vector<double> out;
    for (const tk::Obj& value : tk::Obj(tcl({canvas, "coords", ids.at(item)})).to_list()) out.push_back(value.to_double());
    return out;
  }
};

TEST_F(LooksTest, ShapesDrawTheirKindFillAndBorderAndFollowTheProgram) {
  Preview& form = open();
  // Rectangle: solid green fill, then the blue border.
  EXPECT_EQ(items(form, "shpbox(0)"),
            (std::vector<std::string>{"rectangle -fill=#00ff00 -outline=", "rectangle -fill= -outline=#0000ff"}));
  // Circle: an oval as wide as it is high, centred in its box.
  EXPECT_EQ(items(form, "shpbox(1)"), (std::vector<std::string>{"oval -fill= -outline=#000000"}));
  const std::vector<double> circle = coords(form, "shpbox(1)", 0);
  EXPECT_NEAR(circle[2] - circle[0], circle[3] - circle[1], 0.01);
  EXPECT_NEAR(circle[0] + circle[2], 100, 1.01);  // centred across the 100-pixel box
  // Rounded rectangle, opaque without a border: its back colour only.
  const auto rounded = items(form, "shpbox(2)");
  ASSERT_EQ(rounded.size(), 1u);
  EXPECT_EQ(rounded[0].substr(0, 7), "polygon");
  EXPECT_EQ(tcl({form.widget_of("shpbox(2)"), "itemcget", "all", "-smooth"}), "true");

  run(form, "shpBox(1).FillStyle = 0");
  run(form, "shpBox(1).FillColor = vbRed");
  run(form, "shpBox(1).Shape = 2");
  EXPECT_EQ(items(form, "shpbox(1)"),
            (std::vector<std::string>{"oval -fill=#ff0000 -outline=", "oval -fill= -outline=#000000"}));
  EXPECT_NE(coords(form, "shpbox(1)", 0)[2] - coords(form, "shpbox(1)", 0)[0],
            coords(form, "shpbox(1)", 0)[3] - coords(form, "shpbox(1)", 0)[1]);
  EXPECT_EQ(eval(form, "shpBox(1).FillColor"), "255");
  EXPECT_EQ(eval(form, "shpBox(0).BorderColor = &HFF0000"), "True");
  run(form, "shpBox(0).BorderStyle = 0");
  EXPECT_EQ(items(form, "shpbox(0)"), (std::vector<std::string>{"rectangle -fill=#00ff00 -outline="}));
  // A resized shape is drawn again to its new size.
  run(form, "shpBox(0).Width = 40");
  EXPECT_EQ(coords(form, "shpbox(0)", 0)[2], 40);
}

TEST_F(LooksTest, TheFormsColourShowsUnderTransparentShapesAndFollowsTheProgram) {
  Preview& form = open();
  EXPECT_EQ(tcl({form.window, "cget", "-background"}), "#c0c0c0");
  EXPECT_EQ(tcl({form.widget_of("shpbox(1)"), "cget", "-background"}), "#c0c0c0");
  EXPECT_EQ(eval(form, "Me.BackColor"), std::to_string(0xC0C0C0));
  // A system colour in the file shows as the colour it stands for.
  EXPECT_EQ(tcl({form.widget_of("lblauto"), "cget", "-background"}), "#ffffff");
  run(form, "Me.BackColor = &HFF0000");
  EXPECT_EQ(tcl({form.window, "cget", "-background"}), "#0000ff");
  EXPECT_EQ(tcl({form.widget_of("shpbox(1)"), "cget", "-background"}), "#0000ff");
  EXPECT_EQ(tcl({form.widget_of("lblauto"), "cget", "-background"}), "#ffffff");
}

TEST_F(LooksTest, ATransparentLabelShowsTheFilledShapeBeneathIt) {
  VBForm form;
  form.name = "Banner";
  Control band = Control::create("Shape", "shpBand", 0, 0);
  band.width = 200;
  band.height = 40;
  band.fill_style = 0;
  band.fill_color = "#000080";
  Control title = Control::create("Label", "lblTitle", 10, 10);
  title.back_style = 0;
  Control below = Control::create("Label", "lblBelow", 10, 60);
  below.back_style = 0;
  form.controls = {band, title, below};
  host_->project_.forms.push_back(form);
  start_session("Banner");
  Preview& p = *host_->preview;
  EXPECT_EQ(tcl({p.widget_of("lbltitle"), "cget", "-background"}), "#000080");
  EXPECT_EQ(tcl({p.widget_of("lblbelow"), "cget", "-background"}), "#f0f0f0");
  run(p, "shpBand.FillColor = &H8000&");
  EXPECT_EQ(tcl({p.widget_of("lbltitle"), "cget", "-background"}), "#008000");
  run(p, "lblBelow.Top = 20");
  EXPECT_EQ(tcl({p.widget_of("lblbelow"), "cget", "-background"}), "#008000");
  // An opaque shape without fill shows its back colour.
  run(p, "shpBand.FillStyle = 1");
  run(p, "shpBand.BackStyle = 1");
  run(p, "shpBand.BackColor = &H80&");
  EXPECT_EQ(tcl({p.widget_of("lbltitle"), "cget", "-background"}), "#800000");
}

TEST_F(LooksTest, ALineRunsBetweenItsEndsWhereverTheProgramMovesThem) {
  Preview& form = open();
  const std::string canvas = form.widget_of("lindiag");
  // From (200, 80) to (10, 120): the canvas covers the box of the ends with
  // room for the line's width.
  EXPECT_EQ(eval(form, "linDiag.X1 & \",\" & linDiag.Y1 & \",\" & linDiag.X2 & \",\" & linDiag.Y2"), "200,80,10,120");
  const std::vector<double> ends = coords(form, "lindiag", 0);
  const int64_t x = tk::Obj(tcl({"winfo", "x", canvas})).to_int(), y = tk::Obj(tcl({"winfo", "y", canvas})).to_int();
  EXPECT_EQ(std::vector<double>({x + ends[0], y + ends[1], x + ends[2], y + ends[3]}),
            std::vector<double>({200, 80, 10, 120}));
  EXPECT_EQ(tcl({canvas, "itemcget", "all", "-width"}), "3.0");
  run(form, "linDiag.X2 = 300");
  run(form, "linDiag.Y2 = 80");
  pump(10);
  const std::vector<double> moved = coords(form, "lindiag", 0);
  const int64_t x2 = tk::Obj(tcl({"winfo", "x", canvas})).to_int();
  EXPECT_EQ(x2 + moved[0], 200);
  EXPECT_EQ(x2 + moved[2], 300);
  EXPECT_EQ(moved[1], moved[3]);
}

TEST_F(LooksTest, LabelsAlignGrowAndTakeFontsAndColoursFromTheFormAndTheProgram) {
  Preview& form = open();
  const std::string title = form.widget_of("lbltitle"), grows = form.widget_of("lblauto");
  EXPECT_EQ(tcl({title, "cget", "-anchor"}), "n");
  EXPECT_EQ(tcl({title, "cget", "-foreground"}), "#c00000");
  // The form's bold font reaches the label that has none of its own.
  EXPECT_EQ(tcl({"font", "actual", tcl({title, "cget", "-font"}), "-weight"}), "bold");
  EXPECT_EQ(eval(form, "lblTitle.FontBold"), "True");
  EXPECT_EQ(eval(form, "lblTitle.Font.Size"), "10");
  run(form, "lblTitle.Font.Bold = False");
  EXPECT_EQ(tcl({"font", "actual", tcl({title, "cget", "-font"}), "-weight"}), "normal");
  EXPECT_EQ(eval(form, "lblTitle.FontBold"), "False");
  run(form, "lblTitle.FontItalic = True");
  EXPECT_EQ(eval(form, "lblTitle.Font.Italic"), "True");
  EXPECT_EQ(tcl({"font", "actual", tcl({title, "cget", "-font"}), "-slant"}), "italic");
  run(form, "lblTitle.BackColor = &HFF&");
  EXPECT_EQ(tcl({title, "cget", "-background"}), "#ff0000");
  run(form, "lblTitle.BackColor = &H80000005");
  EXPECT_EQ(tcl({title, "cget", "-background"}), "#ffffff");

  // AutoSize: wider than the 20 pixels the file gives, and the program reads it.
  const tk::Obj font = tcl({grows, "cget", "-font"});
  EXPECT_EQ(tcl({"font", "actual", font, "-slant"}), "italic");
  EXPECT_EQ(tcl({"font", "actual", font, "-underline"}), "1");
  pump(10);
  const int64_t width = tk::Obj(tcl({"winfo", "width", grows})).to_int();
  EXPECT_GT(width, 100);
  EXPECT_EQ(eval(form, "lblAuto.Width"), std::to_string(width));
  run(form, "lblAuto.Caption = \"x\"");
  pump(10);
  const int64_t narrow = tk::Obj(tcl({"winfo", "width", grows})).to_int();
  EXPECT_LT(narrow, 40);
  run(form, "lblAuto.FontSize = 30");
  pump(10);
  EXPECT_GT(tk::Obj(tcl({"winfo", "width", grows})).to_int(), narrow);
  // A label without AutoSize wraps at the width the program gives it.
  run(form, "lblTitle.Width = 77");
  EXPECT_EQ(tcl({title, "cget", "-wraplength"}), "77");

  // One control's font given to another is copied, not shared.
  run(form, "Set lblAuto.Font = lblTitle.Font");
  EXPECT_EQ(eval(form, "lblAuto.FontItalic"), "True");
  run(form, "lblAuto.Font.Italic = False");
  EXPECT_EQ(eval(form, "lblTitle.Font.Italic"), "True");
  run(form, "lblAuto.Font = \"DejaVu Serif\"");
  EXPECT_EQ(eval(form, "lblAuto.Font.Name"), "DejaVu Serif");
  EXPECT_EQ(eval(form, "lblTitle.FontName"), "MS Sans Serif");
  run(form, "lblTitle.Font.Name = \"DejaVu Sans Mono\"");
  EXPECT_EQ(eval(form, "lblTitle.FontName"), "DejaVu Sans Mono");
  EXPECT_EQ(tcl({"font", "actual", tcl({title, "cget", "-font"}), "-family"}), "DejaVu Sans Mono");
}

TEST_F(LooksTest, MenuEntriesAndMenuArraysAreReachableAndLoadable) {
  Preview& form = open();
  const std::string bar = tcl({form.window, "cget", "-menu"});
  auto file_menu = [&] { return tcl({tcl({form.window, "cget", "-menu"}), "entrycget", 0, "-menu"}); };
  auto labels = [&] {
    std::vector<std::string> out;
    const std::string menu = file_menu();
    const int64_t last = tk::Obj(tcl({menu, "index", "end"})).to_int();
    for (int64_t i = 0; i <= last; ++i) out.push_back(tcl({menu, "entrycget", i, "-label"}));
    return out;
  };
  EXPECT_EQ(labels(), (std::vector<std::string>{"(recent)", "Exit"}));
  run(form, "mnuRecent(0).Caption = \"one.txt\"");
  run(form, "Load mnuRecent(1)");
  run(form, "mnuRecent(1).Caption = \"two.txt\"");
  EXPECT_EQ(labels(), (std::vector<std::string>{"one.txt", "two.txt", "Exit"}));
  EXPECT_EQ(eval(form, "mnuRecent.Count"), "2");
  run(form, "mnuExit.Enabled = False");
  run(form, "mnuRecent(0).Checked = True");
  EXPECT_EQ(tcl({file_menu(), "entrycget", 2, "-state"}), "disabled");
  EXPECT_EQ(tcl({file_menu(), "type", 0}), "checkbutton");
  logs().clear();
  tcl({file_menu(), "invoke", 1});
  EXPECT_EQ(logs(), (std::vector<std::string>{"recent 1 two.txt"}));
  run(form, "mnuRecent(0).Visible = False");
  EXPECT_EQ(labels(), (std::vector<std::string>{"two.txt", "Exit"}));
  run(form, "Unload mnuRecent(1)");
  EXPECT_EQ(labels(), (std::vector<std::string>{"Exit"}));
  EXPECT_EQ(eval(form, "mnuRecent.Count"), "1");
  try {
    run(form, "Unload mnuRecent(0)");
    ADD_FAILURE() << "a menu entry of the design was unloaded";
  } catch (const VBError& e) {
    EXPECT_EQ(e.number(), 362);
  }
  EXPECT_EQ(eval(form, "mnuFile.Caption"), "&File");
  (void)bar;
}

TEST_F(LooksTest, TheRunnerNamesTheFileAndItsLineOfARuntimeError) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("corvane-looks-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "Forms");
  {
    std::filesystem::copy_file(looks_file(), dir / "Forms" / "frmLooks.frm");
    std::ofstream(dir / "Looks.vbp", std::ios::binary)
        << "Type=Exe\r\nForm=Forms\\frmLooks.frm\r\nModule=modMain; modMain.bas\r\nStartup=\"frmLooks\"\r\n";
    std::ofstream(dir / "modMain.bas", std::ios::binary)
        << "Attribute VB_Name = \"modMain\"\r\nOption Explicit\r\n\r\nPublic Sub Boom()\r\n    Err.Raise 5\r\nEnd Sub\r\n";
  }
  Project project = load_project(dir / "Looks.vbp");
  ApplicationHost host(interp(), project);
  host.sources = project_source_files(project);
  std::ostringstream err;
  auto* old = std::cerr.rdbuf(err.rdbuf());
  {
    auto session = ApplicationSession::create(host);
    host.session = session;
    auto window = session->start();
    window->invoke("Fail");
    window->invoke("Nested");
  }
  std::cerr.rdbuf(old);
  std::filesystem::remove_all(dir);
  // Line 97 of the form file holds "Debug.Print 1 / 0"; line 5 of the
  // module raises.
  EXPECT_NE(err.str().find("Runtime error in Fail: division by zero\n    at Forms/frmLooks.frm, line 97\n"),
            std::string::npos)
      << err.str();
  EXPECT_NE(err.str().find("Runtime error in Nested: Invalid procedure call or argument\n    at modMain.bas, line 5\n"),
            std::string::npos)
      << err.str();
  if (host.session) host.session->stop();
}

}  // namespace
}  // namespace corvane::testing
