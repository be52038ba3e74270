// The layer over real Tk widgets (under Xvfb): literal texts, widget-owned
// commands, variables bound to widgets, window helpers, clipboard, dialogs.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tcl_fixture.h"
#include "tk/command.h"
#include "tk/events.h"
#include "tk/timer.h"
#include "tk/variable.h"
#include "tk/widget.h"

namespace corvane::tk {
namespace {

using testing::hostile_texts;

class TkTest : public testing::InterpTest {
protected:
    TkTest() : InterpTest(true) {}
    bool command_exists(const std::string& name) {
        return !interp->call({"info", "commands", name}).empty();
    }
};

TEST_F(TkTest, HostileTextsShowLiterallyInEveryKindOfWidget) {
    interp->call({"toplevel", ".t"});
    interp->call({"label", ".t.l"});
    interp->call({"button", ".t.b"});
    interp->call({"entry", ".t.e"});
    interp->call({"text", ".t.x"});
    interp->call({"listbox", ".t.lb"});
    interp->call({"ttk::treeview", ".t.tv"});
    interp->call({"menu", ".t.m", "-tearoff", 0});
    interp->call({"canvas", ".t.c"});
    interp->call({"ttk::combobox", ".t.cb"});
    interp->call({"labelframe", ".t.f"});
    const auto texts = hostile_texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        SCOPED_TRACE("text #" + std::to_string(i));
        interp->call({".t.l", "configure", "-text", text});
        EXPECT_EQ(interp->call({".t.l", "cget", "-text"}), text);
        interp->call({".t.b", "configure", "-text", text});
        EXPECT_EQ(interp->call({".t.b", "cget", "-text"}), text);
        interp->call({".t.f", "configure", "-text", text});
        EXPECT_EQ(interp->call({".t.f", "cget", "-text"}), text);
        interp->call({".t.e", "delete", 0, "end"});
        interp->call({".t.e", "insert", 0, text});
        EXPECT_EQ(interp->call({".t.e", "get"}), text);
        interp->call({".t.x", "delete", "1.0", "end"});
        interp->call({".t.x", "insert", "end", text});
        EXPECT_EQ(interp->call({".t.x", "get", "1.0", "end-1c"}), text);
        interp->call({".t.lb", "insert", "end", text});
        EXPECT_EQ(interp->call({".t.lb", "get", i}), text);
        std::string item = interp->call({".t.tv", "insert", "", "end", "-text", text, "-values",
                                         Obj::list({text})});
        EXPECT_EQ(interp->call({".t.tv", "item", item, "-text"}), text);
        EXPECT_EQ(interp->call_obj({".t.tv", "item", item, "-values"}).to_list().at(0).str(), text);
        interp->call({".t.m", "add", "command", "-label", text});
        EXPECT_EQ(interp->call({".t.m", "entrycget", "end", "-label"}), text);
        std::string id = interp->call({".t.c", "create", "text", 10, 10, "-text", text});
        EXPECT_EQ(interp->call({".t.c", "itemcget", id, "-text"}), text);
        wm_title(*interp, ".t", text);
        EXPECT_EQ(interp->call({"wm", "title", ".t"}), text);
    }
    interp->call({".t.cb", "configure", "-values", Obj::list(texts)});
    auto values = interp->call_obj({".t.cb", "cget", "-values"}).to_list();
    ASSERT_EQ(values.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(values[i].str(), texts[i]);
    interp->update();  // draw them all; the fixture checks that nothing ran
}

TEST_F(TkTest, WidgetCommandsDieWithTheirWidget) {
    interp->call({"button", ".b"});
    int clicks = 0;
    std::string name = widget_command(*interp, ".b", [&] { ++clicks; });
    interp->call({".b", "configure", "-command", name});
    interp->call({".b", "invoke"});
    interp->call({".b", "invoke"});
    EXPECT_EQ(clicks, 2);

    interp->call({"frame", ".f"});
    interp->call({"button", ".f.inner"});
    std::string inner = widget_command(*interp, ".f.inner", [] {});
    int hooks = 0;
    on_destroy(*interp, ".f.inner", [&] { ++hooks; });
    on_destroy(*interp, ".f", [&] { ++hooks; });
    EXPECT_TRUE(command_exists(inner));
    destroy(*interp, ".f");  // the parent takes its child along
    EXPECT_FALSE(command_exists(inner));
    EXPECT_EQ(hooks, 2);
    EXPECT_TRUE(command_exists(name));
    destroy(*interp, ".b");
    EXPECT_FALSE(command_exists(name));

    try {
        widget_command(*interp, ".nope", [] {});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "bad window path name \".nope\"");
    }
}

TEST_F(TkTest, AButtonMayDestroyItselfFromItsCommand) {
    interp->call({"button", ".b"});
    std::string note = "still here";
    std::string seen;
    std::string name = widget_command(*interp, ".b", [&, note] {
        destroy(*interp, ".b");  // deletes this very command
        seen = note;
    });
    interp->call({".b", "configure", "-command", name});
    interp->call({".b", "invoke"});
    EXPECT_EQ(seen, "still here");
    EXPECT_FALSE(winfo_exists(*interp, ".b"));
    EXPECT_FALSE(command_exists(name));
}

TEST_F(TkTest, ExceptionsFromWidgetCallbacksReachCallerOrHandler) {
    interp->call({"button", ".b"});
    std::string name = widget_command(*interp, ".b", [] { throw std::runtime_error("button failed"); });
    interp->call({".b", "configure", "-command", name});
    // Invoked from C++: a TclError for the caller.
    try {
        interp->call({".b", "invoke"});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "button failed");
    }
    EXPECT_TRUE(reports.empty());
    // Invoked by the event loop: the error handler, and the loop goes on.
    interp->call({"after", "0", Obj::list({".b", "invoke"})});
    EXPECT_TRUE(interp->run_until([&] { return !reports.empty(); }, 2000));
    EXPECT_EQ(reports, std::vector<std::string>{"button failed"});
    EXPECT_TRUE(winfo_exists(*interp, ".b"));
}

