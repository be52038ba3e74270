// What the design canvas shows: items of a few controls of each kind against
// their expected coordinates, the form's window, the dot grid (pixel for
// pixel against one square per dot), and the canvas after incremental drag
// steps against a full redraw.
#include "designer_fixture.h"
#include "model/control_kinds.h"

// Xlib's macros after the test headers, which use some of their names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <tk.h>

namespace corvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;


class DrawingTest : public DesignerTest {
 protected:
  // Options of the nth item of a type among a tag's items.
  std::string option(const std::string& tag, const std::string& type, const char* name, int nth = 0) {
    for (const tk::Obj& id : interp().call_obj({canvas(), "find", "withtag", tag}).to_list()) {
      if (tcl({canvas(), "type", id}) != type || nth-- > 0) continue;
      return tcl({canvas(), "itemcget", id, name});
    }
    return "<none>";
  }
  int count_type(const std::string& tag, const std::string& type) {
    int n = 0;
    for (const tk::Obj& id : interp().call_obj({canvas(), "find", "withtag", tag}).to_list())
      n += tcl({canvas(), "type", id}) == type;
    return n;
  }
  std::string tag_of(const std::string& name) {
    for (std::size_t i = 0; i < form().controls.size(); ++i)
      if (form().controls[i].name == name) return "c" + std::to_string(i);
    return "none";
  }
};

TEST_F(DrawingTest, TheFormIsAWindowWithTitleBarButtonsGripAndScrollRegion) {
  EXPECT_THAT(coords_of("chrome", "rectangle", 0), ElementsAre(47, 41, 687, 510));   // shadow
  EXPECT_THAT(coords_of("chrome", "rectangle", 1), ElementsAre(42, 36, 682, 505));   // window
  EXPECT_THAT(coords_of("chrome", "rectangle", 2), ElementsAre(44, 38, 680, 63));    // title bar
  EXPECT_EQ(option("chrome", "text", "-text"), "\u25a3  Form1");
  EXPECT_THAT(coords_of("chrome", "text"), ElementsAre(52, 50));
  EXPECT_EQ(option("chrome", "text", "-width"), "538");
  EXPECT_EQ(option("chrome", "text", "-font"), "{DejaVu Sans} 10 bold");
  // The close button is the third: x = 42 + 640 - 66 + 42.
  EXPECT_THAT(coords_of("chrome", "rectangle", 5), ElementsAre(659, 41, 678, 60));
  EXPECT_EQ(option("chrome", "text", "-text", 3), "\u00d7");
  EXPECT_EQ(count_items("form-grip"), 4);
  EXPECT_THAT(coords_of("form-grip", "rectangle"), ElementsAre(666, 489, 682, 505));
  EXPECT_THAT(coords_of("form-grip", "line", 2), ElementsAre(670, 503, 680, 493));
  // Dots from (50, 73) while x < 682 and y < 505: the last at (674, 497), 2 x 2 pixels.
  EXPECT_THAT(coords_of("dot-grid", "rectangle"), ElementsAre(50, 73, 676, 499));
  EXPECT_EQ(tcl({canvas(), "cget", "-scrollregion"}), "0 0 1300 900");
  form().width = 1280;
  form().height = 1024;
  ide().draw_form();
  EXPECT_EQ(tcl({canvas(), "cget", "-scrollregion"}), "0 0 1572 1339");
  EXPECT_EQ(tcl({canvas(), "cget", "-background"}), "#b9bec6");
}

TEST_F(DrawingTest, NoProjectShowsTheNoticeOnly) {
  ide().clear_editor();
  state().form = nullptr;
  state().project = ide::EditingState::no_project();
  ide().draw_form();
  EXPECT_EQ(count_items("all"), 2);
  EXPECT_EQ(option("all", "text", "-text"), "No project open");
  EXPECT_EQ(option("all", "text", "-font"), "{DejaVu Sans} 20 bold");
  EXPECT_THAT(coords_of("all", "text", 1), ElementsAre(90, 143));
  EXPECT_EQ(option("all", "text", "-fill", 1), "#48586d");
}

