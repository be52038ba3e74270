// Timers and idle callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tcl_fixture.h"
#include "tk/timer.h"

namespace corvane::tk {
namespace {

using testing::InterpTest;

class TimerTest : public InterpTest {};

TEST_F(TimerTest, TimersFireInDueOrder) {
    std::vector<std::string> order;
    Timer c = after(*interp, 30, [&] { order.push_back("30"); });
    Timer a = after(*interp, 10, [&] { order.push_back("10"); });
    Timer b = after(*interp, 20, [&] { order.push_back("20"); });
    Timer d = after(*interp, 20, [&] { order.push_back("20 second"); });
    Timer zero = after(*interp, -5, [&] { order.push_back("0"); });
    EXPECT_TRUE(a.pending());
    EXPECT_TRUE(interp->run_until([&] { return order.size() == 5; }, 3000));
    EXPECT_EQ(order, (std::vector<std::string>{"0", "10", "20", "20 second", "30"}));
    EXPECT_FALSE(a.pending());
}

TEST_F(TimerTest, DestroyedOrReplacedHandlesCancel) {
    std::vector<std::string> fired;
    {
        Timer dropped = after(*interp, 5, [&] { fired.push_back("dropped"); });
    }
    Timer job = after(*interp, 5, [&] { fired.push_back("first"); });
    job = after(*interp, 5, [&] { fired.push_back("second"); });  // one pending job per kind
    Timer cancelled = after(*interp, 5, [&] { fired.push_back("cancelled"); });
    cancelled.cancel();
    EXPECT_FALSE(cancelled.pending());
    Timer end = after(*interp, 40, [&] { fired.push_back("end"); });
    EXPECT_TRUE(interp->run_until([&] { return !end.pending(); }, 3000));
    EXPECT_EQ(fired, (std::vector<std::string>{"second", "end"}));
}

TEST_F(TimerTest, IdleCallbacksRunWhenTheLoopIsIdle) {
    std::vector<std::string> ran;
    Timer idle = when_idle(*interp, [&] { ran.push_back("idle"); });
    Timer gone = when_idle(*interp, [&] { ran.push_back("gone"); });
    gone.cancel();
    EXPECT_TRUE(idle.pending());
    EXPECT_TRUE(ran.empty());
    interp->update();
    EXPECT_EQ(ran, (std::vector<std::string>{"idle"}));
    EXPECT_FALSE(idle.pending());
    // A coalesced redraw: many requests, one run.
    Timer redraw;
    int redraws = 0;
    for (int i = 0; i < 10; ++i) {
        if (!redraw.pending()) redraw = when_idle(*interp, [&] { ++redraws; });
    }
    interp->update();
    EXPECT_EQ(redraws, 1);
}

TEST_F(TimerTest, ExceptionsAreReportedAndLaterTimersStillRun) {
    bool later = false;
    Timer failing = after(*interp, 1, [] { throw std::runtime_error("timer failed"); });
    Timer odd = after(*interp, 2, [] { throw 7; });
    Timer next = after(*interp, 10, [&] { later = true; });
    EXPECT_TRUE(interp->run_until([&] { return later; }, 3000));
    EXPECT_EQ(reports, (std::vector<std::string>{"timer failed", "unknown C++ exception in a timer"}));
}

TEST_F(TimerTest, ARepeatingTimerRearmsItselfFromItsCallback) {
    Timer job;
    int ticks = 0;
    std::function<void()> tick = [&] {
        ++ticks;
        if (ticks < 5) job = after(*interp, 2, tick);  // replaces the handle that is running
    };
    job = after(*interp, 2, tick);
    EXPECT_TRUE(interp->run_until([&] { return ticks == 5; }, 3000));
    interp->update();
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(job.pending());
}

TEST(TimerLifetime, TimersOfAGoneInterpreterDoNotRun) {
    auto interp = std::make_unique<Interp>(InterpOptions{.with_tk = false});
    bool ran = false;
    Timer orphan = after(*interp, 0, [&] { ran = true; });
    interp.reset();
    auto next = std::make_unique<Interp>(InterpOptions{.with_tk = false});
    next->update();
    EXPECT_FALSE(ran);
    orphan.cancel();
}

}  // namespace
}  // namespace corvane::tk
