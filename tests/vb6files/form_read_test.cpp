// Reading forms: a form written by VB6 (ActiveX controls, control array,
// Frame with controls, three-level menus, font blocks) and the reading rules.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/form_files.h"

namespace corvane {
namespace {

using testing::fixture;

VBForm read(std::string_view text, const char* file = "Sample.frm") { return read_form_text(text, file); }

class Vb6WrittenForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form_ = new VBForm(read_form(fixture("legacy/frmMain.frm"))); }
  static void TearDownTestSuite() { delete form_; }
  static const VBForm& form() { return *form_; }
  static VBForm* form_;
};
VBForm* Vb6WrittenForm::form_ = nullptr;

TEST_F(Vb6WrittenForm, FormPropertiesAndWindows1252Caption) {
  EXPECT_EQ(form().name, "frmMain");
  EXPECT_EQ(form().caption, "Café – Inventory");
  EXPECT_EQ(form().width, 480);
  EXPECT_EQ(form().height, 320);
}

TEST_F(Vb6WrittenForm, ActiveXControlsAreSkippedWithTheirNestedPropertyBlocks) {
  std::vector<std::string> names;
  for (const Control& c : form().controls) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"fraOptions", "optSize", "optSize", "chkAll", "txtName", "cmdOK",
                                             "tmrTick"}));
}

TEST_F(Vb6WrittenForm, FrameChildrenKeepContainerRelativeCoordinates) {
  const Control& frame = form().controls[0];
  EXPECT_EQ(frame.kind, "Frame");
  EXPECT_EQ(frame.caption, "Options");
  EXPECT_EQ(frame.left, 264);
  EXPECT_EQ(frame.top, 16);
  EXPECT_EQ(frame.width, 201);
  EXPECT_EQ(frame.height, 121);
  EXPECT_EQ(frame.tab_index, 3);
  const Control& large = form().controls[1];
  EXPECT_EQ(large.left, 16);
  EXPECT_EQ(large.top, 48);
}

TEST_F(Vb6WrittenForm, ControlArrayMembersKeepTheirIndexes) {
  const Control& large = form().controls[1];
  const Control& small = form().controls[2];
  EXPECT_EQ(large.index, 1);
  EXPECT_EQ(small.index, 0);
  EXPECT_EQ(form().controls[3].index, -1);
  EXPECT_EQ(large.kind, "OptionButton");
  EXPECT_EQ(small.kind, "OptionButton");
  EXPECT_EQ(large.caption, "Large");
  EXPECT_EQ(small.caption, "Small");
  EXPECT_EQ(large.value, 0);
  EXPECT_EQ(small.value, -1);
  EXPECT_EQ(large.tab_index, 5);
  EXPECT_EQ(small.tab_index, 4);
}

TEST_F(Vb6WrittenForm, FontSizesRoundHalfToEven) {
  EXPECT_EQ(form().controls[1].font_size, 10);  // 10.5
  EXPECT_EQ(form().controls[2].font_size, 12);  // no font block: the form's, through its frame
  EXPECT_EQ(form().controls[3].font_size, 14);  // 13.5
  EXPECT_EQ(form().controls[4].font_size, 8);   // 7.5
}

TEST_F(Vb6WrittenForm, ControlValues) {
  const Control& check = form().controls[3];
  EXPECT_EQ(check.caption, "Show \"all\" items");
  EXPECT_EQ(check.value, 1);
  const Control& text = form().controls[4];
  EXPECT_EQ(text.text, "Müller");
  EXPECT_EQ(text.back_color, "#0080ff");
  EXPECT_EQ(text.fore_color, "#000000");  // system colour keeps the default
  EXPECT_EQ(text.left, 82);               // 1234.9 twips
  EXPECT_EQ(text.height, 22);             // 337 twips
  const Control& button = form().controls[5];
  EXPECT_EQ(button.caption, "&OK");
  EXPECT_TRUE(button.default_button);
  EXPECT_FALSE(button.cancel_button);
  EXPECT_FALSE(button.enabled);
  EXPECT_TRUE(button.visible);  // "Visible = False" is not a number, so it counts as true
  const Control& timer = form().controls[6];
  EXPECT_EQ(timer.interval, 250);
  EXPECT_EQ(timer.left, 200);
  EXPECT_EQ(timer.width, 32);  // kind default when the file gives no size
}

TEST_F(Vb6WrittenForm, ThreeLevelMenus) {
  ASSERT_EQ(form().menus.size(), 2u);
  const MenuItem& file = form().menus[0];
  EXPECT_EQ(file.caption, "&File");
  ASSERT_EQ(file.children.size(), 3u);
  const MenuItem& exporting = file.children[0];
  EXPECT_EQ(exporting.name, "mnuFileExport");
  ASSERT_EQ(exporting.children.size(), 2u);
  EXPECT_EQ(exporting.children[0].caption, "As &CSV…");
  EXPECT_TRUE(exporting.children[0].checked);
  EXPECT_FALSE(exporting.children[1].enabled);
  EXPECT_EQ(file.children[1].caption, "-");
  EXPECT_EQ(file.children[2].caption, "E&xit");
  EXPECT_FALSE(form().menus[1].visible);
  EXPECT_TRUE(form().menus[1].enabled);
}