TEST_F(DrawingTest, ButtonsTextBoxesLabelsAndFramesFollowTheirRules) {
  Control& b = add("CommandButton", 24, 24);  // 110 x 32
  b.caption = "OK";
  b.font_size = 3;  // drawn at 6 points at least
  add("TextBox", 24, 80).text = "hello";      // 146 x 27
  add("Label", 24, 130).enabled = false;      // 112 x 25
  add("Frame", 200, 24).caption = "Options";  // 190 x 125
  ide().draw_form();
  EXPECT_THAT(coords_of("c0", "rectangle"), ElementsAre(66, 89, 176, 121));
  EXPECT_THAT(coords_of("c0", "text"), ElementsAre(121, 105));
  EXPECT_EQ(option("c0", "text", "-font"), "{DejaVu Sans} 6");
  EXPECT_EQ(option("c0", "text", "-width"), "98");
  EXPECT_EQ(option("c0", "rectangle", "-outline"), "#858e9c");
  EXPECT_THAT(coords_of("c1", "text"), ElementsAre(71, 158.5));
  EXPECT_EQ(option("c1", "rectangle", "-width"), "2.0");
  EXPECT_EQ(option("c1", "text", "-anchor"), "w");
  EXPECT_EQ(option("c2", "rectangle", "-dash"), "2 2");
  EXPECT_EQ(option("c2", "rectangle", "-outline"), "#93979d");  // a label's outline ignores Enabled
  // Frame: body from y + 7, caption gap up to x + 7 * 7 + 25, caption at (x + 16, y + 7).
  EXPECT_THAT(coords_of("c3", "rectangle", 0), ElementsAre(242, 96, 432, 214));
  EXPECT_THAT(coords_of("c3", "rectangle", 1), ElementsAre(252, 89, 316, 106));
  EXPECT_THAT(coords_of("c3", "text"), ElementsAre(258, 96));
}

TEST_F(DrawingTest, UnusableColoursAndHugeFontsStillDraw) {
  Control& b = add("CommandButton", 24, 24);
  b.fore_color = "not a colour";
  b.font_size = 1000000;
  add("Label", 24, 80).fore_color = "";
  ide().draw_form();
  EXPECT_EQ(option("c0", "text", "-fill"), "#000000");
  EXPECT_EQ(option("c0", "text", "-font"), "{DejaVu Sans} 400");
  EXPECT_EQ(option("c1", "text", "-fill"), "#000000");
}

TEST_F(DrawingTest, ListsBarsAndChoicesShowTheirValues) {
  Control& list = add("ListBox", 0, 0);  // 150 x 90: four rows fit
  list.items = "a|b|c|d|e|f";
  add("ProgressBar", 0, 100).value = 150;  // 170 x 25
  add("ProgressBar", 0, 140).value = -5;
  add("CheckBox", 0, 180).value = 1;
  add("OptionButton", 0, 220).value = 1;
  add("Slider", 200, 0).value = 50;  // 185 x 36
  ide().draw_form();
  EXPECT_EQ(count_type("c0", "text"), 4);
  EXPECT_THAT(coords_of("c0", "text", 3), ElementsAre(48, 65 + 9 + 54));
  EXPECT_EQ(option("c0", "text", "-text", 3), "d");
  EXPECT_THAT(coords_of("c1", "rectangle", 1), ElementsAre(44, 167, 42 + 166, 188));  // full bar
  EXPECT_EQ(count_type("c2", "rectangle"), 1);                                         // no bar
  EXPECT_EQ(option("c3", "text", "-text"), "\u2713");
  EXPECT_EQ(count_type("c4", "oval"), 2);
  EXPECT_THAT(coords_of("c4", "oval", 1), ElementsAre(49, 296, 53, 300));
  // The thumb centred at x + 8 + (w - 16) / 2.
  EXPECT_THAT(coords_of("c5", "rectangle"), ElementsAre(242 + 8 + 84.5 - 6, 72, 242 + 8 + 84.5 + 6, 94));
}

TEST_F(DrawingTest, HiddenControlsShowTheDiagonalButTimersDoNot) {
  add("TextBox", 10, 10).visible = false;
  add("Timer", 200, 10).visible = false;
  add("StatusBar", 10, 100).visible = false;
  ide().draw_form();
  EXPECT_EQ(option("c0", "line", "-dash"), "4 3");
  EXPECT_EQ(option("c0", "line", "-fill"), "#ad4747");
  EXPECT_THAT(coords_of("c0", "line"), ElementsAre(52, 75, 198, 102));
  EXPECT_EQ(count_type("c1", "line"), 0);
  EXPECT_EQ(option("c1", "text", "-text"), "\u25f7");
  // The diagonal is the control's last item.
  const auto status = items("c2");
  EXPECT_THAT(status.back(), HasSubstr("-dash=4 3"));
}

TEST_F(DrawingTest, EveryKindHasAVisibleBody) {
  int top = 0;
  for (const ControlSpec& row : CONTROL_SPECS) {
    add(std::string(row.kind), 0, top);
    top += 4;
  }
  ide().draw_form();
  for (std::size_t i = 0; i < form().controls.size(); ++i)
    EXPECT_GT(count_items("c" + std::to_string(i)), 0) << form().controls[i].kind;
  EXPECT_EQ(count_items("control"), static_cast<int>(items("control").size()));
}

