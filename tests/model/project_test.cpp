#include <gtest/gtest.h>

#include "model/control_kinds.h"
#include "model/names.h"
#include "model/project.h"

namespace corvane {
namespace {

TEST(ControlSpecs, TableHasTwentyNineKindsWithPrefixesInSameOrder) {
  ASSERT_EQ(CONTROL_SPECS.size(), 29u);
  for (size_t i = 0; i < CONTROL_SPECS.size(); ++i) EXPECT_EQ(CONTROL_SPECS[i].kind, KIND_PREFIX[i].kind);
  EXPECT_EQ(CONTROL_SPECS.front().kind, "Label");
  EXPECT_EQ(CONTROL_SPECS[18].kind, "Data");
  EXPECT_EQ(CONTROL_SPECS.back().kind, "MSFlexGrid");
  EXPECT_EQ(kind_prefix("TextBox"), "Text");
  EXPECT_EQ(find_control_spec("textbox"), nullptr);  // kinds are matched exactly
  EXPECT_THROW(kind_prefix("Gauge"), std::out_of_range);
}

TEST(ControlCreate, CaptionOnlyForKindsWithCaptionWord) {
  for (const ControlSpec& row : CONTROL_SPECS) {
    Control c = Control::create(row.kind, "X1");
    EXPECT_EQ(c.width, row.width) << row.kind;
    EXPECT_EQ(c.height, row.height) << row.kind;
    const bool captioned = row.kind == "Label" || row.kind == "CommandButton" || row.kind == "CheckBox" ||
                           row.kind == "OptionButton" || row.kind == "Frame";
    EXPECT_EQ(c.caption, captioned ? "X1" : "") << row.kind;
    EXPECT_EQ(c.left, 24);
    EXPECT_EQ(c.tab_index, 0);
    EXPECT_EQ(c.interval, 1000);
  }
  EXPECT_THROW(Control::create("Gauge", "Gauge1"), std::out_of_range);
}

TEST(NewControl, ClampsPositionAndNumbersTabOrder) {
  VBForm form;
  Control& text = form.new_control("TextBox", -5, 10);
  EXPECT_EQ(text.name, "Text1");
  EXPECT_EQ(text.left, 0);
  EXPECT_EQ(text.top, 10);
  EXPECT_EQ(text.width, 146);
  EXPECT_EQ(text.height, 27);
  EXPECT_EQ(text.tab_index, 0);
  EXPECT_EQ(text.caption, "");
  EXPECT_EQ(form.new_control("Label", 0, -1).tab_index, 1);
}

TEST(NewControl, FillsGapsAndComparesNamesCaseInsensitively) {
  VBForm form;
  form.controls.push_back(Control::create("CommandButton", "Command1"));
  form.controls.push_back(Control::create("CommandButton", "command3"));
  EXPECT_EQ(form.new_control("CommandButton", 0, 0).name, "Command2");
  form.controls.back().name = "COMMAND2";
  EXPECT_EQ(form.new_control("CommandButton", 0, 0).name, "Command4");
  // Menus and the form's own name do not take part in naming.
  form.name = "Text1";
  form.menus.push_back(MenuItem{"Text2", "x", {}});
  EXPECT_EQ(form.new_control("TextBox", 0, 0).name, "Text1");
}

TEST(ControlArrays, NewElementsTakeTheNextIndexAndCopyTheFirstMember) {
  VBForm form;
  Control& first = form.new_control("CommandButton", 10, 10);
  first.caption = "Digit";
  first.width = 40;
  EXPECT_EQ(form.next_free_index("command1"), 1);
  Control& second = form.new_array_element("COMMAND1", 60, -4);
  EXPECT_EQ(form.controls[0].index, 0);  // the single control became member 0
  EXPECT_EQ(second.name, "Command1");
  EXPECT_EQ(second.index, 1);
  EXPECT_EQ(second.caption, "Digit");
  EXPECT_EQ(second.width, 40);
  EXPECT_EQ(second.left, 60);
  EXPECT_EQ(second.top, 0);
  EXPECT_EQ(second.tab_index, 1);
  form.controls[1].index = 7;  // indexes need not be contiguous
  EXPECT_EQ(form.new_array_element("Command1", 0, 0).index, 8);
  EXPECT_EQ(form.get_control("command1", 7), &form.controls[1]);
  EXPECT_EQ(form.get_control("Command1", 3), nullptr);
  EXPECT_EQ(form.get_control("Command1"), &form.controls[0]);
  EXPECT_EQ(form.next_free_index("Other"), 0);
  EXPECT_THROW(form.new_array_element("Other", 0, 0), std::out_of_range);
  // Array members keep the name taken for new controls.
  EXPECT_EQ(form.new_control("CommandButton", 0, 0).name, "Command2");
}

TEST(ControlArrays, NamesAreUniquePerNameAndIndex) {
  VBForm form;
  form.controls.push_back(Control::create("OptionButton", "optKind"));
  form.controls.back().index = 0;
  form.controls.push_back(Control::create("OptionButton", "optKind"));
  form.controls.back().index = 2;
  form.controls.push_back(Control::create("TextBox", "txtName"));
  EXPECT_TRUE(form.name_available("OPTKIND", 1, "OptionButton"));
  EXPECT_FALSE(form.name_available("optKind", 2, "OptionButton"));
  EXPECT_FALSE(form.name_available("optKind", -1, "OptionButton"));   // a plain control cannot join an array's name
  EXPECT_FALSE(form.name_available("optKind", 1, "CheckBox"));        // members share one kind
  EXPECT_FALSE(form.name_available("txtName", 0, "TextBox"));         // nor can a member take a plain control's
  EXPECT_TRUE(form.name_available("txtName", -1, "TextBox", &form.controls[2]));  // renaming to its own name
  EXPECT_TRUE(form.name_available("optKind", 2, "OptionButton", &form.controls[1]));
}

TEST(Containers, PositionsAddUpThroughTheContainers) {
  VBForm form;
  form.controls.push_back(Control::create("PictureBox", "picPage", 100, 200));
  form.controls.back().index = 1;
  form.controls.push_back(Control::create("Frame", "fraMode", 10, 20));
  form.controls.back().container = "PICPAGE";
  form.controls.back().container_index = 1;
  form.controls.push_back(Control::create("OptionButton", "optMode", 3, 4));
  form.controls.back().container = "fraMode";
  EXPECT_EQ(form.container_of(form.controls[2]), &form.controls[1]);
  EXPECT_EQ(form.container_of(form.controls[0]), nullptr);
  EXPECT_EQ(form.form_position(form.controls[2]), (std::pair<int, int>{113, 224}));
  form.controls[1].container_index = 0;  // no such member: the frame sits on the form
  EXPECT_EQ(form.form_position(form.controls[2]), (std::pair<int, int>{13, 24}));
  // Containers holding each other in a circle cannot loop.
  form.controls[1].container = "optMode";
  form.controls[1].container_index = -1;
  form.form_position(form.controls[2]);
  form.controls[2].container = "optMode";
  EXPECT_EQ(form.container_of(form.controls[2]), nullptr);
}

TEST(Lookups, FirstCaseInsensitiveMatchWins) {
  Project project;
  project.forms.push_back(VBForm{});
  project.forms[0].caption = "first";
  project.forms[1].name = "FORM1";
  project.forms[1].caption = "second";
  ASSERT_NE(project.lookup_form("form1"), nullptr);
  EXPECT_EQ(project.lookup_form("form1")->caption, "first");
  EXPECT_EQ(project.lookup_form("Form2"), nullptr);
  project.modules.push_back(Module{"Tools"});
  project.classes.push_back(ClassModule{"Account"});
  EXPECT_NE(project.lookup_module("TOOLS"), nullptr);
  EXPECT_NE(project.lookup_class("account"), nullptr);
  EXPECT_EQ(project.lookup_class("Tools"), nullptr);
}

TEST(Names, UnicodeCaseFolding) {
  EXPECT_TRUE(names_equal("Straße", "STRASSE"));
  EXPECT_TRUE(names_equal("Ärger", "äRGER"));
  EXPECT_FALSE(names_equal("Ärger", "Arger"));
  EXPECT_TRUE(names_equal("abc", "ABC"));
  EXPECT_FALSE(names_equal("abc", "abcd"));
  EXPECT_EQ(fold_name("ΣΊΣΥΦΟΣ"), fold_name("σίσυφος"));
}

TEST(Defaults, RecordsStartAsDocumented) {
  Project project;
  ASSERT_EQ(project.forms.size(), 1u);
  EXPECT_EQ(project.forms[0].name, "Form1");
  EXPECT_EQ(project.startup, "Form1");
  EXPECT_FALSE(project.path.has_value());
  EXPECT_EQ(project.forms[0].code, "Option Explicit\n");
  Module module{"Module2"};
  EXPECT_EQ(module.code, "Attribute VB_Name = \"Module1\"\nOption Explicit\n");
}

TEST(Sample, HelloWorldProject) {
  Project p = Project::sample();
  EXPECT_EQ(p.name, "HelloWorld");
  ASSERT_EQ(p.forms.size(), 1u);
  const VBForm& f = p.forms[0];
  EXPECT_EQ(f.caption, "Welcome to Corvane");
  EXPECT_EQ(f.width, 660);
  EXPECT_EQ(f.height, 410);
  ASSERT_EQ(f.controls.size(), 3u);
  EXPECT_EQ(f.controls[0].name, "Label1");
  EXPECT_EQ(f.controls[0].width, 480);
  EXPECT_EQ(f.controls[0].height, 25);
  EXPECT_EQ(f.controls[1].name, "Text1");
  EXPECT_EQ(f.controls[1].text, "World");
  EXPECT_EQ(f.controls[1].top, 91);
  EXPECT_EQ(f.controls[2].name, "Command1");
  EXPECT_EQ(f.controls[2].caption, "Say Hello");
  EXPECT_EQ(f.controls[2].tab_index, 2);
  EXPECT_NE(f.code.find("    MsgBox greeting, 0, \"Visual Basic\"\n"), std::string::npos);
  EXPECT_EQ(f.code.back(), '\n');
}

}  // namespace
}  // namespace corvane