TEST_F(Vb6WrittenForm, CodeWithoutAttributeLines) {
  EXPECT_EQ(form().code,
            "Option Explicit\n\nPrivate Sub cmdOK_Click()\n    ' Prices in € – “quoted”\n    Unload Me\nEnd Sub\n");
}

TEST(FormReading, EmptyFileIsADefaultFormNamedAfterTheFile) {
  const VBForm form = read("", "/x/Orders.frm");
  EXPECT_EQ(form.name, "Orders");
  EXPECT_EQ(form.caption, "Orders");
  EXPECT_EQ(form.width, 640);
  EXPECT_EQ(form.height, 440);
  EXPECT_EQ(form.code, "Option Explicit\n");
}

TEST(FormReading, KindPrefixesAndExactCaseKinds) {
  const VBForm form = read(
      "Begin VB.Form F\r\n"
      "Begin Corvane.ProgressBar Progress1\r\nValue = 40\r\nEnd\r\n"
      "Begin ProgressBar Progress2\r\nEnd\r\n"
      "begin VB.Label Label1\r\nCaption = \"lower-case begin\"\r\nEnd\r\n"
      "Begin VB.textbox Text1\r\nLeft = 150\r\nEnd\r\n"  // kinds are case-sensitive: skipped
      "Begin VB.Form Inner\r\nCaption = \"nested form\"\r\nEnd\r\n"
      "End\r\n");
  ASSERT_EQ(form.controls.size(), 3u);
  EXPECT_EQ(form.controls[0].kind, "ProgressBar");
  EXPECT_EQ(form.controls[0].name, "Progress1");
  EXPECT_EQ(form.controls[0].value, 40);
  EXPECT_EQ(form.controls[1].name, "Progress2");
  EXPECT_EQ(form.controls[2].caption, "lower-case begin");
  EXPECT_EQ(form.name, "F");
  EXPECT_EQ(form.caption, "Sample");  // the Begin line names the form; the caption stays the file's name
}

TEST(FormReading, ControlDefaultsComeFromTheKind) {
  const VBForm form = read("Begin VB.Form F\nBegin VB.CommandButton Go\nEnd\nEnd\n");
  ASSERT_EQ(form.controls.size(), 1u);
  EXPECT_EQ(form.controls[0], Control::create("CommandButton", "Go"));
}

TEST(FormReading, FormSizeRules) {
  EXPECT_EQ(read("Begin VB.Form F\nClientWidth = 1500\nScaleWidth = 3000\nEnd\n").width, 100);  // scale is no size
  EXPECT_EQ(read("Begin VB.Form F\nWidth = 3000\nEnd\n").width, 640);  // Width only when none was read
  EXPECT_EQ(read("Begin VB.Form F\nClientWidth = 0\nWidth = 3000\nEnd\n").width, 200);
  EXPECT_EQ(read("Begin VB.Form F\nClientHeight = junk\nEnd\n").height, 440);
}

TEST(FormReading, FontBlocksOfTheFormAndOtherPropertyBlocks) {
  const VBForm form = read(
      "Begin VB.Form F\n"
      "BeginProperty Font\nSize = 20\nCaption = \"inside font\"\nEndProperty\n"
      "Begin VB.Label L\n"
      "BeginProperty Other\nCaption = \"from other block\"\nEndProperty\n"
      "BeginProperty Font\nsize=\"12.4\"\nEndProperty\n"
      "BeginProperty Font\nSize = nan\nEndProperty\n"
      "End\nEnd\n");
  EXPECT_EQ(form.caption, "Sample");  // lines of a font block are not properties
  ASSERT_EQ(form.controls.size(), 1u);
  EXPECT_EQ(form.controls[0].caption, "from other block");
  EXPECT_EQ(form.controls[0].font_size, 12);
}

TEST(FormReading, BooleansAreTrueUnlessZero) {
  const VBForm form = read(
      "Begin VB.Form F\nBegin VB.Label A\nVisible = 0  'False\nEnabled = -1  'True\nEnd\n"
      "Begin VB.Label B\nVisible = False\nEnabled = 0\nEnd\nEnd\n");
  EXPECT_FALSE(form.controls[0].visible);
  EXPECT_TRUE(form.controls[0].enabled);
  EXPECT_TRUE(form.controls[1].visible);
  EXPECT_FALSE(form.controls[1].enabled);
}

TEST(FormReading, CodeIsTrimmedAndEndsWithOneLineEnd) {
  const VBForm form = read("Begin VB.Form F\r\nEnd\r\n\r\n\r\n  Dim x\r\nAttribute VB_Foo = 1\rSub A()\nEnd Sub\r\n\r\n\r\n");
  EXPECT_EQ(form.code, "Dim x\nSub A()\nEnd Sub\n");
}

TEST(FormReading, UnclosedFormKeepsDefaultCode) {
  const VBForm form = read("Begin VB.Form F\nCaption = \"x\"\nBegin VB.Label L\nEnd\nSub Main()\nEnd Sub\n");
  EXPECT_EQ(form.caption, "x");
  EXPECT_EQ(form.code, "Option Explicit\n");
}

}  // namespace
}  // namespace corvane
