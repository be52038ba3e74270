// The project explorer, the toolbox and the switching between the designer
// and the code editor.
#include "ide/toolbox_tools.h"
#include "ide_fixture.h"

namespace corvane::testing {
namespace {

std::string tree_text(tk::Interp& in, const std::string& tree, const std::string& id) {
    return in.call({tree, "item", id, "-text"});
}

class ExplorerTest : public IdeTest {
protected:
    std::string tree() { return ide().widgets().project_tree; }
    void select(const std::string& id) {
        tcl({tree(), "selection", "set", tk::Obj::list({id})});
        interp().update();
    }
};

TEST_F(ExplorerTest, ANewProjectShowsItsGroupsExpanded) {
    ide().new_project();
    EXPECT_EQ(tcl({tree(), "children", ""}), "project");
    EXPECT_EQ(tree_text(interp(), tree(), "project"), "\u25a6 Project1");
    EXPECT_EQ(tcl({tree(), "children", "project"}), "forms modules classes");
    EXPECT_EQ(tcl({tree(), "children", "forms"}), "f:Form1");
    EXPECT_EQ(tree_text(interp(), tree(), "f:Form1"), "\u25a3 Form1 (.frm)");
    EXPECT_EQ(tcl({tree(), "children", "modules"}), "");
    EXPECT_EQ(tcl({tree(), "children", "classes"}), "");
    for (const char* id : {"project", "forms", "modules", "classes"}) EXPECT_EQ(tcl({tree(), "item", id, "-open"}), "1");
    EXPECT_EQ(tcl({tree(), "selection"}), "f:Form1");
}

TEST_F(ExplorerTest, SelectingTheNoProjectPlaceholderOrAGroupChangesNothing) {
    select("empty");
    EXPECT_FALSE(state().project_open());
    ide().new_project();
    ide().add_module();
    ide().show_design();
    for (const char* id : {"forms", "modules", "classes", "project"}) {
        select(id);
        EXPECT_EQ(state().form->name, "Form1");
        EXPECT_TRUE(state().current_module.empty());
    }
}

TEST_F(ExplorerTest, ModulesOpenInTheEditorAndFormsInTheDesigner) {
    ide().new_project();
    ide().add_module();
    ide().add_class();
    ide().add_form();
    select("m:Module1");
    EXPECT_EQ(state().current_module.module(), &state().project.modules[0]);
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "1");
    EXPECT_EQ(tree_text(interp(), tree(), "c:Class1"), "\u25a4 Class1 (.cls)");
    EXPECT_EQ(tree_text(interp(), tree(), "m:Module1"), "\u25a4 Module1 (.bas)");
    EXPECT_EQ(state().form->name, "Form2");  // the designer keeps its form
    // Selecting the form that is current changes nothing while a module is open.
    select("f:Form2");
    EXPECT_FALSE(state().current_module.empty());
    // Shift+F7 returns the editor to the form's code.
    key("<Shift-F7>");
    EXPECT_TRUE(state().current_module.empty());
    EXPECT_TRUE(state().editor_owner.holds(ide::EditorKind::form, state().form));
    select("f:Form1");
    EXPECT_EQ(state().form->name, "Form1");
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "0");
}

TEST_F(ExplorerTest, HoveringARowPutsItInTheStatusBar) {
    ide().new_project();
    const int y = static_cast<int>(interp().call_obj({tree(), "bbox", "f:Form1"}).to_list().at(1).to_int()) + 3;
    tk::event_generate(interp(), tree(), "<Motion>", {"-x", 20, "-y", y});
    EXPECT_EQ(ide().status_text(), "\u25a3 Form1 (.frm)  \u2022  Double-click or select to open");
}

TEST_F(ExplorerTest, SwitchingToTheCodeTabShowsTheFormsCodeUnlessAModuleIsOpen) {
    ide().new_project();
    state().editor_owner = {};
    tcl({ide().widgets().tabs, "select", 1});
    interp().update();
    EXPECT_TRUE(state().editor_owner.holds(ide::EditorKind::form, state().form));
    ide().add_module();
    ide().select_tab(0);
    tcl({ide().widgets().tabs, "select", 1});
    interp().update();
    EXPECT_EQ(state().editor_owner.record, &state().project.modules[0]);
}

class ToolboxTest : public IdeTest {
protected:
    std::string button(const std::string& kind) { return ide().toolbox_buttons().at(kind); }
    // A click as the window system delivers it: press and release inside the button.
    void click(const std::string& kind) {
        tk::event_generate(interp(), button(kind), "<Enter>");
        tk::event_generate(interp(), button(kind), "<ButtonPress-1>", {"-x", 5, "-y", 5});
        tk::event_generate(interp(), button(kind), "<ButtonRelease-1>", {"-x", 5, "-y", 5});
        interp().update();
    }
};

