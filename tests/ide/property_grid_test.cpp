// The property grid driven through its tree: rows and caption, the inline
// editor (Return, Escape, focus loss), every rule and message of the row
// table, renames, and the drawn cell borders after scrolling and resizing.
#include "designer_fixture.h"
#include "ide/property_rows.h"

namespace corvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PropertyGridTest : public DesignerTest {
 protected:
  std::vector<std::string> row_ids() {
    std::vector<std::string> out;
    for (const tk::Obj& id : interp().call_obj({tree(), "children", ""}).to_list()) out.push_back(id.str());
    return out;
  }
  std::string value(const std::string& row) { return tcl({tree(), "set", row, "value"}); }
  std::string caption() { return tcl({widgets().prop_caption, "cget", "-text"}); }
  std::string value_line() { return tcl({"set", widgets().selected_property_var}); }

  // Double-clicks a cell of a row (column "property" or "value").
  void double_click_cell(const std::string& row, const char* column) {
    interp().update();
    tcl({tree(), "see", row});
    interp().update();
    const auto box = interp().call_obj({tree(), "bbox", row, column}).to_list();
    ASSERT_EQ(box.size(), 4u) << row << " is not visible";
    const int x = static_cast<int>(box[0].to_int()) + 6;
    const int y = static_cast<int>(box[1].to_int() + box[3].to_int() / 2);
    for (int i = 0; i < 2; ++i) {
      event(tree(), "<ButtonPress-1>", {"-x", x, "-y", y});
      event(tree(), "<ButtonRelease-1>", {"-x", x, "-y", y});
    }
  }
  // The open inline editor, or "".
  std::string editor() {
    for (const tk::Obj& child : interp().call_obj({"winfo", "children", tree()}).to_list())
      if (tcl({"winfo", "class", child}) == "Entry") return child.str();
    return "";
  }
  std::string open_editor(const std::string& row) {
    double_click_cell(row, "value");
    const std::string entry = editor();
    EXPECT_FALSE(entry.empty()) << "no editor for " << row;
    settle(interp());
    EXPECT_EQ(tcl({"focus"}), entry);
    return entry;
  }
  void type_into(const std::string& entry, const std::string& text) {
    tcl({entry, "delete", 0, "end"});
    tcl({entry, "insert", 0, text});
  }
  void press_key(const std::string& entry, const char* keysym) {
    event(entry, "<KeyPress>", {"-keysym", keysym});
    interp().update();
  }
  // Types a value into a row's inline editor and presses Return.
  void edit(const std::string& row, const std::string& text) {
    const std::string entry = open_editor(row);
    if (entry.empty()) return;
    type_into(entry, text);
    press_key(entry, "Return");
  }
  // Shows a form in the designer by selecting it in the explorer.
  void open_form(const std::string& item) {
    tcl({widgets().project_tree, "selection", "set", item});
    interp().update();
    ide().select_tab(0);
    ASSERT_EQ("f:" + form().name, item);
  }
  Control& select_new(const std::string& kind) {
    Control& c = add(kind, 24, 24);
    state().selected = c.name;
    ide().show_properties();
    return c;
  }
};

TEST_F(PropertyGridTest, AControlShowsItsSeventeenRowsInAlternatingColours) {
  Control& c = select_new("CommandButton");
  c.caption = "Go";
  c.visible = false;
  c.items = "a|b";
  ide().show_properties();
  EXPECT_THAT(row_ids(), ElementsAre("(Name)", "Caption", "Text", "Left", "Top", "Width", "Height", "Visible",
                                     "Enabled", "BackColor", "ForeColor", "FontSize", "Value", "TabIndex", "Interval",
                                     "Items", "RecordSource"));
  EXPECT_EQ(value("(Name)"), "Command1");
  EXPECT_EQ(value("Caption"), "Go");
  EXPECT_EQ(value("Width"), "110");
  EXPECT_EQ(value("Visible"), "False");
  EXPECT_EQ(value("Enabled"), "True");
  EXPECT_EQ(value("BackColor"), "#f0f0f0");
  EXPECT_EQ(value("Items"), "a|b");
  EXPECT_EQ(tcl({tree(), "set", "Left", "property"}), "Left");
  EXPECT_EQ(tcl({tree(), "item", "(Name)", "-tags"}), "even");
  EXPECT_EQ(tcl({tree(), "item", "Caption", "-tags"}), "odd");
  EXPECT_EQ(tcl({tree(), "item", "RecordSource", "-tags"}), "even");
  EXPECT_EQ(caption(), "Command1  (VB.CommandButton)");
  EXPECT_EQ(value_line(), "Select a property to view its entire value.");
}

