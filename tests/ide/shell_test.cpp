// The main window: start-up state, settings restored and saved, global keys,
// title marker, tooltips, and no foreign Tcl through Tk's send.
#include <nlohmann/json.hpp>

#include "common/run_command.h"
#include "ide_fixture.h"

namespace corvane::testing {
namespace {

using nlohmann::ordered_json;

std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(IdeTest, StartsInTheNoProjectStateAtTheDefaultSize) {
    EXPECT_EQ(title(), "Corvane \u2014 No Project");
    EXPECT_EQ(ide().status_text(),
              "No project open \u2014 choose File \u2192 New Project or Open Project.   F5 Run   F7 Code");
    EXPECT_FALSE(state().project_open());
    const std::string tree = ide().widgets().project_tree;
    EXPECT_EQ(tcl({tree, "children", ""}), "empty");
    EXPECT_EQ(tcl({tree, "item", "empty", "-text"}), "(No project open)");
    EXPECT_EQ(tcl({"winfo", "width", "."}), "1390");
    EXPECT_EQ(tcl({"winfo", "height", "."}), "870");
    EXPECT_TRUE(ide().panels_ready());
    // Nothing is written before the panels are placed and nothing changed.
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
}

TEST_F(IdeTest, PanelsGetTheirDefaultSizes) {
    const auto panels = ide().panel_positions();
    EXPECT_EQ(panels["left_width"], 264);         // floor(1390 * 0.19) within 230..270
    EXPECT_EQ(panels["right_width"], 361);        // floor(1390 * 0.26) within 305..375
    EXPECT_EQ(panels["output_height"], 155);
    EXPECT_EQ(panels["property_name_width"], 108);
}

class SavedSettingsTest : public IdeTest {
protected:
    void before_ide() override {
        std::filesystem::create_directories(settings_file().parent_path());
        std::ofstream(settings_file())
            << R"({"custom": {"keep": [1, "two"]}, "geometry": "2000x1500+10+10",
                  "panels": {"left_width": 300, "right_width": 300.0, "output_height": true,
                             "project_height": 200, "property_name_width": 150}})";
    }
};

TEST_F(SavedSettingsTest, RestoresClampedGeometryAndValidPanels) {
    EXPECT_EQ(tcl({"wm", "geometry", "."}), "1920x1080+0+0");
    const auto panels = ide().panel_positions();
    EXPECT_EQ(panels["left_width"], 300);
    EXPECT_EQ(panels["right_width"], 375);  // the invalid 300.0 gives the default: floor(1920 * 0.26) capped at 375
    EXPECT_EQ(panels["project_height"], 200);
    EXPECT_EQ(panels["property_name_width"], 150);
    EXPECT_EQ(panels["output_height"], 155);
}

TEST_F(SavedSettingsTest, SavingKeepsUnknownKeysAndWritesVersionTwo) {
    tcl({"wm", "geometry", ".", "1200x800+30+40"});
    pump(50);
    ide().save_geometry();
    const auto saved = ordered_json::parse(read_text(settings_file()));
    EXPECT_EQ(saved["custom"], ordered_json::parse(R"({"keep": [1, "two"]})"));
    EXPECT_EQ(saved["geometry"], "1200x800+30+40");
    EXPECT_EQ(saved["version"], 2);
    EXPECT_EQ(saved["panels"]["left_width"], 300);
    EXPECT_EQ(saved.begin().key(), "custom");  // the order of the file is kept
}

TEST_F(IdeTest, WindowMovesAreSavedOnceAfterAPause) {
    tcl({"wm", "geometry", ".", "1100x700+5+6"});
    pump(300);
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
    tcl({"wm", "geometry", ".", "1100x720+5+6"});
    pump(400);
    EXPECT_FALSE(std::filesystem::exists(settings_file()));  // the second move restarted the timer
    pump(500);
    ASSERT_TRUE(std::filesystem::exists(settings_file()));
    EXPECT_EQ(ordered_json::parse(read_text(settings_file()))["geometry"], "1100x720+5+6");
}

