// Event bindings with %-substitution, modes, Flow::stop and errors.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tcl_fixture.h"
#include "tk/events.h"
#include "tk/widget.h"

namespace corvane::tk {
namespace {

class BindTest : public testing::InterpTest {
protected:
    BindTest() : InterpTest(true) {
        interp->call({"toplevel", ".t"});
        interp->call({"frame", ".t.f", "-width", 80, "-height", 60});
        interp->call({"pack", ".t.f"});
        interp->update();
    }
    std::vector<std::string> strings(const Args& args) {
        std::vector<std::string> out;
        for (const Obj& word : args.all()) out.push_back(word.str());
        return out;
    }
};

TEST_F(BindTest, FieldsArriveAsArguments) {
    std::vector<std::string> got;
    bind(*interp, ".t.f", "<Button-1>", {"%x", "%y", "%b", "%W"}, [&](const Args& args) { got = strings(args); });
    event_generate(*interp, ".t.f", "<Button-1>", {"-x", 5, "-y", 7});
    EXPECT_EQ(got, (std::vector<std::string>{"5", "7", "1", ".t.f"}));
}

TEST_F(BindTest, TypedCharactersThatMeanSomethingToTclArriveLiterally) {
    std::vector<std::vector<std::string>> keys;
    bind(*interp, ".t.f", "<KeyPress>", {"%K", "%A"}, [&](const Args& args) { keys.push_back(strings(args)); });
    focus(*interp, ".t.f", true);
    interp->update();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bracketleft", "["}, {"dollar", "$"},    {"braceleft", "{"}, {"braceright", "}"},
        {"backslash", "\\"},  {"quotedbl", "\""}, {"semicolon", ";"}, {"space", " "},
        {"a", "a"},
    };
    for (const auto& [keysym, character] : cases) {
        event_generate(*interp, ".t.f", "<KeyPress>", {"-keysym", keysym});
    }
    ASSERT_EQ(keys.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(keys[i][0], cases[i].first);
        EXPECT_EQ(keys[i][1], cases[i].second);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(BindTest, ReplaceAndAddModes) {
    std::vector<std::string> calls;
    bind(*interp, ".t.f", "<Button-1>", {}, [&] { calls.push_back("first"); });
    bind(*interp, ".t.f", "<Button-1>", {}, [&] { calls.push_back("second"); });
    event_generate(*interp, ".t.f", "<Button-1>");
    EXPECT_EQ(calls, std::vector<std::string>{"second"});
    calls.clear();
    bind(*interp, ".t.f", "<Button-1>", {}, [&] { calls.push_back("beside"); }, BindMode::add);
    event_generate(*interp, ".t.f", "<Button-1>");
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "beside"}));
}

TEST_F(BindTest, FlowStopEndsTheEventsBindings) {
    int everywhere = 0;
    Command all = bind_tag(*interp, "all", "<Button-1>", {}, [&] { ++everywhere; });
    bool stop = true;
    bind(*interp, ".t.f", "<Button-1>", {}, [&] { return stop ? Flow::stop : Flow::proceed; });
    event_generate(*interp, ".t.f", "<Button-1>");
    EXPECT_EQ(everywhere, 0);
    stop = false;
    event_generate(*interp, ".t.f", "<Button-1>");
    EXPECT_EQ(everywhere, 1);
    std::string name = all.name();
    all.reset();
    EXPECT_EQ(interp->call({"info", "commands", name}), "");
    interp->call({"bind", "all", "<Button-1>", ""});
}

TEST_F(BindTest, ExceptionsInBindingsAreReported) {
    bind(*interp, ".t.f", "<Button-1>", {"%x"}, [](const Args& args) {
        throw std::runtime_error("click at " + args.str(0) + " failed");
    });
    event_generate(*interp, ".t.f", "<Button-1>", {"-x", 3, "-y", 3});
    interp->update();
    EXPECT_EQ(reports, std::vector<std::string>{"click at 3 failed"});
    EXPECT_TRUE(winfo_exists(*interp, ".t.f"));
}

TEST_F(BindTest, BadFieldsAndMissingWidgetsAreRefused) {
    EXPECT_THROW(bind(*interp, ".t.f", "<Button-1>", {"%x; exec touch x"}, [] {}), std::invalid_argument);
    EXPECT_THROW(bind(*interp, ".t.f", "<Button-1>", {"x"}, [] {}), std::invalid_argument);
    EXPECT_EQ(interp->call({"bind", ".t.f", "<Button-1>"}), "");
    EXPECT_THROW(bind(*interp, ".t.none", "<Button-1>", {}, [] {}), TclError);
    EXPECT_THROW(bind(*interp, ".t.f", "<NoSuchEvent>", {}, [] {}), TclError);
}

TEST_F(BindTest, BindingCommandsGoWithTheWidget) {
    bind(*interp, ".t.f", "<Button-1>", {"%x"}, [] {});
    std::string script = interp->call({"bind", ".t.f", "<Button-1>"});
    std::string name = script.substr(0, script.find(' '));
    EXPECT_NE(interp->call({"info", "commands", name}), "");
    destroy(*interp, ".t");
    EXPECT_EQ(interp->call({"info", "commands", name}), "");
}

TEST_F(BindTest, DestroyHookExceptionsAreReported) {
    on_destroy(*interp, ".t.f", [] { throw std::runtime_error("cleanup failed"); });
    int later = 0;
    on_destroy(*interp, ".t", [&] { ++later; });
    destroy(*interp, ".t");
    EXPECT_EQ(reports, std::vector<std::string>{"cleanup failed"});
    EXPECT_EQ(later, 1);
}

}  // namespace
}  // namespace corvane::tk
