// The project commands: new, open (and import detection), save, save as,
// startup form, the add commands, start and stop.
#include "ide_fixture.h"
#include "vb6files/project_files.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> form_names(const Project& p) {
    std::vector<std::string> names;
    for (const auto& f : p.forms) names.push_back(f.name);
    return names;
}

TEST_F(IdeTest, NewProjectHasOneFormAndNoMarker) {
    menu("File", "New Project");
    EXPECT_EQ(state().project.name, "Project1");
    EXPECT_EQ(form_names(state().project), std::vector<std::string>{"Form1"});
    EXPECT_EQ(state().project.startup, "Form1");
    EXPECT_EQ(state().form->code, "Option Explicit\n");
    EXPECT_EQ(ide().status_text(), "New project");
    EXPECT_EQ(title(), "Corvane \u2014 Project1");
    EXPECT_FALSE(state().dirty);
}

TEST_F(IdeTest, AddCommandsWithoutAProjectStartOne) {
    menu("File", "Add Form");
    EXPECT_EQ(form_names(state().project), std::vector<std::string>{"Form1"});
    state() = {};  // back to no project
    ide().populate_project();
    menu("Project", "Add Module");
    EXPECT_EQ(form_names(state().project), std::vector<std::string>{"Form1"});
    ASSERT_EQ(state().project.modules.size(), 1u);
    EXPECT_EQ(state().project.modules[0].name, "Module1");
    EXPECT_EQ(state().project.modules[0].code,
              "Attribute VB_Name = \"Module1\"\nOption Explicit\n\n"
              "Public Function AddNumbers(a As Long, b As Long) As Long\n    AddNumbers = a + b\nEnd Function\n");
    EXPECT_EQ(ide().status_text(), "Added Module1");
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "1");
    EXPECT_EQ(tcl({ide().widgets().project_tree, "selection"}), "m:Module1");
    state() = {};
    menu("Project", "Add Class Module");
    ASSERT_EQ(state().project.classes.size(), 1u);
    EXPECT_EQ(state().project.classes[0].name, "Class1");
    EXPECT_EQ(state().project.classes[0].code,
              "Option Explicit\n\nPublic Value As String\n\nPublic Function GetValue() As String\n"
              "    GetValue = Value\nEnd Function\n");
    EXPECT_EQ(ide().status_text(), "Added class module Class1");
    EXPECT_EQ(title(), "\u25cf Corvane \u2014 Project1");
}

TEST_F(IdeTest, AddFormTakesTheSmallestFreeNumberInAnyCase) {
    ide().new_project();
    state().project.forms[0].name = "Form1";
    ide().add_form();
    state().project.forms[1].name = "Form3";
    ide().add_form();
    EXPECT_EQ(form_names(state().project), (std::vector<std::string>{"Form1", "Form3", "Form2"}));
    state().project.forms[2].name = "form2";
    ide().add_form();
    EXPECT_EQ(state().form->name, "Form4");
    EXPECT_EQ(state().form->code, "Option Explicit\n\nPrivate Sub Form_Load()\n\nEnd Sub\n");
    EXPECT_EQ(ide().status_text(), "Added Form4");
    EXPECT_EQ(tcl({ide().widgets().project_tree, "selection"}), "f:Form4");
    EXPECT_TRUE(state().dirty);
}

TEST_F(IdeTest, CodeTypedInTheEditorSurvivesAddingRecords) {
    ide().new_project();
    ide().show_code();
    interp().update();
    EXPECT_EQ(tcl({"focus", "-lastfor", editor_text()}), editor_text());  // View Code leaves the caret in the code
    interp().call({editor_text(), "insert", "end", "Dim kept As Long\n"});
    ide().add_form();   // the form list grows; the first form's text must not be lost
    ide().add_module();
    ide().add_class();
    EXPECT_EQ(state().project.forms[0].code, "Option Explicit\nDim kept As Long\n");
}