TEST_F(PropertyGridTest, TheFormShowsFourRowsAndNoProjectNone) {
  EXPECT_THAT(row_ids(), ElementsAre("(Name)", "Caption", "Width", "Height"));
  EXPECT_EQ(value("Width"), "640");
  EXPECT_EQ(caption(), "Form1  (VB.Form)");
  Control& grid = select_new("DataGrid");
  grid.record_source = "SELECT 1";
  ide().show_properties();
  EXPECT_EQ(caption(), "DataGrid1  (Corvane.DataGrid)");
  EXPECT_EQ(value("RecordSource"), "SELECT 1");
  ide().clear_editor();
  state().form = nullptr;
  state().project = ide::EditingState::no_project();
  state().selected.reset();
  ide().show_properties();
  EXPECT_EQ(caption(), "No form");
  EXPECT_TRUE(row_ids().empty());
}

TEST_F(PropertyGridTest, SwitchingBetweenControlsShowsEachOnesValues) {
  Control& grid = add("DataGrid", 200, 24);
  grid.record_source = "Orders";
  grid.visible = false;
  Control& button = select_new("CommandButton");
  button.caption = "Go";
  ide().show_properties();
  tcl({tree(), "selection", "set", "Caption"});
  click(cx(210), cy(30));  // the grid control
  EXPECT_EQ(caption(), "DataGrid1  (Corvane.DataGrid)");
  EXPECT_EQ(value("(Name)"), "DataGrid1");
  EXPECT_EQ(value("Caption"), "");
  EXPECT_EQ(value("Left"), "200");
  EXPECT_EQ(value("Visible"), "False");
  EXPECT_EQ(value("RecordSource"), "Orders");
  EXPECT_EQ(tcl({tree(), "selection"}), "");  // a refill leaves no row selected
  click(cx(30), cy(30));
  EXPECT_EQ(value("Caption"), "Go");
  EXPECT_EQ(value("RecordSource"), "");
  click(cx(500), cy(400));  // the form
  EXPECT_THAT(row_ids(), ElementsAre("(Name)", "Caption", "Width", "Height"));
  EXPECT_EQ(value("Caption"), "Form1");
}

TEST_F(PropertyGridTest, ATextBoxShowsNoRecordSourceButStoresATypedOne) {
  Control& text = select_new("TextBox");
  text.record_source = "hidden";
  ide().show_properties();
  EXPECT_EQ(value("RecordSource"), "");
  edit("RecordSource", "Orders");
  EXPECT_EQ(control("Text1")->record_source, "Orders");
  EXPECT_TRUE(errors().empty());
}

