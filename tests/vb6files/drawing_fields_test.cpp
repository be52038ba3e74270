// What shapes, lines, labels and fonts of VB6 forms keep through reading
// and writing: shape kinds and fills, line ends, label layout, font faces
// and styles, a container's font for controls without their own.
#include <gtest/gtest.h>

#include "test_support.h"
#include "vb6files/form_files.h"

namespace corvane {
namespace {

VBForm read(const std::string& text) { return read_form_text(text, "Sample.frm"); }

const char* const DRAWN_FORM =
    "VERSION 5.00\r\n"
    "Begin VB.Form frmDrawn \r\n"
    "   BackColor       =   &H00FFC0C0&\r\n"
    "   Caption         =   \"Drawn\"\r\n"
    "   ClientHeight    =   3000\r\n"
    "   ClientWidth     =   4500\r\n"
    "   BeginProperty Font \r\n"
    "      Name            =   \"Tahoma\"\r\n"
    "      Size            =   9.75\r\n"
    "      Charset         =   0\r\n"
    "      Weight          =   700\r\n"
    "      Underline       =   0   'False\r\n"
    "      Italic          =   -1  'True\r\n"
    "      Strikethrough   =   0   'False\r\n"
    "   EndProperty\r\n"
    "   KeyPreview      =   -1  'True\r\n"
    "   Begin VB.Frame fraBox \r\n"
    "      Caption         =   \"Box\"\r\n"
    "      BeginProperty Font \r\n"
    "         Name            =   \"MS Sans Serif\"\r\n"
    "         Size            =   8.25\r\n"
    "         Charset         =   0\r\n"
    "         Weight          =   400\r\n"
    "         Underline       =   -1  'True\r\n"
    "         Italic          =   0   'False\r\n"
    "         Strikethrough   =   0   'False\r\n"
    "      EndProperty\r\n"
    "      Height          =   1500\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   0\r\n"
    "      Top             =   120\r\n"
    "      Width           =   2000\r\n"
    "      Begin VB.Label lblInside \r\n"
    "         Caption         =   \"inside\"\r\n"
    "         Height          =   255\r\n"
    "         Left            =   120\r\n"
    "         TabIndex        =   1\r\n"
    "         Top             =   240\r\n"
    "         Width           =   1200\r\n"
    "      End\r\n"
    "   End\r\n"
    "   Begin VB.Shape shpRound \r\n"
    "      BackColor       =   &H80000005&\r\n"
    "      BackStyle       =   1  'Opaque\r\n"
    "      BorderColor     =   &H000000FF&\r\n"
    "      BorderStyle     =   3  'Dot\r\n"
    "      BorderWidth     =   2\r\n"
    "      FillColor       =   &H00FF0000&\r\n"
    "      FillStyle       =   0  'Solid\r\n"
    "      Height          =   600\r\n"
    "      Left            =   2400\r\n"
    "      Shape           =   4  'Rounded Rectangle\r\n"
    "      Top             =   120\r\n"
    "      Width           =   900\r\n"
    "   End\r\n"
    "   Begin VB.Line linSlope \r\n"
    "      BorderColor     =   &H00008000&\r\n"
    "      BorderWidth     =   3\r\n"
    "      X1              =   4200\r\n"
    "      X2              =   2400\r\n"
    "      Y1              =   900\r\n"
    "      Y2              =   1500\r\n"
    "   End\r\n"
    "   Begin VB.Label lblOwn \r\n"
    "      Alignment       =   1  'Right Justify\r\n"
    "      AutoSize        =   -1  'True\r\n"
    "      BackStyle       =   0  'Transparent\r\n"
    "      BorderStyle     =   1  'Fixed Single\r\n"
    "      Caption         =   \"own\"\r\n"
    "      FontName        =   \"Courier New\"\r\n"
    "      FontSize        =   12\r\n"
    "      FontBold        =   0   'False\r\n"
    "      Height          =   255\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   2\r\n"
    "      Top             =   1800\r\n"
    "      Width           =   1200\r\n"
    "      WordWrap        =   -1  'True\r\n"
    "   End\r\n"
    "   Begin VB.CommandButton cmdPlain \r\n"
    "      Caption         =   \"plain\"\r\n"
    "      Height          =   375\r\n"
    "      Left            =   2400\r\n"
    "      TabIndex        =   3\r\n"
    "      Top             =   2400\r\n"
    "      Width           =   1200\r\n"
    "   End\r\n"
    "   Begin VB.TextBox txtBorderless \r\n"
    "      Alignment       =   2  'Center\r\n"
    "      BorderStyle     =   0  'None\r\n"
    "      Locked          =   -1  'True\r\n"
    "      Height          =   375\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   4\r\n"
    "      Top             =   2400\r\n"
    "      Width           =   1200\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmDrawn\"\r\n";

class DrawnForm : public ::testing::Test {
 protected:
  static const VBForm& form() {
    static const VBForm read_once = read(DRAWN_FORM);
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
