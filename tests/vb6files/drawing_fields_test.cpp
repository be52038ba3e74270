// What shapes, lines, labels and fonts of VB6 forms keep through reading
// and writing: shape kinds and fills, line ends, label layout, font faces
// and styles, a container's font for controls without their own.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/form_files.h"

namespace corvane {
namespace {

VBForm read(const std::string& text) { return read_form_text(text, "Sample.frm"); }


class DrawnForm : public ::testing::Test {
 protected:
  static const VBForm& form() {
    static const VBForm read_once = read_form(testing::fixture("drawn/frmDrawn.frm"));
    return read_once;
  }
  static const Control& at(std::string_view name) { return *form().get_control(name); }
};

TEST_F(DrawnForm, ShapesKeepKindFillAndBorder) {
  const Control& shape = at("shpRound");
  EXPECT_EQ(shape.shape, 4);
  EXPECT_EQ(shape.back_style, 1);
  EXPECT_EQ(shape.back_color, "#ffffff");  // a system colour
  EXPECT_EQ(shape.fill_style, 0);
  EXPECT_EQ(shape.fill_color, "#0000ff");
  EXPECT_EQ(shape.border_color, "#ff0000");
  EXPECT_EQ(shape.border_style, 3);
  EXPECT_EQ(shape.border_width, 2);
  // A Shape written without them is a transparent, unfilled rectangle.
  const Control plain = read("Begin VB.Form F\nBegin VB.Shape S\nEnd\nEnd\n").controls.at(0);
  EXPECT_EQ(plain.shape, 0);
  EXPECT_EQ(plain.back_style, 0);
  EXPECT_EQ(plain.fill_style, 1);
  EXPECT_EQ(plain.border_style, 1);
}

TEST_F(DrawnForm, LinesSpanTheBoxOfTheirEnds) {
  const Control& line = at("linSlope");
  // From (280, 60) to (160, 100): the box starts at the smaller ends.
  EXPECT_EQ(line.left, 160);
  EXPECT_EQ(line.top, 60);
  EXPECT_EQ(line.width, 120);
  EXPECT_EQ(line.height, 40);
  EXPECT_EQ(std::vector<int>({line.x1, line.y1, line.x2, line.y2}), std::vector<int>({120, 0, 0, 40}));
  EXPECT_EQ(line.border_color, "#008000");
  EXPECT_EQ(line.border_width, 3);
  // A line with a box but no ends runs across the middle of its box.
  const Control boxed =
      read("Begin VB.Form F\nBegin VB.Line L\nLeft = 150\nTop = 300\nWidth = 1500\nHeight = 150\nEnd\nEnd\n")
          .controls.at(0);
  EXPECT_EQ(std::vector<int>({boxed.x1, boxed.y1, boxed.x2, boxed.y2}), std::vector<int>({0, 5, 100, 5}));
}

TEST_F(DrawnForm, LabelsKeepTheirLayoutAndOthersIgnoreIt) {
  const Control& label = at("lblOwn");
  EXPECT_EQ(label.alignment, 1);
  EXPECT_TRUE(label.auto_size);
  EXPECT_EQ(label.back_style, 0);
  EXPECT_EQ(label.border_style, 1);
  EXPECT_TRUE(label.word_wrap);
  const Control& inside = at("lblInside");
  EXPECT_EQ(inside.border_style, 0);
  EXPECT_FALSE(inside.auto_size);
  // A text box's border is not a label's: it keeps the kind's value; its
  // alignment and lock are its own.
  EXPECT_EQ(at("txtBorderless").border_style, Control::create("TextBox", "t").border_style);
  EXPECT_EQ(at("txtBorderless").alignment, 2);
  EXPECT_TRUE(at("txtBorderless").locked);
  EXPECT_FALSE(at("lblOwn").locked);
}

TEST_F(DrawnForm, FontsComeFromTheControlItsContainerOrTheForm) {
  // The frame's own font; MS Sans Serif is the default face.
  const Control& frame = at("fraBox");
  EXPECT_EQ(frame.font_name, "");
  EXPECT_EQ(frame.font_size, 8);
  EXPECT_TRUE(frame.font_underline);
  EXPECT_FALSE(frame.font_bold);
  // The label in the frame has none: it shows the frame's.
  const Control& inside = at("lblInside");
  EXPECT_EQ(inside.font_size, 8);
  EXPECT_TRUE(inside.font_underline);
  // The button on the form has none: it shows the form's.
  const Control& plain = at("cmdPlain");
  EXPECT_EQ(plain.font_name, "Tahoma");
  EXPECT_EQ(plain.font_size, 10);  // 9.75
  EXPECT_TRUE(plain.font_bold);
  EXPECT_TRUE(plain.font_italic);
  // Font lines of older files set the control's own font.
  const Control& own = at("lblOwn");
  EXPECT_EQ(own.font_name, "Courier New");
  EXPECT_EQ(own.font_size, 12);
  EXPECT_FALSE(own.font_bold);
  EXPECT_FALSE(own.font_italic);
}

TEST_F(DrawnForm, TheFormKeepsItsColourAndKeyPreview) {
  EXPECT_EQ(form().back_color, "#c0c0ff");
  EXPECT_TRUE(form().key_preview);
}

TEST_F(DrawnForm, WrittenAndReadBackEverythingStays) {
  const std::string text = form_file_text(form());
  EXPECT_EQ(read_form_text(text, "frmDrawn.frm"), form());
  EXPECT_NE(text.find("      X1              =   4200\n      X2              =   2400\n"
                      "      Y1              =   900\n      Y2              =   1500\n"),
            std::string::npos);
  EXPECT_NE(text.find("      Shape           =   4\n"), std::string::npos);
  EXPECT_NE(text.find("         Name            =   \"Tahoma\"\n"), std::string::npos);
  EXPECT_NE(text.find("         Weight          =   700\n"), std::string::npos);
  EXPECT_NE(text.find("   KeyPreview      =   -1  'True\n"), std::string::npos);
  EXPECT_NE(text.find("   BackColor       =   &H00FFC0C0&\n"), std::string::npos);
  // A default shape and a plain label write none of these lines.
  VBForm plain;
  plain.controls = {Control::create("Shape", "S"), Control::create("Label", "L")};
  const std::string plain_text = form_file_text(plain);
  for (const char* line : {"Shape  ", "FillStyle", "BorderStyle", "BackStyle", "AutoSize", "Alignment", "Font",
                           "BackColor", "KeyPreview"})
    EXPECT_EQ(plain_text.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A control inside a container with another font keeps its own plain font
// through writing and reading: the writer gives it a font block because it
// differs from what it would take from its container.
TEST(FontsInContainers, APlainFontInsideAFancyFrameSurvivesARoundTrip) {
  const std::string text =
      "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"F\"\r\n"
      "   Begin VB.Frame Fra\r\n      Caption = \"x\"\r\n"
      "      BeginProperty Font\r\n         Name = \"Tahoma\"\r\n         Size = 12\r\n      EndProperty\r\n"
      "      Begin VB.OptionButton Opt\r\n         Caption = \"y\"\r\n"
      "         BeginProperty Font\r\n         EndProperty\r\n"
      "      End\r\n      Begin VB.Label Lbl\r\n         Caption = \"z\"\r\n      End\r\n"
      "   End\r\nEnd\r\n";
  const VBForm read = read_form_text(text, "F.frm");
  const std::string once = form_file_text(read);
  const VBForm again = read_form_text(once, "F.frm");
  EXPECT_EQ(form_file_text(again), once);
  ASSERT_EQ(again.controls.size(), 3u);
  for (const Control& c : again.controls) {
    if (c.name == "Opt") EXPECT_EQ(c.font_size, 10) << "its own plain font";
    if (c.name == "Lbl") EXPECT_EQ(c.font_size, 12) << "the frame's font";
  }
}

}  // namespace
}  // namespace corvane
