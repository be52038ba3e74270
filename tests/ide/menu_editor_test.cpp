// The menu editor window over the current form's menus.
#include "code_bench.h"

namespace corvane::ide::testing {
namespace {

using Names = std::vector<std::string>;

class MenuEditorTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        bench_->open_sample();
        form().menus.clear();
        bench_->refresh_objects();
        open_menu_editor(*bench_);
        window_ = find_window();
    }
    void TearDown() override {
        tk::destroy(in(), window_);
        EditorTest::TearDown();
    }

    VBForm& form() { return *bench_->state().form; }
    std::string find_window() {
        std::string found;
        for (const tk::Obj& child : in().call_obj({"winfo", "children", "."}).to_list())
            if (in().call({"winfo", "class", child}) == "Toplevel" &&
                in().call({"wm", "title", child}).rfind("Menu Editor", 0) == 0)
                found = child.str();
        return found;
    }
    std::string tree() { return window_ + ".f.tree"; }
    void press(int button) { in().call({window_ + ".f.buttons.b" + std::to_string(button), "invoke"}); }
    void select(const std::string& id) { in().call({tree(), "selection", "set", tk::Obj::list({id})}); }
    std::string prompt_initial(std::size_t i) { return tk::dialog_option(dialogs_.at(i), "-initialvalue"); }
    void add(int button, std::deque<std::string> answers) {
        answers_ = std::move(answers);
        press(button);
    }
    std::string row(const std::string& id) { return in().call({tree(), "item", id, "-values"}); }

    std::string window_;
};

TEST_F(MenuEditorTest, WindowTreeAndDefaultNames) {
    ASSERT_FALSE(window_.empty());
    EXPECT_EQ(in().call({"wm", "title", window_}), "Menu Editor \u2014 Form1");
    EXPECT_EQ(in().call({tree(), "heading", "#0", "-text"}), "(Name)");
    add(0, {"mnuItem1", "&File"});
    ASSERT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-title"), "Menu name");
    EXPECT_EQ(prompt_initial(0), "mnuItem1");
    EXPECT_EQ(tk::dialog_option(dialogs_[1], "-title"), "Menu caption");
    EXPECT_EQ(prompt_initial(1), "New Item");
    EXPECT_EQ(in().call({tree(), "selection"}), "mnuItem1");
    select("mnuItem1");
    add(1, {"mnuItem2", ""});  // an empty caption is accepted
    EXPECT_EQ(prompt_initial(2), "mnuItem2");
    ASSERT_EQ(form().menus.size(), 1u);
    ASSERT_EQ(form().menus[0].children.size(), 1u);
    EXPECT_EQ(form().menus[0].children[0].name, "mnuItem2");
    EXPECT_EQ(form().menus[0].children[0].caption, "");
    EXPECT_EQ(row("mnuItem1"), "&File True False");
    EXPECT_EQ(in().call({tree(), "children", "mnuItem1"}), "mnuItem2");
    EXPECT_TRUE(bench_->state().dirty);
    // The code editor's Object list follows.
    EXPECT_EQ(panel().object_entries(), (Names{"Form1", "Text1", "Timer1", "Command1", "mnuItem1", "mnuItem2"}));
}

TEST_F(MenuEditorTest, NamesMustBeUniqueIdentifiersComparedExactly) {
    add(0, {"mnuItem1", "A"});
    for (const char* bad : {"mnuItem1", "1abc", "a b", "x-y"}) {
        bench_->errors.clear();
        add(0, {bad, "B"});
        EXPECT_EQ(bench_->errors, Names{"Invalid name: Menu name must be a unique VB identifier."}) << bad;
    }
    add(0, {"MNUITEM1", "C"});
    EXPECT_EQ(form().menus.size(), 2u);
    // Cancelled or empty answers change nothing.
    add(0, {std::string(tk::CANCEL_ANSWER)});
    add(0, {""});
    add(0, {"mnuX", std::string(tk::CANCEL_ANSWER)});
    EXPECT_EQ(form().menus.size(), 2u);
}

