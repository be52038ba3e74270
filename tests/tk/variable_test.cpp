// Tcl variables with generated names and write traces.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "tcl_fixture.h"
#include "tk/variable.h"

namespace corvane::tk {
namespace {

using testing::hostile_texts;
using testing::InterpTest;

class VariableTest : public InterpTest {};

TEST_F(VariableTest, ValuesRoundTripThroughTcl) {
    Variable text(*interp, "start");
    Variable number(*interp, 7);
    EXPECT_NE(text.name(), number.name());
    EXPECT_EQ(text.name().rfind("::corvane::v", 0), 0u);
    EXPECT_EQ(text.text(), "start");
    EXPECT_EQ(number.integer(), 7);
    EXPECT_EQ(interp->call({"set", number.name()}), "7");
    for (const std::string& value : hostile_texts()) {
        text.set(value);
        EXPECT_EQ(text.text(), value);
        EXPECT_EQ(interp->call({"set", text.name()}), value);
        interp->call({"set", text.name(), value + "!"});
        EXPECT_EQ(text.text(), value + "!");
    }
    text.set("not a number");
    EXPECT_THROW((void)text.integer(), TclError);
    number.set(Obj(-3));
    EXPECT_EQ(number.integer(), -3);
}

TEST_F(VariableTest, TracesSeeEveryWriteExceptSilentOnes) {
    Variable var(*interp);
    std::vector<std::string> writes;
    var.on_write([&] { writes.push_back(var.text()); });
    interp->call({"set", var.name(), "from tcl"});
    var.set("from c++");
    var.set_silently("quiet");
    interp->call({"append", var.name(), "+"});
    EXPECT_EQ(writes, (std::vector<std::string>{"from tcl", "from c++", "quiet+"}));

    // Unset by a script: reads give the empty text, and set() traces again.
    interp->call({"unset", var.name()});
    EXPECT_EQ(var.text(), "");
    var.set("back");
    interp->call({"set", var.name(), "traced again"});
    EXPECT_EQ(writes.back(), "traced again");

    var.on_write(nullptr);
    var.set("no callback");
    EXPECT_EQ(writes.back(), "traced again");
}

TEST_F(VariableTest, ExceptionsInTracesAreReportedAndTheWriteStands) {
    Variable var(*interp, 0);
    var.on_write([] { throw std::runtime_error("trace failed"); });
    EXPECT_EQ(interp->call({"set", var.name(), "5"}), "5");
    EXPECT_EQ(var.integer(), 5);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "trace failed");
}

TEST_F(VariableTest, DestroyingTheHandleUnsetsTheVariable) {
    std::string name;
    int writes = 0;
    {
        Variable var(*interp, "x");
        var.on_write([&] { ++writes; });
        name = var.name();
        EXPECT_EQ(interp->call({"info", "exists", name}), "1");
        Variable moved = std::move(var);
        EXPECT_EQ(var.name(), "");
        EXPECT_EQ(interp->call({"info", "exists", name}), "1");
    }
    EXPECT_EQ(interp->call({"info", "exists", name}), "0");
    interp->call({"set", name, "after"});  // no trace left behind
    EXPECT_EQ(writes, 0);
}

TEST_F(VariableTest, ATraceMayDropItsOwnVariable) {
    auto var = std::make_unique<Variable>(*interp);
    int calls = 0;
    var->on_write([&] {
        ++calls;
        var.reset();
    });
    std::string name = var->name();
    interp->call({"set", name, "1"});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(var, nullptr);
}

TEST(VariableLifetime, HandlesMayOutliveTheInterpreter) {
    auto interp = std::make_unique<Interp>(InterpOptions{.with_tk = false});
    Variable var(*interp, "x");
    var.on_write([] {});
    interp.reset();
    EXPECT_EQ(var.text(), "");
    EXPECT_THROW(var.set("y"), TclError);
}

}  // namespace
}  // namespace corvane::tk
