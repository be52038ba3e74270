// The member list under the cursor, driven by key events in the text.
#include "code_bench.h"

namespace corvane::ide::testing {
namespace {

using Names = std::vector<std::string>;

class CompletionPopupTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        bench_->open_sample();
        in().call({text_widget(), "mark", "set", "insert", "end"});
        focus_text();
        key("Return");
    }
    int lines() { return std::stoi(index("end-1c")); }
};

TEST_F(CompletionPopupTest, TypingAfterADotShowsAndNarrowsTheList) {
    type("Text1.");
    pump(30);
    ASSERT_TRUE(panel().completion_shown());
    const Names all = panel().completion_entries();
    EXPECT_EQ(all.size(), 26u);
    EXPECT_EQ(all.front(), "BackColor");
    type("Se");
    pump(30);
    EXPECT_EQ(panel().completion_entries(), (Names{"SelLength", "SelStart", "SelText", "SetFocus"}));
    // The popup sits under the cursor, without decorations.
    const std::string popup = panel().completion_window();
    EXPECT_EQ(in().call({"wm", "overrideredirect", popup}), "1");
    const std::vector<tk::Obj> box = in().call_obj({text_widget(), "bbox", "insert"}).to_list();
    const long cursor_bottom = in().call_obj({"winfo", "rooty", text_widget()}).to_int() + box[1].to_int() + box[3].to_int();
    EXPECT_EQ(in().call_obj({"winfo", "rooty", popup}).to_int(), cursor_bottom + 3);
}

TEST_F(CompletionPopupTest, DownStopsAtTheLastAndReturnInsertsWithoutALineBreak) {
    type("Text1.Se");
    pump(30);
    ASSERT_EQ(panel().completion_entries().size(), 4u);
    const int before = lines();
    for (int i = 0; i < 6; ++i) key("Down");
    key("Up");
    key("Down");
    key("Return");
    pump(30);
    EXPECT_FALSE(panel().completion_shown());
    EXPECT_EQ(in().call({text_widget(), "get", "insert linestart", "insert lineend"}), "Text1.SetFocus");
    EXPECT_EQ(lines(), before);
    // Without a list Return breaks the line as usual.
    key("Return");
    EXPECT_EQ(lines(), before + 1);
}

TEST_F(CompletionPopupTest, EscapeHidesAndFullyTypedMembersNeedControlSpace) {
    type("Text1.");
    pump(30);
    key("Escape");
    EXPECT_FALSE(panel().completion_shown());
    type("Text");
    pump(30);
    EXPECT_FALSE(panel().completion_shown());  // typed in full
    key("space", "Control");
    pump(30);
    EXPECT_EQ(panel().completion_entries(), (Names{"Text"}));
    EXPECT_EQ(in().call({text_widget(), "get", "insert linestart", "insert lineend"}), "Text1.Text");
    // Tab accepts as Return does.
    key("Tab");
    EXPECT_FALSE(panel().completion_shown());
    EXPECT_EQ(in().call({text_widget(), "get", "insert linestart", "insert lineend"}), "Text1.Text");
}

TEST_F(CompletionPopupTest, NoListInCommentsStringsOrForUnknownObjects) {
    for (const char* typed : {"x.", "' Text1.", "Rem Text1.", "s = \"Text1."}) {
        in().call({text_widget(), "delete", "insert linestart", "insert lineend"});
        type(typed);
        pump(30);
        EXPECT_FALSE(panel().completion_shown()) << typed;
    }
    in().call({text_widget(), "delete", "insert linestart", "insert lineend"});
    type("s = \"a\" & Me.");
    pump(30);
    EXPECT_EQ(panel().completion_entries().front(), "Caption");
}

TEST_F(CompletionPopupTest, ClickAndLoadHideTheList) {
    type("App.");
    pump(30);
    EXPECT_EQ(panel().completion_entries(), (Names{"Path", "Title", "EXEName", "Major", "Minor", "Revision"}));
    tk::event_generate(in(), text_widget(), "<Button-1>", {"-x", 5, "-y", 5});
    EXPECT_FALSE(panel().completion_shown());
    type("App.");
    pump(30);
    EXPECT_TRUE(panel().completion_shown());
    // Leaving the code page hides it too.
    in().call({"pack", "forget", ".code"});
    in().update();
    EXPECT_FALSE(panel().completion_shown());
    in().call({"pack", ".code", "-fill", "both", "-expand", 1});
    in().update();
    focus_text();
    type("App.");
    pump(30);
    EXPECT_TRUE(panel().completion_shown());
    panel().load_editor(EditorKind::module, &bench_->state().project.modules[0]);
    EXPECT_FALSE(panel().completion_shown());
}

}  // namespace
}  // namespace corvane::ide::testing