TEST_F(IdeTest, StartupDialogTrimsAndTakesTheStoredName) {
    ide().new_project();
    ide().add_form();
    answers_.push_back("  form2  ");
    menu("File", "Set Startup Form...");
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0][0], "askstring");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-prompt"), "Select the startup form (Form1, Form2):");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-initialvalue"), "Form1");
    EXPECT_EQ(state().project.startup, "Form2");
    EXPECT_EQ(ide().status_text(), "Startup form: Form2");

    answers_.push_back("Nowhere");
    menu("Project", "Startup Object...");
    EXPECT_EQ(dialog_titles().back(), "Startup Form");
    EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-message"), "The form name was not found.");
    EXPECT_EQ(state().project.startup, "Form2");

    state().dirty = false;
    answers_.push_back(std::string(tk::CANCEL_ANSWER));
    ide().choose_startup();
    EXPECT_EQ(state().project.startup, "Form2");
    EXPECT_FALSE(state().dirty);
}

TEST_F(IdeTest, CommandsThatNeedAProjectDoNothingWithoutOne) {
    ide().save();
    ide().save_as();
    ide().choose_startup();
    EXPECT_TRUE(dialogs_.empty());
    key("<F5>");
    EXPECT_EQ(ide().status_text(), "Nothing to run \u2014 create or open a project first.");
    EXPECT_FALSE(ide().session);
}

TEST_F(IdeTest, SaveOfANewProjectAsksForAFileThenSavesInPlace) {
    ide().new_project();
    const fs::path target = folder_ / "saved" / "Mine.vbp";
    fs::create_directories(target.parent_path());
    answers_.push_back(target.string());
    key("<Control-s>");
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0][0], "tk_getSaveFile");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-title"), "Save VB6 project");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-initialfile"), "Project1.vbp");
    EXPECT_EQ(ide().status_text(), "Saved " + target.string());
    EXPECT_TRUE(fs::exists(target.parent_path() / "Form1.frm"));
    EXPECT_EQ(state().project.name, "Project1");  // Save As does not rename the project
    ide().changed();
    key("<Control-s>");
    EXPECT_EQ(dialogs_.size(), 1u);  // in place, no dialog
    EXPECT_FALSE(state().dirty);
    EXPECT_EQ(title(), "Corvane \u2014 Project1");
}

TEST_F(IdeTest, ForeignProjectsOpenAsImportsAndSaveGoesThroughSaveAs) {
    const fs::path foreign = write_foreign_project();
    answers_.push_back(foreign.string());
    key("<Control-o>");
    EXPECT_EQ(dialogs_[0][0], "tk_getOpenFile");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-title"), "Open a Visual Basic project");
    ASSERT_TRUE(state().project_open());
    EXPECT_TRUE(state().lossy_import);
    EXPECT_EQ(ide().status_text(),
              "Imported VB6 project: use Save As to avoid overwriting unsupported resources | " + foreign.string());
    EXPECT_EQ(title(), "Corvane \u2014 Foreign");
    const std::string original = slurp(foreign);

    const fs::path copy = folder_ / "copy" / "Copy.vbp";
    fs::create_directories(copy.parent_path());
    answers_.push_back(copy.string());
    key("<Control-s>");
    EXPECT_EQ(dialogs_.back()[0], "tk_getSaveFile");
    EXPECT_EQ(tk::dialog_option(dialogs_.back(), "-initialfile"), "Foreign.vbp");
    EXPECT_EQ(slurp(foreign), original);  // the imported file is never overwritten
    EXPECT_FALSE(state().lossy_import);

    // Saved by us, it opens as our own and saves in place.
    ide().new_project();
    answers_.push_back(copy.string());
    ide().open_project();
    EXPECT_FALSE(state().lossy_import);
    EXPECT_EQ(ide().status_text(), "Opened " + copy.string());
    const auto count = dialogs_.size();
    key("<Control-s>");
    EXPECT_EQ(dialogs_.size(), count);
}

TEST_F(IdeTest, ALoneFormOpensWithoutAPathAndSaveAsksForAProjectFile) {
    const fs::path foreign = write_foreign_project();
    ASSERT_TRUE(ide().open_path(foreign.parent_path() / "Main.frm"));
    EXPECT_FALSE(state().project.path.has_value());
    answers_.push_back("");  // cancelled
    ide().save();
    EXPECT_EQ(dialogs_.back()[0], "tk_getSaveFile");
}

