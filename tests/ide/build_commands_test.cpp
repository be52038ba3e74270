// The build commands and the compatibility report window in the environment.
#include "common/run_command.h"
#include "ide/tool_windows.h"
#include "tools_fixture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using testing::ToolsTest;

class BuildCommandsTest : public ToolsTest {
protected:
    // Replaces the code editor's text as if typed (not written back yet).
    static void type_into_editor(const std::string& code) {
        const std::string editor = find_widget(ide().widgets().code_panel, "Text");
        ASSERT_FALSE(editor.empty());
        interp().call({editor, "delete", "1.0", "end"});
        interp().call({editor, "insert", "1.0", code});
    }
    std::vector<std::string> message_boxes(const std::string& title) const {
        std::vector<std::string> texts;
        for (const auto& words : dialogs_of("tk_messageBox"))
            if (tk::dialog_option(words, "-title") == title) texts.push_back(tk::dialog_option(words, "-message"));
        return texts;
    }
};

TEST_F(BuildCommandsTest, BlockersOpenTheReportAndWriteNothing) {
    Project p = Project::sample();
    open_project(p);
    // The blocker exists only in the editor, not yet in the model.
    type_into_editor("Declare Function GetTickCount Lib \"kernel32\" () As Long\n");
    const fs::path out = dir / "out";
    fs::create_directories(out);
    answers = {out.string()};
    ide().tools().build_linux("native");
    pump();
    const auto folders = dialogs_of("tk_chooseDirectory");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(tk::dialog_option(folders[0], "-title"), "Choose folder for built Linux executable");
    EXPECT_EQ(tk::dialog_option(folders[0], "-initialdir"), (dir / "project").string());
    EXPECT_EQ(message_boxes("Compatibility blockers"),
              std::vector<std::string>{
                  "1 recognized unsupported constructs were found. Review the report before building."});
    EXPECT_EQ(windows_titled("VB6 compatibility report \u2014 HelloWorld").size(), 1u);
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(ide().status_text(), "Building HelloWorld ...");
}

TEST_F(BuildCommandsTest, NativeBuildLogsThePathAndBuildsTheEditorText) {
    open_project(Project::sample());
    type_into_editor("Private Sub Form_Load()\n    Debug.Print \"typed-but-unsaved-marker\"\nEnd Sub\n");
    const fs::path out = dir / "out";
    answers = {out.string()};
    ide().tools().build_linux("native");
    pump();
    const std::string exe = (out / "HelloWorld").string();
    EXPECT_TRUE(fs::is_regular_file(exe));
    EXPECT_EQ(ide().status_text(), "Built executable: " + exe);
    EXPECT_NE(text_of(ide().widgets().output).find("Built executable: " + exe + "\n"), std::string::npos);
    EXPECT_EQ(message_boxes("Build succeeded"),
              std::vector<std::string>{exe + "\n\nNative machine-code ELF built from generated C; requires Linux "
                                             "X11/XWayland and SQLite libraries."});
    EXPECT_NE(testing::slurp(out / "HelloWorld.native.c").find("typed-but-unsaved-marker"), std::string::npos);
    EXPECT_EQ(interp().call({"tk", "busy", "status", "."}), "0");
}

TEST_F(BuildCommandsTest, ElfBuildAndFailuresAndCancelling) {
    open_project(Project::sample());
    const fs::path out = dir / "out";
    answers = {out.string()};
    ide().tools().build_linux("elf");
    EXPECT_EQ(message_boxes("Build succeeded"),
              std::vector<std::string>{(out / "HelloWorld").string() +
                                       "\n\nEmbedded ELF launcher (requires the Corvane runtime library and Tk on "
                                       "target)."});
    // A bundle: the success box has the bundle's line.
    answers = {out.string()};
    ide().tools().build_linux("bundle");
    EXPECT_EQ(message_boxes("Build succeeded").back(),
              (out / "HelloWorld").string() + "\n\nSelf-contained bundle for this Linux architecture.");
    // A builder failure (no tar to pack a bundle) shows its message in the box and the status.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (dir / "empty").c_str(), 1);
    answers = {out.string()};
    ide().tools().build_linux("bundle");
    ::setenv("PATH", path.c_str(), 1);
    const auto failed = message_boxes("Build failed");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0], "Required build command missing: tar");
    EXPECT_EQ(ide().status_text(), "Build failed: " + failed[0]);
    // Cancelling the folder dialog changes nothing.
    ide().set_status("before");
    answers = {""};
    ide().tools().build_linux("native");
    EXPECT_EQ(ide().status_text(), "before");
    EXPECT_EQ(dialogs_of("tk_chooseDirectory").size(), 4u);
}

TEST_F(BuildCommandsTest, ReportWindowShowsTheReportReadOnly) {
    Project p = Project::sample();
    p.forms.front().code += "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n";
    open_project(p);
    const std::string top = ide::compatibility_report(ide());
    pump();
    EXPECT_EQ(interp().call({"wm", "title", top}), "VB6 compatibility report \u2014 HelloWorld");
    const std::string text = find_widget(top, "Text");
    EXPECT_NE(text_of(text).find("Win32 DLL declarations"), std::string::npos) << text_of(text);
    EXPECT_EQ(interp().call({text, "cget", "-state"}), "disabled");
    EXPECT_EQ(interp().call({text, "cget", "-wrap"}), "word");
    // Each call opens another window.
    ide::compatibility_report(ide());
    EXPECT_EQ(windows_titled("VB6 compatibility report").size(), 2u);
}

}  // namespace
}  // namespace corvane
