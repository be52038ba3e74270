// Form and project structure as VB6 writes it: control arrays, controls
// nested in frames and picture boxes, MDI forms, projects started from
// Sub Main, ActiveX projects.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"
#include "vb6files/form_files.h"
#include "vb6files/project_files.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::crlf_lines;
using testing::fixture;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;

class Keypad : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form_ = new VBForm(read_form(fixture("structure/frmKeypad.frm"))); }
  static void TearDownTestSuite() { delete form_; }
  static const VBForm& form() { return *form_; }
  static const Control& at(std::string_view name, int index = -1) {
    const Control* c = form().get_control(name, index);
    if (!c) throw std::runtime_error("no control " + std::string(name) + "(" + std::to_string(index) + ")");
    return *c;
  }
  static VBForm* form_;
};
VBForm* Keypad::form_ = nullptr;

TEST_F(Keypad, ControlArraysKeepTheirIndexes) {
  std::vector<int> digits;
  for (const Control& c : form().controls)
    if (c.name == "cmdDigit") digits.push_back(c.index);
  EXPECT_EQ(digits, (std::vector<int>{7, 8, 9, 4}));
  EXPECT_EQ(at("cmdDigit", 9).caption, "9");
  EXPECT_EQ(at("cmdDigit", 4).top, 48);
  EXPECT_EQ(at("optMode", 0).value, -1);
  EXPECT_EQ(at("optMode", 1).caption, "Subtract");
  EXPECT_EQ(at("txtDisplay").index, -1);
  ASSERT_EQ(form().menus.at(0).children.size(), 3u);
  EXPECT_EQ(form().menus[0].children[0].index, 0);
  EXPECT_EQ(form().menus[0].children[1].index, 1);
  EXPECT_EQ(form().menus[0].children[2].index, -1);
}

TEST_F(Keypad, SavedFormKeepsArraysAndNeverDuplicatesANameAndIndex) {
  const std::string text = form_file_text(form());
  EXPECT_NE(text.find("   Begin VB.CommandButton cmdDigit\n      Caption         =   \"8\"\n      Height          =   495\n"
                      "      Index           =   8\n      Left            =   720\n"),
            std::string::npos);
  EXPECT_NE(text.find("      Begin VB.Menu mnuRecent\n         Caption         =   \"(recent)\"\n"
                      "         Index           =   1\n"),
            std::string::npos);
  const VBForm again = read_form_text(text, "frmKeypad.frm");
  EXPECT_EQ(again, form());
  for (const Control& c : again.controls)
    EXPECT_FALSE(again.name_available(c.name, c.index, c.kind, nullptr)) << c.name;
}

TEST_F(Keypad, ContainedControlsKnowTheirContainer) {
  EXPECT_EQ(at("fraMode").container, "picPage");
  EXPECT_EQ(at("fraMode").container_index, 0);
  EXPECT_EQ(at("optMode", 1).container, "fraMode");
  EXPECT_EQ(at("optMode", 1).container_index, -1);
  EXPECT_EQ(at("optMode", 1).left, 8);  // relative to the frame
  EXPECT_EQ(form().form_position(at("optMode", 1)), (std::pair<int, int>{8 + 4 + 8, 44 + 4 + 132}));
  EXPECT_EQ(at("fraEmpty").container_index, 1);
  EXPECT_EQ(at("lblInfo").container_index, 1);
  EXPECT_EQ(at("cmdDigit", 7).container, "");
  EXPECT_EQ(at("picPage", 1).container, "");
  // Inside an ActiveX container the model does not hold: placed on the form
  // where the container would have shown it.
  EXPECT_EQ(at("txtInTab").container, "");
  EXPECT_EQ(at("txtInTab").left, 160 + 10);
  EXPECT_EQ(at("txtInTab").top, 8 + 30);
}

