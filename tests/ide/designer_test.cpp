// The designer driven by real Tk events on the design canvas: placement,
// moving and resizing controls, resizing the form, hit order, keys, the
// commands on the selection, the context menu and the double-click to code.
#include "designer_fixture.h"
#include "ide/designer.h"
#include "ide/designer_geometry.h"

namespace corvane::testing {
namespace {

using ide::snap;

TEST(DesignerSnap, RoundsHalfToEven) {
  const std::pair<int, int> cases[] = {{4, 0},   {12, 16}, {20, 16}, {28, 32}, {100, 96}, {-4, 0},
                                       {-12, -16}, {-20, -16}, {3, 0}, {5, 8},   {0, 0},   {-5, -8}};
  for (const auto& [in, out] : cases) EXPECT_EQ(snap(in), out) << in;
}

TEST_F(DesignerTest, PlacingAKindSnapsItInsideTheClientAreaAndReturnsToThePointer) {
  ide().choose_tool("TextBox");
  click(cx(100), cy(50));
  ASSERT_EQ(form().controls.size(), 1u);
  const Control& c = form().controls[0];
  EXPECT_EQ(c.name, "Text1");
  EXPECT_EQ(c.left, 96);  // 12.5 goes to 12
  EXPECT_EQ(c.top, 48);   // 6.25 goes to 6
  EXPECT_EQ(state().selected, "Text1");
  EXPECT_FALSE(state().pending_kind);
  EXPECT_TRUE(state().dirty);
  EXPECT_EQ(tcl({canvas(), "cget", "-cursor"}), "arrow");
}

TEST_F(DesignerTest, PlacementOutsideTheClientAreaPlacesNothingAndKeepsTheKind) {
  ide().choose_tool("CommandButton");
  click(cx(-1), cy(10));  // just left of the client area
  click(cx(50), 50);      // on the title bar
  click(cx(form().width), cy(10));
  click(cx(10), cy(form().height));
  EXPECT_TRUE(form().controls.empty());
  EXPECT_EQ(state().pending_kind, "CommandButton");
  EXPECT_FALSE(state().dirty);
  click(cx(form().width - 1), cy(form().height - 1));  // the last pixel inside still places
  EXPECT_EQ(form().controls.size(), 1u);
}

TEST_F(DesignerTest, MovingSnapsAndClampsTheTopLeftCorner) {
  add("CommandButton", 24, 24);
  drag(cx(40), cy(30), cx(40) + 21, cy(30) + 11);  // +21 -> 45 -> 48; +11 -> 35 -> 32
  EXPECT_EQ(control("Command1")->left, 48);
  EXPECT_EQ(control("Command1")->top, 32);
  drag(cx(60), cy(40), cx(60) + 3000, cy(40) - 500);
  EXPECT_EQ(control("Command1")->left, form().width - 12);
  EXPECT_EQ(control("Command1")->top, 0);
  drag(cx(form().width - 11), cy(5), 1, cy(5) + 4000);  // 11 pixels inside the edge: not the edge zone
  EXPECT_EQ(control("Command1")->left, 0);
  EXPECT_EQ(control("Command1")->top, form().height - 12);
  EXPECT_EQ(control("Command1")->width, 110);  // a move never resizes
}

TEST_F(DesignerTest, ResizingByTheCornerStopsAt16AndAPressFurtherOutMoves) {
  add("ListBox", 40, 40);  // 150 x 90
  const int right = cx(40 + 150), bottom = cy(40 + 90);
  drag(right - 9, bottom - 9, right + 37, bottom + 5);
  EXPECT_EQ(control("List1")->width, 192);  // 150 + 46 = 196: 24.5 steps go to 24
  EXPECT_EQ(control("List1")->height, 104);  // 90 + 14 = 104: 13 steps
  drag(cx(40 + 192), cy(40 + 104), 0, 0);
  EXPECT_EQ(control("List1")->width, 16);
  EXPECT_EQ(control("List1")->height, 16);
  EXPECT_EQ(control("List1")->left, 40);
  // 10 pixels from the corner: a move.
  add("Frame", 200, 200);  // 190 x 125
  const int fr = cx(200 + 190), fb = cy(200 + 125);
  drag(fr - 10, fb - 10, fr + 6, fb + 6);
  EXPECT_EQ(control("Frame1")->width, 190);
  EXPECT_EQ(control("Frame1")->left, 216);
}

TEST_F(DesignerTest, FormEdgesResizeTheFormDownToItsMinimum) {
  const int right = cx(640);
  drag(right, cy(100), right - 1000, cy(100));
  EXPECT_EQ(form().width, 240);
  EXPECT_EQ(form().height, 440);  // the right edge alone keeps the height
  add("CommandButton", 300, 24);  // right edge at 410
  drag(cx(240) + 8, cy(100), 0, cy(100));  // outside the form, within 10 pixels of its edge
  EXPECT_EQ(form().width, 422);
  // The grip resizes both; the bottom edge alone keeps the width.
  drag(cx(422) - 3, cy(440) - 3, cx(422) + 101, cy(440) + 61);
  EXPECT_EQ(form().width, 528);   // 422 + 104 = 526 snaps to 528
  EXPECT_EQ(form().height, 504);  // 440 + 64
  drag(cx(300), cy(504) + 9, cx(300), 0);
  EXPECT_EQ(form().height, 160);
  EXPECT_EQ(form().width, 528);
  EXPECT_FALSE(state().selected);
}

TEST_F(DesignerTest, EdgeZonesStartBelowTheTitleBar) {
  const int right = cx(640);
  drag(right + 9, cy(3), right + 100, cy(3));  // level with the client area: resizes
  EXPECT_EQ(form().width, 728);
  drag(cx(728) + 5, cy(2), cx(728) + 200, cy(2));  // level with the title bar: nothing
  EXPECT_EQ(form().width, 728);
  EXPECT_FALSE(state().selected);
}

TEST_F(DesignerTest, AControlAtTheFormEdgeIsNotGrabbedInsideTheEdgeZone) {
  add("CommandButton", 640 - 110, 100);  // touches the right edge
  drag(cx(640) - 8, cy(110), cx(640) - 8 + 80, cy(110));
  EXPECT_EQ(form().width, 720);
  EXPECT_EQ(control("Command1")->left, 530);
  EXPECT_FALSE(state().selected);
}

TEST_F(DesignerTest, OverlapSelectsTheLaterControlAndEmptySpaceTheForm) {
  add("CommandButton", 24, 24);
  add("CommandButton", 60, 30);
  click(cx(70), cy(40));
  EXPECT_EQ(state().selected, "Command2");
  click(cx(24), cy(24));  // the edge counts as inside
  EXPECT_EQ(state().selected, "Command1");
  click(cx(300), cy(300));
  EXPECT_FALSE(state().selected);
  click(cx(30), cy(24));
  click(cx(100), 50);  // the title bar
  EXPECT_FALSE(state().selected);
  click(10, 10);  // the grey canvas
  EXPECT_FALSE(state().selected);
  // A press on empty space starts no drag: the motion that follows moves nothing.
  drag(cx(300), cy(300), cx(20), cy(20));
  EXPECT_EQ(control("Command1")->left, 24);
  EXPECT_EQ(form().width, 640);
}

TEST_F(DesignerTest, AControlBeyondTheFormIsStillHit) {
  Control& c = add("CommandButton", 600, 24);  // reaches 70 pixels past the right edge
  (void)c;
  click(cx(700), cy(30));
  EXPECT_EQ(state().selected, "Command1");
}

TEST_F(DesignerTest, ASingleClickOnAControlMarksTheProjectModified) {
  add("Label", 24, 24);
  state().dirty = false;
  click(cx(30), cy(30));
  EXPECT_TRUE(state().dirty);
  EXPECT_EQ(control("Label1")->left, 24);
  state().dirty = false;
  click(cx(300), cy(300));  // empty space: no drag, no change
  EXPECT_FALSE(state().dirty);
}

TEST_F(DesignerTest, ArrowKeysNudgeTheSelectionWithoutSnapping) {
  add("Label", 4, 30);
  key("Left");  // nothing selected
  EXPECT_EQ(control("Label1")->left, 4);
  click(cx(10), cy(35));
  key("Left");
  EXPECT_EQ(control("Label1")->left, 0);
  key("Right");
  key("Right");
  EXPECT_EQ(control("Label1")->left, 16);
  key("Up");
  EXPECT_EQ(control("Label1")->top, 22);
  key("Up");
  key("Up");
  key("Up");
  EXPECT_EQ(control("Label1")->top, 0);
  key("Down");
  EXPECT_EQ(control("Label1")->top, 8);
  key("a");
  EXPECT_EQ(control("Label1")->top, 8);
  EXPECT_EQ(tcl({tree(), "set", "Top", "value"}), "8");  // the grid follows
}

TEST_F(DesignerTest, DuplicateCopiesEverythingButNameTabIndexAndPosition) {
  Control& c = add("CommandButton", 24, 24);
  c.caption = "OK";
  c.width = 120;
  c.visible = false;
  c.fore_color = "#102030";
  c.font_size = 14;
  c.items = "a|b";
  state().selected = "Command1";
  ide().duplicate_control();
  ASSERT_EQ(form().controls.size(), 2u);
  Control copy = form().controls[1];
  EXPECT_EQ(copy.name, "Command2");
  EXPECT_EQ(copy.left, 40);
  EXPECT_EQ(copy.top, 40);
  EXPECT_EQ(copy.tab_index, 1);
  EXPECT_EQ(state().selected, "Command2");
  copy.name = "Command1";
  copy.left = copy.top = 24;
  copy.tab_index = 0;
  EXPECT_EQ(copy, form().controls[0]);
}

TEST_F(DesignerTest, DeleteAndSnapActOnTheSelectionOnly) {
  add("Label", 13, 21);
  add("TextBox", 100, 100);
  form().controls[1].tab_index = 7;
  ide().delete_control();  // nothing selected
  ide().snap_selected();
  EXPECT_EQ(form().controls.size(), 2u);
  EXPECT_FALSE(state().dirty);
  click(cx(20), cy(25));
  ide().snap_selected();
  EXPECT_EQ(control("Label1")->left, 16);
  EXPECT_EQ(control("Label1")->top, 24);
  key("Delete");
  ASSERT_EQ(form().controls.size(), 1u);
  EXPECT_EQ(form().controls[0].name, "Text1");
  EXPECT_EQ(form().controls[0].tab_index, 7);  // the others keep their tab indexes
  EXPECT_FALSE(state().selected);
  EXPECT_EQ(tcl({widgets().prop_caption, "cget", "-text"}), "Form1  (VB.Form)");
  state().selected = "Gone";  // a vanished selection does nothing
  ide().delete_control();
  ide().duplicate_control();
  EXPECT_EQ(form().controls.size(), 1u);
}

TEST_F(DesignerTest, HoverCursorsFollowTheEdgeZones) {
  auto cursor_at = [&](int x, int y) {
    hover(x, y);
    return tcl({canvas(), "cget", "-cursor"});
  };
  EXPECT_EQ(cursor_at(cx(640), cy(440)), "bottom_right_corner");
  EXPECT_EQ(cursor_at(cx(640) + 10, cy(100)), "right_side");
  EXPECT_EQ(cursor_at(cx(100), cy(440) - 10), "bottom_side");
  EXPECT_EQ(cursor_at(cx(100), cy(100)), "arrow");
  ide().choose_tool("Label");
  EXPECT_EQ(cursor_at(cx(640), cy(440)), "crosshair");  // a pending kind keeps its cursor
  ide().use_pointer();
}

TEST_F(DesignerTest, ContextMenuEnablesControlCommandsOnlyOverAControl) {
  add("CommandButton", 24, 24);
  click(cx(30), cy(30));
  const std::string menu = canvas() + ".context";
  auto states = [&] {
    return tcl({menu, "entrycget", 1, "-state"}) + " " + tcl({menu, "entrycget", 2, "-state"});
  };
  event(canvas(), "<ButtonPress-3>", {"-x", cx(300), "-y", cy(300)});
  EXPECT_EQ(states(), "disabled disabled");
  EXPECT_EQ(state().selected, "Command1");  // empty space keeps the selection
  EXPECT_EQ(tcl({menu, "entrycget", 0, "-label"}), "View Code");
  EXPECT_EQ(tcl({menu, "entrycget", 0, "-state"}), "normal");
  tcl({"tk::MenuUnpost", menu});
  click(cx(300), cy(300));
  event(canvas(), "<ButtonPress-3>", {"-x", cx(30), "-y", cy(30)});
  EXPECT_EQ(states(), "normal normal");
  EXPECT_EQ(state().selected, "Command1");
  tcl({menu, "invoke", 1});  // Duplicate Control
  tcl({"tk::MenuUnpost", menu});
  EXPECT_EQ(form().controls.size(), 2u);
  EXPECT_EQ(state().selected, "Command2");
}

TEST_F(DesignerTest, DoubleClickOpensTheFormsCodeEvenWithAClassOpen) {
  add("CommandButton", 24, 24);
  ide().add_class();
  ClassModule& klass = state().project.classes.back();
  const std::string class_code = klass.code;
  ASSERT_FALSE(state().current_module.empty());
  ide().select_tab(0);
  double_click(cx(30), cy(30));
  EXPECT_EQ(state().selected, "Command1");
  EXPECT_TRUE(state().current_module.empty());
  EXPECT_TRUE(state().editor_owner.holds(ide::EditorKind::form, state().form));
  EXPECT_EQ(tcl({widgets().tabs, "index", "current"}), "1");
  EXPECT_EQ(klass.code, class_code);
}

TEST_F(DesignerTest, DoubleClickChoosesTheObjectsFirstEvent) {
  add("CommandButton", 0, 0);
  add("Timer", 0, 0);
  add("TextBox", 0, 0);
  add("VScrollBar", 0, 0);
  add("Shape", 0, 0);
  EXPECT_EQ(ide::default_event(form(), "Form1"), "Load");
  EXPECT_EQ(ide::default_event(form(), "Command1"), "Click");
  EXPECT_EQ(ide::default_event(form(), "timer1"), "Timer");
  EXPECT_EQ(ide::default_event(form(), "Text1"), "Change");
  EXPECT_EQ(ide::default_event(form(), "VScroll1"), "Change");
  EXPECT_EQ(ide::default_event(form(), "Shape1"), "Click");
  // A double-click on empty space selects the form.
  state().selected = "Command1";
  double_click(cx(400), cy(400));
  EXPECT_FALSE(state().selected);
}

TEST_F(DesignerTest, NothingHappensWithoutAProject) {
  ide().clear_editor();
  state().form = nullptr;
  state().project = ide::EditingState::no_project();
  ide().draw_form();
  ide().show_properties();
  click(cx(30), cy(30));
  double_click(cx(30), cy(30));
  event(canvas(), "<ButtonPress-3>", {"-x", cx(30), "-y", cy(30)});
  key("Left");
  ide().delete_control();
  EXPECT_FALSE(state().dirty);
  EXPECT_EQ(tcl({canvas(), "cget", "-cursor"}), "arrow");
  EXPECT_EQ(count_items("all"), 2);  // the two lines of the notice
}

}  // namespace
}  // namespace corvane::testing