TEST_F(MenuEditorTest, EditSetsCaptionAndFlags) {
    add(0, {"mnuFile", "&File"});
    select("mnuFile");
    add(2, {"&Datei", "0, 1, 1"});
    EXPECT_EQ(tk::dialog_option(dialogs_[2], "-title"), "Edit menu");
    EXPECT_EQ(prompt_initial(2), "&File");
    EXPECT_EQ(tk::dialog_option(dialogs_[3], "-title"), "Menu flags");
    EXPECT_EQ(prompt_initial(3), "1, 0, 1");
    const MenuItem& m = form().menus[0];
    EXPECT_EQ(m.caption, "&Datei");
    EXPECT_FALSE(m.enabled);
    EXPECT_TRUE(m.checked);
    EXPECT_TRUE(m.visible);
    EXPECT_EQ(row("mnuFile"), "&Datei False True");
    // Answers that are not three 0/1 flags change no flag; the caption stays.
    const std::string answers[] = {"0,1", "yes, no, yes", "1, 1, 1, 1", std::string(tk::CANCEL_ANSWER)};
    for (const std::string& answer : answers) {
        select("mnuFile");
        add(2, {std::string("Cap ") + answer, answer});
        EXPECT_EQ(form().menus[0].caption, std::string("Cap ") + answer);
        EXPECT_FALSE(form().menus[0].enabled) << answer;
        EXPECT_TRUE(form().menus[0].checked) << answer;
    }
    select("mnuFile");
    add(2, {"x", " 1 ,0,  0 "});
    EXPECT_TRUE(form().menus[0].enabled);
    EXPECT_FALSE(form().menus[0].visible);
}

TEST_F(MenuEditorTest, DeleteRemovesTheWholeSubtree) {
    add(0, {"mnuFile", "&File"});
    select("mnuFile");
    add(1, {"mnuOpen", "&Open"});
    select("mnuOpen");
    add(1, {"mnuRecent", "Recent"});
    add(0, {"mnuHelp", "&Help"});
    select("mnuFile");
    press(3);
    ASSERT_EQ(form().menus.size(), 1u);
    EXPECT_EQ(form().menus[0].name, "mnuHelp");
    EXPECT_EQ(in().call({tree(), "children", ""}), "mnuHelp");
    EXPECT_EQ(panel().object_entries(), (Names{"Form1", "Text1", "Timer1", "Command1", "mnuHelp"}));
    // Nothing selected: nothing happens.
    in().call({tree(), "selection", "set", tk::Obj::list(std::vector<std::string>{})});
    press(3);
    press(2);
    press(4);
    EXPECT_EQ(form().menus.size(), 1u);
}

TEST_F(MenuEditorTest, OpenClickCodeCreatesTheHandlerAndCloses) {
    add(0, {"mnuFile", "&File"});
    Module& module = bench_->state().project.modules[0];
    bench_->state().current_module = {EditorKind::module, &module};
    panel().load_editor(EditorKind::module, &module);
    select("mnuFile");
    press(4);
    in().update();
    EXPECT_FALSE(tk::winfo_exists(in(), window_));
    EXPECT_TRUE(bench_->state().current_module.empty());
    EXPECT_EQ(panel().selected_object(), "mnuFile");
    EXPECT_EQ(panel().event_entries(), Names{"Click"});
    panel().sync_editor();
    EXPECT_EQ(form().code, "Option Explicit\n\nPrivate Sub mnuFile_Click()\n    \nEnd Sub\n");
}

TEST_F(MenuEditorTest, SeveralWindowsAtOnce) {
    open_menu_editor(*bench_);
    std::string second;
    for (const tk::Obj& child : in().call_obj({"winfo", "children", "."}).to_list())
        if (child.str() != window_ && in().call({"winfo", "class", child}) == "Toplevel" &&
            in().call({"wm", "title", child}).rfind("Menu Editor", 0) == 0)
            second = child.str();
    ASSERT_FALSE(second.empty());
    add(0, {"mnuA", "A"});
    // The second window refills only after its own changes.
    answers_ = {"mnuB", "B"};
    in().call({second + ".f.buttons.b0", "invoke"});
    EXPECT_EQ(in().call({second + ".f.tree", "children", ""}), "mnuA mnuB");
    tk::destroy(in(), second);
    EXPECT_EQ(form().menus.size(), 2u);
}

}  // namespace
}  // namespace corvane::ide::testing