// Every rule of the row table, in the grid's own words.
TEST_F(PropertyGridTest, EachRuleAcceptsOrRejectsWithItsMessage) {
  struct Case {
    const char* row;
    const char* typed;
    const char* shown;    // the value the grid shows afterwards
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"Width", "15", "110", "Minimum size: 16 pixels."},
      {"Width", "16", "16", nullptr},
      {"Height", "-3", "32", "Minimum size: 16 pixels."},
      {"Left", "-1", "24", "Value must be nonnegative."},
      {"Left", "  24  ", "24", nullptr},
      {"Left", "+40", "40", nullptr},
      {"Left", "abc", "40", "Left must be a whole number."},
      {"Left", "4.5", "40", "Left must be a whole number."},
      {"Top", "99999999999", "24", "Top is out of range."},
      {"Value", "-1", "-1", nullptr},
      {"TabIndex", "-2", "0", "Value must be nonnegative."},
      {"FontSize", "-1", "10", "Value must be nonnegative."},
      {"Interval", "-5", "1000", "Value must be nonnegative."},
      {"Interval", "0", "0", nullptr},
      {"Visible", " YES ", "True", nullptr},
      {"Visible", "no", "False", nullptr},
      {"Visible", "0", "False", nullptr},
      {"Enabled", "maybe", "True", "Enter True or False."},
      {"Enabled", "FALSE", "False", nullptr},
      {"BackColor", "#FFF", "#f0f0f0", "Color must be #RRGGBB."},
      {"BackColor", "#A0b1C2", "#A0b1C2", nullptr},
      {"ForeColor", "#12345g", "#000000", "Color must be #RRGGBB."},
      {"ForeColor", "#1234567", "#000000", "Color must be #RRGGBB."},
      {"Caption", "  spaced  ", "  spaced  ", nullptr},
      {"Items", "a|b|c", "a|b|c", nullptr},
  };
  select_new("CommandButton");
  for (const Case& c : cases) {
    dialogs_.clear();
    edit(c.row, c.typed);
    EXPECT_EQ(value(c.row), c.shown) << c.row << " <- '" << c.typed << "'";
    if (c.message) EXPECT_THAT(errors(), ElementsAre(c.message)) << c.row << " <- '" << c.typed << "'";
    else EXPECT_THAT(errors(), IsEmpty()) << c.row << " <- '" << c.typed << "'";
  }
  const Control& b = *control("Command1");
  EXPECT_EQ(b.width, 16);
  EXPECT_EQ(b.left, 40);
  EXPECT_EQ(b.value, -1);
  EXPECT_FALSE(b.visible);
  EXPECT_FALSE(b.enabled);
  EXPECT_EQ(b.back_color, "#A0b1C2");
}

TEST_F(PropertyGridTest, FailedEditsShowTheInvalidValueBoxAndLeaveTheModel) {
  select_new("Label");
  state().dirty = false;
  const VBForm before = form();
  edit("Left", "left");
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(tk::dialog_option(dialogs_[0], "-title"), "Invalid property value");
  EXPECT_EQ(form(), before);
  EXPECT_FALSE(state().dirty);
  EXPECT_EQ(value("Left"), "24");
}

TEST_F(PropertyGridTest, RenamingAControlKeepsItSelectedAndItsCode) {
  select_new("CommandButton");
  add("TextBox", 24, 80);
  form().code = "Private Sub Command1_Click()\nEnd Sub\n";
  edit("(Name)", "cmdOK");
  EXPECT_EQ(form().controls[0].name, "cmdOK");
  EXPECT_EQ(state().selected, "cmdOK");
  EXPECT_EQ(caption(), "cmdOK  (VB.CommandButton)");
  EXPECT_EQ(ide().status_text(), "Renamed. Update event procedure and code references if needed.");
  EXPECT_EQ(form().code, "Private Sub Command1_Click()\nEnd Sub\n");
  EXPECT_TRUE(state().dirty);

  const std::pair<const char*, const char*> rejected[] = {
      {"1abc", "Use a valid VB6 identifier."},   {"two words", "Use a valid VB6 identifier."},
      {"", "Use a valid VB6 identifier."},       {"text1", "Control names must be unique."},
  };
  for (const auto& [name, message] : rejected) {
    dialogs_.clear();
    edit("(Name)", name);
    EXPECT_THAT(errors(), ElementsAre(message)) << name;
    EXPECT_EQ(form().controls[0].name, "cmdOK");
  }
  edit("(Name)", "CMDok");  // its own name in another case
  EXPECT_EQ(form().controls[0].name, "CMDok");
  edit("(Name)", "Bouton\u00e9");  // letters of any alphabet after the first character
  EXPECT_EQ(form().controls[0].name, "Bouton\u00e9");
  dialogs_.clear();
  edit("(Name)", "\u00e9t\u00e9");  // but not as the first
  EXPECT_THAT(errors(), ElementsAre("Use a valid VB6 identifier."));
}