TEST_F(IdeTest, AFailedOpenChangesNothingAndKeepsTheProgramRunning) {
    ide().new_project();
    ide().changed();
    ide().start();
    ASSERT_TRUE(ide().session);
    const fs::path broken = folder_ / "broken.vbp";
    std::ofstream(broken) << "Type=Exe\r\nForm=Missing.frm\r\n";
    answers_.push_back("yes");  // discard changes
    answers_.push_back(broken.string());
    ide().open_project();
    EXPECT_EQ(dialog_titles(), (std::vector<std::string>{"Unsaved changes", "Open a Visual Basic project", "Open failed"}));
    EXPECT_EQ(state().project.name, "Project1");
    EXPECT_TRUE(ide().session);
    EXPECT_TRUE(state().dirty);
    // Cancelling the dialog also leaves everything as it was.
    answers_.push_back("yes");
    answers_.push_back("");
    ide().open_project();
    EXPECT_TRUE(ide().session);
    ide().stop();
}

TEST_F(IdeTest, ASuccessfulOpenStopsTheRunningProgram) {
    ide().new_project();
    ide().start();
    ASSERT_TRUE(ide().session);
    ASSERT_TRUE(ide().open_path(write_foreign_project()));
    EXPECT_FALSE(ide().session);
    EXPECT_EQ(state().form->name, "Main");
}

TEST_F(IdeTest, AnUnreadableProjectOnOpenShowsOpenFailedOverTheEmptyWindow) {
    EXPECT_FALSE(ide().open_path(folder_ / "nothing.vbp"));
    EXPECT_EQ(dialog_titles(), std::vector<std::string>{"Open failed"});
    EXPECT_FALSE(state().project_open());
    EXPECT_EQ(title(), "Corvane \u2014 No Project");
}

TEST_F(IdeTest, FormsWhoseNamesDifferOnlyInCaseAreRefusedOnSave) {
    ide().new_project();
    ide().add_form();
    state().project.forms[1].name = "FORM1";
    state().project.path = folder_ / "Clash.vbp";
    ide().save();
    ASSERT_EQ(dialog_titles(), std::vector<std::string>{"Save failed"});
    const std::string message = tk::dialog_option(dialogs_[0], "-message");
    EXPECT_NE(message.find("\"Form1\""), std::string::npos) << message;
    EXPECT_NE(message.find("\"FORM1\""), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(folder_ / "Clash.vbp"));
    EXPECT_TRUE(state().dirty);
}

TEST_F(IdeTest, StartRunsTheStartupFormOrTheFirst) {
    ide().new_project();
    ide().add_form();
    set_code(state().project.forms[1], "Private Sub Form_Load()\nDebug.Print \"loaded \" & Me.Caption\nEnd Sub\n");
    state().project.startup = "form2";
    ide().start();
    EXPECT_EQ(ide().status_text(), "Running Form2 | close the preview window or press Shift+F5 to stop");
    EXPECT_EQ(tcl({ide().widgets().output, "get", "1.0", "end-1c"}), "loaded Form2\n");
    // Start while running stops the old run first.
    auto first = ide().session;
    ide().start();
    EXPECT_NE(ide().session, first);
    EXPECT_TRUE(first->stopping || first->previews.empty());
    state().project.startup = "Nowhere";
    ide().start();
    EXPECT_EQ(ide().status_text(), "Running Form1 | close the preview window or press Shift+F5 to stop");
    ide().stop();
    EXPECT_EQ(ide().status_text(), "Program stopped");
}

TEST_F(IdeTest, RuntimeErrorsAndBeepReachTheImmediateWindow) {
    ide().new_project();
    set_code(*state().form, "Private Sub Form_Load()\nBeep\nDim x As Integer\nx = 1 / 0\nEnd Sub\n");
    ide().start();
    const std::string out = tcl({ide().widgets().output, "get", "1.0", "end-1c"});
    EXPECT_NE(out.find("Beep\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Runtime error in Form_Load: "), std::string::npos) << out;
    // The code editor shows the line where it happened.
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "1");
    EXPECT_EQ(tcl({editor_text(), "index", "insert"}), "4.0");
    ide().stop();
}

