// The interpreter: start, calls by argument vector, errors, the event loop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tcl_fixture.h"
#include "tk/command.h"
#include "tk/interp.h"
#include "tk/timer.h"

namespace corvane::tk {
namespace {

using testing::hostile_texts;
using testing::InterpTest;
using testing::probe_path;

class CallTest : public InterpTest {};

TEST_F(CallTest, HostileArgumentsRoundTripAndRunNothing) {
    for (const std::string& text : hostile_texts()) {
        EXPECT_EQ(interp->call({"set", "::probe", text}), text);
        EXPECT_EQ(interp->call({"set", "::probe"}), text);
        // A list of it, rebuilt by Tcl, keeps it as one element.
        auto items = interp->call_obj({"list", text, "x"}).to_list();
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].str(), text);
    }
    // A constant helper proc receives user text only as an argument.
    interp->eval_constant("proc ::twice {s} { return $s$s }");
    for (const std::string& text : hostile_texts()) {
        EXPECT_EQ(interp->call({"::twice", text}), text + text);
    }
    EXPECT_FALSE(std::filesystem::exists(probe_path()));
}

TEST_F(CallTest, MissingCommandsNeverRunShellPrograms) {
    // An interactive Tcl would run "touch" as a program through `unknown`.
    try {
        interp->call({"touch", probe_path().string()});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "invalid command name \"touch\"");
    }
    EXPECT_FALSE(std::filesystem::exists(probe_path()));
}

TEST_F(CallTest, ErrorsCarryTclsMessage) {
    try {
        interp->call({"string", "frobnicate", "x"});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("unknown or ambiguous subcommand \"frobnicate\"", 0), 0u)
            << error.what();
        EXPECT_NE(error.error_info().find("while executing"), std::string::npos);
    }
    try {
        interp->call({"error", "caf\xC3\xA9 \xF0\x9F\x98\x80 failed"});
        FAIL() << "no error";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "caf\xC3\xA9 \xF0\x9F\x98\x80 failed");
    }
    EXPECT_THROW(interp->call(std::span<const Obj>{}), TclError);
    EXPECT_FALSE(interp->try_call({"expr", "1/0"}));
    EXPECT_TRUE(interp->try_call({"expr", "1/1"}));
    // The interpreter's result is clean after a failure.
    EXPECT_EQ(interp->call({"expr", "6*7"}), "42");
    EXPECT_THROW(interp->call({"break"}), TclError);
    EXPECT_THROW(interp->eval_constant("error constant"), TclError);
}

TEST_F(CallTest, OneInterpreterPerProcess) {
    EXPECT_EQ(Interp::current(), interp.get());
    try {
        Interp second(InterpOptions{.with_tk = false});
        FAIL() << "second interpreter created";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(), "a Tcl interpreter already exists in this process");
    }
    interp.reset();
    EXPECT_EQ(Interp::current(), nullptr);
    interp = std::make_unique<Interp>(InterpOptions{.with_tk = false});
    EXPECT_EQ(interp->call({"expr", "1+1"}), "2");
}

TEST(TkStart, WithoutDisplayFailsWithAClearError) {
    const char* saved = std::getenv("DISPLAY");
    std::optional<std::string> display = saved ? std::optional<std::string>(saved) : std::nullopt;
    ::unsetenv("DISPLAY");
    try {
        Interp gui;
        FAIL() << "Tk started without a display";
    } catch (const TclError& error) {
        EXPECT_STREQ(error.what(),
                     "cannot start Tk: no display name and no $DISPLAY environment variable");
    }
    EXPECT_EQ(Interp::current(), nullptr);
    {
        Interp plain(InterpOptions{.with_tk = false});
        EXPECT_EQ(plain.call({"info", "commands", "button"}), "");
    }
    if (display) ::setenv("DISPLAY", display->c_str(), 1);
}

class LoopTest : public InterpTest {};

TEST_F(LoopTest, MainLoopRunsUntilQuit) {
    int ticks = 0;
    Timer first = after(*interp, 5, [&] { ++ticks; });
    Timer stop = after(*interp, 20, [&] { interp->quit(); });
    Timer later = after(*interp, 2000, [&] { ++ticks; });
    interp->main_loop();
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(later.pending());
}

TEST_F(LoopTest, RunUntilStopsAtTheConditionOrTheTimeout) {
    bool flag = false;
    Timer t = after(*interp, 10, [&] { flag = true; });
    EXPECT_TRUE(interp->run_until([&] { return flag; }, 2000));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(interp->run_until([] { return false; }, 50));
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(45));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
}

TEST_F(LoopTest, BackgroundErrorsReachTheHandler) {
    interp->call({"after", "0", Obj::list({"error", "late failure [exec touch x]"})});
    Command thrower = create_command(*interp, [] { throw std::runtime_error("callback failed"); });
    interp->call({"after", "0", thrower.name()});
    EXPECT_TRUE(interp->run_until([&] { return reports.size() == 2; }, 2000));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], "late failure [exec touch x]");
    EXPECT_EQ(reports[1], "callback failed");
}

TEST_F(LoopTest, AFailingHandlerFallsBackToStandardError) {
    interp->set_error_handler([](const std::string&) { throw std::runtime_error("handler broke"); });
    ::testing::internal::CaptureStderr();
    interp->report_error("reported text");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Tcl background error: reported text\n");
}

}  // namespace
}  // namespace corvane::tk