TEST_F(PropertyGridTest, RenamingTheFormMovesTheStartupNameAndChecksOtherNames) {
  ide().add_form();  // Form2
  open_form("f:Form1");
  add("Label", 10, 10);
  ide().show_properties();
  ASSERT_EQ(state().project.startup, "Form1");
  dialogs_.clear();
  edit("(Name)", "form2");
  EXPECT_THAT(errors(), ElementsAre("Form already exists."));
  dialogs_.clear();
  edit("(Name)", "LABEL1");  // a form may not take a control's name
  EXPECT_THAT(errors(), ElementsAre("Control names must be unique."));
  EXPECT_EQ(form().name, "Form1");
  EXPECT_EQ(state().project.startup, "Form1");
  edit("(Name)", "FORM1");
  EXPECT_EQ(form().name, "FORM1");
  EXPECT_EQ(state().project.startup, "FORM1");
  edit("(Name)", "frmMain");
  EXPECT_EQ(state().project.startup, "frmMain");
  EXPECT_EQ(caption(), "frmMain  (VB.Form)");
  EXPECT_EQ(tcl({widgets().project_tree, "exists", "f:frmMain"}), "1");  // the explorer follows
  // Renaming a form that is not the startup form leaves the startup name.
  open_form("f:Form2");
  edit("(Name)", "frmOther");
  EXPECT_EQ(state().project.startup, "frmMain");
  edit("Width", "300");
  EXPECT_EQ(state().project.forms[1].width, 300);
}

TEST_F(PropertyGridTest, LineBreaksBecomeBlanksAsTheSavedFileHasThem) {
  Control& c = select_new("Label");
  c.caption = "two\nlines";
  ide().show_properties();
  EXPECT_EQ(value("Caption"), "two lines");
  const std::string entry = open_editor("Caption");
  type_into(entry, "a\r\nb");
  press_key(entry, "Return");
  EXPECT_EQ(control("Label1")->caption, "a  b");
  EXPECT_EQ(value("Caption"), "a  b");
}

TEST_F(PropertyGridTest, EscapeCancelsAndFocusLossCommits) {
  select_new("CommandButton");
  std::string entry = open_editor("Caption");
  EXPECT_EQ(tcl({entry, "get"}), "Command1");
  EXPECT_EQ(tcl({entry, "selection", "present"}), "1");
  type_into(entry, "Cancelled");
  press_key(entry, "Escape");
  EXPECT_TRUE(editor().empty());
  EXPECT_EQ(control("Command1")->caption, "Command1");
  EXPECT_FALSE(state().dirty);

  entry = open_editor("Caption");
  type_into(entry, "Kept");
  tk::focus(interp(), canvas());
  settle(interp());
  EXPECT_TRUE(editor().empty());
  EXPECT_EQ(control("Command1")->caption, "Kept");
  EXPECT_TRUE(state().dirty);
}

TEST_F(PropertyGridTest, OnlyTheValueColumnOpensAnEditor) {
  select_new("CommandButton");
  double_click_cell("Caption", "property");
  EXPECT_TRUE(editor().empty());
  double_click_cell("Caption", "value");
  EXPECT_FALSE(editor().empty());
  press_key(editor(), "Escape");
}

TEST_F(PropertyGridTest, TheValueLineFollowsHoverAndSelection) {
  Control& c = select_new("Label");
  c.caption = "A long caption";
  ide().show_properties();
  interp().update();
  const auto box = interp().call_obj({tree(), "bbox", "Caption", "value"}).to_list();
  event(tree(), "<Motion>", {"-x", box[0].to_int() + 3, "-y", box[1].to_int() + 3});
  EXPECT_EQ(value_line(), "Caption: A long caption");
  tcl({tree(), "selection", "set", "Left"});
  interp().update();
  EXPECT_EQ(value_line(), "Left: 24");
  ide().show_properties();
  EXPECT_EQ(value_line(), "Select a property to view its entire value.");
}

TEST_F(PropertyGridTest, TheDesignerRefillsTheGridAsAControlIsDragged) {
  add("CommandButton", 24, 24);
  press(cx(30), cy(30));
  motion(cx(30) + 40, cy(30) + 16);
  EXPECT_EQ(value("Left"), "64");
  EXPECT_EQ(value("Top"), "40");
  release(cx(30) + 40, cy(30) + 16);
}