TEST_F(ToolboxTest, ThirtyToolsInTwoColumnsInTableOrder) {
    const auto kinds = ide::toolbox_kinds();
    ASSERT_EQ(kinds.size(), 30u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Pointer", "\u2196 Pointer"},       {"CommandButton", "\u25a3 Command"}, {"HScrollBar", "\u2194 HScroll"},
        {"DriveListBox", "\u25b0 DriveList"}, {"RichTextBox", "\u00b6 RichText"}, {"MSFlexGrid", "\u25a6 MSFlexGrid"},
        {"TextBox", "ab TextBox"},           {"Line", "\u2571 Line"}};
    for (const auto& [kind, text] : expected) EXPECT_EQ(tcl({button(kind), "cget", "-text"}), text) << kind;
    const auto info = interp().call_obj({"grid", "info", button("MSFlexGrid")}).to_list();
    std::map<std::string, std::string> grid;
    for (std::size_t i = 0; i + 1 < info.size(); i += 2) grid[info[i].str()] = info[i + 1].str();
    EXPECT_EQ(grid["-row"], "14");
    EXPECT_EQ(grid["-column"], "1");
    EXPECT_EQ(ide::tool_text("Unknown"), "\u25a1 Unknown");
}

TEST_F(ToolboxTest, ChoosingAToolArmsTheDesignerWithOneChosenLook) {
    click("TextBox");
    EXPECT_EQ(state().pending_kind, "TextBox");
    EXPECT_EQ(tcl({ide().widgets().canvas, "cget", "-cursor"}), "crosshair");
    EXPECT_EQ(ide().status_text(), "Place TextBox by clicking inside the form");
    int chosen = 0;
    for (const auto& [kind, path] : ide().toolbox_buttons()) {
        if (tcl({path, "cget", "-relief"}) == "sunken") {
            ++chosen;
            EXPECT_EQ(kind, "TextBox");
            EXPECT_EQ(tcl({path, "cget", "-background"}), "#b7d3f4");
        }
    }
    EXPECT_EQ(chosen, 1);
    menu("Edit", "Select pointer tool");
    EXPECT_FALSE(state().pending_kind);
    EXPECT_EQ(tcl({ide().widgets().canvas, "cget", "-cursor"}), "arrow");
    EXPECT_EQ(ide().status_text(), "Pointer selected");
    EXPECT_EQ(tcl({button("Pointer"), "cget", "-relief"}), "sunken");
}

TEST_F(ToolboxTest, DoubleClickInsertsAtOnceAndLeavesThePointerChosen) {
    ide().new_project();
    for (int i = 0; i < 3; ++i) state().form->new_control("Label", 100, 100 + 40 * i);
    // Two clicks in quick succession: the second press is the double-click.
    tk::event_generate(interp(), button("TextBox"), "<ButtonPress-1>", {"-x", 5, "-y", 5});
    tk::event_generate(interp(), button("TextBox"), "<ButtonRelease-1>", {"-x", 5, "-y", 5});
    tk::event_generate(interp(), button("TextBox"), "<ButtonPress-1>", {"-x", 5, "-y", 5});
    tk::event_generate(interp(), button("TextBox"), "<ButtonRelease-1>", {"-x", 5, "-y", 5});
    interp().update();
    ASSERT_EQ(state().form->controls.size(), 4u);
    const Control& text = state().form->controls.back();
    EXPECT_EQ(text.name, "Text1");
    EXPECT_EQ(text.left, 48);
    EXPECT_EQ(text.top, 52);
    EXPECT_EQ(state().selected, "Text1");
    EXPECT_FALSE(state().pending_kind);  // the release that ended the double-click did not arm it again
    EXPECT_TRUE(state().dirty);
    // A later single click arms a kind as usual.
    click("Label");
    EXPECT_EQ(state().pending_kind, "Label");
}

TEST_F(ToolboxTest, DoubleClickWithoutAProjectInsertsNothing) {
    ide().insert_tool("TextBox");
    EXPECT_FALSE(state().project_open());
    ide().new_project();
    ide().insert_tool("Pointer");
    EXPECT_TRUE(state().form->controls.empty());
}

TEST_F(ToolboxTest, HoverAndTooltipTexts) {
    tk::event_generate(interp(), button("Timer"), "<Enter>");
    EXPECT_EQ(ide().status_text(), "Timer \u2014 select, then click the form (double-click to insert)");
    pump(700);
    ASSERT_TRUE(ide().tooltip_shown(button("Timer")));
    const auto windows = interp().call_obj({"winfo", "children", button("Timer")}).to_list();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(tcl({windows[0].str() + ".text", "cget", "-text"}), "Timer control \u2022 click form to place");
    tk::event_generate(interp(), button("Timer"), "<Leave>");
    EXPECT_FALSE(ide().tooltip_shown(button("Timer")));
}

}  // namespace
}  // namespace corvane::testing