TEST_F(Keypad, SavedFormNestsContainedControls) {
  const std::string text = form_file_text(form());
  EXPECT_NE(text.find("   Begin VB.PictureBox picPage\n      Caption         =   \"\"\n      Height          =   1500\n"
                      "      Index           =   0\n"),
            std::string::npos);
  EXPECT_NE(text.find("      TabIndex        =   8\n"
                      "      Begin VB.Frame fraMode\n"),
            std::string::npos);
  EXPECT_NE(text.find("         Begin VB.OptionButton optMode\n"
                      "            Caption         =   \"Subtract\"\n"),
            std::string::npos);
  EXPECT_NE(text.find("            Value           =   0\n"
                      "         End\n"
                      "      End\n"
                      "   End\n"
                      "   Begin VB.PictureBox picPage\n"),
            std::string::npos);
  EXPECT_NE(text.find("      Begin VB.Frame fraEmpty\n"), std::string::npos);
  EXPECT_EQ(read_form_text(text, "frmKeypad.frm"), form());
}

TEST(Containers, ControlsAddedLaterAreWrittenInsideTheirContainer) {
  VBForm form;
  form.controls.push_back(Control::create("Frame", "fraA"));
  form.controls.push_back(Control::create("Label", "lblOut"));
  form.controls.push_back(Control::create("Label", "lblIn"));
  form.controls.back().container = "FRAA";
  form.controls.push_back(Control::create("Label", "lblLost"));
  form.controls.back().container = "fraMissing";
  const VBForm back = read_form_text(form_file_text(form), "F.frm");
  std::vector<std::string> order;
  for (const Control& c : back.controls) order.push_back(c.name + "<" + c.container);
  EXPECT_EQ(order, (std::vector<std::string>{"fraA<", "lblIn<fraA", "lblOut<", "lblLost<"}));

  // A circle of containers is broken rather than lost: every control is written once.
  form.controls[0].container = "lblIn";
  const VBForm circle = read_form_text(form_file_text(form), "F.frm");
  EXPECT_EQ(circle.controls.size(), 4u);
}

TEST_F(Keypad, ScaleOfAPixelFormIsNotItsSize) {
  EXPECT_EQ(form().width, 320);  // ClientWidth 4800 twips; ScaleWidth 320 pixels under ScaleMode 3
  EXPECT_EQ(form().height, 240);
  EXPECT_EQ(read_form_text("Begin VB.Form F\nScaleWidth = 3000\nEnd\n", "F.frm").width, 200);  // twips scale, no client size
  EXPECT_EQ(read_form_text("Begin VB.Form F\nScaleMode = 3\nScaleWidth = 300\nEnd\n", "F.frm").width, 640);
}

TEST(MdiForms, AnMdiParentIsAFormAndIsSavedAsOne) {
  TempDir dir;
  Project project = load_project(fixture("mdi/Notes.vbp"));
  ASSERT_EQ(project.forms.size(), 2u);
  const VBForm& parent = project.forms[0];
  EXPECT_EQ(parent.name, "MDIMain");
  EXPECT_TRUE(parent.mdi_form);
  EXPECT_FALSE(parent.mdi_child);
  EXPECT_EQ(parent.caption, "Notes");
  EXPECT_EQ(parent.width, 504);
  EXPECT_EQ(parent.height, 346);
  EXPECT_EQ(parent.get_control("cmdNew")->container, "picToolbar");
  EXPECT_TRUE(project.forms[1].mdi_child);
  EXPECT_EQ(project.startup, "MDIMain");

  const fs::path vbp = save_project(project, dir / "Notes.vbp");
  const std::string saved = read_bytes(dir / "MDIMain.frm");
  EXPECT_EQ(saved.rfind("VERSION 5.00\r\nBegin VB.MDIForm MDIMain\r\n   Caption         =   \"Notes\"\r\n", 0), 0u);
  EXPECT_EQ(saved.find("ScaleWidth"), std::string::npos);
  EXPECT_NE(read_bytes(dir / "frmNote.frm").find("\r\n   MDIChild        =   -1  'True\r\n"), std::string::npos);
  EXPECT_NE(read_bytes(vbp).find("Form=MDIMain.frm\r\nForm=frmNote.frm\r\n"), std::string::npos);
  Project reopened = load_project(vbp);
  project.path = vbp;
  EXPECT_EQ(reopened, project);
}

