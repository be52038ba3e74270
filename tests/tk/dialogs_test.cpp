// Standard dialogs, answered by a responder or by a timer, and photo images.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tcl_fixture.h"
#include "tk/dialogs.h"
#include "tk/image.h"
#include "tk/timer.h"

namespace corvane::tk {
namespace {

class DialogTest : public testing::InterpTest {
protected:
    DialogTest() : InterpTest(true) {}
    ~DialogTest() override { set_dialog_responder(nullptr); }
};

TEST_F(DialogTest, AResponderSeesEveryTextLiterallyAndAnswers) {
    std::vector<std::vector<std::string>> seen;
    set_dialog_responder([&](const std::vector<std::string>& words) -> std::optional<std::string> {
        seen.push_back(words);
        if (words[0] == "tk_messageBox") return "yes";
        if (words[0] == "tk_getOpenFile") return "/tmp/a [b] {c}.vbp";
        if (words[0] == "tk_getSaveFile") return "";
        return "red";
    });
    const std::string hostile = "[exec touch " + testing::probe_path().string() + "] $env(HOME) {";
    EXPECT_EQ(message_box(*interp, {.title = hostile, .message = hostile + "\nline", .icon = "question",
                                    .type = "yesno"}),
              "yes");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(dialog_option(seen[0], "-title"), hostile);
    EXPECT_EQ(dialog_option(seen[0], "-message"), hostile + "\nline");
    EXPECT_EQ(dialog_option(seen[0], "-type"), "yesno");
    EXPECT_EQ(dialog_option(seen[0], "-parent"), "");  // empty options are left out

    FileDialogOptions open;
    open.title = "Open a Visual Basic project";
    open.file_types = {{"VB6 project or form", {"*.vbp", "*.frm"}}, {"All files", {"*.*"}}};
    EXPECT_EQ(get_open_file(*interp, open), "/tmp/a [b] {c}.vbp");
    auto types = Obj(dialog_option(seen[1], "-filetypes")).to_list();
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].to_list().at(0).str(), "VB6 project or form");
    EXPECT_EQ(types[0].to_list().at(1).to_list().size(), 2u);
    EXPECT_EQ(types[1].to_list().at(1).str(), "*.*");
    EXPECT_EQ(get_save_file(*interp, {.title = "Save VB6 project", .default_extension = ".vbp"}), "");
    EXPECT_EQ(dialog_option(seen[2], "-defaultextension"), ".vbp");
    // Colours come back as #rrggbb whatever form the answer had.
    EXPECT_EQ(choose_color(*interp, {.title = "Colour"}), "#ff0000");
}

TEST_F(DialogTest, ATimerAnswersARealMessageBoxDuringItsNestedLoop) {
    const std::string message = "Delete [exec touch " + testing::probe_path().string() + "] and $env(HOME)?";
    std::string shown;
    Timer answer = after(*interp, 50, [&] {
        shown = interp->call({".__tk__messagebox.msg", "cget", "-text"});
        interp->call({".__tk__messagebox.no", "invoke"});
    });
    EXPECT_EQ(message_box(*interp, {.title = "{", .message = message, .icon = "question", .type = "yesno"}),
              "no");
    EXPECT_EQ(shown, message);
}

TEST_F(DialogTest, PhotoImagesLoadAndGoWithTheirHandle) {
    auto path = std::filesystem::temp_directory_path() /
                ("corvane_tk_image_" + std::to_string(::getpid()) + " [x].png");
    std::string name;
    {
        Image blank = Image::blank(*interp, 24, 16);
        interp->call({blank.name(), "put", "#ff0000", "-to", 0, 0, 24, 16});
        interp->call({blank.name(), "write", path.string(), "-format", "png"});
        Image loaded = Image::from_file(*interp, path.string());
        EXPECT_EQ(loaded.width(), 24);
        EXPECT_EQ(loaded.height(), 16);
        EXPECT_EQ(interp->call({loaded.name(), "get", 3, 3}), "255 0 0");
        interp->call({"label", ".l", "-image", loaded.name()});
        name = loaded.name();
        Image moved = std::move(loaded);
        EXPECT_EQ(moved.name(), name);
        EXPECT_NE(interp->call({"image", "names"}).find(name), std::string::npos);
    }
    EXPECT_EQ(interp->call({"image", "names"}).find(name), std::string::npos);
    std::filesystem::remove(path);
    try {
        Image::from_file(*interp, "/nonexistent/icon.png");
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "couldn't open \"/nonexistent/icon.png\": no such file or directory");
    }
}

}  // namespace
}  // namespace corvane::tk