class GridLinesTest : public PropertyGridTest {
 protected:
  struct Placed {
    int x, y, w, h;
    bool operator==(const Placed&) const = default;
  };
  // The placed one-pixel frames over the tree (the inline editor excluded).
  std::vector<Placed> lines() {
    interp().update();
    std::vector<Placed> out;
    for (const tk::Obj& slave : interp().call_obj({"place", "slaves", tree()}).to_list()) {
      if (tcl({"winfo", "class", slave}) != "Frame") continue;
      auto info = interp().call_obj({"place", "info", slave}).to_list();
      auto get = [&](const char* key) {
        for (std::size_t i = 0; i + 1 < info.size(); i += 2)
          if (info[i].str() == key) return static_cast<int>(info[i + 1].to_int());
        return -1;
      };
      out.push_back({get("-x"), get("-y"), get("-width"), get("-height")});
    }
    return out;
  }
  // The borders the rows ask for now: under each fully visible row, then
  // the column border.
  std::vector<Placed> expected() {
    interp().update();
    const int width = static_cast<int>(interp().call_obj({"winfo", "width", tree()}).to_int());
    const int height = static_cast<int>(interp().call_obj({"winfo", "height", tree()}).to_int());
    std::vector<Placed> out;
    std::optional<Placed> column;
    for (const std::string& row : row_ids()) {
      const auto box = interp().call_obj({tree(), "bbox", row, "property"}).to_list();
      if (box.size() != 4) continue;
      const int top = static_cast<int>(box[1].to_int()), h = static_cast<int>(box[3].to_int());
      if (top >= 0 && top + h <= height + 2) out.push_back({0, top + h - 1, width, 1});
      if (!column) {
        const auto v = interp().call_obj({tree(), "bbox", row, "value"}).to_list();
        const int vx = static_cast<int>(v[0].to_int()), vy = static_cast<int>(v[1].to_int());
        column = Placed{vx - 1, vy, 1, std::max(0, height - vy)};
      }
    }
    if (column) out.push_back(*column);
    return out;
  }
  static std::vector<Placed> sorted(std::vector<Placed> v) {
    std::sort(v.begin(), v.end(), [](const Placed& a, const Placed& b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); });
    return v;
  }
  int pool_size() {
    int n = 0;
    for (const tk::Obj& child : interp().call_obj({"winfo", "children", tree()}).to_list())
      n += tcl({"winfo", "class", child}) == "Frame";
    return n;
  }
};

TEST_F(GridLinesTest, BordersFollowRowsAfterScrollingAndResizing) {
  select_new("CommandButton");
  const auto drawn = lines();
  EXPECT_EQ(sorted(drawn), sorted(expected()));
  EXPECT_GE(drawn.size(), 2u);
  // A narrower window: fewer rows fit, the cut-off row gets no border.
  const std::string geometry = tcl({"wm", "geometry", "."});
  tcl({"wm", "geometry", ".", "1000x640"});
  interp().run_until([] { return false; }, 200);
  const auto small = lines();
  EXPECT_EQ(sorted(small), sorted(expected()));
  EXPECT_LT(small.size(), 18u);
  tcl({tree(), "yview", "scroll", 4, "units"});
  const auto scrolled = lines();
  EXPECT_EQ(sorted(scrolled), sorted(expected()));
  EXPECT_EQ(tcl({tree(), "bbox", "(Name)"}), "");  // the borders now belong to other rows
  // The column border follows the column width.
  ide().interp().call({tree(), "column", "property", "-width", 150});
  ide().show_properties();
  EXPECT_EQ(sorted(lines()), sorted(expected()));
  tcl({"wm", "geometry", ".", geometry});
  interp().run_until([] { return false; }, 200);
  // Frames are reused: redraws never grow the pool past the rows it needs.
  const int pool = pool_size();
  for (int i = 0; i < 5; ++i) ide().show_properties();
  lines();
  EXPECT_EQ(pool_size(), pool);
  EXPECT_LE(pool, 18);
  ide().interp().call({tree(), "column", "property", "-width", 108});
}

TEST_F(GridLinesTest, TheNameColumnWidthIsSavedWithThePanelSizes) {
  tcl({tree(), "column", "property", "-width", 140});
  EXPECT_EQ(ide().panel_positions().value("property_name_width", 0), 140);
  tcl({tree(), "column", "property", "-width", 108});
}

}  // namespace
}  // namespace corvane::testing
