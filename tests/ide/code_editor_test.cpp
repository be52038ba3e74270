// The code editor on a test workbench: colouring, loading and writing back,
// the Object and Event lists and the handlers they open.
#include "code_bench.h"

namespace corvane::ide::testing {
namespace {

using Names = std::vector<std::string>;

class CodeEditorTest : public EditorTest {};

TEST_F(CodeEditorTest, ColouringOfTypedCode) {
    bench_->open_sample();
    in().call({text_widget(), "delete", "1.0", "end"});
    focus_text();
    type("s = \"it's\" ' dim");
    key("Return");
    type("dim x As Integer: END");
    key("Return");
    type("Dim2 = EndX & \"Dim\" ' End");
    pump(400);
    EXPECT_EQ(text(), "s = \"it's\" ' dim\ndim x As Integer: END\nDim2 = EndX & \"Dim\" ' End");
    EXPECT_EQ(tag_ranges("string"), "1.4 1.10 3.14 3.19");
    EXPECT_EQ(tag_ranges("comment"), "1.11 1.16 3.20 3.25");
    EXPECT_EQ(tag_ranges("keyword"), "2.0 2.3 2.6 2.8 2.9 2.16 2.18 2.21");
}

TEST_F(CodeEditorTest, ABurstOfKeysIsColouredOnce) {
    bench_->open_sample();
    pump(300);
    focus_text();
    const int before = panel().colouring_passes();
    in().call({text_widget(), "mark", "set", "insert", "end"});
    type("Dim abc As Long");
    pump(60);
    EXPECT_EQ(panel().colouring_passes(), before);  // not yet: 150 ms after the last key
    pump(400);
    EXPECT_EQ(panel().colouring_passes(), before + 1);
    EXPECT_NE(tag_ranges("keyword").find("2.0 2.3"), std::string::npos);
    // Typing marked the project as changed; loading never does.
    EXPECT_TRUE(bench_->state().dirty);
}

TEST_F(CodeEditorTest, RecolouringEditedLinesEqualsAWholePass) {
    bench_->open_sample();
    std::string code;
    for (int i = 0; i < 60; ++i)
        code += i % 3 ? "  Dim s As String: s = \"it's\" ' End If\n" : "If x Then y = \"a\"\"b\" Else Exit Sub\n";
    panel().clear_editor();
    bench_->state().form->code = code;
    panel().load_editor(EditorKind::form, bench_->state().form);
    panel().highlight();
    const std::string t = text_widget();
    auto ranges = [&] { return tag_ranges("keyword") + "|" + tag_ranges("string") + "|" + tag_ranges("comment"); };
    auto check = [&](const char* what) {
        panel().highlight();
        const std::string incremental = ranges();
        panel().recolour_all();
        EXPECT_EQ(incremental, ranges()) << what;
    };
    // Typing in the middle of a string and of a keyword.
    in().call({t, "mark", "set", "insert", "5.27"});
    focus_text();
    type("\" Dim ");
    check("typed quote");
    in().call({t, "insert", "10.2", "x"});
    check("split keyword");
    // A paste of several lines, a delete across lines, a replace.
    in().call({t, "insert", "20.0", "Sub A()\n' x\n\"open Dim\nEnd Sub\n"});
    check("paste");
    in().call({t, "delete", "30.5", "34.8"});
    check("delete across lines");
    in().call({t, "replace", "3.0", "3.end", "Function F() As Long"});
    check("replace");
    in().call({t, "insert", "end", "\nDim z"});
    check("at the end");
    // Undo puts text back without going through the widget's command.
    in().call({t, "edit", "separator"});
    in().call({t, "delete", "1.0", "8.0"});
    in().call({t, "edit", "separator"});
    panel().highlight();
    in().call({t, "edit", "undo"});
    check("undo");
    // A deleted line typed again identically is coloured again.
    const std::string line = in().call({t, "get", "12.0", "13.0"});
    in().call({t, "delete", "12.0", "13.0"});
    in().call({t, "insert", "12.0", line});
    check("same line again");
}

TEST_F(CodeEditorTest, LoadSwitchLoadKeepsCodeByteForByte) {
    bench_->open_sample();
    EditingState& s = bench_->state();
    panel().clear_editor();
    const std::string form_code = "Option Explicit\r\n\n  Private Sub Form_Load()\n\tx = \"\xC3\xA9\"\nEnd Sub\n\n";
    s.form->code = form_code;
    panel().load_editor(EditorKind::form, s.form);
    Module& module = s.project.modules[0];
    const std::string module_code = module.code;
    panel().load_editor(EditorKind::module, &module);
    EXPECT_EQ(text(), module_code);
    // Undo never brings the form's code into the module.
    in().try_call({text_widget(), "edit", "undo"});
    EXPECT_EQ(text(), module_code);
    panel().load_editor(EditorKind::form, s.form);
    panel().sync_editor();
    panel().sync_editor();
    pump(250);
    EXPECT_EQ(s.form->code, form_code);
    EXPECT_EQ(module.code, module_code);
    EXPECT_FALSE(s.dirty);
    EXPECT_EQ(bench_->changes, 0);
    // Text without a final line feed gets one when written back.
    in().call({text_widget(), "insert", "end", "x = 1"});
    panel().sync_editor();
    EXPECT_EQ(s.form->code, form_code + "x = 1\n");
}

TEST_F(CodeEditorTest, ObjectAndEventListsByKind) {
    bench_->open_sample();
    EXPECT_EQ(panel().object_entries(), (Names{"Form1", "Text1", "Timer1", "Command1", "mnuFile", "mnuOpen"}));
    EXPECT_EQ(panel().selected_object(), "Form1");
    EXPECT_EQ(panel().event_entries(), (Names{"Load", "Activate", "Click", "Unload", "Resize"}));
    const std::pair<const char*, Names> cases[] = {
        {"Timer1", {"Timer"}},
        {"text1", {"Change", "Click", "KeyPress", "GotFocus", "LostFocus"}},
        {"Command1", {"Click", "DblClick", "MouseDown", "MouseUp", "MouseMove"}},
        {"mnuOpen", {"Click"}},
        {"form1", {"Click"}},  // the form's name is compared exactly
    };
    for (const auto& [object, events] : cases) {
        panel().select_object(object);
        panel().event_options();
        EXPECT_EQ(panel().event_entries(), events) << object;
        EXPECT_EQ(panel().selected_event(), events.front()) << object;
    }
    // A control added since the load is listed when the list drops down; the
    // selection stays.
    panel().select_object("Timer1");
    bench_->state().form->controls.push_back(Control::create("Label", "Label1"));
    in().call({in().call({".code.bar.object", "cget", "-postcommand"})});
    EXPECT_EQ(in().call({".code.bar.object", "cget", "-values"}), "Form1 Text1 Timer1 Command1 Label1 mnuFile mnuOpen");
    EXPECT_EQ(panel().selected_object(), "Timer1");
    bench_->state().form->controls.pop_back();
    // The list stays on the form's objects while a module is open.
    bench_->state().current_module = {EditorKind::module, &bench_->state().project.modules[0]};
    panel().load_editor(EditorKind::module, &bench_->state().project.modules[0]);
    EXPECT_EQ(panel().object_entries().size(), 6u);
}

TEST_F(CodeEditorTest, EnsureEventCreatesThenFindsTheHandler) {
    bench_->open_sample();
    EditingState& s = bench_->state();
    panel().select_object("Form1");
    panel().event_options("Load");
    panel().ensure_event();
    EXPECT_EQ(text(), "Option Explicit\n\nPrivate Sub Form_Load()\n    \nEnd Sub\n");
    EXPECT_EQ(index("insert"), "4.4");
    EXPECT_TRUE(s.dirty);
    // Again: found, the cursor goes to the header, the text stays.
    panel().ensure_event();
    EXPECT_EQ(index("insert"), "3.0");
    EXPECT_EQ(text(), "Option Explicit\n\nPrivate Sub Form_Load()\n    \nEnd Sub\n");
    // Written in another case, with blanks, after blank lines.
    panel().clear_editor();  // the model is changed behind the editor's back
    s.form->code = "Option Explicit\n\n\n\npublic sub form_load (  )\nend sub\n";
    panel().load_editor(EditorKind::form, s.form);
    panel().select_object("Form1");
    panel().event_options("Load");
    panel().ensure_event();
    EXPECT_EQ(index("insert"), "5.0");
    EXPECT_EQ(text(), "Option Explicit\n\n\n\npublic sub form_load (  )\nend sub\n");
    // A control's skeleton is named after the control.
    panel().open_event_code("Command1", "Click");
    EXPECT_NE(text().find("\nPrivate Sub Command1_Click()\n    \nEnd Sub\n"), std::string::npos);
    // A Sub whose name only begins with the handler's is another procedure.
    panel().clear_editor();
    s.form->code = "Private Sub Command1_ClickX()\nEnd Sub\n";
    panel().load_editor(EditorKind::form, s.form);
    panel().open_event_code("Command1", "Click");
    EXPECT_EQ(index("insert"), "5.4");
}

TEST_F(CodeEditorTest, OpenEventCodeFromAModuleGoesToTheFormsCode) {
    bench_->open_sample();
    EditingState& s = bench_->state();
    Module& module = s.project.modules[0];
    const std::string module_code = module.code;
    s.current_module = {EditorKind::module, &module};
    panel().load_editor(EditorKind::module, &module);
    panel().open_event_code("Timer1", "");
    EXPECT_TRUE(s.current_module.empty());
    EXPECT_TRUE(s.editor_owner.holds(EditorKind::form, s.form));
    EXPECT_EQ(panel().selected_event(), "Timer");
    panel().sync_editor();
    EXPECT_NE(s.form->code.find("Private Sub Timer1_Timer()"), std::string::npos);
    EXPECT_EQ(module.code, module_code);
}

TEST_F(CodeEditorTest, NoProjectMeansEmptyListsAndNoHandler) {
    panel().clear_editor();
    EXPECT_TRUE(panel().object_entries().empty());
    EXPECT_TRUE(panel().event_entries().empty());
    EXPECT_EQ(panel().selected_object(), "");
    panel().ensure_event();
    panel().open_event_code("Form1", "Load");
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(bench_->state().dirty);
}

TEST_F(CodeEditorTest, GlobalKeysDoNotEditTheText) {
    bench_->open_sample();
    int opened = 0;
    tk::Command binding = tk::bind_tag(in(), "all", "<Control-o>", {}, [&] { ++opened; });
    focus_text();
    const std::string before = text();
    key("o", "Control");
    key("n", "Control");
    in().update();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(text(), before);
    EXPECT_EQ(index("insert"), "1.0");
    in().call({"bind", "all", "<Control-o>", ""});
}

TEST_F(CodeEditorTest, GutterNumbersOnlyDisplayedLines) {
    bench_->open_sample();
    std::string code;
    for (int i = 1; i <= 300; ++i) code += "x = " + std::to_string(i) + "\n";
    panel().clear_editor();
    bench_->state().form->code = code;
    panel().load_editor(EditorKind::form, bench_->state().form);
    pump(300);
    const std::string gutter = ".code.body.gutter";
    const auto items = in().call_obj({gutter, "find", "all"}).to_list();
    EXPECT_GT(items.size(), 5u);
    EXPECT_LT(items.size(), 100u);
    EXPECT_EQ(in().call({gutter, "itemcget", items.front(), "-text"}), "1");
    in().call({text_widget(), "yview", "moveto", 0.5});
    in().update();
    const auto scrolled = in().call_obj({gutter, "find", "all"}).to_list();
    EXPECT_GT(std::stoi(in().call({gutter, "itemcget", scrolled.front(), "-text"})), 100);
}

TEST_F(CodeEditorTest, ShowLineMarksTheLineUntilTheNextEdit) {
    bench_->open_sample();
    Module& module = bench_->state().project.modules[0];
    module.code = "Option Explicit\nSub Main()\n    x = 1 / 0\nEnd Sub\n";
    panel().show_line(EditorKind::module, &module, 3);
    EXPECT_TRUE(bench_->state().editor_owner.holds(EditorKind::module, &module));
    EXPECT_EQ(bench_->state().current_module.module(), &module);
    EXPECT_EQ(index("insert"), "3.0");
    EXPECT_EQ(tag_ranges("marked"), "3.0 4.0");
    focus_text();
    type("y");
    pump(20);
    EXPECT_EQ(tag_ranges("marked"), "");
}

}  // namespace
}  // namespace corvane::ide::testing
