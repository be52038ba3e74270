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
