// Hostile texts in captions, texts, items, menus and titles show literally
// and run nothing.
#include <filesystem>
#include <unistd.h>

#include "forms_fixture.h"

namespace corvane::testing {
namespace {

using SecurityTest = FormsTest;

TEST_F(SecurityTest, HostileTextsShowLiterallyAndRunNothing) {
  const std::string sentinel =
      (std::filesystem::temp_directory_path() / ("corvane-forms-" + std::to_string(::getpid()))).string();
  std::filesystem::remove(sentinel);
  const std::string exec = "[exec touch " + sentinel + "]";
  const std::vector<std::string> hostile = {exec, "$env(HOME)", "{", "}", "a\\b\\", "\" ; " + exec + " {"};
  for (const std::string& text : hostile) {
    SetUp();
    VBForm& form = add_form("Form1", "", {{"Label", "Label1"}, {"TextBox", "Text1"}, {"ListBox", "List1"},
                                          {"ComboBox", "Combo1"}, {"Frame", "Frame1"}, {"TreeView", "Tree1"},
                                          {"TabStrip", "Tab1"}, {"RichTextBox", "Rich1"}});
    form.caption = text;
    for (Control& c : form.controls) {
      c.caption = text;
      c.text = text;
      c.items = text + "|" + text;
    }
    MenuItem top{"mnuTop", text, {}};
    top.children.push_back({"mnuChild", text, {}});
    form.menus.push_back(top);
    start_session("Form1");
    Preview& p = *host_->preview;
    pump(20);
    EXPECT_EQ(tcl({"wm", "title", p.window}), text);
    EXPECT_EQ(p.vars.at("label1").text(), text);
    EXPECT_EQ(tcl({p.widget_of("Text1"), "get"}), text);
    EXPECT_EQ(tcl({p.widget_of("List1"), "get", 1}), text);
    EXPECT_EQ(tk::Obj(tcl({p.widget_of("Combo1"), "cget", "-values"})).to_list().at(0).str(), text);
    EXPECT_EQ(tcl({p.widget_of("Frame1"), "cget", "-text"}), text);
    EXPECT_EQ(tcl({p.widget_of("Rich1"), "get", "1.0", "end-1c"}), text);
    const std::string tree = p.widget_of("Tree1");
    EXPECT_EQ(tcl({tree, "item", tk::Obj(tcl({tree, "children", ""})).to_list().at(0), "-text"}), text);
    const std::string bar = tcl({p.window, "cget", "-menu"});
    EXPECT_EQ(tcl({bar, "entrycget", 0, "-label"}), text);
    EXPECT_EQ(tcl({tcl({bar, "entrycget", 0, "-menu"}), "entrycget", 0, "-label"}), text);
    // The same texts set and added from code.
    p.runtime->assign("Me.Caption", Value(text + "!"), *p.runtime->globals);
    EXPECT_EQ(tcl({"wm", "title", p.window}), text + "!");
    p.runtime->assign("Label1.Caption", Value(text + "?"), *p.runtime->globals);
    EXPECT_EQ(p.vars.at("label1").text(), text + "?");
    std::vector<Value> args{Value(text + "#")};
    p.objects.at("list1")->method("AddItem", args);
    p.objects.at("combo1")->method("AddItem", args);
    EXPECT_EQ(tcl({p.widget_of("List1"), "get", "end"}), text + "#");
    p.runtime->assign("Text1.Text", Value(text + "%"), *p.runtime->globals);
    EXPECT_EQ(tcl({p.widget_of("Text1"), "get"}), text + "%");
    answers_ = {text};
    EXPECT_EQ(eval(p, "InputBox(\"x\")"), text);
    pump(10);
    TearDown();
  }
  EXPECT_FALSE(std::filesystem::exists(sentinel));
}

}  // namespace
}  // namespace corvane::testing