TEST_F(IdeTest, AWithdrawnWindowKeepsTheStoredGeometryButSavesPanels) {
    std::filesystem::create_directories(settings_file().parent_path());
    std::ofstream(settings_file()) << R"({"geometry": "1000x700+1+2"})";
    tcl({"wm", "withdraw", "."});
    ide().save_geometry();
    tcl({"wm", "deiconify", "."});
    const auto saved = ordered_json::parse(read_text(settings_file()));
    EXPECT_EQ(saved["geometry"], "1000x700+1+2");
    EXPECT_TRUE(saved.contains("panels"));
}

TEST_F(IdeTest, ResetPanelSizesPlacesDefaultsAndSavesThem) {
    tcl({ide().widgets().main_panes, "sash", "place", 0, 400, 0});
    pump(20);
    EXPECT_EQ(ide().panel_positions()["left_width"], 400);
    ide().reset_panel_sizes();
    EXPECT_EQ(ide().panel_positions()["left_width"], 264);
    pump(300);
    EXPECT_EQ(ordered_json::parse(read_text(settings_file()))["panels"]["left_width"], 264);
}

TEST_F(IdeTest, ASettingsFolderThatCannotBeWrittenIsIgnored) {
    std::filesystem::remove_all(settings_file().parent_path());
    std::ofstream(settings_file().parent_path()) << "a file where the folder should be";
    EXPECT_NO_THROW(ide().save_geometry());
    EXPECT_TRUE(std::filesystem::is_regular_file(settings_file().parent_path()));
}

TEST_F(IdeTest, GlobalKeysActInEveryWindow) {
    key("<Control-n>");
    EXPECT_EQ(title(), "Corvane \u2014 Project1");
    key("<F5>");
    ASSERT_TRUE(ide().session);
    EXPECT_EQ(ide().status_text(), "Running Form1 | close the preview window or press Shift+F5 to stop");
    // Keys pressed in the running form's window reach the environment too.
    const std::string window = ide().preview->window;
    pump(50);
    key("<F5>", window);
    ASSERT_TRUE(ide().session);
    EXPECT_NE(ide().preview->window, window);  // started again: a new window
    key("<Shift-F5>", ide().preview->window);
    EXPECT_FALSE(ide().session);
    EXPECT_EQ(ide().status_text(), "Program stopped");
    key("<F7>");
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "1");
    key("<Shift-F7>");
    EXPECT_EQ(tcl({ide().widgets().tabs, "index", "current"}), "0");
}

TEST_F(IdeTest, TitleCarriesTheMarkerWhileChangesAreUnsaved) {
    key("<Control-n>");
    ide().changed();
    EXPECT_EQ(title(), "\u25cf Corvane \u2014 Project1");
    answers_.push_back("yes");  // discard
    key("<Control-n>");
    EXPECT_EQ(title(), "Corvane \u2014 Project1");
    EXPECT_EQ(dialog_titles(), std::vector<std::string>{"Unsaved changes"});
}

TEST_F(IdeTest, ImmediateWindowIsReadOnlyButTakesLogLines) {
    const std::string out = ide().widgets().output;
    ide().log("first");
    ide().log("second");
    EXPECT_EQ(tcl({out, "get", "1.0", "end-1c"}), "first\nsecond\n");
    EXPECT_EQ(tcl({out, "cget", "-state"}), "disabled");
    menu("Tools", "Clear Immediate window");
    EXPECT_EQ(tcl({out, "get", "1.0", "end-1c"}), "");
}

TEST_F(IdeTest, ToolbarHasFiveGroupsAndLabelsOnRequest) {
    const std::string bar = ide().widgets().toolbar;
    auto children = interp().call_obj({"winfo", "children", bar}).to_list();
    int buttons = 0, separators = 0;
    for (const auto& child : children) {
        const std::string cls = tcl({"winfo", "class", child});
        buttons += cls == "TButton";
        separators += cls == "TSeparator" && tcl({"winfo", "manager", child}) == "pack";
    }
    EXPECT_EQ(buttons, 12);
    EXPECT_EQ(separators, 4);  // between the five groups, all on one line
    EXPECT_EQ(tcl({bar + ".b5", "cget", "-text"}), "");
    EXPECT_NE(tcl({bar + ".b5", "cget", "-image"}), "");
    menu("View", "Show toolbar icon labels");
    EXPECT_TRUE(ide().toolbar_show_labels());
    EXPECT_EQ(tcl({bar + ".b5", "cget", "-text"}), "Run");
    EXPECT_EQ(tcl({bar + ".b5", "cget", "-compound"}), "left");
    // Every button stays inside the window: groups that do not fit move to a second line.
    pump(20);
    for (int i = 0; i < 12; ++i) {
        const std::string b = bar + ".b" + std::to_string(i);
        const auto right = interp().call_obj({"winfo", "rootx", b}).to_int() + interp().call_obj({"winfo", "width", b}).to_int();
        EXPECT_LE(right, interp().call_obj({"winfo", "rootx", "."}).to_int() + 1390) << b;
    }
}