TEST_F(TkTest, VariablesFollowTheirWidgets) {
    interp->call({"toplevel", ".t"});
    Variable text(*interp, "");
    std::vector<std::string> writes;
    text.on_write([&] { writes.push_back(text.text()); });
    interp->call({"entry", ".t.e", "-textvariable", text.name()});
    interp->call({"pack", ".t.e"});
    interp->update();
    focus(*interp, ".t.e", true);
    interp->update();
    event_generate(*interp, ".t.e", "<KeyPress>", {"-keysym", "x"});
    event_generate(*interp, ".t.e", "<KeyPress>", {"-keysym", "bracketleft"});
    interp->call({".t.e", "insert", "end", "$y"});
    EXPECT_EQ(text.text(), "x[$y");
    EXPECT_EQ(writes, (std::vector<std::string>{"x", "x[", "x[$y"}));
    text.set_silently("from code");
    EXPECT_EQ(interp->call({".t.e", "get"}), "from code");
    EXPECT_EQ(writes.size(), 3u);

    Variable checked(*interp, 0);
    int toggles = 0;
    checked.on_write([&] { ++toggles; });
    interp->call({"ttk::checkbutton", ".t.c", "-variable", checked.name()});
    interp->call({".t.c", "invoke"});
    EXPECT_EQ(checked.integer(), 1);
    EXPECT_EQ(toggles, 1);
    checked.set(0);
    EXPECT_EQ(interp->call({".t.c", "instate", "selected"}), "0");
    checked.set(1);
    EXPECT_EQ(interp->call({".t.c", "instate", "selected"}), "1");

    // A scale's command gets the new value as an extra argument (Tk calls it
    // when the scale is redrawn, so only for a mapped scale).
    std::vector<std::string> values;
    interp->call({"scale", ".t.s", "-from", 0, "-to", 100});
    interp->call({"pack", ".t.s"});
    interp->update();
    std::string moved = widget_command(*interp, ".t.s", [&](const Args& args) { values.push_back(args.str(0)); });
    interp->call({".t.s", "configure", "-command", moved});
    interp->call({".t.s", "set", 40});
    interp->update();
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), "40");
}

TEST_F(TkTest, WindowHelpers) {
    std::string top = new_widget_path(*interp, ".");
    std::string child = new_widget_path(*interp, top);
    EXPECT_NE(top, child);
    EXPECT_EQ(child.rfind(top + ".", 0), 0u);
    interp->call({"toplevel", top});
    interp->call({"label", child});
    EXPECT_TRUE(winfo_exists(*interp, child));
    EXPECT_FALSE(winfo_exists(*interp, ".missing"));
    EXPECT_FALSE(winfo_exists(*interp, "[exec touch x]"));
    destroy(*interp, ".missing");  // ignored

    wm_title(*interp, top, "Caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(interp->call({"wm", "title", top}), "Caf\xC3\xA9 \xF0\x9F\x98\x80");

    int close_requests = 0;
    on_close_request(*interp, top, [&] { ++close_requests; });
    std::string handler = interp->call({"wm", "protocol", top, "WM_DELETE_WINDOW"});
    interp->call({handler});  // what the window manager's close button does
    EXPECT_EQ(close_requests, 1);
    EXPECT_TRUE(winfo_exists(*interp, top));  // the callback decides
    destroy(*interp, top);
    EXPECT_FALSE(command_exists(handler));
}

TEST_F(TkTest, ClipboardKeepsTextsLiterally) {
    for (const std::string& text : hostile_texts()) {
        clipboard_set(*interp, text);
        EXPECT_EQ(clipboard_get(*interp).value_or("<none>"), text);
    }
    clipboard_set(*interp, "-displayof");
    EXPECT_EQ(clipboard_get(*interp).value_or("<none>"), "-displayof");
    clipboard_clear(*interp);
    EXPECT_EQ(clipboard_get(*interp), std::nullopt);
}

TEST_F(TkTest, MainLoopEndsWhenTheRootWindowGoes) {
    Timer close = after(*interp, 20, [&] { destroy(*interp, "."); });
    interp->main_loop();
    EXPECT_FALSE(close.pending());
}

}  // namespace
}  // namespace corvane::tk