TEST(SubMain, AProjectWithoutFormsStartedBySubMainOpens) {
  TempDir dir;
  Project project = load_project(fixture("sub_main/Tally.vbp"));
  EXPECT_TRUE(project.forms.empty());
  EXPECT_EQ(project.startup, "Sub Main");
  ASSERT_EQ(project.modules.size(), 1u);
  const fs::path vbp = save_project(project, dir / "Tally.vbp");
  EXPECT_NE(read_bytes(vbp).find("Module=modMain; modMain.bas\r\nStartup=\"Sub Main\"\r\n"), std::string::npos);
  Project reopened = load_project(vbp);
  project.path = vbp;
  EXPECT_EQ(reopened, project);
  write_bytes(dir / "NoStartup.vbp", "Type=Exe\r\nModule=modMain; " + fixture("sub_main/modMain.bas").string() + "\r\n");
  EXPECT_EQ(load_project(dir / "NoStartup.vbp").startup, "Sub Main");
  // Nothing at all is still no project.
  write_bytes(dir / "Empty.vbp", "Type=Exe\r\nStartup=\"Sub Main\"\r\n");
  EXPECT_THROW(load_project(dir / "Empty.vbp"), InvalidValueError);
}

TEST(ActiveXProjects, ControlProjectsOpenWithWhatTheModelHolds) {
  TempDir dir;
  Project project = load_project(fixture("activex/Buttons.vbp"));
  EXPECT_EQ(project.type, "Control");
  EXPECT_TRUE(project.forms.empty());
  EXPECT_EQ(project.startup, "(None)");
  ASSERT_EQ(project.classes.size(), 1u);
  const fs::path vbp = save_project(project, dir / "Buttons.vbp");
  EXPECT_EQ(read_bytes(vbp).rfind("Type=Control\r\nClass=clsTheme; clsTheme.cls\r\n", 0), 0u);
  write_bytes(dir / "Dll.vbp", "Type=OleDll\r\nClass=clsTheme; clsTheme.cls\r\n");
  EXPECT_EQ(load_project(dir / "Dll.vbp").type, "OleDll");
  write_bytes(dir / "Odd.vbp", "Type=Something\r\nClass=clsTheme; clsTheme.cls\r\n");
  EXPECT_EQ(load_project(dir / "Odd.vbp").type, "Exe");
}

TEST(Containers, ANameUsedTwiceHoldsNothingWhenSaved) {
  // VB6 refuses such files; saving them must still give a file that reads
  // back to itself.
  const std::string text =
      "Begin VB.Form F\nBegin VB.Frame fra\nBegin VB.Label a\nEnd\nEnd\nBegin VB.PictureBox p\n"
      "Begin VB.Frame fra\nBegin VB.Label b\nEnd\nEnd\nEnd\nEnd\n";
  const VBForm first = read_form_text(text, "F.frm");
  EXPECT_EQ(first.get_control("b")->container, "fra");
  const std::string once = form_file_text(first);
  EXPECT_EQ(form_file_text(read_form_text(once, "F.frm")), once);
  const VBForm back = read_form_text(once, "F.frm");
  EXPECT_EQ(back.get_control("a")->container, "");
  EXPECT_EQ(back.controls.size(), 5u);
}

TEST(ControlArrays, IndexesOutsideVb6sRangeAreNoArray) {
  const VBForm form = read_form_text(
      "Begin VB.Form F\nBegin VB.Label L\nIndex = -1\nEnd\nBegin VB.Label M\nIndex = 40000\nEnd\n"
      "Begin VB.Label N\nIndex = x\nEnd\nBegin VB.Label O\nIndex = 32767\nEnd\nEnd\n",
      "F.frm");
  std::vector<int> indexes;
  for (const Control& c : form.controls) indexes.push_back(c.index);
  EXPECT_EQ(indexes, (std::vector<int>{-1, -1, -1, 32767}));
}

}  // namespace
}  // namespace corvane