TEST_F(IdeTest, TooltipsShowAfterTheDelayAndGoOnLeaveOrClick) {
    const std::string run = ide().widgets().toolbar + ".b5";
    tk::event_generate(interp(), run, "<Enter>");
    EXPECT_EQ(ide().status_text(), "Run (F5)");
    pump(400);
    EXPECT_FALSE(ide().tooltip_shown(run));
    pump(350);
    ASSERT_TRUE(ide().tooltip_shown(run));
    tk::event_generate(interp(), run, "<ButtonPress-1>");
    EXPECT_FALSE(ide().tooltip_shown(run));
    // Leaving before the delay shows nothing.
    tk::event_generate(interp(), run, "<Enter>");
    pump(300);
    tk::event_generate(interp(), run, "<Leave>");
    pump(500);
    EXPECT_FALSE(ide().tooltip_shown(run));
}

TEST_F(IdeTest, AboutBoxNamesTheVersion) {
    menu("Help", "About");
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-title"), "About");
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-message"),
              "Corvane 0.6.2\n\nVB6-compatible project tools and Linux-native runtime.\n"
              "Not a binary-compatible Microsoft VB6 compiler.");
}

TEST_F(IdeTest, HelpWindowsOpenOneMoreEachTime) {
    const auto before = interp().call_obj({"winfo", "children", "."}).to_list().size();
    menu("Help", "Supported VB6 syntax");
    menu("Tools", "Build help and database API...");
    const auto after = interp().call_obj({"winfo", "children", "."}).to_list();
    ASSERT_EQ(after.size(), before + 2);
    const std::string top = after.back().str();
    EXPECT_EQ(tcl({"wm", "title", top}), "Supported VB6 Features");
    const std::string text = tcl({top + ".text", "get", "1.0", "end"});
    EXPECT_TRUE(text.starts_with("CORVANE 0.6.2 \u2014 QUICK REFERENCE\n"));
    EXPECT_NE(text.find("F5 Start | Shift+F5 Stop | Ctrl+S Save | F7 Code | Shift+F7 Form"), std::string::npos);
    EXPECT_NE(text.find("libmariadb"), std::string::npos);
    EXPECT_EQ(tcl({top + ".text", "cget", "-state"}), "disabled");
}

TEST_F(IdeTest, AnotherTkProgramCannotSendUsScripts) {
    // Another client of the same display tries every registered application.
    const auto result = run_command(
        {"tclsh8.6"},
        "package require Tk\nwm withdraw .\n"
        "foreach app [winfo interps] { catch {send -async $app {set ::corvane_sent 1}} }\n"
        "after 300\nupdate\nputs sent\nexit 0\n");
    ASSERT_EQ(result.status, 0) << result.err;
    pump(300);
    EXPECT_EQ(tcl({"info", "exists", "::corvane_sent"}), "0");
    EXPECT_EQ(tcl({"info", "commands", "send"}), "");
}

}  // namespace
}  // namespace corvane::testing

namespace corvane::testing {
namespace {

TEST_F(IdeTest, ExitWithUnsavedChangesAsksAndNoKeepsEverything) {
    ide().new_project();
    ide().changed();
    answers_.push_back("no");
    menu("File", "Exit");
    ASSERT_EQ(dialog_titles(), std::vector<std::string>{"Unsaved changes"});
    EXPECT_EQ(tk::dialog_option(dialogs_[0], "-message"), "Exit without saving your project?");
    EXPECT_TRUE(tk::winfo_exists(interp(), ide().widgets().tabs));
    EXPECT_FALSE(std::filesystem::exists(settings_file()));
}

}  // namespace
}  // namespace corvane::testing