TEST_F(IdeTest, ALongLoopsQuestionStopsItAfterFiveSeconds) {
    ide().new_project();
    set_code(*state().form, "Private Sub Form_Load()\nDim n As Long\nDo\nn = n + 1\nLoop\nEnd Sub\n");
    answers_.push_back("yes");  // stop it
    ide().start();
    ASSERT_FALSE(dialogs_.empty());
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-message"),
              "The program has been running for 5 seconds without returning. Stop it?");
    const std::string out = tcl({ide().widgets().output, "get", "1.0", "end-1c"});
    EXPECT_NE(out.find("Runtime error in Form_Load: Execution limit exceeded (possible infinite loop)"),
              std::string::npos) << out;
    ide().stop();
}

TEST_F(IdeTest, SubMainStartsAProjectThatStartsThere) {
    ide().new_project();
    ide().add_module();
    state().editor_owner = {};  // the editor's template text must not come back over the new code
    state().project.modules[0].code = "Sub Main()\nDebug.Print \"main ran\"\nForm1.Show\nEnd Sub\n";
    ide().load_editor(ide::EditorKind::module, &state().project.modules[0]);
    state().project.startup = "Sub Main";
    ide().start();
    EXPECT_EQ(tcl({ide().widgets().output, "get", "1.0", "end-1c"}), "main ran\n");
    EXPECT_EQ(ide().status_text(), "Running Sub Main | close the preview window or press Shift+F5 to stop");
    ASSERT_TRUE(ide().session);
    ide().stop();
}

TEST_F(IdeTest, AProjectWithoutFormsOpensAndRunsSubMain) {
    const fs::path dir = folder_ / "Lone";
    fs::create_directories(dir);
    std::ofstream(dir / "Lone.vbp", std::ios::binary)
        << "Type=Exe\r\nModule=Main; Main.bas\r\nStartup=\"Sub Main\"\r\nName=\"Lone\"\r\n";
    std::ofstream(dir / "Main.bas", std::ios::binary)
        << "Attribute VB_Name = \"Main\"\r\nSub Main()\r\nDebug.Print \"lone main\"\r\nEnd Sub\r\n";
    ASSERT_TRUE(ide().open_path(dir / "Lone.vbp")) << dialog_titles().size();
    EXPECT_EQ(title(), "Corvane \u2014 Lone");
    EXPECT_EQ(tcl({ide().widgets().project_tree, "children", "modules"}), "m:Main");
    // The designer says what there is, not that no project is open.
    std::string canvas_texts;
    for (const tk::Obj& id : interp().call_obj({ide().widgets().canvas, "find", "all"}).to_list())
        canvas_texts += tcl({ide().widgets().canvas, "itemcget", id, "-text"}) + "\n";
    EXPECT_NE(canvas_texts.find("This project has no forms"), std::string::npos) << canvas_texts;
    EXPECT_EQ(canvas_texts.find("No project open"), std::string::npos) << canvas_texts;
    ide().start();
    EXPECT_EQ(tcl({ide().widgets().output, "get", "1.0", "end-1c"}), "lone main\n");
    ide().stop();
    // Its module is edited and saved like any other.
    tcl({ide().widgets().project_tree, "selection", "set", tk::Obj::list({"m:Main"})});
    interp().update();
    tcl({editor_text(), "insert", "end", "' edited\n"});
    const fs::path copy = folder_ / "LoneCopy" / "Lone.vbp";
    fs::create_directories(copy.parent_path());
    answers_.push_back(copy.string());
    ide().save();  // an import: through Save As
    EXPECT_EQ(ide().status_text(), "Saved " + copy.string());
    EXPECT_NE(slurp(copy.parent_path() / "Main.bas").find("' edited"), std::string::npos);
}

TEST_F(IdeTest, ACodeErrorAtStartIsARunFailedBox) {
    ide().new_project();
    set_code(*state().form, "Private Sub Form_Load(\n");
    ide().start();
    EXPECT_EQ(dialog_titles(), std::vector<std::string>{"Run failed"});
    EXPECT_FALSE(ide().preview);
}

TEST_F(IdeTest, UnsavedChangesAreAskedAboutBeforeNew) {
    ide().new_project();
    ide().add_form();
    answers_.push_back("no");
    ide().new_project();
    EXPECT_EQ(state().project.forms.size(), 2u);
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-message"), "Discard unsaved project changes?");
}

}  // namespace
}  // namespace corvane::testing