TEST_F(DrawingTest, TheSelectionHasADashedOutlineAndEightHandles) {
  add("Image", 100, 100);  // 110 x 90
  click(cx(150), cy(150));
  EXPECT_EQ(count_items("selection"), 9);
  EXPECT_THAT(coords_of("selection", "rectangle", 0), ElementsAre(140, 163, 254, 257));
  EXPECT_EQ(option("selection", "rectangle", "-dash"), "3 2");
  EXPECT_THAT(coords_of("selection", "rectangle", 4), ElementsAre(248, 251, 256, 259));  // bottom-right
  EXPECT_THAT(coords_of("selection", "rectangle", 7), ElementsAre(193, 161, 201, 169));  // top middle
  // The selection lies above every control.
  const auto all = interp().call_obj({canvas(), "find", "all"}).to_list();
  EXPECT_EQ(tcl({canvas(), "gettags", all.back()}), "selection");
}

// The canvas after drag steps drawn incrementally equals a full redraw.
TEST_F(DrawingTest, IncrementalDragStepsMatchAFullRedraw) {
  int n = 0;
  for (const ControlSpec& row : CONTROL_SPECS) {
    Control& c = add(std::string(row.kind), (n % 5) * 120, (n / 5) * 60);
    c.caption = "C" + std::to_string(n);
    c.items = "x|y";
    c.value = 40;
    c.visible = n % 4 != 0;
    ++n;
  }
  form().width = 700;
  form().height = 420;
  ide().draw_form();
  auto same_after = [&](const char* what) {
    const auto incremental = items();
    ide().draw_form();
    EXPECT_EQ(incremental, items()) << what;
  };
  // Move the ListBox (index 5), which lies under later controls.
  const Control& list = form().controls[5];
  press(cx(list.left + 5), cy(list.top + 5));
  motion(cx(list.left + 5) + 37, cy(list.top + 5) + 13);
  motion(cx(list.left + 5) + 61, cy(list.top + 5) + 29);
  same_after("move");
  release(0, 0);
  // Resize it by its corner.
  const int right = cx(list.left + list.width), bottom = cy(list.top + list.height);
  press(right - 2, bottom - 2);
  motion(right + 40, bottom + 25);
  motion(right + 70, bottom - 30);
  same_after("resize");
  release(0, 0);
  // Resize the first control, which lies directly above the form's window.
  const Control& first = form().controls[0];
  press(cx(first.left + first.width) - 1, cy(first.top + first.height) - 1);
  motion(cx(first.left + first.width) + 30, cy(first.top + first.height) + 30);
  same_after("resize first");
  release(0, 0);
  // Resize the form by its grip.
  const int grip_x = cx(form().width) - 2, grip_y = cy(form().height) - 2;
  press(grip_x, grip_y);
  motion(grip_x + 52, grip_y + 92);
  motion(grip_x + 152, grip_y + 42);
  same_after("form");
  release(0, 0);
  EXPECT_EQ(form().width, 848);
}

// The stippled dot grid against what one outlined square per dot draws,
// pixel for pixel, also with the canvas scrolled.
class DotGridPixels : public DrawingTest {
 protected:
  std::vector<unsigned long> grab(int x, int y, int w, int h) {
    interp().update();
    Tk_Window main = Tk_MainWindow(interp().raw());
    Display* display = Tk_Display(main);
    const Window window = static_cast<Window>(std::stoul(tcl({"winfo", "id", canvas()}), nullptr, 0));
    XSync(display, False);
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                              ZPixmap);
    std::vector<unsigned long> pixels;
    if (!image) return pixels;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) pixels.push_back(XGetPixel(image, i, j));
    XDestroyImage(image);
    return pixels;
  }
  void draw_dots_one_by_one() {
    tcl({canvas(), "delete", "dot-grid"});
    for (int x = 42 + 8; x < 42 + form().width; x += 8)
      for (int y = 65 + 8; y < 65 + form().height; y += 8)
        tcl({canvas(), "create", "rectangle", x, y, x + 1, y + 1, "-outline", "#c1c5ca"});
    tcl({canvas(), "raise", "form-grip"});
  }
};

TEST_F(DotGridPixels, StippledGridMatchesOneSquarePerDot) {
  form().width = 257;  // a last column of dots on the window's border
  form().height = 121;
  tcl({widgets().tabs, "select", 0});
  for (const double fraction : {0.0, 0.0041}) {
    ide().draw_form();
    tcl({canvas(), "xview", "moveto", fraction});
    tcl({canvas(), "yview", "moveto", fraction});
    const auto stippled = grab(30, 30, 300, 180);
    draw_dots_one_by_one();
    const auto squares = grab(30, 30, 300, 180);
    ASSERT_FALSE(stippled.empty());
    EXPECT_EQ(stippled, squares) << "scrolled to " << tcl({canvas(), "canvasx", 0}) << ", "
                                 << tcl({canvas(), "canvasy", 0});
    tcl({canvas(), "xview", "moveto", 0});
    tcl({canvas(), "yview", "moveto", 0});
  }
}

}  // namespace
}  // namespace corvane::testing
