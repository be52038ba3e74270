// C++ callbacks as Tcl commands: arguments, results, exceptions, lifetime.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tcl_fixture.h"
#include "tk/command.h"

namespace corvane::tk {
namespace {

using testing::hostile_texts;
using testing::InterpTest;

class CommandTest : public InterpTest {};

TEST_F(CommandTest, CallbacksReceiveArgumentsAndReturnResults) {
    std::vector<std::string> seen;
    Command join = create_command(*interp, [&](const Args& args) {
        std::string all;
        for (const Obj& word : args.all()) {
            seen.push_back(word.str());
            all += "<" + word.str() + ">";
        }
        return all;
    });
    EXPECT_EQ(join.name().rfind("::corvane::cb", 0), 0u);
    std::vector<Obj> words{Obj(join.name())};
    for (const std::string& text : hostile_texts()) words.emplace_back(text);
    std::string result = interp->call(words);
    EXPECT_EQ(seen, hostile_texts());
    std::string expected;
    for (const std::string& text : hostile_texts()) expected += "<" + text + ">";
    EXPECT_EQ(result, expected);

    Command sum = create_command(*interp, [](const Args& args) { return args.integer(0) + args.integer(1); });
    EXPECT_EQ(interp->call({sum.name(), 40, "2"}), "42");
    try {
        interp->call({sum.name(), 1});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "missing argument 2");
    }
    int calls = 0;
    Command no_args = create_command(*interp, [&] { ++calls; });
    EXPECT_EQ(interp->call({no_args.name(), "ignored"}), "");
    EXPECT_EQ(calls, 1);
    Command names_differ = create_command(*interp, [] {});
    EXPECT_NE(names_differ.name(), no_args.name());
}

TEST_F(CommandTest, ExceptionsBecomeTclErrorsAtTheBoundary) {
    Command thrower = create_command(*interp, [](const Args& args) -> std::string {
        if (args.str(0) == "std") throw std::runtime_error("bad thing: [exec touch x] {");
        throw 42;
    });
    try {
        interp->call({thrower.name(), "std"});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "bad thing: [exec touch x] {");
    }
    try {
        interp->call({thrower.name(), "other"});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "unknown C++ exception in a callback");
    }
    // Tcl code can catch it like any Tcl error: the C++ exception stopped at
    // the command and Tcl unwound normally.
    EXPECT_EQ(interp->call({"catch", Obj::list({thrower.name(), "std"}), "::message"}), "1");
    EXPECT_EQ(interp->call({"set", "::message"}), "bad thing: [exec touch x] {");
    // Nested: C++ -> Tcl -> C++ -> Tcl -> throwing C++.
    Command outer = create_command(*interp, [&] { return interp->call({thrower.name(), "std"}); });
    EXPECT_THROW(interp->call({outer.name()}), TclError);
}

TEST_F(CommandTest, FlowStopReturnsTheBreakCode) {
    Command stopper = create_command(*interp, [] { return Flow::stop; });
    EXPECT_EQ(interp->call({"catch", Obj::list({stopper.name()})}), "3");
    Command go_on = create_command(*interp, [] { return Flow::proceed; });
    EXPECT_EQ(interp->call({"catch", Obj::list({go_on.name()})}), "0");
}

TEST_F(CommandTest, HandlesDeleteTheirCommands) {
    Command command = create_command(*interp, [] { return "here"; });
    std::string name = command.name();
    EXPECT_EQ(interp->call({name}), "here");
    {
        Command moved = std::move(command);
        EXPECT_FALSE(command.alive());
        EXPECT_TRUE(moved.alive());
    }
    EXPECT_EQ(interp->call({"info", "commands", name}), "");
    EXPECT_THROW(interp->call({name}), TclError);

    // Deleted by a script: the handle notices and its reset does nothing.
    Command renamed = create_command(*interp, [] {});
    interp->call({"rename", renamed.name(), ""});
    EXPECT_FALSE(renamed.alive());
    renamed.reset();
}

TEST_F(CommandTest, ACommandMayDeleteItselfWhileRunning) {
    auto holder = std::make_unique<Command>();
    std::string captured = "data that outlives the handle";
    *holder = create_command(*interp, [&, captured] {
        holder.reset();  // deletes the running command and its callback holder
        return captured;  // the callback's own state is still there
    });
    std::string name = holder->name();
    EXPECT_EQ(interp->call({name}), captured);
    EXPECT_EQ(interp->call({"info", "commands", name}), "");
}

TEST(CommandLifetime, HandlesMayOutliveTheInterpreter) {
    auto interp = std::make_unique<Interp>(InterpOptions{.with_tk = false});
    Command command = create_command(*interp, [] {});
    EXPECT_TRUE(command.alive());
    interp.reset();
    EXPECT_FALSE(command.alive());
    command.reset();  // no crash, nothing to delete
}

}  // namespace
}  // namespace corvane::tk
